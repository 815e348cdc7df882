#include <gtest/gtest.h>

#include <memory>

#include "core/FrameTimer.h"
#include "core/WorldData.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

uint64_t g_now = 0;

uint64_t TestNow()
{
    return g_now;
}

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_now = 5000000000ull;
        SetTestClock(TestNow);
    }
    void TearDown() override { ResetTestSwitches(); }

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
};

} // namespace

TEST_F(FrameTimerTest, TheFirstFactorIsTheFirstFrameFromInit)
{
    CFrameTimer timer(m_data.get());
    ASSERT_EQ(timer.Init(), RES_OK);
    g_now += 1000000000ull / 45;
    EXPECT_EQ(timer.Tick(), RES_OK);
    EXPECT_NEAR(m_data->frameFactor, 30.0 / 45.0, 1e-6);
    EXPECT_NEAR(m_data->framesPerSecond, 45.0, 1e-3);

    g_now += 1000000000ull / 30;
    EXPECT_EQ(timer.Tick(), RES_OK);
    EXPECT_NEAR(m_data->frameFactor, 1.0, 1e-6);
    EXPECT_NEAR(m_data->framesPerSecond, 30.0, 1e-3);
}

TEST_F(FrameTimerTest, AZeroFactorKeepsTheFrameRate)
{
    CFrameTimer timer(m_data.get());
    ASSERT_EQ(timer.Init(), RES_OK);
    g_now += 1000000000ull / 60;
    EXPECT_EQ(timer.Tick(), RES_OK);
    EXPECT_EQ(timer.Tick(), RES_OK);
    EXPECT_EQ(m_data->frameFactor, 0.0);
    EXPECT_NEAR(m_data->framesPerSecond, 60.0, 1e-3);
}

TEST_F(FrameTimerTest, ACounterThatWentBackCountsFromItsOrigin)
{
    CFrameTimer timer(m_data.get());
    ASSERT_EQ(timer.Init(), RES_OK);
    g_now = 1000000000ull / 10;
    EXPECT_EQ(timer.Tick(), RES_OK);
    EXPECT_NEAR(m_data->frameFactor, 3.0, 1e-9);
}

TEST_F(FrameTimerTest, FactorsForAnyFrequency)
{
    EXPECT_NEAR(CFrameTimer::FactorOf(3579545 / 30, 3579545), 1.0, 1e-5);
    EXPECT_NEAR(CFrameTimer::FactorOf(1000, 1000), 30.0, 1e-12);
    EXPECT_EQ(CFrameTimer::FactorOf(1000, 0), 0.0);
}

TEST_F(FrameTimerTest, TheStopwatchIsExactForAnyFrequency)
{
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(3579545, 3579545), 1000000u);
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(358, 3579545), 100u);  // 100.01 us
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(1, 999999), 1u);
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(999, 1000), 999000u);
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(7, 0), 0u);
    // A day of nanoseconds does not overflow.
    EXPECT_EQ(CHighResTimer::TicksToMicroseconds(86400000000000ull, 1000000000), 86400000000ull);
}

TEST_F(FrameTimerTest, TheStopwatchMeasuresFromStart)
{
    CHighResTimer timer;
    timer.Start();
    g_now += 2500000;
    EXPECT_EQ(timer.GetElapsed(), 2500u);
    g_now = 4000;
    EXPECT_EQ(timer.GetElapsed(), 4u);
}
