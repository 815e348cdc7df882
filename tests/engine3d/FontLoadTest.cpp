#include "engine3d/Font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "base/WideString.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"

namespace {

void ExpectRect(const GlyphRect* rect, float left, float top, float right, float bottom, const char* what)
{
    ASSERT_NE(rect, nullptr) << what;
    EXPECT_FLOAT_EQ(rect->left, left) << what;
    EXPECT_FLOAT_EQ(rect->top, top) << what;
    EXPECT_FLOAT_EQ(rect->right, right) << what;
    EXPECT_FLOAT_EQ(rect->bottom, bottom) << what;
}

bool IsZero(const GlyphRect* rect)
{
    return rect && rect->left == 0.0f && rect->top == 0.0f && rect->right == 0.0f && rect->bottom == 0.0f;
}

std::string BigEndianGlyphFile(const std::vector<GlyphRect>& rects, const FontInfo& info)
{
    std::string bytes = GlyphFileBytes(rects, info);
    std::swap(bytes[0], bytes[1]);
    for (size_t at = 2; at + 4 <= 2 + rects.size() * 16; at += 4) {
        std::swap(bytes[at], bytes[at + 3]);
        std::swap(bytes[at + 1], bytes[at + 2]);
    }
    return bytes;
}

class FontLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(font.Create(kFontScreenText, 64), RES_OK);
        imagePath = Utf8ToUtf16(dir.Write("font.png", "not decoded by the memory renderer"));
    }

    Result LoadImageFont(const std::string& description)
    {
        text = description;
        params = std::make_unique<CParamsText>(text.c_str(), static_cast<uint32_t>(text.size()));
        return font.LoadTextureFromFile(params.get(), imagePath.c_str());
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CVarnFont font{renderer.Data(), renderer.Engine()};
    TempDir dir;
    std::u16string imagePath;
    std::string text;
    std::unique_ptr<CParamsText> params;
};

TEST_F(FontLoadTest, AnEmptyFontSectionMapsEveryKeyedCharacterToTheFirstCell)
{
    ASSERT_EQ(LoadImageFont("[FONT]\n"), RES_OK);
    ASSERT_NE(font.GetTexture(0), nullptr);
    const float cell = 1.0f / 16.0f;
    for (uint32_t code : {32u, 33u, 48u, 65u, 90u, 97u, 122u, 123u, 125u, 137u, 92u})
        ExpectRect(font.GetGlyph(code), 0.0f, 0.0f, cell, cell, std::to_string(code).c_str());
    for (uint32_t code : {0u, 10u, 37u, 94u, 96u, 124u, 126u, 136u, 138u, 255u})
        EXPECT_TRUE(IsZero(font.GetGlyph(code))) << code;
    EXPECT_EQ(font.GetFontInfo()->charSize, 0) << "the font info is the caller's";
}

TEST_F(FontLoadTest, CellsComeFromColumnAndRowCountedFromOne)
{
    ASSERT_EQ(LoadImageFont("[FONT]\n"
                            "MAJ_A=3.2\n"
                            "MIN_z=16.16\n"
                            "}=2.1\n"
                            "POURCENT=5.5\n"
                            "SPACE=4\n"
                            "\"=1.2\n"
                            "\\=2.2\n"
                            "EGAL=7.1\n"
                            "[OTHER]\n"
                            "MAJ_B=9.9\n"),
              RES_OK);
    ExpectRect(font.GetGlyph(u'A'), 0.125f, 0.0625f, 0.1875f, 0.125f, "A");
    ExpectRect(font.GetGlyph(u'z'), 0.9375f, 0.9375f, 1.0f, 1.0f, "z");
    ExpectRect(font.GetGlyph(u'{'), 0.0625f, 0.0f, 0.125f, 0.0625f, "{");
    ExpectRect(font.GetGlyph(u'}'), 0.0625f, 0.0f, 0.125f, 0.0625f, "}");
    ExpectRect(font.GetGlyph(137), 0.25f, 0.25f, 0.3125f, 0.3125f, "POURCENT");
    EXPECT_TRUE(IsZero(font.GetGlyph(u'%'))) << "the percent sign has no key";
    EXPECT_TRUE(IsZero(font.GetGlyph(u' '))) << "a value without a point leaves the glyph";
    ExpectRect(font.GetGlyph(u'"'), 0.0f, 0.0625f, 0.0625f, 0.125f, "quote");
    ExpectRect(font.GetGlyph(u'\\'), 0.0625f, 0.0625f, 0.125f, 0.125f, "backslash");
    ExpectRect(font.GetGlyph(u'='), 0.375f, 0.0f, 0.4375f, 0.0625f, "EGAL");
    ExpectRect(font.GetGlyph(u'B'), 0.0f, 0.0f, 0.0625f, 0.0625f, "only the first section counts");
}

TEST_F(FontLoadTest, GridSizesDivide256First)
{
    ASSERT_EQ(LoadImageFont("[FONT]\nNB_COL=10\nNB_ROW=256\nMAJ_A=2.3\n"), RES_OK);
    ExpectRect(font.GetGlyph(u'A'), 1.0f / 25.0f, 2.0f, 2.0f / 25.0f, 3.0f, "A");
}

TEST_F(FontLoadTest, UnusableGridSizesAreRefusedBeforeTheTextureLoads)
{
    for (const char* description : {"[FONT]\nNB_COL=0\n", "[FONT]\nNB_ROW=257\n", "[FONT]\nNB_COL=65536\n"}) {
        EXPECT_EQ(LoadImageFont(description), RES_FAIL) << description;
        EXPECT_EQ(font.GetTexture(0), nullptr) << description;
    }
    EXPECT_EQ(engine->Failures().Calls(MemoryOp::LoadTexture), 0u);
    EXPECT_EQ(font.LoadTextureFromFile(nullptr, imagePath.c_str()), RES_FAIL);
}

TEST_F(FontLoadTest, ATextureThatFailsLeavesTheTableAlone)
{
    LoadFixtureGlyphs(&font);
    engine->Failures().FailNth(MemoryOp::LoadTexture, 1);
    EXPECT_EQ(LoadImageFont("[FONT]\nMAJ_A=3.2\n"), RES_FAIL);
    ExpectRect(font.GetGlyph(u'A'), FixtureRect(u'A').left, FixtureRect(u'A').top, FixtureRect(u'A').right,
               FixtureRect(u'A').bottom, "A");
    const std::u16string missing = Utf8ToUtf16(dir.File("missing.png"));
    EXPECT_EQ(font.LoadTextureFromFile(params.get(), missing.c_str()), RES_FAIL);
}

TEST_F(FontLoadTest, ImageFontsLoadFromMemoryAndFromAPak)
{
    const std::string description = "[FONT]\nMAJ_A=3.2\n";
    CParamsText reader(description.c_str(), static_cast<uint32_t>(description.size()));
    const uint8_t image[] = {1, 2, 3, 4};
    ASSERT_EQ(font.MakeTextureFromAddress(&reader, u"fonts/a.png", image, sizeof image), RES_OK);
    ExpectRect(font.GetGlyph(u'A'), 0.125f, 0.0625f, 0.1875f, 0.125f, "A");

    PakTestFile pak(PakEntryBytes("fonts/a.png", "pixels"));
    ASSERT_EQ(FindPackerEntry(u"fonts/a.png", pak.Record()), RES_OK);
    ASSERT_EQ(font.LoadTextureFromPacker(&reader, pak.Record()), RES_OK);
    EXPECT_NE(font.GetTexture(0), nullptr);
    EXPECT_EQ(font.LoadTextureFromPacker(&reader, nullptr), RES_FAIL);
}

TEST_F(FontLoadTest, GlyphDescriptionsFillTheCodesFrom32)
{
    const std::string bytes = GlyphFileBytes(FixtureGlyphRecords(), kFixtureInfo);
    ASSERT_EQ(bytes.size(), 4110u);
    const std::u16string path = Utf8ToUtf16(dir.Write("font.glyph", bytes));
    ASSERT_EQ(font.LoadGlyphFontFromFile(imagePath.c_str(), path.c_str()), RES_OK);
    for (uint32_t code = 32; code < 256; ++code) {
        const GlyphRect expected = FixtureRect(code);
        ExpectRect(font.GetGlyph(code), expected.left, expected.top, expected.right, expected.bottom,
                   std::to_string(code).c_str());
    }
    EXPECT_TRUE(IsZero(font.GetGlyph(31)));
    EXPECT_EQ(font.GetFontInfo()->charSize, 16);
    EXPECT_FLOAT_EQ(font.GetFontInfo()->textureWidth, 256.0f);
    EXPECT_NE(font.GetTexture(0), nullptr);
    Vector3 size;
    font.MeasureText(&size, u"Hello world", kFixtureScale, kFixtureLineHeight);
    EXPECT_FLOAT_EQ(size.x, 84.0f);
}

TEST_F(FontLoadTest, TruncatedOrForeignDescriptionsFailAndChangeNothing)
{
    LoadFixtureGlyphs(&font);
    std::vector<GlyphRect> other(256, GlyphRect{0.5f, 0.5f, 0.75f, 0.75f});
    const std::string bytes = GlyphFileBytes(other, FontInfo{30, {0, 0, 0}, 1024.0f, 256.0f});
    for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{100}, size_t{4097}, size_t{4098}, size_t{4109}}) {
        const std::string cut = bytes.substr(0, length);
        EXPECT_EQ(font.ReadGlyphDescriptionFromAddress(reinterpret_cast<const uint8_t*>(cut.data()),
                                                       static_cast<uint32_t>(cut.size())),
                  RES_FAIL)
            << length;
        const std::u16string path = Utf8ToUtf16(dir.Write("cut.glyph", cut));
        EXPECT_EQ(font.ReadGlyphDescriptionFromFile(path.c_str()), RES_FAIL) << length;
    }
    const std::string wrongVersion = GlyphFileBytes(other, kFixtureInfo, 3);
    EXPECT_EQ(font.ReadGlyphDescriptionFromAddress(reinterpret_cast<const uint8_t*>(wrongVersion.data()),
                                                   static_cast<uint32_t>(wrongVersion.size())),
              RES_FAIL);
    EXPECT_FLOAT_EQ(font.GetGlyph(u'A')->right, FixtureRect(u'A').right) << "nothing was stored";
    EXPECT_EQ(font.GetFontInfo()->charSize, 16);
    EXPECT_EQ(font.ReadGlyphDescriptionFromFile(Utf8ToUtf16(dir.File("none.glyph")).c_str()), RES_FAIL);
    EXPECT_EQ(font.ReadGlyphDescriptionFromAddress(nullptr, 4110), RES_FAIL);

    ASSERT_EQ(font.ReadGlyphDescriptionFromAddress(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                   static_cast<uint32_t>(bytes.size())),
              RES_OK)
        << "the whole description from memory";
    EXPECT_FLOAT_EQ(font.GetGlyph(u'A')->right, 0.75f);
    EXPECT_EQ(font.GetFontInfo()->charSize, 30);
}

TEST_F(FontLoadTest, ASwappingStreamSwapsTheRecordsButNotTheFontInfo)
{
    const std::string bytes = BigEndianGlyphFile(FixtureGlyphRecords(), kFixtureInfo);
    CStreamMemory stream(kStreamRead | kStreamSwapOnRead, bytes.data() + 2, static_cast<uint32_t>(bytes.size() - 2));
    ASSERT_EQ(stream.Open(), RES_OK);
    ASSERT_EQ(font.ReadGlyphTable(&stream), RES_OK);
    EXPECT_FLOAT_EQ(font.GetGlyph(u'W')->right, FixtureRect(u'W').right);
    EXPECT_EQ(font.GetFontInfo()->charSize, 16);
    EXPECT_FLOAT_EQ(font.GetFontInfo()->textureWidth, 256.0f);
}

TEST_F(FontLoadTest, PakDescriptionsAreReadInsideTheirEntry)
{
    const std::string bytes = GlyphFileBytes(FixtureGlyphRecords(), kFixtureInfo);
    PakTestFile pak(PakEntryBytes("short.glyph", bytes.substr(0, 2000)) + PakEntryBytes("font.glyph", bytes) +
                    PakEntryBytes("font.png", "pixels"));
    ASSERT_EQ(FindPackerEntry(u"short.glyph", pak.Record()), RES_OK);
    EXPECT_EQ(font.ReadGlyphDescriptionFromPacker(pak.Record()), RES_FAIL)
        << "the next entry's bytes are not read as the rest";
    EXPECT_TRUE(IsZero(font.GetGlyph(u'A')));

    CPackerFile texture{};
    ASSERT_EQ(OpenPackerFile(&texture, Utf8ToUtf16(pak.Path()).c_str(), 0), RES_OK);
    ASSERT_EQ(FindPackerEntry(u"font.png", &texture), RES_OK);
    ASSERT_EQ(FindPackerEntry(u"font.glyph", pak.Record()), RES_OK);
    ASSERT_EQ(font.LoadGlyphFontFromPacker(&texture, pak.Record()), RES_OK);
    EXPECT_FLOAT_EQ(font.GetGlyph(u'A')->right, FixtureRect(u'A').right);
    EXPECT_NE(font.GetTexture(0), nullptr);
    EXPECT_EQ(font.LoadGlyphFontFromPacker(nullptr, nullptr), RES_OK);
    ClosePackerFile(&texture);
    EXPECT_EQ(font.ReadGlyphDescriptionFromPacker(nullptr), RES_FAIL);
}

TEST_F(FontLoadTest, GlyphFontsFromMemoryNeedBothHalves)
{
    const std::string bytes = GlyphFileBytes(FixtureGlyphRecords(), kFixtureInfo);
    const uint8_t image[] = {1, 2, 3};
    const auto* description = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_EQ(font.LoadGlyphFontFromAddress(image, sizeof image, description, static_cast<uint32_t>(bytes.size())),
              RES_OK);
    engine->Failures().FailNth(MemoryOp::LoadTexture, 1);
    EXPECT_EQ(font.LoadGlyphFontFromAddress(image, sizeof image, description, static_cast<uint32_t>(bytes.size())),
              RES_FAIL);
    EXPECT_EQ(font.LoadGlyphFontFromAddress(image, sizeof image, description, 4000), RES_FAIL);
}

} // namespace
