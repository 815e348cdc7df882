#include "platform/win32/SwapPacing.h"

namespace {

// Swaps this much before they are due count as early; nearer ones as held back by the display.
constexpr uint64_t kEarlyNs = 1000000;
constexpr int kUnknownRefreshRate = 60;

} // namespace

uint64_t CSwapPacer::WaitAfterSwap(uint64_t nowNs, uint64_t periodNs)
{
    if (m_dueNs != 0 && nowNs + kEarlyNs < m_dueNs) {
        uint64_t wait = m_dueNs - nowNs;
        m_dueNs += periodNs;
        return wait;
    }
    m_dueNs = nowNs + periodNs;
    return 0;
}

uint64_t RefreshPeriodNs(int refreshRate)
{
    return 1000000000ull / static_cast<uint64_t>(refreshRate > 0 ? refreshRate : kUnknownRefreshRate);
}
