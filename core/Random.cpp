#include "core/Random.h"

#include "base/Clock.h"
#include "platform/win32/PlatformHarness.h"

namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7fffffffu;

uint32_t g_stdRandState = 1;

void Regenerate(CRandomMT& random)
{
    uint32_t* mt = random.state;
    for (int i = 0; i < kN; ++i) {
        uint32_t y = (mt[i] & kUpperMask) | (mt[(i + 1) % kN] & kLowerMask);
        mt[i] = mt[(i + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    random.index = 0;
}

} // namespace

void StdSrand(uint32_t seed)
{
    g_stdRandState = seed;
}

int StdRand()
{
    g_stdRandState = g_stdRandState * 214013u + 2531011u;
    return static_cast<int>((g_stdRandState >> 16) & 0x7fff);
}

int RandomFromTickCount()
{
    uint32_t seed = 0;
    StdSrand(GetHarnessSeed(&seed) ? seed : TickCountMs());
    return StdRand();
}

void RandomSeed(CRandomMT& random, uint32_t seed)
{
    if (seed == 0 && !GetHarnessSeed(&seed))
        seed = static_cast<uint32_t>(RandomFromTickCount());
    random.state[0] = seed;
    for (uint32_t i = 1; i < kN; ++i) {
        uint32_t previous = random.state[i - 1];
        random.state[i] = 1812433253u * (previous ^ (previous >> 30)) + i;
    }
    random.index = kN;
}

uint32_t RandomNext(CRandomMT& random)
{
    if (random.index >= kN)
        Regenerate(random);
    uint32_t y = random.state[random.index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}
