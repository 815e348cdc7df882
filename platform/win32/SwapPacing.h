#pragma once
#include <cstdint>

// Keeps the buffer swaps of a context that waits for the vertical blank one refresh period
// apart where the display gives no such wait (a virtual X server, some drivers): a swap that
// returns early is followed by the rest of its period. A swap the display itself held back, or a
// frame slower than the period, starts the count again from its own end, so the pacing never
// adds to a wait the display already made.
class CSwapPacer {
public:
    // How long to wait after a swap that ended at nowNs, for frames periodNs apart.
    uint64_t WaitAfterSwap(uint64_t nowNs, uint64_t periodNs);

private:
    uint64_t m_dueNs = 0;  // when the next swap is due; 0 before the first
};

// The period of a refresh rate in hertz; 60 Hz where the display does not tell (0).
uint64_t RefreshPeriodNs(int refreshRate);
