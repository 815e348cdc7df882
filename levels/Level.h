#pragma once
#include <cstdint>
#include <memory>

#include "game/GameLevel.h"
#include "game/LevelRecord.h"

// A click target: the part that leads to a scene (the world's scene count ends the game).
struct CLevelPair {
    uint32_t part;
    uint32_t targetScene;
};

// The scene record's fixed bytes in a description, with empty actions and no pair sounds.
constexpr uint32_t kLevelRecordBytes = 356;
// The first-visit byte of none.
constexpr uint32_t kNoFirstVisit = 4;
// The scene state of a fresh entry.
constexpr uint32_t kSceneStateFresh = 14;
constexpr uint32_t kSceneStateClickTargets = 6;

// The base of every playable scene: the scene records of its description with their queries,
// the click targets and the pop-up queue. Each level type allocates and returns its records
// (AllocRecords, GetRecord); the base has none.
class CLevel : public CGameLevel {
public:
    CLevel(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevel() override = default;

    // Clears every record's actions and pair sounds, frees the targets and the pop-up queue,
    // then the scene object's release.
    Result Release() override;
    // The scene-object block, then the record count R, the start record, the click targets and
    // R records. The part count and R are added to the game data's totals. Refused before any
    // allocation for counts past the stream's end, a start record not below R (R > 0), a target
    // part past the part count or a target scene past the world's scene count. A failure in
    // record k keeps records 0 to k - 1, and the first of them becomes current when the start
    // record was not among them.
    Result LoadDescription(CStream* stream) override;

    // The current record's settings; the scene-object answers without a record.
    uint32_t GetCameraMode() override;
    float GetZoomRatio() override;
    float GetRecordZoom() override;
    bool IsClickPenaltyFree() override;
    bool IsDragEnabled() override;
    bool IsCameraDraggable() override;
    bool IsToolbarHidden() override;
    bool IsToolbarHeightIgnored() override;
    bool IsHintRechargePaused() override;
    bool IsPlayerHelpLocked() override;

    bool ResetsFirstVisit() override { return false; }
    bool AreStarsDisabled() override { return true; }
    bool AreStarsHintOnly() override { return true; }
    Result AllocRecords() override { return RES_FAIL; }
    CLevelRecord* GetRecord(uint32_t) override { return nullptr; }
    void SetDone() override;
    Result Update() override { return RES_OK; }
    void OnLeave() override {}
    void BeginModal() override {}
    Result UpdateModal() override { return RES_FAIL; }
    void RenderModal() override {}
    void RenderMessage() override {}
    void PreUpdate() override {}
    void PostUpdate() override {}
    void Resume() override {}
    // ---- Input reactions: click abuse and the developer shortcut ----
    uint32_t GetSceneState() const override { return m_nSceneState; }
    void OnKeyShortcuts(bool) override {}

    int32_t PeekPopup() const override;
    void PopPopup() override;
    void PushPopup(int32_t id) override;
    int32_t TakeRecordPopup(uint32_t record) override;

    uint32_t GetRecordCount() const { return m_nRecordCount; }
    uint32_t GetCurrentRecord() const { return m_nCurrentRecord; }
    uint32_t GetPairCount() const { return m_nPairCount; }
    // Null past the targets.
    const CLevelPair* GetPair(uint32_t n) const { return n < m_nPairCount ? &m_pPairs[n] : nullptr; }
    uint32_t GetPopupQueueCount() const { return m_nPopupQueueCount; }
    bool IsDone() const { return m_bDone != 0; }
    bool IsTimerShown() const { return m_bTimerShown != 0; }

protected:
    CLevelRecord* CurrentRecord() { return GetRecord(m_nCurrentRecord); }

    uint32_t m_nRecordCount = 0;
    uint32_t m_nFirstVisitIndex = kNoFirstVisit;
    uint32_t m_nCurrentRecord = 0;
    uint32_t m_nSceneState = kSceneStateFresh;
    std::unique_ptr<CLevelPair[]> m_pPairs;
    uint32_t m_nPairCount = 0;
    int32_t m_nPopupId = kNoPopup;
    std::unique_ptr<int32_t[]> m_pPopupQueue;
    uint32_t m_nPopupQueueCount = 0;
    uint8_t m_bDone = 0;
    uint8_t m_bTimerShown = 0;

private:
    Result ReadCounts(CStream& stream, uint32_t* recordCount);
    Result ReadPairs(CStream& stream);
    Result ReadRecords(CStream& stream, uint32_t recordCount);
};
