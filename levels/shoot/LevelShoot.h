#pragma once
#include <cstdint>
#include <memory>

#include "levels/LevelWithRecords.h"
#include "levels/minigames/LevelMiniGame.h"
#include "levels/shoot/ShootField.h"
#include "levels/shoot/ShootRecord.h"

class C3DTexture;

// The SHOOT mini-game: targets pop up on scene parts or on a grid of cells, the player clicks
// them for points, and the round is won at the goal or restarts at the losing threshold.
class CLevelShoot : public CLevelWithRecords<CLevelMiniGame, CLevelShootRecord> {
public:
    CLevelShoot(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevelShoot() override;

    Result Init() override;
    Result Release() override;
    void Render() override;
    Result OnClick(float x, float y) override;
    Result LoadFiles() override;
    Result UnloadFiles() override;
    Result SaveProgress(CStream* stream) override;
    Result LoadProgress(CStream* stream, uint32_t version) override;
    Result LoadDescription(CStream* stream) override;
    bool IsPlayerHelpLocked() override;
    // Each hint is worth points: the hint button never recharges here.
    bool IsHintRechargePaused() override { return true; }
    void PlaySounds() override;
    Result Start(uint32_t mode) override;
    Result Update() override;
    void UseHint() override;
    void BeginModal() override;
    Result UpdateModal() override;
    void RenderModal() override;
    // The developer shortcut: the level counts as done.
    void OnKeyShortcuts(bool control) override;

    // Fresh slots, score, labels and instructions; the hint timer filled when hints are left.
    void ResetRound();

    CShootField& GetField() { return m_field; }
    const CShootTargets& GetTargets() const { return m_targets; }
    int32_t GetExplainedEntry() const { return m_nExplainedEntry; }
    // Where slot n shows on the screen: its cell in grid mode, else its target's point through
    // the first view matrix.
    Vector3 SlotPoint(uint32_t n);

private:
    uint32_t SlotCount(const CLevelShootRecord& record) const;
    void RebuildCellPoints(CLevelShootRecord& record);
    // The targets as the field sees them, from the parts and the record's entries.
    void GatherTargets(const CLevelShootRecord& record);
    const CShootEntry* EntryOf(const CLevelShootRecord& record, uint8_t target) const;
    Vector3 TargetScreenPoint(uint8_t target) const;
    bool SlotHit(const CLevelShootRecord& record, uint32_t slot, float x, float y);
    bool EndRound(CLevelShootRecord& record);
    void Judge(CLevelShootRecord& record, ShootOutcome outcome);
    void DrawSlot(const CLevelShootRecord& record, uint32_t slot);
    void DrawCounterAndLabels(const CLevelShootRecord& record);
    void DrawOverlay(const CLevelShootRecord& record);
    void RenderExplained(const CLevelShootRecord& record);

    C3DTexture* m_pTargetTexture = nullptr;
    CShootTargets m_targets;
    CShootField m_field;
    ShootTargetInfo m_info[256] = {};
    int32_t m_nExplainedEntry = -1;
};
