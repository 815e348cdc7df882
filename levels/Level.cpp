#include "levels/Level.h"

#include <algorithm>
#include <new>

#include "core/Stream.h"
#include "game/GameData.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/StreamValues.h"
#include "game/screens/Stars.h"
#include "levels/actions/LevelActions.h"

namespace {

bool ReadPopup(CStream& s, CLevelPopupGroup& p)
{
    return ReadValue(s, p.popupId) && ReadValue(s, p.repeat) && ReadValue(s, p.value) && ReadValue(s, p.shown);
}

bool ReadEffect(CStream& s, CLevelTimedEffect& e)
{
    return ReadValue(s, e.minFrames) && ReadValue(s, e.maxFrames) && ReadValue(s, e.soundId) && ReadValue(s, e.loop);
}

// One action per place, of the kind its place fixes.
template <size_t N>
bool ReadActions(CStream& s, std::unique_ptr<CLevelAction> (&actions)[N], const LevelActionKind (&kinds)[N],
                 CWorldData* data)
{
    for (size_t i = 0; i < N; ++i) {
        actions[i] = MakeLevelAction(kinds[i], data);
        if (!actions[i] || Failed(actions[i]->Load(s)))
            return false;
    }
    return true;
}

// The background name must end within its field.
bool ReadBackgroundName(CStream& s, char (&name)[kBackgroundNameBytes])
{
    return s.Read(name, 1, kBackgroundNameBytes) && std::find(name, name + kBackgroundNameBytes, 0) != std::end(name);
}

bool ReadRecord(CStream& s, CLevelRecord& r, uint32_t pairCount, CWorldData* data)
{
    bool read = ReadValue(s, r.clickPenaltyFree) && ReadValue(s, r.cameraMode) && ReadValue(s, r.dragEnabled) &&
                ReadValue(s, r.cameraDraggable) && ReadValue(s, r.toolbarHidden) &&
                ReadValue(s, r.toolbarHeightIgnored) && ReadValue(s, r.value0C) && ReadValue(s, r.zoom) &&
                ReadValue(s, r.introSound) && ReadPopup(s, r.introPopup) && ReadBackgroundName(s, r.backgroundName) &&
                ReadPopup(s, r.startPopup) && ReadActions(s, r.startActions, kStartActionKinds, data) &&
                ReadPopup(s, r.popupGroup3) && ReadValue(s, r.soundId) && ReadPopup(s, r.leavePopup) &&
                ReadActions(s, r.leaveActions, kLeaveActionKinds, data) && ReadEffect(s, r.effects[0]) &&
                ReadEffect(s, r.effects[1]);
    if (!read || pairCount == 0)
        return read;
    r.pairSounds.reset(new (std::nothrow) uint16_t[pairCount]);
    return r.pairSounds && s.Read(r.pairSounds.get(), sizeof(uint16_t), pairCount);
}

} // namespace

CLevel::CLevel(CWorldData* data, C3DEngine* engine, uint32_t id) : CGameLevel(data, engine, id)
{
    m_nType = kLevelTypeBase;
}

Result CLevel::Release()
{
    for (uint32_t n = 0; n < m_nRecordCount; ++n) {
        if (CLevelRecord* record = GetRecord(n))
            *record = CLevelRecord{};
    }
    m_nRecordCount = 0;
    m_pPairs.reset();
    m_nPairCount = 0;
    m_pPopupQueue.reset();
    m_nPopupQueueCount = 0;
    m_pStars.reset();
    m_nStarCount = 0;
    m_nActiveStar = kNoStar;
    return Failed(CGameLevel::Release()) ? RES_FAIL : RES_OK;
}

Result CLevel::LoadDescription(CStream* stream)
{
    uint32_t recordCount = 0;
    if (Failed(CGameLevel::LoadDescription(stream)) || Failed(ReadCounts(*stream, &recordCount)) ||
        Failed(ReadPairs(*stream)))
        return RES_FAIL;
    return ReadRecords(*stream, recordCount);
}

// R (also the description word and added to the parameter total), then the start record.
Result CLevel::ReadCounts(CStream& stream, uint32_t* recordCount)
{
    uint32_t start = 0;
    if (!ReadValue(stream, *recordCount))
        return RES_FAIL;
    m_nDescriptionWord = *recordCount;
    CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    if (game)
        game->m_nParamTotal += *recordCount;
    if (!ReadValue(stream, start) || (*recordCount > 0 && start >= *recordCount))
        return RES_FAIL;
    m_nCurrentRecord = start;
    return RES_OK;
}

Result CLevel::ReadPairs(CStream& stream)
{
    CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    const uint32_t sceneCount = game && game->m_pLevelHost ? game->m_pLevelHost->GetSceneCount() : 0;
    uint32_t count = 0;
    if (!ReadValue(stream, count) || uint64_t{count} * sizeof(CLevelPair) > stream.BytesLeft())
        return RES_FAIL;
    std::unique_ptr<CLevelPair[]> pairs(new (std::nothrow) CLevelPair[count ? count : 1]());
    if (!pairs)
        return RES_OUT_OF_MEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        CLevelPair& pair = pairs[i];
        if (!ReadValue(stream, pair.part) || !ReadValue(stream, pair.targetScene) || pair.part >= m_nPartCount ||
            pair.targetScene > sceneCount)
            return RES_FAIL;
    }
    m_pPairs = std::move(pairs);
    m_nPairCount = count;
    return RES_OK;
}

Result CLevel::ReadRecords(CStream& stream, uint32_t recordCount)
{
    const uint64_t recordBytes = kLevelRecordBytes + uint64_t{m_nPairCount} * sizeof(uint16_t);
    if (recordCount * recordBytes > stream.BytesLeft())
        return RES_FAIL;
    m_nRecordCount = recordCount;
    if (recordCount && Failed(AllocRecords())) {
        m_nRecordCount = 0;
        return RES_FAIL;
    }
    for (uint32_t k = 0; k < recordCount; ++k) {
        CLevelRecord* record = GetRecord(k);
        if (!record || !ReadRecord(stream, *record, m_nPairCount, m_pWorldData)) {
            if (record)
                *record = CLevelRecord{};
            m_nRecordCount = k;
            if (m_nCurrentRecord >= k)
                m_nCurrentRecord = 0;
            return RES_FAIL;
        }
    }
    return RES_OK;
}

uint32_t CLevel::GetCameraMode()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->cameraMode : CGameLevel::GetCameraMode();
}

float CLevel::GetZoomRatio()
{
    return 0.0f;
}

float CLevel::GetRecordZoom()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->zoom : CGameLevel::GetRecordZoom();
}

bool CLevel::IsClickPenaltyFree()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->clickPenaltyFree != 0 : CGameLevel::IsClickPenaltyFree();
}

bool CLevel::IsDragEnabled()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->dragEnabled != 0 : CGameLevel::IsDragEnabled();
}

bool CLevel::IsCameraDraggable()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->cameraDraggable != 0 : CGameLevel::IsCameraDraggable();
}

bool CLevel::IsToolbarHidden()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->toolbarHidden != 0 : CGameLevel::IsToolbarHidden();
}

bool CLevel::IsToolbarHeightIgnored()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->toolbarHeightIgnored != 0 : CGameLevel::IsToolbarHeightIgnored();
}

bool CLevel::IsHintRechargePaused()
{
    CLevelRecord* record = CurrentRecord();
    return record ? record->toolbarHidden != 0 : CGameLevel::IsHintRechargePaused();
}

bool CLevel::IsPlayerHelpLocked()
{
    return IsToolbarHidden() || m_nSceneState == kSceneStateClickTargets;
}

void CLevel::SetDone()
{
    m_bDone = 1;
    m_bTimerShown = 1;
}

int32_t CLevel::PeekPopup() const
{
    return m_nPopupQueueCount ? m_pPopupQueue[0] : kNoPopup;
}

void CLevel::PopPopup()
{
    if (m_nPopupQueueCount == 0)
        return;
    std::copy(m_pPopupQueue.get() + 1, m_pPopupQueue.get() + m_nPopupQueueCount, m_pPopupQueue.get());
    --m_nPopupQueueCount;
}

void CLevel::PushPopup(int32_t id)
{
    std::unique_ptr<int32_t[]> queue(new (std::nothrow) int32_t[m_nPopupQueueCount + 1]);
    if (!queue)
        return;
    std::copy(m_pPopupQueue.get(), m_pPopupQueue.get() + m_nPopupQueueCount, queue.get());
    queue[m_nPopupQueueCount++] = id;
    m_pPopupQueue = std::move(queue);
}

int32_t CLevel::TakeRecordPopup(uint32_t record)
{
    CLevelRecord* taken = GetRecord(record == kTakeCurrentRecord ? m_nCurrentRecord : record);
    if (taken && !taken->introPopup.shown && taken->introPopup.popupId != kNoPopup) {
        m_nPopupId = taken->introPopup.popupId;
        taken->introPopup.shown = taken->introPopup.repeat == 0;
    }
    return m_nPopupId;
}
