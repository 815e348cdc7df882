#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "core/FrameTimer.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "platform/win32/PlatformHarness.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

uint64_t g_now = 0;

uint64_t TestNow()
{
    return g_now;
}

constexpr uint64_t kSecond = 1000000000ull;

// The environment switches as a test program reads them at its start.
class EnvironmentSwitchesTest : public ::testing::Test {
protected:
    void Start(const char* seed, const char* step, const char* module)
    {
        ScopedEnv seedEnv("VD_SEED", seed), stepEnv("VD_FIXED_STEP", step), moduleEnv("VD_MODULE_3D", module);
        ResetTestSwitches();
        g_now = 7 * kSecond;
        SetTestClock(TestNow);
    }
    void TearDown() override { ResetTestSwitches(); }

    uint32_t FirstOfSeed(uint32_t seed)
    {
        CRandomMT random{};
        RandomSeed(random, seed);
        return RandomNext(random);
    }
    // The factor of a frame of 1/15 second.
    double FactorOfATwoUnitFrame()
    {
        CFrameTimer timer(m_data.get());
        EXPECT_EQ(timer.Init(), RES_OK);
        g_now += kSecond / 15;
        EXPECT_EQ(timer.Tick(), RES_OK);
        return m_data->frameFactor;
    }

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
};

} // namespace

TEST_F(EnvironmentSwitchesTest, WithoutThemTheSeedAndTheFrameComeFromTheClockAndStartUpPicksTheRenderer)
{
    for (auto values : {std::array<const char*, 3>{nullptr, nullptr, nullptr}, {"12x", "yes", "3"}, {"", "0", "24"}}) {
        Start(values[0], values[1], values[2]);
        uint32_t seed = 0;
        EXPECT_FALSE(GetHarnessSeed(&seed));
        StdSrand(7000);
        const int fromTicks = StdRand();
        EXPECT_EQ(RandomFromTickCount(), fromTicks);
        const uint32_t first = FirstOfSeed(0);
        g_now += kSecond;
        EXPECT_NE(RandomFromTickCount(), fromTicks);
        EXPECT_NE(FirstOfSeed(0), first);
        EXPECT_NEAR(FactorOfATwoUnitFrame(), 2.0, 1e-6);
        EXPECT_EQ(GetHarnessModule3D(), 0u);
    }
}

TEST_F(EnvironmentSwitchesTest, TheyFixTheSeedTheFrameStepAndTheRenderer)
{
    Start("4000000000", "1", "4");
    const int fromSeed = RandomFromTickCount();
    const uint32_t first = FirstOfSeed(0);
    g_now += 3 * kSecond;
    EXPECT_EQ(RandomFromTickCount(), fromSeed);
    EXPECT_EQ(FirstOfSeed(0), first);
    EXPECT_EQ(first, FirstOfSeed(4000000000u));
    EXPECT_EQ(FactorOfATwoUnitFrame(), 1.0);
    EXPECT_EQ(GetHarnessModule3D(), 4u);

    Start("0", nullptr, "2");
    const uint32_t zero = FirstOfSeed(0);
    g_now += kSecond;
    EXPECT_EQ(FirstOfSeed(0), zero);
    EXPECT_EQ(GetHarnessModule3D(), 2u);
}
