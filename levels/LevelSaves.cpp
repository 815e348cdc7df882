#include "levels/Level.h"

#include <new>

#include "core/Stream.h"
#include "game/GameData.h"
#include "game/StreamValues.h"

// The level's profile sections: its state (part states, scene state, record, pop-ups) and its
// progress (part snapshot, effect clocks, stars).

namespace {

// Most queued pop-ups a saved level may hold.
constexpr uint32_t kMaxSavedPopups = 1024;
constexpr uint32_t kStarBytes = 20;

// Reads a value into field only when read whole.
template <typename T>
bool Take(CStream& s, T& field)
{
    return ReadField<T>(s, [&field](T value) { field = value; });
}

bool WritePopup(CStream& s, const CLevelPopupGroup& p)
{
    return WriteValue(s, p.popupId) && WriteValue(s, p.repeat) && WriteValue(s, p.value) && WriteValue(s, p.shown);
}

bool TakePopup(CStream& s, CLevelPopupGroup& p)
{
    return Take(s, p.popupId) && Take(s, p.repeat) && Take(s, p.value) && Take(s, p.shown);
}


bool WriteStar(CStream& s, const CLevelStar& star)
{
    return WriteValue(s, star.x) && WriteValue(s, star.y) && WriteValue(s, star.z) && WriteValue(s, star.flags) &&
           WriteValue(s, star.alpha);
}

bool TakeStar(CStream& s, CLevelStar& star)
{
    return Take(s, star.x) && Take(s, star.y) && Take(s, star.z) && Take(s, star.flags) && Take(s, star.alpha);
}

} // namespace

bool CLevel::IsSavedPopupId(int32_t id) const
{
    const CGameData* game = Game();
    const CStringTable* strings = game ? &game->m_GameStrings : nullptr;
    if (id == kNoPopup || !strings || !strings->m_pUnits)
        return id >= kNoPopup;
    return id >= 0 && game->m_nCommonsCount <= strings->m_nCount &&
           static_cast<uint32_t>(id) < strings->m_nCount - game->m_nCommonsCount;
}

// The records that GetRecord gives, from the first: a level type without records saves none.
uint32_t CLevel::SavedRecordCount()
{
    uint32_t n = 0;
    while (n < m_nRecordCount && GetRecord(n))
        ++n;
    return n;
}

Result CLevel::SaveObjects(CStream* stream)
{
    if (!stream || Failed(CGameLevel::SaveObjects(stream)))
        return RES_FAIL;
    CStream& s = *stream;
    bool written = WriteValue(s, m_nSceneState) && WriteValue(s, m_nCurrentRecord) && WriteValue(s, m_nPopupId) &&
                   WriteValue(s, m_nPopupQueueCount);
    for (uint32_t i = 0; written && i < m_nPopupQueueCount; ++i)
        written = WriteValue(s, m_pPopupQueue[i]);
    const uint32_t records = SavedRecordCount();
    written = written && WriteValue(s, m_bDone) && WriteValue(s, m_bTimerShown) && WriteValue(s, records);
    for (uint32_t k = 0; written && k < records; ++k) {
        const CLevelRecord& r = *GetRecord(k);
        written = WritePopup(s, r.introPopup) && WritePopup(s, r.startPopup) && WritePopup(s, r.leavePopup);
    }
    return written ? RES_OK : RES_FAIL;
}

Result CLevel::LoadObjects(CStream* stream, uint32_t version)
{
    if (!stream || Failed(CGameLevel::LoadObjects(stream, version)))
        return RES_FAIL;
    CStream& s = *stream;
    m_nActiveStar = kNoStar;
    uint32_t queued = 0;
    if (!Take(s, m_nSceneState) || !Take(s, m_nCurrentRecord) || !Take(s, m_nPopupId) || !Take(s, queued) ||
        queued > kMaxSavedPopups || uint64_t{queued} * sizeof(int32_t) > s.BytesLeft())
        return RES_FAIL;
    // A state, record or pop-up the level cannot show is damage, not a game to play.
    if (!IsSavedSceneState(m_nSceneState) || (m_nRecordCount && m_nCurrentRecord >= m_nRecordCount) ||
        !IsSavedPopupId(m_nPopupId))
        return RES_FAIL;
    std::unique_ptr<int32_t[]> queue(new (std::nothrow) int32_t[queued ? queued : 1]());
    if (!queue)
        return RES_OUT_OF_MEMORY;
    if (queued && !s.Read(queue.get(), sizeof(int32_t), queued))
        return RES_FAIL;
    for (uint32_t i = 0; i < queued; ++i) {
        if (!IsSavedPopupId(queue[i]))
            return RES_FAIL;
    }
    m_pPopupQueue = std::move(queue);
    m_nPopupQueueCount = queued;
    uint32_t records = 0;
    if (!Take(s, m_bDone) || !Take(s, m_bTimerShown) || !Take(s, records) || records > SavedRecordCount())
        return RES_FAIL;
    for (uint32_t k = 0; k < records; ++k) {
        CLevelRecord& r = *GetRecord(k);
        if (!TakePopup(s, r.introPopup) || !TakePopup(s, r.startPopup) || !TakePopup(s, r.leavePopup) ||
            !IsSavedPopupId(r.introPopup.popupId) || !IsSavedPopupId(r.startPopup.popupId) ||
            !IsSavedPopupId(r.leavePopup.popupId))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CLevel::SaveProgress(CStream* stream)
{
    if (!stream || Failed(CGameLevel::SaveProgress(stream)))
        return RES_FAIL;
    CStream& s = *stream;
    const CLevelRecord* record = CurrentRecord();
    bool written = true;
    for (uint32_t i = 0; written && i < kTimedEffectCount; ++i) {
        const uint8_t fired = record ? record->effects[i].fired : 0;
        written = WriteValue(s, m_EffectClocks[i].clock) && WriteValue(s, m_EffectClocks[i].period) &&
                  WriteValue(s, fired);
    }
    written = written && WriteValue(s, m_nStarCount) && WriteValue(s, m_nActiveStar);
    for (uint32_t n = 0; written && n < m_nStarCount; ++n)
        written = WriteStar(s, m_pStars[n]);
    return written ? RES_OK : RES_FAIL;
}

Result CLevel::LoadProgress(CStream* stream, uint32_t version)
{
    if (!stream || Failed(CGameLevel::LoadProgress(stream, version)))
        return RES_FAIL;
    CStream& s = *stream;
    CLevelRecord* record = CurrentRecord();
    for (uint32_t i = 0; i < kTimedEffectCount; ++i) {
        uint8_t fired = 0;
        if (!Take(s, m_EffectClocks[i].clock) || !Take(s, m_EffectClocks[i].period) || !Take(s, fired))
            return RES_FAIL;
        if (record)
            record->effects[i].fired = fired;
    }
    uint16_t count = 0, active = kNoStar;
    if (!Take(s, count) || !Take(s, active))
        return RES_FAIL;
    if (count != m_nStarCount) {
        if (uint64_t{count} * kStarBytes > s.BytesLeft())
            return RES_FAIL;
        std::unique_ptr<CLevelStar[]> stars(new (std::nothrow) CLevelStar[count ? count : 1]());
        if (!stars)
            return RES_OUT_OF_MEMORY;
        m_pStars = std::move(stars);
        m_nStarCount = count;
    }
    m_nActiveStar = active < m_nStarCount && !AreStarsDisabled() ? active : kNoStar;
    for (uint32_t n = 0; n < m_nStarCount; ++n) {
        if (!TakeStar(s, m_pStars[n]))
            return RES_FAIL;
    }
    return RES_OK;
}
