#include "game/ProfileProgress.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/win32/Win32System.h"

namespace {

constexpr double kMinutesPerHour = 60.0;
constexpr double kMaxHours = 254.0;

void SetNoTime(float& units, uint8_t& minutes, uint8_t& hours)
{
    units = kNoTimeUnits;
    minutes = kNoTimeCount;
    hours = kNoTimeCount;
}

// How many whole steps of size carry out of value, keeping a remainder of exactly size in place
// (the count a "while value > size, value -= size" loop reaches).
double CarriedSteps(double value, double size)
{
    return value > size ? std::ceil(value / size) - 1.0 : 0.0;
}

void SetLevelTimesToNoTime(CProfileProgress& record, uint32_t levelCount)
{
    if (!record.m_pLevelTimes)
        return;
    for (uint32_t i = 0; i < levelCount; ++i) {
        CLevelTime& time = record.m_pLevelTimes[i];
        SetNoTime(time.m_fUnits, time.m_nMinutes, time.m_nHours);
    }
}

bool IsLonger(const CProfileProgress& r)
{
    if (r.m_nPlayHours != r.m_nBestHours)
        return r.m_nPlayHours > r.m_nBestHours;
    if (r.m_nPlayMinutes != r.m_nBestMinutes)
        return r.m_nPlayMinutes > r.m_nBestMinutes;
    return r.m_fPlayUnits > r.m_fBestUnits;
}

} // namespace

void AddToTime(float& units, uint8_t& minutes, uint8_t& hours, double frames)
{
    if (hours == kNoTimeCount || units == kNoTimeUnits || !(frames >= 0.0) || !std::isfinite(frames))
        return;
    double total = static_cast<double>(units) + frames;
    double carried = CarriedSteps(total, kUnitsPerMinute);
    double allMinutes = minutes + carried;
    double carriedHours = CarriedSteps(allMinutes, kMinutesPerHour);
    units = static_cast<float>(total - carried * kUnitsPerMinute);
    minutes = static_cast<uint8_t>(allMinutes - carriedHours * kMinutesPerHour);
    hours = static_cast<uint8_t>(std::min(hours + carriedHours, kMaxHours));
}

bool UpdateBestTime(CProfileProgress& record)
{
    if (IsLonger(record))
        return false;
    record.m_fBestUnits = record.m_fPlayUnits;
    record.m_nBestMinutes = record.m_nPlayMinutes;
    record.m_nBestHours = record.m_nPlayHours;
    return true;
}

void CopyProgressRecord(CProfileProgress& to, const CProfileProgress& from, uint32_t levelCount)
{
    to.m_bDateSet = from.m_bDateSet;
    to.m_fPlayUnits = from.m_fPlayUnits;
    to.m_nPlayMinutes = from.m_nPlayMinutes;
    to.m_nPlayHours = from.m_nPlayHours;
    if (!to.m_pLevelTimes || !from.m_pLevelTimes)
        return;
    for (uint32_t i = 0; i < levelCount; ++i)
        to.m_pLevelTimes[i] = from.m_pLevelTimes[i];
}

void StampFinishDate(CProfileProgress& record)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    record.m_nYear = now.wYear;
    record.m_nMonth = static_cast<uint8_t>(now.wMonth);
    record.m_nDay = static_cast<uint8_t>(now.wDay);
    record.m_nHour = static_cast<uint8_t>(now.wHour);
    record.m_nMinute = static_cast<uint8_t>(now.wMinute);
    record.m_nSecond = static_cast<uint8_t>(now.wSecond);
    record.m_bDateSet = 1;
}

void ResetProgressRecord(CProfileProgress& record, uint32_t levelCount)
{
    record.m_bInUse = record.m_bFinished = record.m_bSent = 0;
    record.m_nHour = record.m_nMinute = record.m_nSecond = 0;
    record.m_nYear = 0;
    record.m_nMonth = record.m_nDay = 0;
    record.m_bDateSet = 0;
    SetNoTime(record.m_fPlayUnits, record.m_nPlayMinutes, record.m_nPlayHours);
    SetLevelTimesToNoTime(record, levelCount);
}

Result PrepareProgressRecord(CProfileProgress& record, uint32_t levelCount)
{
    record.m_pLevelTimes.reset(new (std::nothrow) CLevelTime[levelCount]);
    if (!record.m_pLevelTimes)
        return RES_OUT_OF_MEMORY;
    SetLevelTimesToNoTime(record, levelCount);
    SetNoTime(record.m_fPlayUnits, record.m_nPlayMinutes, record.m_nPlayHours);
    SetNoTime(record.m_fBestUnits, record.m_nBestMinutes, record.m_nBestHours);
    return RES_OK;
}
