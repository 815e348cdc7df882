#include "engine3d/FontCharset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/WideString.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kBatch = 16;
constexpr uint32_t kPerPage = 6 * kBatch;
constexpr float kLine = kFixtureLineHeight;

class FontCharsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(font.Create(kFontScreenText, kBatch), RES_OK);
        bytes = CharsetFileBytes(TwoPageCharset(), 2);
        ASSERT_EQ(Load(bytes), RES_OK);
    }
    void TearDown() override
    {
        for (C3DTexture* texture : made)
            EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
    }

    Result Load(const std::string& file, CVarnFontCharset* which = nullptr)
    {
        return (which ? which : &font)
            ->LoadCharsetFromAddress(reinterpret_cast<const uint8_t*>(file.data()), static_cast<uint32_t>(file.size()));
    }
    C3DTexture* NewTexture()
    {
        made.push_back(engine->CreateTexture(kFontTextureFlags, kFontTextureParameter));
        return made.back();
    }
    Vector3 Draw(const char16_t* text, float x = 0.0f)
    {
        Vector3 out;
        const Vector3 at{x, 0.0f, 0.0f};
        font.HitTestText(&out, text, &at, 0, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, nullptr, 0);
        return out;
    }
    FontVertex Vertex(uint32_t index) { return ReadFontVertex(font.GetTextObject(), index); }
    std::vector<MemoryDraw> Draws() { return engine->DrawsOf(font.GetTextObject()); }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CVarnFontCharset font{renderer.Data(), renderer.Engine()};
    std::string bytes;
    std::vector<C3DTexture*> made;
};

TEST_F(FontCharsetTest, ReadsPagesTablesAndPerPageGeometry)
{
    EXPECT_EQ(font.GetPageCount(), 2u);
    EXPECT_EQ(font.GetTexturePageLimit(), 2u);
    const CharsetPage* latin = font.GetPage(0);
    const CharsetPage* cjk = font.GetPage(1);
    ASSERT_NE(latin, nullptr);
    ASSERT_NE(cjk, nullptr);
    EXPECT_EQ(font.GetPage(2), nullptr);
    EXPECT_EQ(latin->scriptFlags, 0x01u);
    EXPECT_EQ(latin->secondWord, 0x1234u);
    EXPECT_EQ(latin->count, 128u);
    EXPECT_EQ(cjk->scriptFlags, 0x0Cu);
    EXPECT_EQ(std::u16string(cjk->characters.get(), cjk->count), kPageOneCharacters);
    EXPECT_EQ(font.GetPageInfo(1)->charSize, 32);
    EXPECT_FLOAT_EQ(font.GetPageInfo(1)->textureWidth, 512.0f);
    EXPECT_EQ(font.GetPageInfo(2), nullptr);
    EXPECT_FLOAT_EQ(font.GetGlyph(0x0101)->left, 1.0f / 16.0f);

    C3DObject* object = font.GetTextObject();
    EXPECT_EQ(object->GetPartCount(), 2u);
    EXPECT_EQ(object->GetVertexCount(), 2 * kPerPage);
    EXPECT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->GetIndex(kPerPage - 1), kPerPage - 1);
    EXPECT_EQ(object->GetIndex(kPerPage), 0u) << "each page's indices start from its own first vertex";
    EXPECT_EQ(object->Unlock(0), RES_OK);
}

TEST_F(FontCharsetTest, AMixedTextDrawsOnePrimitiveGroupPerPage)
{
    C3DTexture* pages[2] = {NewTexture(), NewTexture()};
    ASSERT_EQ(font.SetPageTextures(pages, 2), RES_OK);
    const Vector3 end = Draw(u"ab\u0100\u0101 c");
    EXPECT_FLOAT_EQ(end.x, 0.5f + 60.0f) << "8 + 8 + 16 + 16 + 4 + 8";
    EXPECT_FLOAT_EQ(end.y, kLine);

    const std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 2u) << "one draw per part in one batch";
    EXPECT_EQ(draws[0].part, 0u);
    EXPECT_EQ(draws[0].record.firstVertex, 0u);
    EXPECT_EQ(draws[0].record.vertexCount, 24u);
    EXPECT_EQ(draws[0].record.primitiveCount, 8u);
    EXPECT_EQ(draws[0].textures[0], pages[0]);
    EXPECT_EQ(draws[1].part, 1u);
    EXPECT_EQ(draws[1].record.firstVertex, kPerPage);
    EXPECT_EQ(draws[1].record.firstIndex, kPerPage);
    EXPECT_EQ(draws[1].record.vertexCount, 12u);
    EXPECT_EQ(draws[1].record.primitiveCount, 4u);
    EXPECT_EQ(draws[1].textures[0], pages[1]);

    EXPECT_FLOAT_EQ(Vertex(kPerPage).position.x, 16.5f) << "page 1 starts after \"ab\"";
    EXPECT_FLOAT_EQ(Vertex(kPerPage + 1).position.x, 32.5f) << "16 wide at the page's own font info";
    EXPECT_FLOAT_EQ(Vertex(kPerPage).uv.y, 0.5f);
    EXPECT_FLOAT_EQ(Vertex(kPerPage + 6).position.x, 32.5f);
    EXPECT_FLOAT_EQ(Vertex(12).position.x, 48.5f) << "the space after the page-1 glyphs";
    EXPECT_FLOAT_EQ(Vertex(18).position.x, 52.5f);
    EXPECT_TRUE(engine->Misuses().empty());

    Vector3 size;
    font.MeasureText(&size, u"ab\u0100\u0101 c\n\u0100", kFixtureScale, kLine);
    EXPECT_FLOAT_EQ(size.x, 60.0f);
    EXPECT_FLOAT_EQ(size.y, 2 * kLine);
}

TEST_F(FontCharsetTest, UnitsOfUnknownPagesAndEmptySlotsAreNotDrawn)
{
    Draw(u"a\u0200b\u4E2D\u0104c");
    EXPECT_FLOAT_EQ(Vertex(6).position.x, 8.5f);
    EXPECT_FLOAT_EQ(Vertex(12).position.x, 16.5f);
    C3DPrimitiveGroup group{};
    ASSERT_EQ(font.GetTextObject()->GetPrimitiveGroup(0, &group), RES_OK);
    EXPECT_EQ(group.vertexCount, 18u);
    ASSERT_EQ(font.GetTextObject()->GetPrimitiveGroup(1, &group), RES_OK);
    EXPECT_EQ(group.vertexCount, 0u);
    Vector3 size;
    font.MeasureText(&size, u"a\u0200b\u4E2D\u0104c", kFixtureScale, kLine);
    EXPECT_FLOAT_EQ(size.x, 24.0f);
}

TEST_F(FontCharsetTest, ABatchNeverOverflowsAPagePart)
{
    const std::u16string text(kBatch + 4, u'\u0102');
    const Vector3 end = Draw(text.c_str());
    const std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 4u) << "two batches of two parts";
    EXPECT_EQ(draws[1].record.vertexCount, kPerPage);
    EXPECT_EQ(draws[3].record.vertexCount, 24u);
    EXPECT_FLOAT_EQ(end.x, 0.5f + (kBatch + 4) * 16.0f);
    EXPECT_FLOAT_EQ(end.y, kLine);
    EXPECT_TRUE(engine->Misuses().empty());
}

TEST_F(FontCharsetTest, HoverHighlightsWithoutTheHoverFlag)
{
    Vector3 pen{0.0f, 0.0f, 0.0f};
    Vector3 out;
    const Vector2 inside{4.0f, 4.0f};
    font.DrawText(&out, u"ab", 0.0f, &pen, 0, 0x80804000u, kFixtureScale, kLine, &inside, nullptr, 0);
    EXPECT_EQ(Vertex(0).colour, 0x80FFFF00u);
}

TEST_F(FontCharsetTest, RemapTurnsPageCodesIntoRealCharacters)
{
    std::u16string text = u"\u0100\u0103A\u0104\u0105\u0300";
    font.RemapText(text.data());
    EXPECT_EQ(text, u"日中A文\u0105\u0300") << "slots past a page's list and unknown pages stay";
    font.RemapText(nullptr);
}

TEST_F(FontCharsetTest, PageTexturesUpToTheLimitAndThePages)
{
    C3DTexture* three[3] = {NewTexture(), NewTexture(), NewTexture()};
    EXPECT_EQ(font.SetPageTextures(three, 3), RES_FAIL);
    EXPECT_EQ(font.GetTexture(0), nullptr) << "nothing set";
    EXPECT_EQ(font.SetPageTextures(three, 2), RES_OK) << "exactly the limit";
    EXPECT_EQ(font.GetTexture(1), three[1]);
    EXPECT_EQ(font.SetPageTextures(nullptr, 1), RES_FAIL);
    EXPECT_EQ(font.SetPageTextures(three, 0), RES_OK);

    std::vector<CharsetFilePage> pages = TwoPageCharset();
    ASSERT_EQ(Load(CharsetFileBytes(pages, 5)), RES_OK);
    EXPECT_EQ(font.SetPageTextures(three, 3), RES_FAIL) << "a limit above the page count does not reach past the parts";
    CMemoryTexture stray(renderer.Data(), engine, kFontTextureFlags, kFontTextureParameter);
    C3DTexture* strays[1] = {&stray};
    EXPECT_EQ(font.SetPageTextures(strays, 1), RES_FAIL) << "a texture the engine does not hold";
    EXPECT_EQ(font.GetTexture(0), nullptr);
}

TEST_F(FontCharsetTest, ReadingAgainReplacesThePagesAndDropsTheTextures)
{
    C3DTexture* pages[2] = {NewTexture(), NewTexture()};
    ASSERT_EQ(font.SetPageTextures(pages, 2), RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(pages[0]), 2u);
    std::vector<CharsetFilePage> one = TwoPageCharset();
    one.resize(1);
    ASSERT_EQ(Load(CharsetFileBytes(one, 1)), RES_OK);
    EXPECT_EQ(font.GetPageCount(), 1u);
    EXPECT_EQ(font.GetTextObject()->GetPartCount(), 1u);
    EXPECT_EQ(font.GetTexture(0), nullptr);
    EXPECT_EQ(engine->GetTextureRefCount(pages[0]), 1u);
    EXPECT_EQ(engine->GetObjectCount(), 1u);
    Draw(u"\u0100");
    EXPECT_EQ(Draws().size(), 1u);
}

TEST_F(FontCharsetTest, AFailedReadLeavesTheFontAsItWas)
{
    C3DTexture* pages[2] = {NewTexture(), NewTexture()};
    ASSERT_EQ(font.SetPageTextures(pages, 2), RES_OK);
    C3DObject* object = font.GetTextObject();
    std::vector<CharsetFilePage> other = TwoPageCharset();
    other.resize(1);
    const std::string replacement = CharsetFileBytes(other, 1);

    auto unchanged = [&](const std::string& what) {
        EXPECT_EQ(font.GetPageCount(), 2u) << what;
        EXPECT_EQ(font.GetTextObject(), object) << what;
        EXPECT_EQ(font.GetTexture(1), pages[1]) << what;
        EXPECT_FLOAT_EQ(font.GetGlyph(0x0101)->left, 1.0f / 16.0f) << what;
        EXPECT_EQ(font.GetPageInfo(1)->charSize, 32) << what;
    };
    for (size_t length = 0; length < replacement.size(); ++length) {
        ASSERT_EQ(Load(replacement.substr(0, length)), RES_FAIL) << length;
        if (length % 512 == 0)
            unchanged("cut at " + std::to_string(length));
    }
    unchanged("after every cut");

    std::string wrongVersion = replacement;
    wrongVersion[0] = 5;
    EXPECT_EQ(Load(wrongVersion), RES_FAIL);
    std::string noPages = replacement;
    noPages[2] = 0;
    EXPECT_EQ(Load(noPages), RES_FAIL);
    std::string tooManyPages = replacement;
    tooManyPages[2] = 1;
    tooManyPages[3] = 1;  // 257 pages
    EXPECT_EQ(Load(tooManyPages), RES_FAIL);
    std::string longList = replacement;
    longList[18] = 1;
    longList[19] = 1;  // 257 characters on page 0
    EXPECT_EQ(Load(longList), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateObject, 1);
    EXPECT_EQ(Load(replacement), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateVertices, 1);
    EXPECT_EQ(Load(replacement), RES_FAIL);
    EXPECT_EQ(engine->GetObjectCount(), 1u) << "a refused rebuild leaves no object behind";
    unchanged("after the refused rebuilds");

    Draw(u"\u0101");
    EXPECT_EQ(Draws().size(), 2u) << "the font still draws both pages";
}

TEST_F(FontCharsetTest, ReadsFromFilesAndPaks)
{
    TempDir dir;
    CVarnFontCharset other(renderer.Data(), engine);
    ASSERT_EQ(other.Create(kFontScreenText, 8), RES_OK);
    const std::u16string path = Utf8ToUtf16(dir.Write("fonts/main.charset", bytes));
    ASSERT_EQ(other.LoadCharsetFromFile(path.c_str()), RES_OK);
    EXPECT_EQ(other.GetPageCount(), 2u);
    EXPECT_EQ(other.LoadCharsetFromFile(Utf8ToUtf16(dir.File("none.charset")).c_str()), RES_FAIL);

    PakTestFile pak(PakEntryBytes("cut.charset", bytes.substr(0, bytes.size() - 1)) +
                    PakEntryBytes("main.charset", bytes));
    ASSERT_EQ(FindPackerEntry(u"cut.charset", pak.Record()), RES_OK);
    EXPECT_EQ(other.LoadCharsetFromPacker(pak.Record()), RES_FAIL);
    ASSERT_EQ(FindPackerEntry(u"main.charset", pak.Record()), RES_OK);
    ASSERT_EQ(other.LoadCharsetFromPacker(pak.Record()), RES_OK);
    EXPECT_EQ(other.LoadCharsetFromPacker(nullptr), RES_FAIL);
    EXPECT_EQ(other.LoadCharsetFromAddress(nullptr, 10), RES_FAIL);

    CVarnFontCharset uncreated(renderer.Data(), engine);
    EXPECT_EQ(Load(bytes, &uncreated), RES_FAIL) << "the text object comes from Create";
}

TEST_F(FontCharsetTest, WrapWithoutKeepingATrailingBreak)
{
    std::u16string out(64, u'#');
    uint32_t n = font.WrapText(kFixtureScale, kFixtureScale, u"\u0100\u0101 \u0102\u0103 ", out.data(), 64, 40, u' ',
                               nullptr, nullptr);
    EXPECT_EQ(out.substr(0, n), u"\u0100\u0101\n\u0102\u0103");
    n = font.WrapText(kFixtureScale, kFixtureScale, u"\u0500\u0500\u0500a b", out.data(), 64, 8, u' ', nullptr,
                      nullptr);
    EXPECT_EQ(out.substr(0, n), u"\u0500\u0500\u0500a\nb") << "units of unknown pages are copied, not measured";
    n = font.WrapText(kFixtureScale, kFixtureScale, u"ab ", out.data(), 64, 100, u' ', nullptr, nullptr, 1);
    EXPECT_EQ(out.substr(0, n), u"ab ") << "the base wrapping still keeps it on request";
}

TEST_F(FontCharsetTest, CreateFromCopiesThePagesAndSharesTheTextures)
{
    C3DTexture* pages[2] = {NewTexture(), NewTexture()};
    ASSERT_EQ(font.SetPageTextures(pages, 2), RES_OK);
    {
        CVarnFontCharset copy(renderer.Data(), engine);
        ASSERT_EQ(copy.CreateFrom(&font, 8), RES_OK);
        EXPECT_EQ(copy.GetPageCount(), 2u);
        EXPECT_EQ(copy.GetTexturePageLimit(), 2u);
        EXPECT_NE(copy.GetPage(1)->characters.get(), font.GetPage(1)->characters.get());
        EXPECT_EQ(std::u16string(copy.GetPage(1)->characters.get(), copy.GetPage(1)->count), kPageOneCharacters);
        EXPECT_EQ(copy.GetTexture(1), pages[1]);
        EXPECT_EQ(engine->GetTextureRefCount(pages[1]), 3u);
        EXPECT_EQ(copy.GetTextObject()->GetVertexCount(), 2 * 6 * 8u);
        Vector3 out;
        const Vector3 at{0.0f, 0.0f, 0.0f};
        copy.HitTestText(&out, u"a\u0100", &at, 0, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, nullptr, 0);
        EXPECT_FLOAT_EQ(out.x, 0.5f + 24.0f);
    }
    EXPECT_EQ(engine->GetTextureRefCount(pages[1]), 2u);

    CVarnFont plain(renderer.Data(), engine);
    ASSERT_EQ(plain.Create(kFontScreenText, 8), RES_OK);
    CVarnFontCharset copy(renderer.Data(), engine);
    EXPECT_EQ(copy.CreateFrom(&plain, 8), RES_FAIL) << "the source must be a charset font";
    EXPECT_EQ(copy.GetTextObject(), nullptr);
}

TEST_F(FontCharsetTest, BeforeAnyReadNothingIsDrawnAndNothingBreaks)
{
    CVarnFontCharset fresh(renderer.Data(), engine);
    ASSERT_EQ(fresh.Create(kFontScreenText, 8), RES_OK);
    EXPECT_EQ(fresh.GetPageCount(), 0u);
    Vector3 out;
    const Vector3 at{0.0f, 0.0f, 0.0f};
    fresh.HitTestText(&out, u"abc", &at, 0, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, nullptr, 0);
    EXPECT_FLOAT_EQ(out.x, 0.5f);
    C3DTexture* one[1] = {NewTexture()};
    EXPECT_EQ(fresh.SetPageTextures(one, 1), RES_FAIL);
    std::u16string text = u"\u0100";
    fresh.RemapText(text.data());
    EXPECT_EQ(text, u"\u0100");
    EXPECT_EQ(fresh.Release(), RES_OK);
    EXPECT_EQ(fresh.GetPage(0), nullptr);
}

} // namespace
