#include <cctype>
#include <cstdio>

#include "tests/platform/d3d8/D3D8TestSupport.h"

using namespace D3D8Scenarios;

namespace {

std::string Hex(D3DCOLOR color)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", color);
    return text;
}

class D3D8ScenarioTest : public D3D8Test, public ::testing::WithParamInterface<size_t> {};

void ExpectProbes(const CScenario& scenario, const std::vector<D3DCOLOR>& pixels)
{
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
    for (const CProbe& probe : scenario.probes) {
        D3DCOLOR actual = pixels[static_cast<size_t>(probe.y * kWidth + probe.x)];
        EXPECT_TRUE(Near(probe.color, actual)) << scenario.name << " at (" << probe.x << ", " << probe.y
                                               << "): expected " << Hex(probe.color) << ", found " << Hex(actual);
    }
}

} // namespace

TEST_P(D3D8ScenarioTest, ProbesShowTheExpectedColours)
{
    const CScenario& scenario = All()[GetParam()];
    ASSERT_EQ(MakeDevice(), D3D_OK);
    ASSERT_TRUE(D3D8InspectDevice(m_device).drawsOnWindow);
    D3D8DrawScenario(m_device, scenario);
    ExpectProbes(scenario, ReadBack());
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// A back buffer of another size than the window is an image of its own, turned and stretched
// when presented; it draws every scene as the window's own does.
TEST_F(D3D8Test, ScenesDrawAlikeOnABackBufferOffTheWindow)
{
    ASSERT_TRUE(SetWindowPos(m_window, nullptr, 0, 0, kWidth + 16, kHeight + 8, SWP_NOMOVE | SWP_NOZORDER));
    for (const CScenario& scenario : All()) {
        ASSERT_EQ(MakeDevice(), D3D_OK);
        ASSERT_FALSE(D3D8InspectDevice(m_device).drawsOnWindow);
        D3D8DrawScenario(m_device, scenario);
        ExpectProbes(scenario, ReadBack());
        EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        ReleaseDevice();
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, D3D8ScenarioTest, ::testing::Range<size_t>(0, All().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name;
                             for (char c : All()[info.param].name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
