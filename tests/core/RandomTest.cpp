#include "base/Clock.h"
#include "core/Random.h"

#include <gtest/gtest.h>

TEST(Random, MersenneTwisterReferenceOutputs)
{
    CRandomMT random;
    RandomSeed(random, 5489);
    EXPECT_EQ(RandomNext(random), 3499211612u);
    uint32_t value = 0;
    for (int i = 2; i <= 10000; ++i)
        value = RandomNext(random);
    EXPECT_EQ(value, 4123659995u);
}

TEST(Random, StandardGeneratorSequenceAndRange)
{
    StdSrand(1);
    EXPECT_EQ(StdRand(), 41);
    EXPECT_EQ(StdRand(), 18467);
    EXPECT_EQ(StdRand(), 6334);
    for (int i = 0; i < 1000; ++i) {
        int v = StdRand();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 32767);
    }
}

namespace {
uint64_t FixedClock() { return 1234ull * 1000000ull; }
} // namespace

TEST(Random, TickCountSeedComesFromTheClock)
{
    SetClockSource(FixedClock);
    EXPECT_EQ(TickCountMs(), 1234u);
    int first = RandomFromTickCount();
    StdSrand(1234);
    EXPECT_EQ(first, StdRand());

    CRandomMT seededByTicks, seededByHand;
    RandomSeed(seededByTicks, 0);
    StdSrand(1234);
    RandomSeed(seededByHand, static_cast<uint32_t>(StdRand()));
    EXPECT_EQ(RandomNext(seededByTicks), RandomNext(seededByHand));
    SetClockSource(nullptr);
}
