#include "tools/FontBake.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/WideString.h"
#include "engine3d/FontCharset.h"
#include "engine3d/TextureRaw.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

class FontBakeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dejaVu = DejaVuSansPath();
        if (dejaVu.empty())
            GTEST_SKIP() << "fonts-dejavu-core is not installed";
    }

    int Run(std::vector<const char*> args) { return RunTool(RunFontBake, "vdfontbake", args, &outText, &errText); }

    TempDir dir;
    std::string dejaVu;
    std::string outText;
    std::string errText;
};

TEST(FontBakeCharacters, RangesCodesAndTextFiles)
{
    std::u16string characters;
    std::string error;
    ASSERT_TRUE(ParseCharacterList("0x41-0x43,97,U+4E2D,0x42", &characters, &error)) << error;
    EXPECT_EQ(characters, u"ABCa中") << "duplicates are left out";
    ASSERT_TRUE(ParseCharacterList("0-40", &characters, &error));
    EXPECT_EQ(characters, u" !\"#$%&'(") << "control characters are left out";

    TempDir dir;
    const std::string file = dir.Write("strings.txt", "日本語\n日本\tabc a");
    ASSERT_TRUE(ParseCharacterList("@" + file, &characters, &error)) << error;
    EXPECT_EQ(characters, u"日本語abc ");

    for (const char* bad : {"", "0x43-0x41", "zz", "0x10000", "1,,2", "U+"})
        EXPECT_FALSE(ParseCharacterList(bad, &characters, &error)) << bad;
    EXPECT_FALSE(ParseCharacterList("@" + dir.File("missing.txt"), &characters, &error));
}

TEST_F(FontBakeTest, GlyphPairsReadBackThroughTheEngine)
{
    const std::string folder = dir.File("data/fonts");
    ASSERT_EQ(Run({"glyph", dejaVu.c_str(), folder.c_str()}), 0) << errText;
    EXPECT_TRUE(std::filesystem::exists(folder + "/DejaVuSans.ttf")) << "the face goes along for TrueType loading";
    const std::string glyph = outText.substr(0, outText.find('\n'));
    ASSERT_FALSE(glyph.empty());
    ASSERT_EQ(glyph.substr(glyph.size() - 11), ".30.3.glyph");
    const std::string png = glyph.substr(0, glyph.size() - 6) + ".png";
    ASSERT_TRUE(std::filesystem::exists(png));

    MemoryRenderer renderer;
    CVarnFont font(renderer.Data(), renderer.Engine());
    ASSERT_EQ(font.Create(kFontScreenText, 64), RES_OK);
    ASSERT_EQ(font.LoadGlyphFontFromFile(Utf8ToUtf16(png).c_str(), Utf8ToUtf16(glyph).c_str()), RES_OK);
    EXPECT_EQ(font.GetFontInfo()->charSize, 30);
    Vector3 narrow;
    Vector3 wide;
    font.MeasureText(&narrow, u"iiii", 30.0f, 30.0f);
    font.MeasureText(&wide, u"WWWW", 30.0f, 30.0f);
    EXPECT_GT(narrow.x, 4 * 3.0f) << "at least the space size per glyph";
    EXPECT_GT(wide.x, narrow.x);

    std::string glyphAgain;
    std::string error;
    ASSERT_EQ(BakeGlyphFont(folder + "/DejaVuSans.ttf", folder, 20, 2, &glyphAgain, &error), RES_OK) << error;
    EXPECT_NE(glyphAgain.find(".20.2.glyph"), std::string::npos) << "baking the copy in place works too";
}

TEST_F(FontBakeTest, CharsetFontsCarryTheirPagesAndScripts)
{
    const std::string base = dir.File("data/fonts/Main.desktop");
    std::vector<std::string> args = {"charset", base, "24", "2", dejaVu, "1", "0x20-0x7E,0xA0-0xFF",
                                     dejaVu, "2", "0x410-0x44F"};
    const std::string microHei = MicroHeiPath();
    if (!microHei.empty()) {
        const std::string text = dir.Write("cjk.txt", "日本語の中文한국어");
        args.insert(args.end(), {microHei, "0x1C", "@" + text});
    }
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    ASSERT_EQ(Run(argv), 0) << errText;
    const uint32_t expectedPages = microHei.empty() ? 2 : 3;  // 95 + 96 Latin, 64 Cyrillic, 9 CJK

    MemoryRenderer renderer;
    CVarnFontCharset font(renderer.Data(), renderer.Engine());
    ASSERT_EQ(font.Create(kFontScreenText, 64), RES_OK);
    ASSERT_EQ(font.LoadCharsetFromFile(Utf8ToUtf16(base + ".charset").c_str()), RES_OK);
    ASSERT_EQ(font.GetPageCount(), expectedPages);
    EXPECT_EQ(font.GetTexturePageLimit(), expectedPages);
    EXPECT_EQ(font.GetPage(0)->scriptFlags, 1u);
    EXPECT_EQ(font.GetPage(0)->count, 194u) << "95 + 96 Latin after the three control codes";
    EXPECT_EQ(font.GetPage(1)->scriptFlags, 2u);
    EXPECT_EQ(font.GetPage(1)->count, 64u);
    for (uint32_t page = 0; page < expectedPages; ++page) {
        EXPECT_EQ(font.GetPageInfo(page)->charSize, 24);
        C3DTextureRaw image(renderer.Data());
        const std::string png = base + "." + std::to_string(page) + ".png";
        ASSERT_EQ(image.LoadFromFile(Utf8ToUtf16(png).c_str()), RES_OK) << png;
        EXPECT_EQ(image.GetWidth(), 1024);
        EXPECT_FLOAT_EQ(image.GetHeight(), font.GetPageInfo(page)->textureHeight);
        EXPECT_EQ(image.Release(), RES_OK);
    }

    // Page code: 'Ж' is slot 6 of page 1, 'A' follows the control codes 0, 10 and 13 on page 0;
    // the remap gives the real characters back, and line breaks stay line breaks.
    std::u16string text = {static_cast<char16_t>(0x0100 + 6), static_cast<char16_t>(u'A' - 32 + 3), u'\n', u'\r'};
    Vector3 size;
    font.MeasureText(&size, text.c_str(), 24.0f, 24.0f);
    EXPECT_GT(size.x, 0.0f);
    font.RemapText(text.data());
    EXPECT_EQ(text, u"ЖA\n\r");
    if (!microHei.empty()) {
        EXPECT_EQ(font.GetPage(2)->scriptFlags, 0x1Cu);
        std::u16string cjk = {0x0200, 0x0201, 0x0202};
        font.RemapText(cjk.data());
        EXPECT_EQ(cjk, u"日本語");
    }
}

TEST_F(FontBakeTest, LongCharacterListsSpillOntoMorePages)
{
    const std::string base = dir.File("Many");
    std::vector<FontBakeGroup> groups = {{dejaVu, 1, u""}};
    std::string error;
    ASSERT_TRUE(ParseCharacterList("0x20-0x17F", &groups[0].characters, &error));
    uint32_t pages = 0;
    uint32_t skipped = 0;
    ASSERT_EQ(BakeCharsetFont(groups, base, 12, 1, &pages, &skipped, &error), RES_OK) << error;
    EXPECT_EQ(pages, 2u);
    EXPECT_EQ(skipped, 32u) << "the C1 controls have no glyph";
}

TEST_F(FontBakeTest, BadCommandsAndFontsFailCleanly)
{
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"bake"}), 2);
    EXPECT_EQ(Run({"glyph", dejaVu.c_str()}), 2);
    EXPECT_EQ(Run({"glyph", dejaVu.c_str(), dir.Path().c_str(), "0"}), 2);
    EXPECT_EQ(Run({"charset", "out", "24", "2", dejaVu.c_str(), "1"}), 2);
    EXPECT_EQ(Run({"charset", "out", "24", "2", dejaVu.c_str(), "x", "0x41"}), 2);
    EXPECT_EQ(Run({"charset", "out", "24", "2", dejaVu.c_str(), "1", "0x41-"}), 2);

    const std::string junk = dir.Write("junk.ttf", "not a font");
    EXPECT_EQ(Run({"glyph", junk.c_str(), dir.File("out").c_str()}), 1);
    EXPECT_NE(errText.find("cannot bake"), std::string::npos) << errText;
    const std::string base = dir.File("junk");
    EXPECT_EQ(Run({"charset", base.c_str(), "24", "2", junk.c_str(), "1", "0x41"}), 1);
    EXPECT_FALSE(std::filesystem::exists(base + ".charset"));
    EXPECT_EQ(Run({"charset", base.c_str(), "24", "2", dejaVu.c_str(), "1", "0x4E00-0x4E10"}), 1)
        << "no character of the list in the face";
    EXPECT_EQ(Run({"glyph", dir.File("none.ttf").c_str(), dir.File("out").c_str()}), 1);
}

} // namespace
