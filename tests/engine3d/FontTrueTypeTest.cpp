#include "engine3d/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "base/WideString.h"
#include "engine3d/FontAtlas.h"
#include "engine3d/Object.h"
#include "engine3d/TextureRaw.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint8_t kCharSize = 30;
constexpr uint8_t kSpace = 3;

bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

// A texture coordinate back in whole atlas pixels.
long Pixels(float coordinate, float size)
{
    const float pixels = coordinate * size;
    EXPECT_FLOAT_EQ(pixels, std::round(pixels)) << "cells lie on whole pixels";
    return std::lround(pixels);
}

class FontTrueTypeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fontPath = DejaVuSansPath();
        if (fontPath.empty())
            GTEST_SKIP() << "fonts-dejavu-core is not installed";
        ASSERT_EQ(font.Create(kFontScreenText, 256), RES_OK);
    }

    // The atlas layout rules every TrueType font follows, whatever the hinting.
    static void ExpectAtlasLayout(const CVarnFont& f, uint8_t space)
    {
        const FontInfo* info = f.GetFontInfo();
        ASSERT_NE(info, nullptr);
        const float width = info->textureWidth;
        const float height = info->textureHeight;
        ASSERT_FLOAT_EQ(width, 1024.0f);
        ASSERT_TRUE(IsPowerOfTwo(static_cast<uint32_t>(height)) && height >= 16.0f);
        const long lineHeight = Pixels(f.GetGlyph(32)->bottom - f.GetGlyph(32)->top, height);
        EXPECT_GT(lineHeight, info->charSize / 2);
        EXPECT_LE(lineHeight, info->charSize + 2);
        std::set<long> rowTops;
        for (uint32_t code = 32; code < 256; ++code) {
            const GlyphRect* r = f.GetGlyph(code);
            const long left = Pixels(r->left, width);
            const long top = Pixels(r->top, height);
            EXPECT_GE(left, 10) << code;
            EXPECT_GE(top, 10) << code;
            EXPECT_LE(Pixels(r->right, width), 1024 - 10 + space) << code;
            EXPECT_EQ(Pixels(r->bottom - r->top, height), lineHeight) << code;
            EXPECT_GE(Pixels(r->right - r->left, width), space) << "advance plus space: " << code;
            rowTops.insert(top);
            if (code == 255)
                break;
            const GlyphRect* next = f.GetGlyph(code + 1);
            if (Pixels(next->top, height) == top) {
                EXPECT_EQ(Pixels(next->left, width) - Pixels(r->right, width), 10 - space) << code;
            } else {
                EXPECT_EQ(Pixels(next->top, height) - top, lineHeight + 10) << "rows are a pitch apart: " << code;
                EXPECT_EQ(Pixels(next->left, width), 10) << code;
            }
        }
        EXPECT_LE(f.GetGlyph(255)->bottom, 1.0f);
        EXPECT_EQ(*rowTops.begin(), 10) << "the first row under the top margin";
        EXPECT_LE(static_cast<float>(*rowTops.rbegin() + lineHeight + 10), height);
    }

    std::string CopyFont(const std::string& name)
    {
        const std::string copy = dir.File(name);
        std::filesystem::copy_file(fontPath, copy);
        return copy;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CVarnFont font{renderer.Data(), renderer.Engine()};
    TempDir dir;
    std::string fontPath;
};

TEST_F(FontTrueTypeTest, AFaceFromAFileBecomesAnAtlasTextureAndGlyphTable)
{
    ASSERT_EQ(font.LoadTrueTypeFromFile(Utf8ToUtf16(fontPath).c_str(), kCharSize, kSpace), RES_OK);
    ExpectAtlasLayout(font, kSpace);
    const FontInfo* info = font.GetFontInfo();
    EXPECT_EQ(info->charSize, kCharSize);

    auto* texture = static_cast<CMemoryTexture*>(font.GetTexture(0));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetBits(), 8);
    EXPECT_EQ(texture->GetWidth(), 1024);
    EXPECT_FLOAT_EQ(texture->GetHeight(), info->textureHeight);
    EXPECT_EQ(engine->GetTextureRefCount(texture), 1u) << "held by the text object only";
    EXPECT_FLOAT_EQ(font.GetGlyph(31)->right, 0.0f) << "codes below 32 keep their empty rectangles";

    // At the character size, widths are whole pixels: advance plus space.
    const float i = font.GetGlyph(u'i')->right - font.GetGlyph(u'i')->left;
    const float w = font.GetGlyph(u'W')->right - font.GetGlyph(u'W')->left;
    EXPECT_LT(i, w);
    Vector3 size;
    font.MeasureText(&size, u"WW", kCharSize, kCharSize);
    EXPECT_FLOAT_EQ(size.x, 2 * w * 1024.0f);

    // Coverage lies inside the cells, never in the top margin.
    const std::vector<uint8_t>& pixels = texture->Pixels();
    const uint32_t height = texture->GetHeight();
    for (uint32_t row = height - 10; row < height; ++row) {
        for (uint32_t x = 0; x < 1024; ++x)
            ASSERT_EQ(pixels[row * 1024 + x], 0) << "top margin row " << height - 1 - row;
    }
    const GlyphRect* h = font.GetGlyph(u'H');
    uint32_t covered = 0;
    for (long y = Pixels(h->top, info->textureHeight); y < Pixels(h->bottom, info->textureHeight); ++y) {
        for (long x = Pixels(h->left, 1024.0f); x < Pixels(h->right, 1024.0f); ++x)
            covered += pixels[(height - 1 - y) * 1024 + x] > 128;
    }
    EXPECT_GT(covered, 20u) << "'H' is drawn inside its cell (rows bottom-up in the texture)";
}

TEST_F(FontTrueTypeTest, TheBakedPairReadsBackAsTheSameFont)
{
    ASSERT_EQ(font.LoadTrueTypeFromFile(Utf8ToUtf16(fontPath).c_str(), kCharSize, kSpace), RES_OK);
    const std::string copy = CopyFont("DejaVuSans.ttf");
    CVarnFont baker(renderer.Data(), engine);
    ASSERT_EQ(baker.BakeGlyphFile(Utf8ToUtf16(copy).c_str(), kCharSize, kSpace), RES_OK);

    const uint32_t height = static_cast<uint32_t>(font.GetFontInfo()->textureHeight);
    const std::string stem = copy + ".1024x" + std::to_string(height) + ".30.3";
    const std::string glyph = TempDir::Read(stem + ".glyph");
    ASSERT_EQ(glyph.size(), 4110u);
    EXPECT_EQ(glyph.substr(0, 2), std::string("\2\0", 2));
    float last[4];
    std::memcpy(last, glyph.data() + 2 + 255 * 16, sizeof last);
    EXPECT_GT(last[2], last[0]) << "codes 256 to 287 take atlas room and file records";

    CVarnFont loaded(renderer.Data(), engine);
    ASSERT_EQ(loaded.Create(kFontScreenText, 256), RES_OK);
    ASSERT_EQ(loaded.LoadGlyphFontFromFile(Utf8ToUtf16(stem + ".png").c_str(), Utf8ToUtf16(stem + ".glyph").c_str()),
              RES_OK);
    ExpectAtlasLayout(loaded, kSpace);
    for (uint32_t code = 32; code < 256; ++code)
        EXPECT_EQ(std::memcmp(loaded.GetGlyph(code), font.GetGlyph(code), sizeof(GlyphRect)), 0) << code;
    EXPECT_EQ(std::memcmp(loaded.GetFontInfo(), font.GetFontInfo(), sizeof(FontInfo)), 0);

    std::u16string wrappedA(128, 0);
    std::u16string wrappedB(128, 0);
    const char16_t* text = u"The quick brown fox jumps over the lazy dog";
    font.WrapText(kCharSize, kCharSize, text, wrappedA.data(), 128, 200, u' ', nullptr, nullptr, 0);
    loaded.WrapText(kCharSize, kCharSize, text, wrappedB.data(), 128, 200, u' ', nullptr, nullptr, 0);
    EXPECT_EQ(wrappedA, wrappedB);

    // The picture is white with the coverage as alpha, rows in the order of the in-memory texture.
    C3DTextureRaw image(renderer.Data());
    ASSERT_EQ(image.LoadFromFile(Utf8ToUtf16(stem + ".png").c_str()), RES_OK);
    ASSERT_EQ(image.GetBits(), 32);
    ASSERT_EQ(image.GetWidth(), 1024);
    ASSERT_EQ(image.GetHeight(), height);
    const std::vector<uint8_t>& coverage = static_cast<CMemoryTexture*>(font.GetTexture(0))->Pixels();
    const uint8_t* rgba = image.GetPixels();
    size_t mismatches = 0;
    for (size_t i = 0; i < coverage.size(); ++i) {
        mismatches += rgba[i * 4 + 3] != coverage[i];
        mismatches += rgba[i * 4] != 0xFF;
    }
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(image.Release(), RES_OK);
}

TEST_F(FontTrueTypeTest, ABakeThatCannotWriteFailsButKeepsTheFontInfo)
{
    const std::string copy = CopyFont("Blocked.ttf");
    CVarnFont probe(renderer.Data(), engine);
    ASSERT_EQ(probe.Create(kFontScreenText, 16), RES_OK);
    ASSERT_EQ(probe.LoadTrueTypeFromFile(Utf8ToUtf16(copy).c_str(), kCharSize, kSpace), RES_OK);
    const uint32_t height = static_cast<uint32_t>(probe.GetFontInfo()->textureHeight);
    const std::string stem = copy + ".1024x" + std::to_string(height) + ".30.3";
    std::filesystem::create_directory(stem + ".glyph");

    EXPECT_EQ(font.BakeGlyphFile(Utf8ToUtf16(copy).c_str(), kCharSize, kSpace), RES_FAIL);
    EXPECT_EQ(font.GetFontInfo()->charSize, kCharSize);
    EXPECT_FLOAT_EQ(font.GetFontInfo()->textureHeight, static_cast<float>(height));
    EXPECT_FALSE(std::filesystem::exists(stem + ".png"));
    EXPECT_EQ(font.BakeGlyphFile(Utf8ToUtf16(dir.File("missing.ttf")).c_str(), kCharSize, kSpace), RES_FAIL);
}

TEST_F(FontTrueTypeTest, FacesFromMemoryAndPaksAndBadFaces)
{
    const std::string bytes = TempDir::Read(fontPath);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    ASSERT_EQ(font.LoadTrueTypeFromAddress(u"unused", data, size, 20, 0), RES_OK);
    EXPECT_EQ(font.GetFontInfo()->charSize, 20);
    ExpectAtlasLayout(font, 0);

    const uint32_t textures = engine->GetTextureCount();
    const std::string junk(4096, 'x');
    EXPECT_EQ(font.LoadTrueTypeFromAddress(u"junk", reinterpret_cast<const uint8_t*>(junk.data()), 4096, 20, 0),
              RES_FAIL);
    EXPECT_EQ(font.LoadTrueTypeFromAddress(u"none", nullptr, 0, 20, 0), RES_FAIL);
    EXPECT_EQ(font.LoadTrueTypeFromAddress(u"zero", data, size, 0, 0), RES_FAIL) << "character size 0";
    EXPECT_EQ(font.LoadTrueTypeFromFile(Utf8ToUtf16(dir.File("missing.ttf")).c_str(), 20, 0), RES_FAIL);
    EXPECT_EQ(engine->GetTextureCount(), textures);
    EXPECT_EQ(font.GetFontInfo()->charSize, 20) << "failures change nothing";

    PakTestFile pak(PakEntryBytes("fonts/DejaVuSans.ttf", bytes));
    ASSERT_EQ(FindPackerEntry(u"fonts/DejaVuSans.ttf", pak.Record()), RES_OK);
    ASSERT_EQ(font.LoadTrueTypeFromPacker(pak.Record(), kCharSize, kSpace), RES_OK);
    EXPECT_EQ(font.GetFontInfo()->charSize, kCharSize);
    ASSERT_EQ(FindPackerEntry(u"fonts/DejaVuSans.ttf", pak.Record()), RES_OK);
    pak.Record()->foundSize += 100;
    EXPECT_EQ(font.LoadTrueTypeFromPacker(pak.Record(), kCharSize, kSpace), RES_FAIL) << "a short read";

    CVarnFont uncreated(renderer.Data(), engine);
    EXPECT_EQ(uncreated.LoadTrueTypeFromAddress(u"x", data, size, 20, 0), RES_FAIL);
}

TEST_F(FontTrueTypeTest, FewCellsInOneRowNeedTheSmallestPowerOfTwo)
{
    CFontFace face;
    ASSERT_EQ(face.OpenPath(Utf8ToUtf16(fontPath).c_str()), RES_OK);
    const uint32_t codes[] = {u'a', u'b', u'c'};
    CFontAtlas atlas;
    ASSERT_EQ(BuildFontAtlas(face, codes, 3, 12, 2, &atlas), RES_OK);
    const long lineHeight = std::lround((atlas.rects[0].bottom - atlas.rects[0].top) * atlas.height);
    const uint32_t needed = static_cast<uint32_t>(lineHeight + 10 + 10);
    EXPECT_GE(atlas.height, std::max(needed, 16u));
    EXPECT_LT(atlas.height / 2, std::max(needed, 16u));
    EXPECT_FLOAT_EQ(atlas.rects[1].top, atlas.rects[0].top);
    EXPECT_EQ(BuildFontAtlas(face, codes, 0, 12, 2, &atlas), RES_FAIL);
    EXPECT_EQ(BuildFontAtlas(face, codes, 3, 0, 2, &atlas), RES_FAIL);

    CFontFace empty;
    EXPECT_EQ(BuildFontAtlas(empty, codes, 3, 12, 2, &atlas), RES_FAIL);
    EXPECT_TRUE(face.HasCharacter(u'a'));
    EXPECT_FALSE(face.HasCharacter(0x4E2D));
}

TEST_F(FontTrueTypeTest, AGlyphFarOutsideItsFaceStaysEmptyInASmallAtlas)
{
    auto coverage = [](uint16_t glyphHeight, uint32_t* height) {
        const std::string font = TinyTrueTypeFont(glyphHeight);
        CFontFace face;
        EXPECT_EQ(face.OpenMemory(reinterpret_cast<const uint8_t*>(font.data()), font.size()), RES_OK);
        const uint32_t codes[] = {u' ', u'a'};
        CFontAtlas atlas;
        EXPECT_EQ(BuildFontAtlas(face, codes, 2, 16, 0, &atlas), RES_OK);
        *height = atlas.height;
        return std::count_if(atlas.pixels.get(), atlas.pixels.get() + size_t{kAtlasWidth} * atlas.height,
                             [](uint8_t p) { return p != 0; });
    };
    uint32_t height = 0;
    EXPECT_GT(coverage(700, &height), 0);
    EXPECT_EQ(height, 64u);
    EXPECT_EQ(coverage(30000, &height), 0) << "a glyph 43 times its face's height";
    EXPECT_EQ(height, 32u);
}

TEST_F(FontTrueTypeTest, LargeSizesStayInsideTheAtlas)
{
    CFontFace face;
    ASSERT_EQ(face.OpenPath(Utf8ToUtf16(fontPath).c_str()), RES_OK);
    uint32_t codes[kAtlasCellCount];
    for (uint32_t i = 0; i < kAtlasCellCount; ++i)
        codes[i] = 0x2500 + i;  // box drawing: glyphs as wide as their advance
    CFontAtlas atlas;
    ASSERT_EQ(BuildFontAtlas(face, codes, kAtlasCellCount, 255, 255, &atlas), RES_OK);
    for (uint32_t i = 0; i < kAtlasCellCount; ++i) {
        EXPECT_LE(atlas.rects[i].bottom, 1.0f) << i;
        EXPECT_LE(atlas.rects[i].right * 1024.0f, 1024.0f - 10.0f + 255.0f) << i;
    }
}

} // namespace
