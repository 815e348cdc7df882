#include <gtest/gtest.h>

#include "platform/win32/SwapPacing.h"

// Early swaps wait out their period, with no drift over many frames; a swap the display held
// back, or a slow frame, waits nothing and starts the count again.
TEST(SwapPacingTest, EarlySwapsWaitOutThePeriodAndLateOnesStartAgain)
{
    constexpr uint64_t kPeriod = 16666666;
    CSwapPacer pacer;
    uint64_t now = 1000000000;
    EXPECT_EQ(pacer.WaitAfterSwap(now, kPeriod), 0u);
    for (int frame = 0; frame < 600; ++frame) {
        now += 2000000;  // a 2 ms frame
        const uint64_t wait = pacer.WaitAfterSwap(now, kPeriod);
        EXPECT_EQ(wait, kPeriod - 2000000) << frame;
        now += wait;
    }
    EXPECT_EQ(now, 1000000000 + 600 * kPeriod);

    // The display's own wait: swaps end a period apart, within half a millisecond.
    now += kPeriod - 500000;
    EXPECT_EQ(pacer.WaitAfterSwap(now, kPeriod), 0u);
    now += kPeriod + 300000;
    EXPECT_EQ(pacer.WaitAfterSwap(now, kPeriod), 0u);
    // A slow frame, then a fast one: the fast one waits from the slow one's end.
    now += 3 * kPeriod;
    EXPECT_EQ(pacer.WaitAfterSwap(now, kPeriod), 0u);
    now += 4000000;
    EXPECT_EQ(pacer.WaitAfterSwap(now, kPeriod), kPeriod - 4000000);

    EXPECT_EQ(RefreshPeriodNs(0), kPeriod);
    EXPECT_EQ(RefreshPeriodNs(144), 6944444u);
}
