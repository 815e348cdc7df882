#pragma once
#include <cstdint>

// Monotonic time. Tests may install their own clock; null restores the system clock.
using ClockSource = uint64_t (*)();  // nanoseconds

void SetClockSource(ClockSource source);
uint64_t ClockNanoseconds();

// Milliseconds since an arbitrary start, wrapping at 32 bits.
uint32_t TickCountMs();
