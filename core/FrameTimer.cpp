#include "core/FrameTimer.h"

#include "core/WorldData.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32System.h"

namespace {

constexpr double kFrameUnitSeconds = 1.0 / 30.0;

bool ReadCounter(int64_t* value)
{
    LARGE_INTEGER counter{};
    if (!QueryPerformanceCounter(&counter))
        return false;
    *value = counter.QuadPart;
    return true;
}

} // namespace

Result CFrameTimer::Init()
{
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
        return RES_FAIL;
    int64_t now = 0;
    if (!ReadCounter(&now))
        return RES_FAIL;
    m_frequency = frequency.QuadPart;
    m_last = now;
    return RES_OK;
}

double CFrameTimer::FactorOf(int64_t ticks, int64_t frequency)
{
    if (frequency <= 0)
        return 0.0;
    return static_cast<double>(ticks) / (static_cast<double>(frequency) * kFrameUnitSeconds);
}

Result CFrameTimer::Tick()
{
    int64_t now = 0;
    if (!ReadCounter(&now))
        now = m_last;
    double factor = IsFixedStep() ? 1.0 : FactorOf(now >= m_last ? now - m_last : now, m_frequency);
    m_pData->frameFactor = factor;
    if (factor != 0.0)
        m_pData->framesPerSecond = 30.0 / factor;
    m_last = now;
    return RES_OK;
}

CHighResTimer::CHighResTimer()
{
    LARGE_INTEGER frequency{};
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        m_frequency = frequency.QuadPart;
}

void CHighResTimer::Start()
{
    ReadCounter(&m_start);
}

uint64_t CHighResTimer::TicksToMicroseconds(uint64_t ticks, int64_t frequency)
{
    if (frequency <= 0)
        return 0;
    unsigned __int128 scaled = static_cast<unsigned __int128>(ticks) * 1000000u;
    return static_cast<uint64_t>(scaled / static_cast<uint64_t>(frequency));
}

uint64_t CHighResTimer::GetElapsed()
{
    ReadCounter(&m_last);
    uint64_t ticks = m_last >= m_start ? static_cast<uint64_t>(m_last - m_start) : static_cast<uint64_t>(m_last);
    return TicksToMicroseconds(ticks, m_frequency);
}
