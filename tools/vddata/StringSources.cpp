#include "tools/vddata/StringSources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/FontCharset.h"
#include "engine3d/SceneObject.h"
#include "game/CharsetRemap.h"
#include "tools/RawFileWriter.h"
#include "tools/vddata/NullEngine.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kMaxTableUnits = 0x10000;  // offsets are 16 bits

// UTF-8 into UTF-16; false for bytes that are not UTF-8 (they do not come back the same).
bool DecodeUtf8(const std::string& text, std::u16string* out)
{
    *out = Utf8ToUtf16(text);
    return Utf16ToUtf8(*out) == text;
}

bool ReadFileBytes(const fs::path& path, std::string* bytes)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    *bytes = content.str();
    return static_cast<bool>(file);
}

std::string Hex(char16_t unit)
{
    char text[8];
    snprintf(text, sizeof text, "%04X", static_cast<unsigned>(unit));
    return text;
}

bool IsLanguage(const std::string& code)
{
    for (uint32_t i = 0; i < kLanguageCount; ++i) {
        if (Utf16ToUtf8(SceneLanguageCode(i)) == code)
            return true;
    }
    return false;
}

// The lines of a text file, each a string; a last line feed ends the last string.
bool ReadStrings(const fs::path& path, const std::string& name, std::vector<std::u16string>* strings,
                 CSourceErrors& errors)
{
    std::string text;
    if (!ReadFileBytes(path, &text))
        return errors.Fail(name, "cannot be read");
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    size_t units = 0;
    for (size_t start = 0, line = 1; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string bytes = text.substr(start, end - start);
        if (!bytes.empty() && bytes.back() == '\r')
            bytes.pop_back();
        std::u16string string;
        if (!DecodeUtf8(bytes, &string))
            return errors.Fail(name + ":" + std::to_string(line), "not UTF-8 text");
        units += string.size() + 1;
        if (units > kMaxTableUnits)
            return errors.Fail(name + ":" + std::to_string(line), "the table passes 65536 units");
        strings->push_back(std::move(string));
        start = end + 1;
    }
    return true;
}

} // namespace

bool CCharsetCodes::Load(const std::string& path)
{
    auto data = std::make_unique<CWorldData>();
    CNullEngine engine(data.get());
    CVarnFontCharset font(data.get(), &engine);
    if (Failed(font.Create(kFontScreenText, 1)) || Failed(font.LoadCharsetFromFile(Utf8ToUtf16(path).c_str())))
        return false;
    for (uint32_t page = 0; page < font.GetPageCount(); ++page) {
        for (uint32_t slot = 0; slot < font.GetPage(page)->count; ++slot) {
            const auto code = static_cast<char16_t>(page * kCharsetSlots + slot);
            char16_t text[2] = {code, 0};
            font.RemapText(text);
            if (code != 0)
                m_codes.emplace(text[0], code);
        }
    }
    return true;
}

bool CCharsetCodes::Code(char16_t character, char16_t* code) const
{
    auto found = m_codes.find(character);
    if (found == m_codes.end())
        return false;
    *code = found->second;
    return true;
}

std::array<uint16_t, kCharsetRemapEntries> CCharsetCodes::RemapTable() const
{
    std::array<uint16_t, kCharsetRemapEntries> table{};
    char16_t space = u' ';
    Code(u' ', &space);
    for (uint32_t c = 0; c + 1 < kCharsetRemapEntries; ++c) {
        const char16_t plain = DefaultCharsetRemap(c);
        char16_t code = plain == u'\n' || plain == u'\r' ? plain : space;
        Code(plain, &code);
        table[c] = code;
    }
    return table;
}

bool AddStringTables(const std::string& folder, const CCharsetCodes* codes, CPakWriter& pak,
                     std::vector<std::string>& sources, CSourceErrors& errors)
{
    const fs::path root = fs::path(folder) / kStringsFolder;
    std::error_code failure;
    if (!fs::is_directory(root, failure))
        return true;
    for (const auto& entry : fs::recursive_directory_iterator(root, failure)) {
        const fs::path relative = entry.path().lexically_relative(folder);
        const std::string name = relative.generic_string();
        if (!entry.is_regular_file() || entry.path().extension() != ".txt")
            continue;
        const std::string language = entry.path().parent_path().filename().string();
        if (entry.path().parent_path().parent_path() != root || !IsLanguage(language))
            return errors.Fail(name, "a string table lies in strings/<language>/, language en, fr, es, de, it, jp, ch, "
                                     "ko, ru, nl, pt or sv");
        const std::string stem = entry.path().stem().string();
        const std::string base = std::string(kStringsFolder) + "/_strings." + language + (stem == "main" ? "" : "." + stem);
        std::vector<std::u16string> strings;
        if (!ReadStrings(entry.path(), name, &strings, errors))
            return false;
        sources.push_back(name);
        if (Failed(pak.Add(base + ".utf8.ucs2.raw", StringFileBytes(strings))))
            return errors.Fail(name, pak.LastError());
        if (!codes)
            continue;
        for (size_t i = 0; i < strings.size(); ++i) {
            for (char16_t& unit : strings[i]) {
                if (!codes->Code(unit, &unit))
                    return errors.Fail(name + ":" + std::to_string(i + 1),
                                       "the charset font has no glyph for U+" + Hex(unit));
            }
        }
        if (Failed(pak.Add(base + ".utf8.indexed.ucs2.raw", StringFileBytes(strings))))
            return errors.Fail(name, pak.LastError());
    }
    return !failure || errors.Fail(kStringsFolder, failure.message());
}
