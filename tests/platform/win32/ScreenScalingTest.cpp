#include <gtest/gtest.h>

#include "platform/win32/ScreenScaling.h"

namespace {

constexpr RECT kWholeScreen{0, 0, 1024, 768};

struct CDisplayCase {
    int width;
    int height;
    RECT shown;  // where the 1024 x 768 picture lands
};

} // namespace

// A 1024 x 768 mode on the displays players have: the picture keeps its aspect, centred between
// black bars, and every client pixel comes back from the display pixel that shows it.
TEST(ScreenScalingTest, TheModeFillsEachDisplayWithItsAspectKept)
{
    const CDisplayCase cases[] = {
        {1024, 768, {0, 0, 1024, 768}},
        {1280, 1024, {0, 32, 1280, 992}},
        {1920, 1080, {240, 0, 1680, 1080}},
        {800, 600, {0, 0, 800, 600}},
    };
    for (const CDisplayCase& display : cases) {
        SCOPED_TRACE(std::to_string(display.width) + " x " + std::to_string(display.height));
        const CScreenScaling scaling = ScaleScreen(kWholeScreen, 1024, 768, display.width, display.height);
        const RECT shown = scaling.Shown();
        EXPECT_EQ(shown.left, display.shown.left);
        EXPECT_EQ(shown.top, display.shown.top);
        EXPECT_EQ(shown.right, display.shown.right);
        EXPECT_EQ(shown.bottom, display.shown.bottom);
        EXPECT_EQ(scaling.Identity(), display.width == 1024 && display.height == 768);
        EXPECT_EQ(scaling.clientWidth, 1024);
        EXPECT_EQ(scaling.clientHeight, 768);
        // Upscaled, every client pixel has a display pixel of its own; downscaled, the
        // display pixel of a client pixel lies within one client pixel of it.
        const LONG slack = scaling.scale >= 1.0 ? 0 : 1;
        for (POINT point : {POINT{0, 0}, POINT{511, 300}, POINT{1023, 767}, POINT{640, 224}}) {
            const POINT pixel = scaling.ToDisplay(point.x, point.y);
            const POINT back = scaling.ToClient(pixel.x, pixel.y);
            EXPECT_LE(std::abs(back.x - point.x), slack) << point.x;
            EXPECT_LE(std::abs(back.y - point.y), slack) << point.y;
        }
    }
}

// The pointer over a bar stays on the edge of the mode's screen, as a pointer cannot leave a
// screen; an unscaled window passes points through, outside ones too (a captured pointer).
TEST(ScreenScalingTest, PointsOnTheBarsStayOnTheScreensEdge)
{
    const CScreenScaling scaling = ScaleScreen(kWholeScreen, 1024, 768, 1920, 1080);
    EXPECT_EQ(scaling.ToClient(10, 540).x, 0);
    EXPECT_EQ(scaling.ToClient(1900, 540).x, 1023);
    EXPECT_EQ(scaling.ToClient(960, -5).y, 0);
    EXPECT_EQ(scaling.ToClient(960, 540).x, 512);
    EXPECT_EQ(scaling.ToClient(960, 540).y, 384);

    const CScreenScaling plain = UnscaledWindow(320, 240);
    EXPECT_TRUE(plain.Identity());
    EXPECT_EQ(plain.ToClient(-7, 500).x, -7);
    EXPECT_EQ(plain.ToClient(-7, 500).y, 500);
    EXPECT_EQ(plain.ToDisplay(12, 34).x, 12);
}

// A full-screen window smaller than the mode's screen is shown where it lies on that screen.
TEST(ScreenScalingTest, AWindowSmallerThanTheScreenIsShownInItsPlace)
{
    const CScreenScaling scaling = ScaleScreen(RECT{100, 50, 612, 434}, 1024, 768, 2048, 1536);
    EXPECT_EQ(scaling.clientWidth, 512);
    EXPECT_EQ(scaling.Shown().left, 200);
    EXPECT_EQ(scaling.Shown().top, 100);
    EXPECT_EQ(scaling.Shown().right, 1224);
    EXPECT_EQ(scaling.ToClient(200, 100).x, 0);
    EXPECT_EQ(scaling.ToClient(0, 0).x, -100);  // the screen's corner, left of the window
    EXPECT_FALSE(scaling.Identity());
}
