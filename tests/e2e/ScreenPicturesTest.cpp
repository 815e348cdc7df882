#include <gtest/gtest.h>

#include "core/BuiltinSettings.h"
#include "tests/e2e/ContactSheet.h"
#include "tests/e2e/GameRunFolder.h"
#include "tests/e2e/PictureDifference.h"
#include "tests/e2e/ScreenChecks.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kRed = 0xFF0000FFu, kBlue = 0xFFFF0000u, kGrey = 0xFF808080u, kBlack = 0xFF000000u;

void Fill(Picture& picture, const ReportRect& r, uint32_t colour)
{
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (picture.Contains(x, y))
                picture.Set(x, y, colour);
}

std::string Pak()
{
    const char* binary = getenv("VD_BINARY_DIR");
    return std::string(binary ? binary : ".") + "/Data_full_Win32/VadadiDazidev_full_Win32.pak";
}

} // namespace

TEST(PictureTest, ScalingSamplesLikeATextureAndDrawingBlendsByAlpha)
{
    Picture two(2, 1);
    two.Set(0, 0, Rgba(0, 0, 0)), two.Set(1, 0, Rgba(200, 100, 40));
    const Picture four = two.Scaled(4, 1);
    // Texel centres at 0.5 and 1.5 of the source: the outer pixels clamp, the inner ones blend.
    EXPECT_EQ(four.At(0, 0), Rgba(0, 0, 0));
    EXPECT_EQ(four.At(1, 0), Rgba(50, 25, 10));
    EXPECT_EQ(four.At(2, 0), Rgba(150, 75, 30));
    EXPECT_EQ(four.At(3, 0), Rgba(200, 100, 40));
    EXPECT_EQ(two.Scaled(1, 1).At(0, 0), Rgba(100, 50, 20)) << "halving averages";

    Picture under(3, 1, Rgba(0, 0, 200));
    Picture over(2, 1, Rgba(255, 0, 0, 255));
    over.Set(1, 0, Rgba(255, 0, 0, 51));
    under.Draw(over, 1, 0);
    EXPECT_EQ(under.At(0, 0), Rgba(0, 0, 200));
    EXPECT_EQ(under.At(1, 0), Rgba(255, 0, 0));
    EXPECT_EQ(under.At(2, 0), Rgba(51, 0, 160));
    under.Draw(over, -1, 0);
    EXPECT_EQ(under.At(0, 0), Rgba(51, 0, 160)) << "clipped at the left edge";

    const Picture part = four.Cropped({2, -3, 10, 10});
    EXPECT_EQ(part.Width() * 10 + part.Height(), 21) << "clipped to the picture";
    EXPECT_EQ(part.At(0, 0), four.At(2, 0));
}

TEST(PictureTest, APngKeepsItsRowsAndAlphaThroughSavingAndLoading)
{
    TempDir dir;
    Picture picture(3, 2, kGrey);
    picture.Set(0, 0, kRed), picture.Set(2, 1, Rgba(1, 2, 3, 4));
    ASSERT_TRUE(picture.Save(dir.File("p.png")));
    const Picture loaded = Picture::Load(dir.File("p.png"));
    ASSERT_EQ(loaded.Width() * 10 + loaded.Height(), 32);
    EXPECT_EQ(loaded.At(0, 0), kRed) << "the top row stays on top";
    EXPECT_EQ(loaded.At(2, 1), Rgba(1, 2, 3, 4));
    EXPECT_EQ(Picture::Decode(TempDir::Read(dir.File("p.png"))).At(1, 1), kGrey);
    picture.Set(2, 1, Rgba(1, 2, 3));
    ASSERT_TRUE(picture.Save(dir.File("opaque.png")));
    // The header's colour type: 6 with alpha, 2 without.
    EXPECT_EQ(TempDir::Read(dir.File("p.png")).at(25), 6);
    EXPECT_EQ(TempDir::Read(dir.File("opaque.png")).at(25), 2) << "no alpha kept when all is opaque";
    EXPECT_EQ(Picture::Load(dir.File("opaque.png")).At(2, 1), Rgba(1, 2, 3));
    EXPECT_TRUE(Picture::Load(dir.File("missing.png")).Empty());
    EXPECT_TRUE(Picture::Decode("not a picture").Empty());
}

TEST(PictureMatchTest, EdgesHalfAPixelApartAgreeAndADifferenceIsNamedByItsCells)
{
    TempDir dir;
    Picture a(512, 256, kGrey);
    Fill(a, {100, 0, 300, 256}, kBlue);
    Picture b = a;
    // The renderers put an edge one pixel apart: within the neighbourhood.
    Fill(b, {99, 0, 1, 256}, kBlue);
    EXPECT_TRUE(PictureMatches(a, b, ""));

    Fill(b, {300, 140, 40, 40}, kRed);
    const ::testing::AssertionResult result = PictureMatches(b, a, dir.File("difference.png"));
    ASSERT_FALSE(result);
    const std::string message = result.message();
    EXPECT_NE(message.find("largest difference 255"), std::string::npos) << message;
    EXPECT_NE(message.find("x 300-340, y 140-180"), std::string::npos) << message;
    EXPECT_NE(message.find("x 256-384, y 128-256: "), std::string::npos) << message;
    EXPECT_EQ(message.find("y 0-128"), std::string::npos) << "only the cell that differs: " << message;
    const Picture difference = Picture::Load(dir.File("difference.png"));
    ASSERT_FALSE(difference.Empty());
    EXPECT_EQ(difference.At(310, 150), Rgba(255, 0, 0));
    EXPECT_NE(difference.At(10, 10), Rgba(255, 0, 0));

    EXPECT_TRUE(PictureMatches(b, a, "", 2, 0.98)) << "within a smaller share";
    EXPECT_FALSE(PictureMatches(a, Picture(512, 255), "")) << "sizes differ";
}

TEST(ContactSheetTest, PicturesAreLaidOutAtHalfSizeUnderTheirCaptions)
{
    TempDir dir;
    const std::string font = ReadPakEntry(Pak(), GameSetting(u"MAIN_FONT", u"MAIN_FONT_TTF_FILE_PATH"));
    if (font.empty())
        GTEST_SKIP() << "no sample data";
    std::vector<SheetPicture> pictures;
    for (uint32_t colour : {kRed, kBlue, kGrey})
        pictures.push_back({"screen", Picture(200, 100, colour)});
    ASSERT_TRUE(WriteContactSheet(pictures, 2, font, dir.File("sheet.png")));
    const Picture sheet = Picture::Load(dir.File("sheet.png"));
    // Two columns of 100 x 50 cells and 8-pixel gaps, 30 pixels of caption over each picture.
    ASSERT_EQ(sheet.Width(), 8 + 2 * 108);
    ASSERT_EQ(sheet.Height(), 8 + 2 * 88);
    EXPECT_EQ(sheet.At(8 + 50, 8 + 30 + 25), kRed);
    EXPECT_EQ(sheet.At(116 + 50, 8 + 30 + 25), kBlue);
    EXPECT_EQ(sheet.At(8 + 50, 96 + 30 + 25), kGrey);
    size_t captionInk = 0;
    for (int y = 8; y < 38; ++y)
        for (int x = 8; x < 108; ++x)
            captionInk += Channel(sheet.At(x, y), 0) > 200;
    EXPECT_GT(captionInk, 30u) << "the caption is written";
    EXPECT_FALSE(WriteContactSheet(pictures, 2, "no font", dir.File("other.png")));
}

// The bands, buttons and names as the game should draw them, over a scene, and the report that
// says where they are.
class ScreenChecksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bars.Error().empty())
            GTEST_SKIP() << m_bars.Error();
        m_report.Parse("ok state=30 item=0,0,85,731,103,30,Iron%20gear item=1,0,230,731,126,30,Red%20ball "
                       "tool=0,-2,473,64,64,menu tool=2,-2,543,64,64,nozoom tool=100,-2,706,64,64,hint");
        m_shot.Draw(m_bars.Bands(), 0, 0);
        m_shot.Draw(m_bars.Button(0), -2, 473);
        m_shot.Draw(m_bars.Button(2), -2, 543);
        m_shot.Draw(m_bars.TimerImage(14), -2, 706);
        for (const auto& item : m_report.All("item"))
            DrawName(StateReport::RectAt(item, 2));
    }

    // Letters: dark strokes across the slot, the strip showing between them.
    void DrawName(const ReportRect& slot)
    {
        for (int x = slot.x + 2; x < slot.x + slot.w - 2; x += 6)
            Fill(m_shot, {x, slot.y + 6, 2, slot.h - 12}, kBlack);
    }

    BarPictures m_bars{Pak()};
    StateReport m_report;
    Picture m_shot{kScreenWidth, kScreenHeight, Rgba(90, 120, 160)};
};

TEST_F(ScreenChecksTest, TheBarsAsTheGameDrawsThemPass)
{
    EXPECT_TRUE(ToolbarStripShown(m_shot, m_report, m_bars));
    EXPECT_TRUE(ItemNamesShown(m_shot, m_report, m_bars));
    EXPECT_TRUE(ToolButtonsShown(m_shot, m_report, m_bars));
    // A star over the strip is no fault of the strip's.
    Fill(m_shot, {600, 740, 20, 20}, Rgba(255, 226, 90));
    ASSERT_TRUE(m_report.Parse(m_report.Line() + " star=2,610,750"));
    EXPECT_TRUE(ToolbarStripShown(m_shot, m_report, m_bars));
}

TEST_F(ScreenChecksTest, AUsedHintGlowsWhereItPoints)
{
    ASSERT_TRUE(m_report.Parse(m_report.Line() + " glow=1,400,300"));
    const ::testing::AssertionResult none = HintGlowShown(m_shot, m_report, m_bars);
    EXPECT_FALSE(none);
    EXPECT_NE(std::string(none.message()).find("no glow at (400, 300)"), std::string::npos) << none.message();
    Fill(m_shot, {398, 299, 3, 3}, m_bars.GlowCentre());
    EXPECT_TRUE(HintGlowShown(m_shot, m_report, m_bars));
    ASSERT_TRUE(m_report.Parse("ok state=30 glow=0,10,10"));
    EXPECT_TRUE(HintGlowShown(m_shot, m_report, m_bars)) << "no glow to show";
}

TEST_F(ScreenChecksTest, FlatBandsFailEveryCheck)
{
    Picture flat(kScreenWidth, kScreenHeight, Rgba(90, 120, 160));
    Fill(flat, {0, 0, 60, kScreenHeight}, Rgba(153, 153, 153));
    Fill(flat, {0, 723, kScreenWidth, 45}, Rgba(153, 153, 153));
    const ::testing::AssertionResult strip = ToolbarStripShown(flat, m_report, m_bars);
    EXPECT_FALSE(strip);
    EXPECT_NE(std::string(strip.message()).find("0 % of"), std::string::npos) << strip.message();
    const ::testing::AssertionResult names = ItemNamesShown(flat, m_report, m_bars);
    EXPECT_FALSE(names);
    EXPECT_NE(std::string(names.message()).find("\"Red ball\""), std::string::npos) << names.message();
    const ::testing::AssertionResult buttons = ToolButtonsShown(flat, m_report, m_bars);
    EXPECT_FALSE(buttons);
    for (const char* button : {"menu", "zoom unavailable", "hint"})
        EXPECT_NE(std::string(buttons.message()).find(std::string("the ") + button + " button"), std::string::npos)
            << buttons.message();
}

TEST_F(ScreenChecksTest, AMissingNameOrAMisplacedButtonIsNamed)
{
    // The second name left out: the bare strip in its slot.
    const ReportRect slot{230, 731, 126, 30};
    m_shot.Draw(m_bars.Bands().Cropped(slot), slot.x, slot.y);
    const ::testing::AssertionResult names = ItemNamesShown(m_shot, m_report, m_bars);
    EXPECT_FALSE(names);
    EXPECT_EQ(std::string(names.message()).find("Iron gear"), std::string::npos) << names.message();
    EXPECT_NE(std::string(names.message()).find("Red ball"), std::string::npos) << names.message();

    // The menu button drawn 30 pixels above its rectangle.
    m_shot.Draw(m_bars.Bands().Cropped({0, 443, 64, 100}), 0, 443);
    m_shot.Draw(m_bars.Button(0), -2, 443);
    const ::testing::AssertionResult buttons = ToolButtonsShown(m_shot, m_report, m_bars);
    EXPECT_FALSE(buttons);
    EXPECT_NE(std::string(buttons.message()).find("the menu button"), std::string::npos) << buttons.message();
    EXPECT_EQ(std::string(buttons.message()).find("zoom"), std::string::npos) << buttons.message();

    // A name written over the strip outside its slot spoils the strip.
    DrawName({900, 731, 60, 30});
    EXPECT_FALSE(ToolbarStripShown(m_shot, m_report, m_bars));
}

TEST(PopupChecksTest, APopupWhollyOnScreenPassesAndOneCutOffAtTheBottomFails)
{
    // Light letters across the box and two buttons, over a dark backdrop with a brighter corner.
    Picture shot(kScreenWidth, kScreenHeight, Rgba(40, 30, 60));
    Fill(shot, {0, 0, 200, 200}, Rgba(90, 80, 120));
    for (int x = 300; x < 700; x += 7)
        Fill(shot, {x, 350, 3, 50}, Rgba(230, 230, 230));
    Fill(shot, {872, 696, 64, 64}, Rgba(200, 120, 130));
    Fill(shot, {952, 696, 64, 64}, Rgba(200, 120, 130));
    StateReport report;
    ASSERT_TRUE(report.Parse("ok state=29 popup=ingame,0,0,1024,768 popupbox=298,345,404,60 "
                             "button=1024,952,696,64,64,1, button=1055,872,696,64,64,1,"));
    EXPECT_TRUE(PopupOnScreen(shot, report));

    StateReport low;
    ASSERT_TRUE(low.Parse("ok state=29 popupbox=298,738,404,60 button=1055,872,696,64,64,1,"));
    const ::testing::AssertionResult cut = PopupOnScreen(shot, low);
    EXPECT_FALSE(cut);
    EXPECT_NE(std::string(cut.message()).find("(298, 738, 404 x 60) is not wholly on the screen"), std::string::npos)
        << cut.message();

    const struct {
        const char* report;
        bool passes;
        const char* why;
    } kCases[] = {
        {"state=29 popupbox=298,345,404,60 button=1024,990,740,64,64,1,", false, "a button past the corner"},
        {"state=29 popupbox=298,345,404,60 button=1026,500,500,64,64,1,", false, "no button drawn there"},
        {"state=29 popup=ingame,0,0,1024,768 popupbox=298,500,404,60", false, "no text drawn in the box"},
        {"state=34 popup=tutorial,0,0,1024,768 popupbox=298,500,404,60", true,
         "a tutorial step may draw its text elsewhere"},
    };
    for (const auto& c : kCases) {
        ASSERT_TRUE(report.Parse(std::string("ok ") + c.report));
        EXPECT_EQ(bool(PopupOnScreen(shot, report)), c.passes) << c.why;
    }
}

TEST(PopupChecksTest, LettersCutByTheRightEdgeAreFound)
{
    // Letters: light strokes three pixels apart over a dark backdrop, a line 20 pixels high.
    auto letters = [](Picture& shot, int left, int right, int top) {
        for (int x = left; x < right; x += 6)
            Fill(shot, {x, top, 3, 20}, Rgba(230, 230, 230));
    };
    Picture inside(kScreenWidth, kScreenHeight, Rgba(40, 30, 60));
    letters(inside, 300, 900, 300);
    Fill(inside, {1000, 0, 24, kScreenHeight}, Rgba(200, 200, 200));
    Fill(inside, {1010, 500, 3, 3}, Rgba(40, 30, 60));
    EXPECT_TRUE(TextCutAtTheRightEdge(inside, {})) << "a line inside, a plain band and a speck at the edge";

    Picture right(kScreenWidth, kScreenHeight, Rgba(40, 30, 60));
    letters(right, 700, 1024, 120);
    const ::testing::AssertionResult cut = TextCutAtTheRightEdge(right, {});
    EXPECT_FALSE(cut);
    EXPECT_NE(std::string(cut.message()).find("right edge at y 120-"), std::string::npos) << cut.message();
    EXPECT_TRUE(TextCutAtTheRightEdge(right, {{990, 100, 34, 60}})) << "left out";
}
