#include "game/screens/KvoScreenshot.h"

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "engine3d/Camera.h"
#include "tests/game/ScreensFixture.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/OpenGLPixelScenarios.h"
#include "tests/support/OpenGLTestRig.h"
#include "tests/support/ScreenshotSource.h"

namespace {

std::u16string Key(uint16_t module, uint32_t width, uint32_t height)
{
    char16_t key[64];
    const uint32_t code = FindModuleDescriptor(kModule3D, module)->code;
    const char16_t* file = ScreenshotTextureKey(ScreenshotCopyOf(code), width, height, key, 64);
    return std::u16string(key) + u" " + file;
}

TEST(ScreenshotKeyTest, OpenGLRoundsTheFrameUpToPowersOfTwoDirectXKeepsItOthersAreBlank)
{
    EXPECT_EQ(Key(kModuleId3DOpenGL, 1024, 768), u"SCREENSHOT_1024x1024_TEXTURE screenshot.png");
    EXPECT_EQ(Key(kModuleId3DOpenGL, 800, 600), u"SCREENSHOT_1024x1024_TEXTURE screenshot.png");
    EXPECT_EQ(Key(kModuleId3DOpenGL, 1280, 720), u"SCREENSHOT_2048x1024_TEXTURE screenshot.png");
    EXPECT_EQ(Key(kModuleId3DDX81, 1024, 768), u"SCREENSHOT_1024x768_TEXTURE screenshot.png");
    EXPECT_EQ(Key(6, 1024, 768), u"BLANK_TEXTURE_FILE_NAME blank.png");
}

TEST_F(ScreensTest, TheFadeEndsAtExactlyZeroAndDrawsThePartOfTheRotationMode)
{
    m_files["screenshot.png"] = "any";
    Open();
    CKvoScreenshot fader(Data(), Engine());
    ASSERT_EQ(fader.Load(), RES_OK);
    EXPECT_EQ(fader.Render(), RES_OK);
    ASSERT_EQ(fader.StartFade(0, 0, 0, 0), RES_OK);
    Data()->frameFactor = 20.0;
    EXPECT_EQ(fader.Process(), RES_OK);
    EXPECT_EQ(fader.GetAlpha(), 0.0f) << "one long step, never below";
    EXPECT_EQ(fader.StartFade(0, 0, 0, 0), RES_OK);
    Data()->frameFactor = 1.0;
    for (int step = 1; step <= 13; ++step)
        EXPECT_EQ(fader.Process(), RES_OK);
    EXPECT_EQ(fader.Render(), RES_OK);
    EXPECT_GT(fader.GetAlpha(), 0.0f);
    EXPECT_EQ(fader.Process(), RES_OK);
    EXPECT_EQ(fader.GetAlpha(), 0.0f) << "the 14th step";
    for (uint32_t mode : {1, 2, 3, 4, 5}) {
        Engine()->GetCamera()->SetScreenRotation(mode);
        EXPECT_EQ(fader.Show(), RES_OK);
    }
    std::vector<uint32_t> drawn;
    for (const MemoryDraw& draw : Draws())
        drawn.insert(drawn.end(), {draw.part, draw.colour >> 24});
    EXPECT_EQ(drawn, (std::vector<uint32_t>{0, 6, 0, 255, 1, 255, 3, 255, 2, 255})) << "alpha 0.025: 6; mode 5: none";
    EXPECT_EQ(fader.Release(), RES_OK);
    EXPECT_EQ(EngineObjects(), 0u);
}

// A 64 x 48 frame of four coloured quarters copied, cleared and shown again by a real renderer.
template <class Rig>
void ExpectTheCopyShownUpright(uint16_t module)
{
    Rig rig(64, 48);
    ASSERT_EQ(rig.Load(), RES_OK);
    CScreenshotSource source(rig.Data(), module);
    CKvoScreenshot fader(rig.Data(), rig.Engine());
    ASSERT_EQ(fader.Load(), RES_OK);
    PixelScenario frame{};
    ScenarioDraw& quarters = frame.steps.emplace_back().draw;
    quarters = {kFormatColorTex, kObjectStateBlock, 0xFFFFFFFFu, {}, {}, -1};
    const uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
    for (uint32_t v = 0; v < 16; ++v) {
        const float x = 32.0f * static_cast<float>(v / 4 % 2 + v % 2);
        const float y = 24.0f * static_cast<float>(v / 8 + v % 4 / 2);
        quarters.vertices.push_back({x, y, 0.0f, colours[v / 4], 0.0f, 0.0f});
        if (v % 4 == 0)
            quarters.parts.push_back({v, 4, kPrimitiveTriangleStrip, 2, kCullNone});
    }
    ASSERT_EQ(DrawPixelScenario(rig.Engine(), frame), RES_OK);
    ASSERT_EQ(fader.StartFade(0, 0, 0, 0), RES_OK);
    rig.Engine()->Clear();
    ASSERT_EQ(fader.Show(), RES_OK);
    for (uint32_t q = 0; q < 4; ++q) {
        const RgbPixel pixel = rig.ReadPixel(16 + 32 * static_cast<int>(q % 2), 12 + 24 * static_cast<int>(q / 2));
        EXPECT_TRUE(NearlyEqual(pixel, colours[q] >> 16 & 0xFF, colours[q] >> 8 & 0xFF, colours[q] & 0xFF))
            << "quarter " << q << " is " << Describe(pixel);
    }
    EXPECT_EQ(fader.Release(), RES_OK);
    EXPECT_EQ(rig.Unload(), 0u);
}

TEST(ScreenshotPixelTest, BothRenderersShowTheCopiedFrameUpright)
{
    if (!RendererTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    ExpectTheCopyShownUpright<OpenGLTestRig>(kModuleId3DOpenGL);
    ExpectTheCopyShownUpright<D3D8RendererTestRig>(kModuleId3DDX81);
}

} // namespace
