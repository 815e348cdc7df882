#include "tools/FontBake.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "engine3d/FontAtlas.h"
#include "engine3d/FontCharset.h"
#include "tools/FontFileWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kDefaultCharSize = 30;
constexpr uint8_t kDefaultSpaceSize = 3;
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr uint32_t kFirstPrintable = 32;

Result Fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return RES_FAIL;
}

// A code as decimal, 0x hex or U+ hex; false for anything else or codes beyond 16 bits.
bool ParseCode(const std::string& text, uint32_t* code)
{
    int base = 10;
    size_t start = 0;
    if (text.size() > 2 && (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0 ||
                            text.compare(0, 2, "U+") == 0 || text.compare(0, 2, "u+") == 0)) {
        base = 16;
        start = 2;
    }
    if (start >= text.size())
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str() + start, &end, base);
    if (errno != 0 || *end != '\0' || !std::isxdigit(static_cast<unsigned char>(text[start])) || value > 0xFFFF)
        return false;
    *code = static_cast<uint32_t>(value);
    return true;
}

void AddCharacter(char16_t unit, std::set<char16_t>* seen, std::u16string* characters)
{
    const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
    if (unit < kFirstPrintable || unit == 0x7F || surrogate || !seen->insert(unit).second)
        return;
    characters->push_back(unit);
}

bool AddRange(const std::string& item, std::set<char16_t>* seen, std::u16string* characters, std::string* error)
{
    const size_t dash = item.find('-', 1);
    uint32_t first = 0;
    uint32_t last = 0;
    bool parsed = false;
    if (dash == std::string::npos) {
        parsed = ParseCode(item, &first);
        last = first;
    } else {
        parsed = ParseCode(item.substr(0, dash), &first) && ParseCode(item.substr(dash + 1), &last);
    }
    if (!parsed || first > last) {
        *error = "bad character range \"" + item + "\"";
        return false;
    }
    for (uint32_t code = first; code <= last; ++code)
        AddCharacter(static_cast<char16_t>(code), seen, characters);
    return true;
}

bool AddFile(const std::string& path, std::set<char16_t>* seen, std::u16string* characters, std::string* error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (char16_t unit : Utf8ToUtf16(text))
        AddCharacter(unit, seen, characters);
    return true;
}

bool ParseSize(const char* text, uint8_t* size)
{
    uint32_t value = 0;
    if (!ParseCode(text, &value) || value == 0 || value > 255)
        return false;
    *size = static_cast<uint8_t>(value);
    return true;
}

Result BakePage(CFontFace& face, const std::u16string& characters, const FontBakeGroup& group, uint8_t charSize,
                uint8_t spaceSize, const std::string& pngPath, CWorldData* data, CharsetFilePage* page,
                std::string* error)
{
    uint32_t codes[kCharsetSlots];
    for (size_t i = 0; i < characters.size(); ++i)
        codes[i] = characters[i];
    CFontAtlas atlas;
    if (Failed(BuildFontAtlas(face, codes, static_cast<uint32_t>(characters.size()), charSize, spaceSize, &atlas)))
        return Fail(error, "cannot lay out the glyphs of " + group.fontPath);
    if (Failed(SaveFontAtlasPng(data, atlas, Utf8ToUtf16(pngPath).c_str())))
        return Fail(error, "cannot write " + pngPath);
    page->scriptFlags = group.scriptFlags;
    page->characters = characters;
    page->rects.assign(atlas.rects, atlas.rects + kCharsetSlots);
    page->info = atlas.info;
    return RES_OK;
}

// Texts end at code 0 and break at codes 10 and 13 whatever the font: the first page keeps those
// slots for the control characters themselves, so no glyph takes their codes.
void ReserveControlCodes(std::u16string* characters)
{
    for (char16_t code : {u'\0', u'\n', u'\r'})
        characters->insert(std::min<size_t>(code, characters->size()), 1, code);
}

Result BakeGroup(const FontBakeGroup& group, const std::string& base, uint8_t charSize, uint8_t spaceSize,
                 CWorldData* data, std::vector<CharsetFilePage>* pages, uint32_t* skipped, std::string* error)
{
    CFontFace face;
    if (Failed(face.OpenPath(Utf8ToUtf16(group.fontPath).c_str())))
        return Fail(error, "cannot open the scalable font " + group.fontPath);
    std::u16string kept;
    for (char16_t unit : group.characters) {
        if (face.HasCharacter(unit))
            kept.push_back(unit);
        else
            ++*skipped;
    }
    if (kept.empty())
        return Fail(error, "no character of the list is in " + group.fontPath);
    if (pages->empty())
        ReserveControlCodes(&kept);
    for (size_t from = 0; from < kept.size(); from += kCharsetSlots) {
        if (pages->size() >= kCharsetMaxPages)
            return Fail(error, "more than " + std::to_string(kCharsetMaxPages) + " pages");
        const std::string png = base + "." + std::to_string(pages->size()) + ".png";
        pages->push_back(CharsetFilePage{});
        if (Failed(BakePage(face, kept.substr(from, kCharsetSlots), group, charSize, spaceSize, png, data,
                            &pages->back(), error)))
            return RES_FAIL;
    }
    return RES_OK;
}

// A zeroed engine data block for the engine code the bake runs.
std::unique_ptr<CWorldData> BakeData() { return std::make_unique<CWorldData>(); }

std::string FindBakedGlyph(const fs::path& font, uint8_t charSize, uint8_t spaceSize)
{
    const std::string prefix = font.filename().string() + ".1024x";
    const std::string suffix = "." + std::to_string(charSize) + "." + std::to_string(spaceSize) + ".glyph";
    std::error_code failure;
    for (const fs::directory_entry& entry : fs::directory_iterator(font.parent_path(), failure)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return entry.path().string();
    }
    return {};
}

int Usage(FILE* err)
{
    fprintf(err, "usage: vdfontbake glyph FONT FOLDER [CHAR_SIZE [SPACE_SIZE]]\n"
                 "       vdfontbake charset BASE CHAR_SIZE SPACE_SIZE FONT FLAGS CHARS [FONT FLAGS CHARS...]\n"
                 "CHARS: comma-separated FIRST-LAST ranges or codes (decimal, 0x or U+ hex), or @UTF8_FILE\n");
    return kExitUsage;
}

int RunGlyph(int argc, const char* const* argv, FILE* out, FILE* err)
{
    if (argc < 4 || argc > 6)
        return Usage(err);
    uint8_t charSize = kDefaultCharSize;
    uint8_t spaceSize = kDefaultSpaceSize;
    if ((argc > 4 && !ParseSize(argv[4], &charSize)) || (argc > 5 && !ParseSize(argv[5], &spaceSize)))
        return Usage(err);
    std::string glyph;
    std::string error;
    if (Failed(BakeGlyphFont(argv[2], argv[3], charSize, spaceSize, &glyph, &error))) {
        fprintf(err, "vdfontbake: %s\n", error.c_str());
        return kExitFailed;
    }
    fprintf(out, "%s\n", glyph.c_str());
    return kExitDone;
}

int RunCharset(int argc, const char* const* argv, FILE* out, FILE* err)
{
    uint8_t charSize = 0;
    uint8_t spaceSize = 0;
    if (argc < 8 || (argc - 5) % 3 != 0 || !ParseSize(argv[3], &charSize) || !ParseSize(argv[4], &spaceSize))
        return Usage(err);
    std::vector<FontBakeGroup> groups;
    std::string error;
    for (int i = 5; i < argc; i += 3) {
        FontBakeGroup group;
        group.fontPath = argv[i];
        if (!ParseCode(argv[i + 1], &group.scriptFlags))
            return Usage(err);
        if (!ParseCharacterList(argv[i + 2], &group.characters, &error)) {
            fprintf(err, "vdfontbake: %s\n", error.c_str());
            return kExitUsage;
        }
        groups.push_back(std::move(group));
    }
    uint32_t pages = 0;
    uint32_t skipped = 0;
    if (Failed(BakeCharsetFont(groups, argv[2], charSize, spaceSize, &pages, &skipped, &error))) {
        fprintf(err, "vdfontbake: %s\n", error.c_str());
        return kExitFailed;
    }
    fprintf(out, "%s.charset: %u pages, %u characters without a glyph left out\n", argv[2], pages, skipped);
    return kExitDone;
}

} // namespace

bool ParseCharacterList(const std::string& list, std::u16string* characters, std::string* error)
{
    std::set<char16_t> seen;
    characters->clear();
    if (!list.empty() && list[0] == '@')
        return AddFile(list.substr(1), &seen, characters, error);
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        if (!AddRange(list.substr(start, comma - start), &seen, characters, error))
            return false;
        start = comma + 1;
    }
    return true;
}

Result BakeGlyphFont(const std::string& fontPath, const std::string& folder, uint8_t charSize, uint8_t spaceSize,
                     std::string* glyphPath, std::string* error)
{
    std::error_code failure;
    fs::create_directories(folder, failure);
    const fs::path copy = fs::path(folder) / fs::path(fontPath).filename();
    std::error_code notThere;
    if (!fs::equivalent(fontPath, copy, notThere))
        fs::copy_file(fontPath, copy, fs::copy_options::overwrite_existing, failure);
    if (failure)
        return Fail(error, "cannot copy " + fontPath + " into " + folder + ": " + failure.message());
    std::unique_ptr<CWorldData> data = BakeData();
    CVarnFont font(data.get(), nullptr);
    if (Failed(font.BakeGlyphFile(Utf8ToUtf16(copy.string()).c_str(), charSize, spaceSize)))
        return Fail(error, "cannot bake " + copy.string());
    if (glyphPath)
        *glyphPath = FindBakedGlyph(copy, charSize, spaceSize);
    return RES_OK;
}

Result BakeCharsetFont(const std::vector<FontBakeGroup>& groups, const std::string& base, uint8_t charSize,
                       uint8_t spaceSize, uint32_t* pageCount, uint32_t* skipped, std::string* error)
{
    if (groups.empty())
        return Fail(error, "no page to bake");
    std::error_code failure;
    const fs::path folder = fs::path(base).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, failure);
    std::unique_ptr<CWorldData> data = BakeData();
    std::vector<CharsetFilePage> pages;
    uint32_t left = 0;
    for (const FontBakeGroup& group : groups) {
        if (Failed(BakeGroup(group, base, charSize, spaceSize, data.get(), &pages, &left, error)))
            return RES_FAIL;
    }
    const std::string path = base + ".charset";
    const std::string bytes = CharsetFileBytes(pages, static_cast<uint32_t>(pages.size()));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !file.flush())
        return Fail(error, "cannot write " + path);
    if (pageCount)
        *pageCount = static_cast<uint32_t>(pages.size());
    if (skipped)
        *skipped = left;
    return RES_OK;
}

int RunFontBake(int argc, const char* const* argv, FILE* out, FILE* err)
{
    if (argc < 2)
        return Usage(err);
    if (std::strcmp(argv[1], "glyph") == 0)
        return RunGlyph(argc, argv, out, err);
    if (std::strcmp(argv[1], "charset") == 0)
        return RunCharset(argc, argv, out, err);
    return Usage(err);
}
