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

} // namespace

TEST_P(D3D8ScenarioTest, ProbesShowTheExpectedColours)
{
    const CScenario& scenario = All()[GetParam()];
    ASSERT_EQ(MakeDevice(), D3D_OK);
    D3D8DrawScenario(m_device, scenario);
    std::vector<D3DCOLOR> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
    for (const CProbe& probe : scenario.probes) {
        D3DCOLOR actual = pixels[static_cast<size_t>(probe.y * kWidth + probe.x)];
        EXPECT_TRUE(Near(probe.color, actual)) << scenario.name << " at (" << probe.x << ", " << probe.y
                                               << "): expected " << Hex(probe.color) << ", found " << Hex(actual);
    }
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

INSTANTIATE_TEST_SUITE_P(Scenes, D3D8ScenarioTest, ::testing::Range<size_t>(0, All().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name;
                             for (char c : All()[info.param].name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
