#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;

// Measures each frame in 1/30-second units (the frame factor) into the data block.
class CFrameTimer : public CBaseObject {
public:
    explicit CFrameTimer(CWorldData* data) : m_pData(data) {}

    // Reads the counter frequency and the starting counter; RES_FAIL without a counter.
    Result Init();
    // Frame factor and frames per second of the time since the last tick (or since Init).
    Result Tick();

    // The factor of a span of counter ticks at the given frequency; 0.0 for a zero frequency.
    static double FactorOf(int64_t ticks, int64_t frequency);

private:
    CWorldData* m_pData;
    int64_t m_frequency = 0;
    int64_t m_last = 0;
};

// A microsecond stopwatch over the performance counter.
class CHighResTimer : public CBaseObject {
public:
    CHighResTimer();

    void Start();
    // Microseconds since Start; when the counter went back, since the counter's origin.
    uint64_t GetElapsed();

    // Counter ticks to whole microseconds, exact for any frequency; 0 for a zero frequency.
    static uint64_t TicksToMicroseconds(uint64_t ticks, int64_t frequency);

private:
    int64_t m_frequency = 0;
    int64_t m_start = 0;
    int64_t m_last = 0;
};
