#pragma once
#include <cstdint>

#include "engine3d/SceneObject3D.h"

struct CLevelRecord;

// Type words of the levels.
constexpr uint32_t kLevelTypeBase = 0x4000;
constexpr uint32_t kLevelTypeHiddenObject = 0x4001;
constexpr uint32_t kLevelTypeJigsaw = 0x4002;
constexpr uint32_t kLevelTypeShoot = 0x4003;
constexpr uint32_t kLevelTypeSliding = 0x4004;

// A level as the game world reaches it: the slots a level adds to the scene object, in their
// order, and the pop-up queue. The level base (CLevel) and the level types implement them.
class CGameLevel : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;

    // True when the world clears the level kind's first-visit byte at every switch to the level.
    virtual bool ResetsFirstVisit() = 0;
    virtual bool AreStarsDisabled() = 0;
    // True when a caught star gives a hint even in the timed mode.
    virtual bool AreStarsHintOnly() = 0;
    // Allocates the record count's zeroed records.
    virtual Result AllocRecords() = 0;
    // Record n; null past the records.
    virtual CLevelRecord* GetRecord(uint32_t n) = 0;
    virtual void HideTimer(uint32_t seconds) = 0;
    virtual void SetDone() = 0;
    virtual void EndLevel() = 0;
    // The level's step of the in-game frame; the result is the level's busy value.
    virtual Result Update() = 0;
    virtual void RenderParts() = 0;
    // Called before another scene becomes current.
    virtual void OnLeave() = 0;
    virtual void UseHint() = 0;
    virtual void OnStarFound() = 0;
    virtual void BeginModal() = 0;
    virtual Result UpdateModal() = 0;
    virtual void RenderModal() = 0;
    virtual void RenderMessage() = 0;
    // Steps of the in-game frame around Update, and of a resumed game.
    virtual void PreUpdate() = 0;
    virtual void PostUpdate() = 0;
    virtual void Resume() = 0;

    // The first queued pop-up id; kNoPopup when none is queued.
    virtual int32_t PeekPopup() const = 0;
    // Drops the first queued id.
    virtual void PopPopup() = 0;
    virtual void PushPopup(int32_t id) = 0;
    // Takes the intro pop-up of record (kTakeCurrentRecord: the current one) unless shown;
    // returns the pop-up taken last.
    virtual int32_t TakeRecordPopup(uint32_t record) = 0;

    // The scene state: the mode last given to Start (kSceneStateFresh at construction).
    virtual uint32_t GetSceneState() const = 0;
    // Which first-visit byte of a progress record belongs to the level kind; 4 for none.
    virtual uint32_t GetFirstVisitIndex() const = 0;
    virtual uint32_t GetCurrentRecord() const = 0;
    virtual uint32_t GetRecordCount() const = 0;
    // Makes record the current one (a scene argument, the record switch).
    virtual void SetCurrentRecord(uint32_t record) = 0;
    // The two randomly timed sounds of the current record, every in-game frame.
    virtual void UpdateEffects() = 0;
    // Re-arms every fired looping effect (a scene switch, a profile load).
    virtual void ResetEffects() = 0;
    // The star fades, every in-game frame.
    virtual void UpdateStars() = 0;
    // Draws the active star.
    virtual void RenderStar() = 0;
    // The level type's share of the developer shortcut in the in-game state: what the player
    // has still to do is done (control: Ctrl is held).
    virtual void OnKeyShortcuts(bool control) = 0;
};

constexpr uint32_t kSceneStateFresh = 14;
constexpr uint32_t kSceneStateClickTargets = 6;
constexpr uint32_t kSceneStateQuiz = 7;

constexpr uint32_t kTakeCurrentRecord = 0xFFFFFFFFu;
