#include "engine3d/Font.h"

#include <gtest/gtest.h>

#include <string>

#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"

namespace {

constexpr float kLine = kFixtureLineHeight;

class FontLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(font.Create(kFontScreenText, kFontDefaultBatchSize), RES_OK);
        LoadFixtureGlyphs(&font);
    }

    Vector3 Measure(const char16_t* text, float scale = kFixtureScale, float line = kLine)
    {
        Vector3 size;
        font.MeasureText(&size, text, scale, line);
        return size;
    }
    Vector3 Align(Vector3 position, uint16_t flags, Vector3 size, CVarnFont* which = nullptr)
    {
        Vector3 out;
        (which ? which : &font)->AlignPosition(&out, &position, flags, &size);
        return out;
    }
    Vector3 HitTest(const char16_t* text, Vector3 position, uint16_t flags, const Vector2* point,
                    uint32_t colour = 0xFFFFFFFFu, const void* extra = nullptr)
    {
        Vector3 out;
        font.HitTestText(&out, text, &position, flags, colour, kFixtureScale, kLine, point, extra, 8);
        return out;
    }
    std::u16string Wrap(const char16_t* text, uint16_t width, const char16_t* after = nullptr,
                        const char16_t* before = nullptr, uint8_t keep = 0, uint32_t capacity = 256)
    {
        std::u16string out(capacity, u'#');
        const uint32_t written =
            font.WrapText(kFixtureScale, kFixtureScale, text, out.data(), capacity, width, u' ', after, before, keep);
        EXPECT_EQ(out[written], 0);
        out.resize(written);
        return out;
    }
    std::vector<MemoryDraw> Draws() { return engine->DrawsOf(font.GetTextObject()); }
    FontVertex Vertex(uint32_t index) { return ReadFontVertex(font.GetTextObject(), index); }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CVarnFont font{renderer.Data(), renderer.Engine()};
};

TEST_F(FontLayoutTest, MeasuresKnownStringsAgainstHandComputedWidths)
{
    Vector3 size = Measure(u"Hello world");
    EXPECT_FLOAT_EQ(size.x, 84.0f);  // ten glyphs of 8 and a space of 4
    EXPECT_FLOAT_EQ(size.y, kLine);
    EXPECT_FLOAT_EQ(size.z, 0.0f);
    EXPECT_FLOAT_EQ(Measure(u"Hello world", 8.0f).x, 42.0f);
    EXPECT_FLOAT_EQ(Measure(u"mW i").x, 34.0f);

    size = Measure(u"ab\ncdef\nW");
    EXPECT_FLOAT_EQ(size.x, 32.0f) << "the widest line";
    EXPECT_FLOAT_EQ(size.y, 3 * kLine);
    EXPECT_FLOAT_EQ(Measure(u"a\n").y, 2 * kLine);

    EXPECT_FLOAT_EQ(Measure(u"a\rb\x7F\u00E9\u4E2D").x, 16.0f)
        << "CR, glyphless codes and codes past the table add nothing";

    size = Measure(u"");
    EXPECT_FLOAT_EQ(size.x, 0.0f);
    EXPECT_FLOAT_EQ(size.y, kLine);
    EXPECT_FLOAT_EQ(Measure(u"", kFixtureScale, -kLine).y, kLine);

    size = Measure(u"ab\ncd", -kFixtureScale, -kLine);
    EXPECT_FLOAT_EQ(size.x, -16.0f) << "the width takes the scale's sign";
    EXPECT_FLOAT_EQ(size.y, 2 * kLine) << "the height is always positive";
}

TEST_F(FontLayoutTest, AFontWithoutCharacterSizeMeasuresNothingInsteadOfInfinity)
{
    ASSERT_EQ(font.SetFontInfo(FontInfo{}), RES_OK);
    Vector3 size = Measure(u"Hello");
    EXPECT_FLOAT_EQ(size.x, 0.0f);
    std::u16string wrapped = Wrap(u"aaa aaa", 5);
    EXPECT_EQ(wrapped, u"aaa aaa");
}

TEST_F(FontLayoutTest, AlignsOnThePositionOrTheScreen)
{
    const Vector3 at{100.0f, 50.0f, 7.0f};
    const Vector3 size{40.0f, 20.0f, 6.0f};
    Vector3 p = Align(at, 0, size);
    EXPECT_FLOAT_EQ(p.x, 100.0f);
    EXPECT_FLOAT_EQ(p.y, 50.0f);

    p = Align(at, kTextCenterX | kTextCenterY, size);
    EXPECT_FLOAT_EQ(p.x, 80.0f);
    EXPECT_FLOAT_EQ(p.y, 40.0f);
    EXPECT_FLOAT_EQ(p.z, 7.0f);

    EXPECT_FLOAT_EQ(Align(at, kTextCenterX | kTextScreenCenterX | kTextRightAlign, size).x, 80.0f)
        << "0x01 wins over 0x04 and 0x10";
    EXPECT_FLOAT_EQ(Align(at, kTextScreenCenterX | kTextRightAlign, size).x, 100.0f + (1024.0f - 40.0f) / 2);
    EXPECT_FLOAT_EQ(Align(at, kTextRightAlign, size).x, 100.0f + 1024.0f - (40.0f - 6.0f));
    EXPECT_FLOAT_EQ(Align(at, kTextScreenCenterY, size).y, 50.0f + (768.0f - 20.0f) / 2);
    EXPECT_FLOAT_EQ(Align(at, kTextCenterY | kTextScreenCenterY, size).y, 40.0f);

    p = Align(at, kTextTurnedScreen | kTextScreenCenterX | kTextScreenCenterY, size);
    EXPECT_FLOAT_EQ(p.x, 100.0f + (768.0f - 40.0f) / 2) << "the turned screen centres x on the height";
    EXPECT_FLOAT_EQ(p.y, 50.0f + (1024.0f - 20.0f) / 2);
}

TEST_F(FontLayoutTest, ObjectSpaceTextAlignsOnlyOnItsPosition)
{
    CVarnFont local(renderer.Data(), engine);
    ASSERT_EQ(local.Create(kFontObjectText, 16), RES_OK);
    EXPECT_EQ(local.GetTextObject()->GetFlagsA() & kFormatMask, kFormatNormalTex);
    const Vector3 size{40.0f, 20.0f, 0.0f};
    Vector3 p = Align(Vector3{100.0f, 50.0f, 0.0f}, kTextScreenCenterX | kTextScreenCenterY | kTextRightAlign, size,
                      &local);
    EXPECT_FLOAT_EQ(p.x, 100.0f);
    EXPECT_FLOAT_EQ(p.y, 50.0f);
    p = Align(Vector3{100.0f, 50.0f, 0.0f}, kTextCenterX | kTextCenterY, size, &local);
    EXPECT_FLOAT_EQ(p.x, 80.0f);
    EXPECT_FLOAT_EQ(p.y, 40.0f);
}

TEST_F(FontLayoutTest, HitTestsStrictlyInsideTheTextRectangle)
{
    const Vector3 at{100.0f, 100.0f, 0.0f};  // "Hello" covers x 100..140, y 100..120
    auto hits = [&](float x, float y, uint16_t flags = 0) {
        const Vector2 point{x, y};
        return HitTest(u"Hello", at, flags, &point).z;
    };
    EXPECT_FLOAT_EQ(hits(120.0f, 110.0f), 1.0f);
    EXPECT_FLOAT_EQ(hits(100.0f, 110.0f), 0.0f) << "edges do not hit";
    EXPECT_FLOAT_EQ(hits(140.0f, 110.0f), 0.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 100.0f), 0.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 120.0f), 0.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 90.0f), 0.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 90.0f, kTextHitMargin), 1.0f) << "the margin is 0.75 of the height";
    EXPECT_FLOAT_EQ(hits(120.0f, 134.0f, kTextHitMargin), 1.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 135.0f, kTextHitMargin), 0.0f);
    EXPECT_FLOAT_EQ(HitTest(u"Hello", at, 0, nullptr).z, 0.0f);

    // Turned screen: text x runs up the screen from H - x, text y across it.
    EXPECT_FLOAT_EQ(hits(110.0f, 768.0f - 120.0f, kTextTurnedScreen), 1.0f);
    EXPECT_FLOAT_EQ(hits(120.0f, 768.0f - 120.0f, kTextTurnedScreen), 0.0f);
    EXPECT_FLOAT_EQ(hits(110.0f, 768.0f - 140.0f, kTextTurnedScreen), 0.0f);

    // Centred on the screen, the rectangle moves with the text.
    const Vector2 centre{512.0f, 384.0f};
    EXPECT_FLOAT_EQ(HitTest(u"Hello", Vector3{0.0f, 0.0f, 0.0f}, kTextScreenCenterX | kTextScreenCenterY, &centre).z,
                    1.0f);
}

TEST_F(FontLayoutTest, HoverRaisesTheNonZeroChannelsOnly)
{
    const Vector2 inside{120.0f, 110.0f};
    const Vector2 outside{10.0f, 10.0f};
    HitTest(u"Hello", Vector3{100.0f, 100.0f, 0.0f}, kTextHover, &inside, 0x80804000u);
    EXPECT_EQ(font.GetTextObject()->GetColor(), 0x80FFFF00u);
    HitTest(u"Hello", Vector3{100.0f, 100.0f, 0.0f}, kTextHover, &outside, 0x80804000u);
    EXPECT_EQ(font.GetTextObject()->GetColor(), 0x80804000u);
    HitTest(u"Hello", Vector3{100.0f, 100.0f, 0.0f}, kTextHitMargin, &inside, 0x80804000u);
    EXPECT_EQ(font.GetTextObject()->GetColor(), 0x80804000u) << "a hit without 0x400 keeps the colour";

    Vector3 pen{100.0f, 100.0f, 0.0f};
    Vector3 out;
    font.DrawText(&out, u"Hello", 100.0f, &pen, kTextHover, 0x00804000u, kFixtureScale, kLine, &inside, nullptr, 0);
    EXPECT_EQ(Vertex(0).colour, 0x00FFFF00u);
    EXPECT_EQ(font.GetTextObject()->GetFlagsB() & kObjectAlphaBlend, 0u) << "a zero alpha draws without blending";
}

TEST_F(FontLayoutTest, DrawsQuadsAtThePenWithTheLineHeightAsGlyphHeight)
{
    const Vector3 result = HitTest(u"Hi\nW", Vector3{10.7f, 5.0f, 0.0f}, 0, nullptr, 0xFF336699u);
    EXPECT_FLOAT_EQ(result.x, 10.5f + 16.0f) << "the pen after the last character";
    EXPECT_FLOAT_EQ(result.y, 5.0f + 2 * kLine) << "one line height below the last line";
    EXPECT_FLOAT_EQ(result.z, 0.0f);

    const GlyphRect h = FixtureRect(u'H');
    const float x = 10.5f;
    const float y = 5.0f;
    const float corners[6][4] = {{x, y, h.left, h.top},
                                 {x + 8, y, h.right, h.top},
                                 {x, y + kLine, h.left, h.bottom},
                                 {x, y + kLine, h.left, h.bottom},
                                 {x + 8, y, h.right, h.top},
                                 {x + 8, y + kLine, h.right, h.bottom}};
    for (uint32_t i = 0; i < 6; ++i) {
        const FontVertex v = Vertex(i);
        EXPECT_FLOAT_EQ(v.position.x, corners[i][0]) << i;
        EXPECT_FLOAT_EQ(v.position.y, corners[i][1]) << i;
        EXPECT_FLOAT_EQ(v.position.z, 0.0f);
        EXPECT_FLOAT_EQ(v.uv.x, corners[i][2]) << i;
        EXPECT_FLOAT_EQ(v.uv.y, corners[i][3]) << i;
        EXPECT_EQ(v.colour, 0xFFFFFFFFu) << "the colour goes on the object";
    }
    EXPECT_FLOAT_EQ(Vertex(6).position.x, x + 8) << "'i' follows 'H'";
    EXPECT_FLOAT_EQ(Vertex(12).position.x, x) << "the line feed returns to the start x";
    EXPECT_FLOAT_EQ(Vertex(12).position.y, y + kLine);

    const std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].record.vertexCount, 18u);
    EXPECT_EQ(draws[0].record.indexCount, 18u);
    EXPECT_EQ(draws[0].record.primitiveCount, 6u);
    EXPECT_EQ(draws[0].record.primitiveType, uint32_t{kPrimitiveTriangleList});
    EXPECT_EQ(draws[0].record.cullCode, font.GetCullCode());
    EXPECT_EQ(draws[0].colour, 0xFF336699u);
    EXPECT_NE(draws[0].flagsB & kObjectAlphaBlend, 0u);
    EXPECT_EQ(font.GetRemainingText(), nullptr);
    EXPECT_EQ(font.GetTextBeingDrawn(), nullptr);
    EXPECT_TRUE(engine->Misuses().empty());
}

TEST_F(FontLayoutTest, ControlCharactersAndMissingGlyphsMakeNoQuadAndNoAdvance)
{
    Vector3 pen{0.0f, 0.0f, 0.0f};
    Vector3 out;
    font.DrawText(&out, u"a\rb\x7F\u00E9c", 0.0f, &pen, 0, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, nullptr, 0);
    EXPECT_FLOAT_EQ(pen.x, 24.0f);
    EXPECT_FLOAT_EQ(Vertex(12).position.x, 16.0f) << "'c' right after 'b'";
    C3DPrimitiveGroup group{};
    ASSERT_EQ(font.GetTextObject()->GetPrimitiveGroup(0, &group), RES_OK);
    EXPECT_EQ(group.vertexCount, 18u);
}

TEST_F(FontLayoutTest, AnEmptyTextDrawsNothingAndMovesOneLineDown)
{
    const Vector3 result = HitTest(u"", Vector3{3.2f, 40.0f, 0.0f}, 0, nullptr);
    EXPECT_FLOAT_EQ(result.x, 3.5f);
    EXPECT_FLOAT_EQ(result.y, 40.0f + kLine);
    const std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].record.primitiveCount, 0u);
}

TEST_F(FontLayoutTest, LongTextsAreDrawnInBatchesOnTheSameLine)
{
    const std::u16string exact(1024, u'a');
    Vector3 result = HitTest(exact.c_str(), Vector3{0.0f, 0.0f, 0.0f}, 0, nullptr);
    EXPECT_EQ(Draws().size(), 1u);
    EXPECT_FLOAT_EQ(result.x, 0.5f + 1024 * 8.0f);
    EXPECT_FLOAT_EQ(result.y, kLine);

    engine->ClearDraws();
    const std::u16string longer(1025, u'a');
    result = HitTest(longer.c_str(), Vector3{0.0f, 0.0f, 0.0f}, 0, nullptr);
    const std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].record.primitiveCount, 2048u);
    EXPECT_EQ(draws[1].record.primitiveCount, 2u);
    EXPECT_FLOAT_EQ(Vertex(0).position.x, 0.5f + 1024 * 8.0f) << "the second batch continues the line";
    EXPECT_FLOAT_EQ(Vertex(0).position.y, 0.0f);
    EXPECT_FLOAT_EQ(result.x, 0.5f + 1025 * 8.0f);
    EXPECT_FLOAT_EQ(result.y, kLine);

    Vector3 pen{0.0f, 0.0f, 0.0f};
    Vector3 out;
    font.DrawText(&out, longer.c_str(), 0.0f, &pen, 0, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, nullptr, 0);
    EXPECT_EQ(font.GetRemainingText(), longer.c_str() + 1024);
    EXPECT_FLOAT_EQ(out.y, 0.0f) << "a partial batch does not advance the line";
}

TEST_F(FontLayoutTest, TurnedScreenAndGrowthMoveTheCorners)
{
    const float H = 768.0f;
    struct Growth {
        float x, y;
    };
    std::vector<Growth> table(256, Growth{0.0f, 0.0f});
    table[u'a'] = Growth{1.0f, 3.0f};
    Vector3 pen{10.0f, 20.0f, 0.0f};
    Vector3 out;
    font.DrawText(&out, u"a", 10.0f, &pen, kTextGrowth, 0xFFFFFFFFu, kFixtureScale, kLine, nullptr, table.data(),
                  sizeof(Growth));
    const float plain[6][2] = {{9, 17}, {19, 17}, {9, 43}, {9, 43}, {19, 17}, {19, 43}};
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(Vertex(i).position.x, plain[i][0]) << i;
        EXPECT_FLOAT_EQ(Vertex(i).position.y, plain[i][1]) << i;
    }
    EXPECT_FLOAT_EQ(pen.x, 18.0f) << "growth does not change the advance";

    pen = Vector3{10.0f, 20.0f, 0.0f};
    font.DrawText(&out, u"a", 10.0f, &pen, kTextGrowth | kTextTurnedScreen, 0xFFFFFFFFu, kFixtureScale, kLine,
                  nullptr, table.data(), sizeof(Growth));
    // (y - gx, H - (x - gy)), (y - gx, H - (x + gy + w)), (y + gx + L, H - (x - gy)), ...
    const float turned[6][2] = {{19, H - 7}, {19, H - 21}, {41, H - 7}, {41, H - 7}, {19, H - 21}, {41, H - 21}};
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(Vertex(i).position.x, turned[i][0]) << i;
        EXPECT_FLOAT_EQ(Vertex(i).position.y, turned[i][1]) << i;
    }
}

TEST_F(FontLayoutTest, UpsideDownTextIsDrawnFromTheFarCorner)
{
    const Vector3 result = HitTest(u"ab", Vector3{100.0f, 100.0f, 0.0f}, kTextUpsideDown, nullptr);
    EXPECT_FLOAT_EQ(Vertex(0).position.x, 116.5f);
    EXPECT_FLOAT_EQ(Vertex(1).position.x, 108.5f);
    EXPECT_FLOAT_EQ(Vertex(0).position.y, 120.0f);
    EXPECT_FLOAT_EQ(Vertex(2).position.y, 100.0f);
    EXPECT_FLOAT_EQ(result.x, 100.5f);
    EXPECT_FLOAT_EQ(result.y, 100.0f);
}

TEST_F(FontLayoutTest, RenderDrawsTheShadowFirstAndRestoresTheColour)
{
    HitTest(u"ab", Vector3{0.0f, 0.0f, 0.0f}, kTextShadow, nullptr, 0x80112233u);
    std::vector<MemoryDraw> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].colour, 0x80000000u);
    EXPECT_FLOAT_EQ(draws[0].matrix.m[12], 2.0f);
    EXPECT_FLOAT_EQ(draws[0].matrix.m[13], 2.0f);
    EXPECT_EQ(draws[1].colour, 0x80112233u);
    EXPECT_FLOAT_EQ(draws[1].matrix.m[12], 0.0f);
    EXPECT_EQ(font.GetTextObject()->GetColor(), 0x80112233u);

    engine->ClearDraws();
    HitTest(u"ab", Vector3{0.0f, 0.0f, 0.0f}, kTextShadow | kTextTurnedScreen, nullptr);
    draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].matrix.m[13], -2.0f);

    engine->ClearDraws();
    const float angle = 0.5f;
    HitTest(u"ab", Vector3{0.0f, 0.0f, 0.0f}, kTextRotate, nullptr, 0xFFFFFFFFu, &angle);
    Matrix4 expected;
    renderer.Math()->Identity(&expected);
    renderer.Math()->RotateZ(&expected, angle);
    draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(draws[0].matrix.m[i], expected.m[i]) << i;

    engine->ClearDraws();
    Matrix4 placed;
    renderer.Math()->Identity(&placed);
    placed.m[12] = 40.0f;
    HitTest(u"ab", Vector3{0.0f, 0.0f, 0.0f}, kTextMatrix, nullptr, 0xFFFFFFFFu, &placed);
    draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_FLOAT_EQ(draws[0].matrix.m[12], 40.0f);
}

TEST_F(FontLayoutTest, WrapsAtTheLastBreakThatFits)
{
    EXPECT_EQ(Wrap(u"aaa bbb ccc", 60), u"aaa bbb\nccc");  // 24 + 4 + 24 = 52, then 80
    EXPECT_EQ(Wrap(u"aaa bbb ccc", 52), u"aaa bbb\nccc") << "a line exactly as wide as the limit fits";
    EXPECT_EQ(Wrap(u"aaa bbb ccc", 51), u"aaa\nbbb\nccc");
    EXPECT_EQ(Wrap(u"aaa bbb ccc", 1000), u"aaa bbb ccc");
    EXPECT_EQ(Wrap(u"aaa\nbbb ccc", 60), u"aaa\nbbb ccc") << "a line feed starts a new line";
    EXPECT_EQ(Wrap(u"aaaaaaaaaa", 30), u"aaa\naaa\naaa\na") << "without a break the line is cut";
    EXPECT_EQ(Wrap(u"", 30), u"");
}

TEST_F(FontLayoutTest, WrapAlwaysEndsAndGivesAWideGlyphALineOfItsOwn)
{
    EXPECT_EQ(Wrap(u"WaW", 10), u"W\na\nW");
    EXPECT_EQ(Wrap(u"ab", 0), u"a\nb");
    EXPECT_EQ(Wrap(u"aa WW aa", 20), u"aa\nW\nW\naa");
}

TEST_F(FontLayoutTest, WrapDropsATrailingBreakUnlessAskedToKeepIt)
{
    EXPECT_EQ(Wrap(u"ab ", 100), u"ab");
    EXPECT_EQ(Wrap(u"ab ", 100, nullptr, nullptr, 1), u"ab ");
    EXPECT_EQ(Wrap(u"ab c", 100), u"ab c");
}

TEST_F(FontLayoutTest, WrapKeepsIndivisibleCharactersWithTheirNeighbours)
{
    // The no-break-after list comes first, the no-break-before list second.
    EXPECT_EQ(Wrap(u"a !", 12), u"a\n!");
    EXPECT_EQ(Wrap(u"a !", 12, nullptr, u"!?"), u"a \n!") << "'!' may not start a line";
    EXPECT_EQ(Wrap(u"a !", 12, u"!?", nullptr), u"a\n!") << "the lists are not swapped";
    EXPECT_EQ(Wrap(u"( ab", 20), u"(\nab");
    EXPECT_EQ(Wrap(u"( ab", 20, u"(", nullptr), u"( a\nb") << "no break right after '('";
    EXPECT_EQ(Wrap(u"x ( ab", 28, u"(", nullptr), u"x\n( ab") << "an earlier break still serves";
}

TEST_F(FontLayoutTest, WrapNeverWritesPastTheDestination)
{
    EXPECT_EQ(Wrap(u"abcdef", 1000, nullptr, nullptr, 0, 4), u"abc");
    EXPECT_EQ(Wrap(u"aaaaaa", 8, nullptr, nullptr, 0, 5), u"a\na\n");
    EXPECT_EQ(font.WrapText(kFixtureScale, 0.0f, u"abc", nullptr, 10, 100, u' ', nullptr, nullptr, 0), 0u);
}

TEST_F(FontLayoutTest, CreateChecksItsArgumentsAndBuildsIdentityGeometry)
{
    CVarnFont other(renderer.Data(), engine);
    EXPECT_EQ(other.Create(0, 16), RES_UNKNOWN_KIND);
    EXPECT_EQ(renderer.Data()->lastError, RES_UNKNOWN_KIND);
    EXPECT_EQ(other.Create(kFontScreenText, 0), RES_FAIL) << "a batch size of 0 is refused";
    EXPECT_EQ(other.Create(kFontScreenText, kFontMaxBatchSize + 1), RES_FAIL);
    EXPECT_EQ(other.GetTextObject(), nullptr);
    engine->Failures().FailNth(MemoryOp::CreateObject, 1);
    EXPECT_EQ(other.Create(kFontScreenText, 16), RES_UNKNOWN_KIND);

    ASSERT_EQ(other.Create(kFontScreenText | kFontCullNone, 16), RES_OK);
    EXPECT_EQ(other.GetCullCode(), uint32_t{kCullNone});
    ASSERT_EQ(other.Create(kFontScreenText | kFontCullClockwise | kFontCullCounterClockwise, 16), RES_OK);
    EXPECT_EQ(other.GetCullCode(), uint32_t{kCullClockwise});
    ASSERT_EQ(other.Create(kFontScreenText | kFontCullCounterClockwise, 16), RES_OK);
    EXPECT_EQ(other.GetCullCode(), uint32_t{kCullCounterClockwise});

    C3DObject* object = other.GetTextObject();
    EXPECT_EQ(object->GetFlagsA() & kFormatMask, kFormatColorTex);
    EXPECT_EQ(object->GetPartCount(), 1u);
    EXPECT_EQ(object->GetVertexCount(), 96u);
    EXPECT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->GetIndex(0), 0u);
    EXPECT_EQ(object->GetIndex(95), 95u);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    ASSERT_NE(other.GetGlyph(u'a'), nullptr);
    EXPECT_FLOAT_EQ(other.GetGlyph(u'a')->right, 0.0f) << "a fresh table is zeroed";
    EXPECT_EQ(engine->GetObjectCount(), 2u) << "one object per font, re-creating replaces it";

    EXPECT_EQ(other.Release(), RES_OK);
    EXPECT_EQ(other.GetTextObject(), nullptr);
    EXPECT_EQ(other.GetGlyph(u'a'), nullptr);
}

TEST_F(FontLayoutTest, CreateFromSharesTexturesAndCopiesTables)
{
    C3DTexture* texture = engine->CreateTexture(kFontTextureFlags, kFontTextureParameter);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(font.GetTextObject()->SetPartTexture(texture, 0, 0), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);

    {
        CVarnFont copy(renderer.Data(), engine);
        ASSERT_EQ(copy.CreateFrom(&font, 64), RES_OK);
        EXPECT_EQ(copy.GetTexture(0), texture);
        EXPECT_EQ(engine->GetTextureRefCount(texture), 2u);
        EXPECT_EQ(copy.GetBatchSize(), 64u);
        EXPECT_EQ(copy.GetTextObject()->GetFlagsA(), font.GetTextObject()->GetFlagsA());
        EXPECT_FLOAT_EQ(copy.GetGlyph(u'm')->right, FixtureRect(u'm').right);
        EXPECT_EQ(copy.GetFontInfo()->charSize, kFixtureInfo.charSize);
        font.SetGlyph(u'm', GlyphRect{});
        EXPECT_FLOAT_EQ(copy.GetGlyph(u'm')->right, FixtureRect(u'm').right) << "the copy owns its tables";
        EXPECT_EQ(copy.CreateFrom(&copy, 64), RES_FAIL);
    }
    EXPECT_EQ(engine->GetTextureRefCount(texture), 1u) << "the copy gave its reference back";

    C3DTexture* unshared = engine->CreateTexture(0, kFontTextureParameter);
    ASSERT_EQ(font.GetTextObject()->SetPartTexture(unshared, 0, 0), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(unshared), RES_OK);
    CVarnFont refused(renderer.Data(), engine);
    EXPECT_EQ(refused.CreateFrom(&font, 64), RES_FAIL) << "a texture the engine does not share";
    EXPECT_EQ(refused.GetTextObject(), nullptr);
    EXPECT_EQ(refused.CreateFrom(nullptr, 64), RES_FAIL);

    EXPECT_EQ(font.Release(), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u) << "nothing left behind";
}

} // namespace
