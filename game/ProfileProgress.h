#pragma once
#include <cfloat>
#include <cstdint>
#include <memory>

#include "base/Result.h"

// A play time: 1800.0 frame units make a minute. "No time" is {FLT_MAX, 255, 255}.
constexpr float kUnitsPerMinute = 1800.0f;
constexpr float kNoTimeUnits = FLT_MAX;
constexpr uint8_t kNoTimeCount = 255;

struct CLevelTime {
    float m_fUnits;
    uint8_t m_nMinutes;
    uint8_t m_nHours;
};

// The progress of one profile slot in one mode: its plain fields, then its per-level times.
struct CProgressFields {
    uint8_t m_bInUse;  // a game was started in this slot and mode
    uint8_t m_bFinished;
    uint8_t m_bSent;  // the time went to the score server
    uint8_t m_nHour, m_nMinute, m_nSecond;  // local time of finishing
    uint16_t m_nYear;
    uint8_t m_nMonth, m_nDay;
    uint8_t m_bDateSet;
    float m_fPlayUnits;  // play time below one minute
    uint8_t m_nPlayMinutes, m_nPlayHours;
    float m_fBestUnits;
    uint8_t m_nBestMinutes, m_nBestHours;
    uint8_t m_FirstVisit[4];
};

struct CProfileProgress : CProgressFields {
    std::unique_ptr<CLevelTime[]> m_pLevelTimes;  // one per level
};

// Adds frame units to a time, carrying into minutes above 1800 units and into hours above
// 60 minutes; hours stop at 254. "No time" (hours 255 or units FLT_MAX) is left alone.
void AddToTime(float& units, uint8_t& minutes, uint8_t& hours, double frames);

// The play time becomes the best time unless it is longer; equal times replace it. True when
// replaced.
bool UpdateBestTime(CProfileProgress& record);
// Copies the date-set flag, the play time and levelCount per-level entries.
void CopyProgressRecord(CProfileProgress& to, const CProfileProgress& from, uint32_t levelCount);
// Stamps the local time now as the finishing date.
void StampFinishDate(CProfileProgress& record);
// Clears the flags and the date, sets the play time and levelCount entries to no time; keeps
// the best time.
void ResetProgressRecord(CProfileProgress& record, uint32_t levelCount);
// Gives the record levelCount entries, each no time; the play and best times become no time.
// RES_OUT_OF_MEMORY when the entries cannot be had.
Result PrepareProgressRecord(CProfileProgress& record, uint32_t levelCount);
