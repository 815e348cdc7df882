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
constexpr uint16_t kNoStar = 0xFFFF;
// Fewer stars per level than this leave stars off in every level.
constexpr uint16_t kMinStarsPerLevel = 2;

// A hidden star of a level, saved whole (20 bytes); its flags are part flags (kPartWaiting: found).
struct CLevelStar {
    float x, y, z;
    uint32_t flags;
    float alpha;
};

// The clock of a timed effect: frames counted since the last firing and the frames to wait.
struct CLevelEffectClock {
    float clock;
    float period;
};

class C3DObject;
class CLevelHost;
struct CGameData;

// The base of every playable scene: the scene records of its description with their queries,
// the click targets and the pop-up queue. Each level type allocates and returns its records
// (AllocRecords, GetRecord); the base has none.
class CLevel : public CGameLevel {
public:
    CLevel(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevel() override = default;

    // The scene object's Init, then STARS_COUNT_PER_LEVEL zeroed stars (none active).
    Result Init() override;
    // Clears every record's actions and pair sounds, frees the targets, the pop-up queue and the
    // stars, then the scene object's release.
    Result Release() override;
    // The scene-object block, then the record count R, the start record, the click targets and
    // R records. The part count and R are added to the game data's totals. Refused before any
    // allocation for counts past the stream's end, a start record not below R (R > 0), a target
    // part past the part count or a target scene past the world's scene count. A failure in
    // record k keeps records 0 to k - 1, and the first of them becomes current when the start
    // record was not among them.
    Result LoadDescription(CStream* stream) override;
    // The active star first, then in the click-target state the phase-6 parts; 0 handled,
    // RES_FAIL missed.
    Result OnClick(float x, float y) override;
    // "<raw>_level_<id>.obj.3dx" and ".col.3dx", then the stars' places when none is active.
    Result LoadFiles() override;
    // The scene object's, then both 3D objects give their data back.
    Result UnloadFiles() override;
    // Part states, scene state, record, pop-ups, done flags and the records' pop-up groups.
    Result SaveObjects(CStream* stream) override;
    // The part snapshot, the effect clocks and the stars.
    Result SaveProgress(CStream* stream) override;
    Result LoadObjects(CStream* stream, uint32_t version) override;
    Result LoadProgress(CStream* stream, uint32_t version) override;

    // Prepares the current record's sound, effect sounds and pair sounds in the sound bank.
    void PlaySounds() override;
    // mode kSceneStateFresh is a fresh entry: start pop-up, start actions, a star and a hint.
    Result Start(uint32_t mode) override;
    // Leave actions while not done, re-armed effects, settled fades, no active star.
    void Stop() override;

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
    // True with fewer than two stars per level, else the level type's AreStarsHidden.
    bool AreStarsDisabled() final;
    bool AreStarsHintOnly() override { return true; }
    Result AllocRecords() override { return RES_FAIL; }
    CLevelRecord* GetRecord(uint32_t) override { return nullptr; }
    // The world's timer fades out; the timer no longer counts as shown.
    void HideTimer(uint32_t seconds) override;
    void SetDone() override;
    // Stops the effect sounds (with an audio engine) and finishes the game.
    void EndLevel() override;
    Result Update() override { return RES_OK; }
    // The phase-6 parts, through the first view matrix.
    void RenderParts() override;
    void OnLeave() override {}
    // After a used hint: a star when the hint button ran empty (story mode or hint-only stars).
    void UseHint() override;
    // A caught star: time and another star in the timed mode, else a hint.
    void OnStarFound() override;
    void BeginModal() override {}
    Result UpdateModal() override { return RES_FAIL; }
    void RenderModal() override {}
    void RenderMessage() override {}
    void PreUpdate() override {}
    void PostUpdate() override {}
    void Resume() override {}
    // The level type's share of the developer shortcut; none in the base.
    void OnKeyShortcuts(bool) override {}

    int32_t PeekPopup() const override;
    void PopPopup() override;
    void PushPopup(int32_t id) override;
    int32_t TakeRecordPopup(uint32_t record) override;

    uint32_t GetSceneState() const override { return m_nSceneState; }
    uint32_t GetFirstVisitIndex() const override { return m_nFirstVisitIndex; }
    uint32_t GetCurrentRecord() const override { return m_nCurrentRecord; }
    void SetCurrentRecord(uint32_t record) override { m_nCurrentRecord = record; }
    void UpdateEffects() override;
    void ResetEffects() override;
    void UpdateStars() override;
    void RenderStar() override;

    // The stars widget's sprite at the active star, untextured in opaque red, unless found.
    void RenderStarMarker();
    // Gives every star a random place in the part of the scene the screen shows.
    void PlaceStars();
    // Makes a random other star the active one, fading in.
    void PickStarSlot();
    // The tutorial pop-up's first two lines over the stars sprite (the mini-games' modal step).
    void RenderModalMessage();
    // The stars sprite, twice its size, centred across at height y.
    void RenderModalBackground(float y);
    // The tutorial pop-up's text container.
    void RenderTutorialPopup();

    uint32_t GetRecordCount() const override { return m_nRecordCount; }
    uint32_t GetPairCount() const { return m_nPairCount; }
    // Null past the targets.
    const CLevelPair* GetPair(uint32_t n) const { return n < m_nPairCount ? &m_pPairs[n] : nullptr; }
    uint32_t GetPopupQueueCount() const { return m_nPopupQueueCount; }
    bool IsDone() const { return m_bDone != 0; }
    bool IsTimerShown() const { return m_bTimerShown != 0; }
    uint16_t GetStarCount() const { return m_nStarCount; }
    uint16_t GetActiveStar() const { return m_nActiveStar; }
    // Null past the stars.
    const CLevelStar* GetStar(uint32_t n) const { return n < m_nStarCount ? &m_pStars[n] : nullptr; }
    float GetStarAngle() const { return m_fStarAngle; }
    const CLevelEffectClock& GetEffectClock(uint32_t n) const { return m_EffectClocks[n % kTimedEffectCount]; }

protected:
    // The level type's own answer to AreStarsDisabled (true in the base).
    virtual bool AreStarsHidden() { return true; }

    CLevelRecord* CurrentRecord() { return GetRecord(m_nCurrentRecord); }
    // What the level reaches of the world, its game data and its random generator; null without them.
    CLevelHost* World() const;
    CGameData* Game() const;
    bool HasAudio() const;
    // Pushes a pop-up group's id when not shown and not none; shown = (repeat == 0).
    void QueuePopup(CLevelPopupGroup& popup);
    // Every tooltip of the world that is not done checks its steps.
    void CheckTooltips();
    // Both effect clocks restart with a new random period; fired = 0.
    void ArmEffects();
    // STARS_COUNT_PER_LEVEL zeroed stars, none active (stars off below two, with a log line).
    Result InitStars();
    // The catch test of the active star; RES_OK when caught.
    Result CatchStar(float x, float y);
    // A fresh start's star and hint.
    void OfferStarAtStart(bool timed);
    // The leading records that GetRecord gives (the records a save holds).
    uint32_t SavedRecordCount();
    // A saved pop-up id: none, or a main string of the loaded language (any id while none is
    // loaded); a damaged save holds others.
    bool IsSavedPopupId(int32_t id) const;
    // A saved scene state the level type can be in (any in the base).
    virtual bool IsSavedSceneState(uint32_t) const { return true; }
    // The stars sprite placed at the active star; null when none is shown.
    C3DObject* PlaceStarSprite();

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
    CLevelEffectClock m_EffectClocks[kTimedEffectCount] = {};
    std::unique_ptr<CLevelStar[]> m_pStars;
    uint16_t m_nActiveStar = kNoStar;
    float m_fStarAngle = 0.0f;
    uint16_t m_nStarCount = 0;

private:
    Result ReadCounts(CStream& stream, uint32_t* recordCount);
    Result ReadPairs(CStream& stream);
    Result ReadRecords(CStream& stream, uint32_t recordCount);
};
