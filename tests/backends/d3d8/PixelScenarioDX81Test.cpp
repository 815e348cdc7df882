#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/OpenGLPixelScenarios.h"
#include "tests/support/OpenGLTestRig.h"

// Scenarios show by name in test output.
void PrintTo(const PixelScenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

namespace {

// Pixel centres of an 8 x 8 grid: every edge of the scenarios lies on a multiple of 8, so these
// points never sit where the two renderers' pixel-centre rules differ.
std::vector<std::pair<int, int>> GridPoints()
{
    std::vector<std::pair<int, int>> points;
    for (int y = 4; y < kScenarioSize; y += 8) {
        for (int x = 4; x < kScenarioSize; x += 8)
            points.emplace_back(x, y);
    }
    return points;
}

std::vector<RgbPixel> DrawWithOpenGL(const PixelScenario& scenario)
{
    std::vector<RgbPixel> pixels;
    OpenGLTestRig rig(kScenarioSize, kScenarioSize);
    if (Failed(rig.Load()) || Failed(DrawPixelScenario(rig.Engine(), scenario)))
        return pixels;
    for (const auto& point : GridPoints())
        pixels.push_back(rig.ReadPixel(point.first, point.second));
    return pixels;
}

bool Near(const RgbPixel& a, const RgbPixel& b)
{
    return NearlyEqual(a, b.r, b.g, b.b);
}

class PixelScenarioDX81Test : public ::testing::TestWithParam<PixelScenario> {};

std::string ScenarioName(const ::testing::TestParamInfo<PixelScenario>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(PixelScenarioDX81Test, DrawsWhatTheOpenGLRendererDraws)
{
    if (!D3D8RendererTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    const PixelScenario& scenario = GetParam();
    std::vector<RgbPixel> grid;
    {
        D3D8RendererTestRig rig(kScenarioSize, kScenarioSize);
        ASSERT_EQ(rig.Load(), RES_OK);
        ASSERT_EQ(DrawPixelScenario(rig.Engine(), scenario), RES_OK);
        if (scenario.sameOnBothRenderers) {
            for (const ScenarioProbe& probe : scenario.probes) {
                const RgbPixel pixel = rig.ReadPixel(probe.x, probe.y);
                EXPECT_TRUE(NearlyEqual(pixel, probe.r, probe.g, probe.b))
                    << "pixel (" << probe.x << ", " << probe.y << ") is " << Describe(pixel);
            }
        }
        for (const auto& point : GridPoints())
            grid.push_back(rig.ReadPixel(point.first, point.second));
        EXPECT_EQ(rig.Unload(), 0u);
    }
    if (!scenario.sameOnBothRenderers)
        return;
    const std::vector<RgbPixel> openGL = DrawWithOpenGL(scenario);
    ASSERT_EQ(openGL.size(), grid.size());
    const std::vector<std::pair<int, int>> points = GridPoints();
    for (size_t i = 0; i < grid.size(); ++i) {
        EXPECT_TRUE(Near(grid[i], openGL[i])) << "pixel (" << points[i].first << ", " << points[i].second
                                              << ") is " << Describe(grid[i]) << ", OpenGL draws "
                                              << Describe(openGL[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(DX81, PixelScenarioDX81Test, ::testing::ValuesIn(OpenGLPixelScenarios()), ScenarioName);

// The 8-bit image with the alpha flag is a luminance texture with alpha 255 here: opaque grey.
TEST(PixelScenarioDX81, EightBitAlphaImagesDrawOpaqueGrey)
{
    if (!D3D8RendererTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    for (const PixelScenario& scenario : OpenGLPixelScenarios()) {
        if (scenario.name != "Alpha8")
            continue;
        D3D8RendererTestRig rig(kScenarioSize, kScenarioSize);
        ASSERT_EQ(rig.Load(), RES_OK);
        ASSERT_EQ(DrawPixelScenario(rig.Engine(), scenario), RES_OK);
        const RgbPixel pixel = rig.ReadPixel(32, 32);
        EXPECT_TRUE(NearlyEqual(pixel, 0x80, 0x80, 0x80)) << Describe(pixel);
    }
}
