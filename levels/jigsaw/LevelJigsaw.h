#pragma once
#include <cstdint>
#include <memory>

#include "levels/jigsaw/JigsawBoard.h"
#include "levels/jigsaw/JigsawRecord.h"
#include "levels/minigames/BoardGameLevel.h"

class C3DTexture;

// The tool buttons of a jigsaw level.
enum JigsawButton : uint32_t {
    kJigsawSlideSelected = 0,
    kJigsawSwapSelected = 3,
    kJigsawRotateSelected = 6,
    kJigsawFlipSelected = 9,
    kJigsawShuffleButton = 12,
    kJigsawPreviewUnlocked = 15,
    kJigsawPreviewLocked = 16,
    kJigsawSolveUnlocked = 18,
    kJigsawSolveLocked = 19,
};

// The JIGSAW mini-game: a picture cut into a grid of pieces that slide, shift, swap, turn and
// flip back into place.
class CLevelJigsaw : public CBoardGameLevel<CLevelJigsawRecord, kJigsawButtonCount, ReadJigsawRecord> {
public:
    CLevelJigsaw(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevelJigsaw() override;

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
    bool IsPlayerHelpLocked() override { return false; }
    // Once the preview and the solution are unlocked (or have no button) the hint stops recharging.
    bool IsHintRechargePaused() override;
    Result Start(uint32_t mode) override;
    Result Update() override;
    void UseHint() override;
    void BeginModal() override;
    Result UpdateModal() override;
    void RenderModal() override;
    void RenderMessage() override;
    // The developer shortcut: every piece home.
    void OnKeyShortcuts(bool control) override;

    // The pieces' quads, the frame and the cover, and the textures of the current record.
    Result BuildPieces() override;
    // Sets the buttons and mixes the board (the help buttons locked again with resetHelp).
    void Shuffle(bool resetHelp);

    const CJigsawBoard& GetCells() const { return m_cells; }
    bool IsSolved() const { return m_bSolved != 0; }
    uint16_t GetSelectedCell() const { return m_nSelectedCell; }
    bool IsButtonShown(uint32_t button) const { return button < kJigsawButtonCount && m_buttonShown[button]; }

private:
    bool ToolActive(uint32_t selectedButton, uint16_t flag) const;
    bool ButtonTakesPart(uint32_t button, uint16_t flags) const;
    void ActOnButton(uint32_t button, uint16_t flags);
    Result ClickCell(float x, float y);
    bool ReleaseShift();
    bool ReleaseSlide();
    void EndDrag();
    void OnSolved(bool reward);
    Result BuildFrameAndCover();
    void DrawPieces();
    void DrawPiece(uint32_t index, float x, float y, uint32_t colour);
    void DrawButton(uint32_t button);

    C3DObject* m_pPieces = nullptr;
    C3DObject* m_pFrame = nullptr;
    C3DObject* m_pCover = nullptr;
    C3DTexture* m_pFront = nullptr;
    C3DTexture* m_pBack = nullptr;
    CJigsawBoard m_cells;
    uint8_t m_bSolved = 0;
    uint16_t m_nSelectedCell = kNoCell;
    int32_t m_nDragColumn = -1;
    int32_t m_nDragRow = -1;
    Vector3 m_vDragOffset = {};
    Vector3 m_vLastPoint = {};
    uint8_t m_buttonShown[kJigsawButtonCount] = {};
    // The record whose grid and pictures the pieces were built for; kNoScene: none.
    uint32_t m_nBuiltRecord = kNoScene;
};
