#pragma once
#include <cstdint>
#include <memory>

#include "game/GameTooltip.h"
#include "game/LevelAction.h"

// A step of a tooltip: the tooltip part that stands for it, the level and part that complete
// it, and the pop-up page it leaves (-1 none). 16 bytes in a description.
struct CTooltipStep {
    int32_t part;
    int32_t eventValue;
    int32_t eventObject;
    int32_t nextPage;
};

constexpr uint32_t kTooltipCompletionActions = 5;

// A tooltip: a panel of step objects that guides the player through a task on a scene. It
// slides in and out beside the toolbar; when all its steps are done it leaves its final page,
// applies its completion actions and plays its done sound, once.
class CLevelTooltip : public CGameTooltip {
public:
    CLevelTooltip(CWorldData* data, C3DEngine* engine, uint32_t id);

    // The scene object's, then both objects get their own matrix scaled to the screen.
    Result Init() override;
    // Frees the steps and the actions, then the scene object's release.
    Result Release() override;
    // Unless hidden: the first clickable, enabled part hit plays the step sound and folds or
    // unfolds the panel (RES_OK); RES_FAIL otherwise.
    Result OnClick(float x, float y) override;
    // Part states, then done, hidden, the phase, the slide state and the final page.
    Result SaveObjects(CStream* stream) override;
    Result LoadObjects(CStream* stream, uint32_t version) override;
    // ReadDescription, then "<raw>_tooltip_<id>.obj.3dx" and ".col.3dx".
    Result LoadDescription(CStream* stream) override;
    // The description without the 3D files: the scene-object block, hidden, slide state, offset,
    // steps, final page, five actions and two sounds. Refused before any allocation for a step
    // count past the stream's end, and for a step part neither -1 nor below the part count.
    Result ReadDescription(CStream* stream);
    // Prepares the step sound (unless hidden) and the done sound.
    void PlaySounds() override;
    // Every part but skipped takes its flags back from the snapshot; false.
    bool RevertPartStates(uint32_t state, uint32_t skipped) override;

    Result Update() override;
    void Reset() override;
    void PlayStepSound() override;
    bool OnObjectEvent(uint32_t value, uint32_t object) override;
    bool AllStepsDone() override;
    void Draw() override;
    void RenderObject() override;

    bool IsHidden() const override { return m_bHidden != 0; }
    void SetHidden(bool hidden) override { m_bHidden = hidden ? 1 : 0; }
    bool IsDone() const override { return m_bDone != 0; }
    uint32_t GetSlideState() const override { return m_nSlideState; }
    void SetSlideState(uint32_t state) override { m_nSlideState = state; }
    int32_t GetPendingPage() const override { return m_nPendingPage; }
    void SetPendingPage(int32_t page) override { m_nPendingPage = page; }

    float GetOffsetX() const { return m_fOffsetX; }
    uint32_t GetStepCount() const { return m_nStepCount; }
    // Null past the steps.
    const CTooltipStep* GetStep(uint32_t n) const { return n < m_nStepCount ? &m_pSteps[n] : nullptr; }
    int32_t GetFinalPage() const { return m_nFinalPage; }
    uint16_t GetDoneSound() const { return m_nDoneSound; }
    uint16_t GetStepSound() const { return m_nStepSound; }

private:
    // The display object's matrix: the screen scale, moved right by the visible share k.
    void PlacePanel(float k);

    uint8_t m_bHidden = 0;
    uint8_t m_bDone = 0;
    uint32_t m_nSlideState = kTooltipFolded;
    float m_fOffsetX = 0.0f;
    std::unique_ptr<CTooltipStep[]> m_pSteps;
    uint32_t m_nStepCount = 0;
    int32_t m_nPendingPage = kNoPopupPage;
    int32_t m_nFinalPage = kNoPopupPage;
    // record switch, show objects, hide objects, disable objects, enable objects
    std::unique_ptr<CLevelAction> m_pActions[kTooltipCompletionActions];
    uint16_t m_nDoneSound = 0xFFFF;
    uint16_t m_nStepSound = 0xFFFF;
    float m_fScale = 1.0f;
};
