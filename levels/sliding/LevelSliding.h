#pragma once
#include <cstdint>
#include <memory>

#include "levels/minigames/BoardGameLevel.h"
#include "levels/sliding/SlidingBoard.h"
#include "levels/sliding/SlidingRecord.h"

class C3DTexture;

enum SlidingButton : uint32_t {
    kSlidingRestart = 0,
    kSlidingEasyUnlocked = 3,
    kSlidingEasyLocked = 4,
    kSlidingEasyUsed = 5,
    kSlidingSkipUnlocked = 6,
    kSlidingSkipLocked = 7,
};

// The SLIDING mini-game: pieces of one or more cells slide along rows or columns until the key
// piece covers its targets; it then slides off the board and the level leads on.
class CLevelSliding : public CBoardGameLevel<CLevelSlidingRecord, kSlidingButtonCount, ReadSlidingRecord> {
public:
    CLevelSliding(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevelSliding() override;

    Result Init() override;
    Result Release() override;
    void Render() override;
    Result OnPress(float x, float y) override;
    Result OnDrag(float x, float y, float delta) override;
    Result OnRelease(float x, float y) override;
    Result OnClick(float x, float y) override;
    Result UnloadFiles() override;
    Result SaveProgress(CStream* stream) override;
    Result LoadProgress(CStream* stream, uint32_t version) override;
    bool IsPlayerHelpLocked() override { return m_bSolved != 0; }
    // Once the easier layout (unlocked or in use) and the skip are given, or have no button, the
    // hint stops recharging.
    bool IsHintRechargePaused() override;
    Result Start(uint32_t mode) override;
    Result Update() override;
    void UseHint() override;
    void BeginModal() override;
    Result UpdateModal() override;
    void RenderModal() override;
    void RenderMessage() override;
    // The developer shortcut: the level counts as done.
    void OnKeyShortcuts(bool control) override;

    // The board of the layout in use again (the help buttons locked again with resetHelp).
    void Setup(bool resetHelp);
    Result BuildPieces() override;

    const CSlidingBoard& GetCells() const { return m_cells; }
    bool IsSolved() const { return m_bSolved != 0; }
    bool IsExitDone() const { return m_bExitDone != 0; }
    bool IsEasyLayout() const { return m_bEasyLayout != 0; }
    bool IsButtonShown(uint32_t button) const { return button < kSlidingButtonCount && m_buttonShown[button]; }
    int32_t GetDragX() const { return m_nDragX; }
    int32_t GetDragY() const { return m_nDragY; }

private:
    SlidingRules Rules(const CLevelSlidingRecord& record) const;
    bool BoardSolved(const CLevelSlidingRecord& record) const;
    int32_t DraggedCell() const { return m_nDragX != -1 ? m_nDragX : m_nDragY; }
    void ActOnButton(uint32_t button);
    void EndDrag();
    void DrawCells();

    C3DObject* m_pPieces = nullptr;
    C3DObject* m_pCover = nullptr;
    C3DTexture* m_pPicture = nullptr;
    CSlidingBoard m_cells;
    uint8_t m_bEasyLayout = 0;
    uint8_t m_bExitDone = 0;
    uint8_t m_bSolved = 0;
    int32_t m_nDragX = -1;
    int32_t m_nDragY = -1;
    Vector3 m_vDragOffset = {};
    Vector3 m_vLastPoint = {};
    Vector2 m_vRangeMin = {};
    Vector2 m_vRangeMax = {};
    uint8_t m_buttonShown[kSlidingButtonCount] = {};
    float m_fExitPhase = 0.0f;
};
