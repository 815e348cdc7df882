#include <ostream>

#include "tests/backends/opengl/OpenGLFixture.h"
#include "tests/support/OpenGLPixelScenarios.h"

// Scenarios show by name in test output.
void PrintTo(const PixelScenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

namespace {

class PixelScenarioTest : public ::testing::TestWithParam<PixelScenario> {};

std::string ScenarioName(const ::testing::TestParamInfo<PixelScenario>& info)
{
    return info.param.name;
}

} // namespace

TEST_P(PixelScenarioTest, DrawsTheExpectedPixels)
{
    if (!OpenGLTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    OpenGLTestRig rig(kScenarioSize, kScenarioSize);
    ASSERT_EQ(rig.Load(), RES_OK);
    const PixelScenario& scenario = GetParam();
    ASSERT_EQ(DrawPixelScenario(rig.Engine(), scenario), RES_OK);
    for (const ScenarioProbe& probe : scenario.probes) {
        const RgbPixel pixel = rig.ReadPixel(probe.x, probe.y);
        EXPECT_TRUE(NearlyEqual(pixel, probe.r, probe.g, probe.b))
            << "pixel (" << probe.x << ", " << probe.y << ") is " << Describe(pixel);
    }
    EXPECT_EQ(rig.Unload(), 0u);
}

INSTANTIATE_TEST_SUITE_P(OpenGL, PixelScenarioTest, ::testing::ValuesIn(OpenGLPixelScenarios()), ScenarioName);
