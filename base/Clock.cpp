#include "base/Clock.h"

#include <ctime>

namespace {

uint64_t SystemClock()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
}

ClockSource g_clock = SystemClock;

} // namespace

void SetClockSource(ClockSource source)
{
    g_clock = source ? source : SystemClock;
}

uint64_t ClockNanoseconds()
{
    return g_clock();
}

uint32_t TickCountMs()
{
    return static_cast<uint32_t>(ClockNanoseconds() / 1000000ull);
}
