#include "levels/jigsaw/LevelJigsaw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "core/Log.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "game/GameData.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/StreamValues.h"
#include "game/widgets/Hint.h"
#include "game/widgets/ScreenQuads.h"
#include "levels/LevelSounds.h"
#include "levels/minigames/MiniGameDescription.h"
#include "levels/minigames/MiniGameText.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kJigsawFirstVisit = 1;

// The tools in their selection order, each with its selected button (selectable: the next one,
// absent: the one after).
struct JigsawTool {
    uint16_t flag;
    uint32_t selected;
};
constexpr JigsawTool kTools[] = {{kJigsawSwap, kJigsawSwapSelected},
                                 {kJigsawSlide, kJigsawSlideSelected},
                                 {kJigsawRotate, kJigsawRotateSelected},
                                 {kJigsawFlip, kJigsawFlipSelected}};

// Tutorial steps and their texts.
constexpr uint32_t kFirstStep = 11, kLastStep = 20;
constexpr uint32_t kIntroText = 18, kFirstToolText = 19, kPreviewText = 26, kSolveText = 27;

} // namespace

CLevelJigsaw::CLevelJigsaw(CWorldData* data, C3DEngine* engine, uint32_t id)
    : CBoardGameLevel(data, engine, id, kLevelTypeJigsaw, kJigsawFirstVisit)
{
}

CLevelJigsaw::~CLevelJigsaw() = default;

Result CLevelJigsaw::Init()
{
    if (Failed(CLevelMiniGame::Init()) || !m_pEngine)
        return RES_FAIL;
    m_pPieces = MakeObject(kDisplayObjectFlagsA, kDisplayObjectFlagsB);
    m_pFrame = MakeObject(kScreenQuadFlagsA, kScreenQuadFlagsB);
    m_pCover = MakeObject(kScreenQuadFlagsA, kScreenQuadFlagsB);
    m_pFront = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    m_pBack = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    return m_pPieces && m_pFrame && m_pCover && m_pFront && m_pBack ? RES_OK : RES_FAIL;
}

Result CLevelJigsaw::Release()
{
    DestroyObject(m_pPieces);
    DestroyObject(m_pFrame);
    DestroyObject(m_pCover);
    DestroyTexture(m_pFront);
    DestroyTexture(m_pBack);
    const Result result = CBoardGameLevel::Release();
    m_nBuiltRecord = kNoScene;
    return Failed(result) ? RES_FAIL : RES_OK;
}

// ---- Pieces and drawing ----

Result CLevelJigsaw::BuildPieces()
{
    CLevelJigsawRecord* record = Record();
    if (!record || !m_pPieces || Failed(MeasureBoard(m_layout.boardPart, record->columns, record->rows)))
        return RES_FAIL;
    const uint32_t n = uint32_t{record->columns} * record->rows;
    if (Failed(ShapeQuads(m_pPieces, n)))
        return RES_FAIL;
    const float du = (m_vUVMax.x - m_vUVMin.x) / record->columns, dv = (m_vUVMax.y - m_vUVMin.y) / record->rows;
    const float rect[4] = {-m_board.cellWidth / 2, -m_board.cellHeight / 2, m_board.cellWidth / 2,
                           m_board.cellHeight / 2};
    for (uint32_t p = 0; p < n; ++p) {
        const uint32_t c = p % record->columns, r = p / record->columns;
        const float uv[4] = {m_vUVMin.x + c * du, m_vUVMin.y + r * dv, m_vUVMin.x + (c + 1) * du,
                             m_vUVMin.y + (r + 1) * dv};
        WriteQuad(m_pPieces, p, rect, uv, kWhite);
    }
    IgnoreResult(m_pPieces->Unlock(0));
    m_nBuiltRecord = m_nCurrentRecord;
    if (Failed(LoadNamedTexture(m_pFront, record->frontTextureName)) ||
        ((record->modeFlags & kJigsawFlip) && Failed(LoadNamedTexture(m_pBack, record->backTextureName))))
        return RES_FAIL;
    return BuildFrameAndCover();
}

Result CLevelJigsaw::BuildFrameAndCover()
{
    // The screen square around the board as one strip, alternating outer and board corners.
    const float outer[4][2] = {{0, 0}, {1024, 0}, {1024, 1024}, {0, 1024}};
    const float inner[4][2] = {{m_vBoardMin.x, m_vBoardMin.y},
                               {m_vBoardMax.x, m_vBoardMin.y},
                               {m_vBoardMax.x, m_vBoardMax.y},
                               {m_vBoardMin.x, m_vBoardMax.y}};
    C3DTexture* mask = m_pDisplay && m_layout.maskPart < m_nPartCount ? m_pDisplay->GetTexture(m_layout.maskPart, 0)
                                                                      : nullptr;
    IgnoreResult(m_pFrame->Release());
    if (Failed(m_pFrame->Create(1, 10, 10)) || Failed(m_pFrame->Lock()))
        return RES_FAIL;
    m_pFrame->ResetIndices();
    IgnoreResult(m_pFrame->SetPrimitiveGroup(0, 0, 10, 0, 10, 8, kPrimitiveTriangleStrip, kCullNone, kPartNumberId));
    m_pFrame->FillIndexRange(0, 10);
    for (uint32_t i = 0; i < 10; ++i) {
        const uint32_t corner = (i / 2) % 4;
        const float* p = (i & 1) ? inner[corner] : outer[corner];
        m_pFrame->SetVertex(i, p[0], p[1], 0.0f, kWhite, p[0] / 1024.0f, p[1] / 1024.0f, 0.0f, 0.0f, 0.0f, 0);
    }
    IgnoreResult(m_pFrame->SetPartTexture(mask, 0, 0));
    IgnoreResult(m_pFrame->Unlock(0));
    if (Failed(ShapeQuads(m_pCover, 1)))
        return RES_FAIL;
    const float rect[4] = {m_vBoardMin.x, m_vBoardMin.y, m_vBoardMax.x, m_vBoardMax.y};
    const float uv[4] = {rect[0] / 1024.0f, rect[1] / 1024.0f, rect[2] / 1024.0f, rect[3] / 1024.0f};
    WriteQuad(m_pCover, 0, rect, uv, kWhite);
    IgnoreResult(m_pCover->SetPartTexture(mask, 0, 0));
    IgnoreResult(m_pCover->Unlock(0));
    return RES_OK;
}

Result CLevelJigsaw::UnloadFiles()
{
    const Result result = CLevelMiniGame::UnloadFiles();
    for (C3DObject* object : {m_pPieces, m_pFrame, m_pCover}) {
        if (object) {
            IgnoreResult(object->SetTextureAll(nullptr, 0));
            IgnoreResult(object->Release());
        }
    }
    for (C3DTexture* texture : {m_pFront, m_pBack}) {
        if (texture)
            IgnoreResult(texture->Release());
    }
    m_nBuiltRecord = kNoScene;
    return result;
}

void CLevelJigsaw::DrawPiece(uint32_t index, float x, float y, uint32_t colour)
{
    const JigsawCell* cell = m_cells.Cell(index);
    if (!cell || cell->piece >= m_cells.CellCount())
        return;
    IgnoreResult(m_pPieces->SetPartTexture(cell->flipped ? m_pBack : m_pFront, cell->piece, 0));
    DrawAt(m_pPieces, cell->piece, x, y, cell->rotation, colour);
}

void CLevelJigsaw::DrawPieces()
{
    CLevelJigsawRecord* record = Record();
    if (!record || m_nBuiltRecord == kNoScene || m_cells.Columns() != m_board.columns || m_cells.Rows() != m_board.rows)
        return;
    const Vector3 t = ViewTranslation();
    const bool shifting = m_cells.Has(kJigsawShift);
    for (uint32_t c = 0; c < m_board.columns; ++c) {
        for (uint32_t r = 0; r < m_board.rows; ++r) {
            const uint32_t index = r * m_board.columns + c;
            const JigsawCell& cell = *m_cells.Cell(index);
            if (m_cells.IsHole(index))
                continue;
            float x = m_board.CentreX(c, t.x), y = m_board.CentreY(r, t.y);
            const float ox = m_vDragOffset.x, oy = m_vDragOffset.y;
            if (shifting) {
                if (m_nDragColumn != -1 && uint32_t(m_nDragColumn) == c)
                    y += oy;
                else if (m_nDragRow != -1 && uint32_t(m_nDragRow) == r)
                    x += ox;
            } else if (cell.slideDirections) {
                const uint8_t m = cell.slideDirections;
                if (((m & kSlideUp) && oy < 0) || ((m & kSlideDown) && oy > 0))
                    y += oy;
                if (((m & kSlideLeft) && ox < 0) || ((m & kSlideRight) && ox > 0))
                    x += ox;
            }
            DrawPiece(index, x, y, index == m_nSelectedCell ? record->selectColour : kWhite);
            // A shifted line is drawn again beside itself so that it wraps around.
            if (shifting && m_nDragColumn == -1 && m_nDragRow != -1 && uint32_t(m_nDragRow) == r && ox != 0)
                DrawPiece(index, x + (ox > 0 ? -1.0f : 1.0f) * m_board.columns * m_board.cellWidth, y, kWhite);
            else if (shifting && m_nDragColumn != -1 && uint32_t(m_nDragColumn) == c && oy != 0)
                DrawPiece(index, x, y + (oy > 0 ? -1.0f : 1.0f) * m_board.rows * m_board.cellHeight, kWhite);
        }
    }
}

void CLevelJigsaw::DrawButton(uint32_t button)
{
    if (m_layout.buttonParts[button] != kNoPart && m_buttonShown[button])
        DrawDisplayPart(m_layout.buttonParts[button]);
}

void CLevelJigsaw::Render()
{
    CLevelJigsawRecord* record = Record();
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!record || !scene || !m_pDisplay)
        return;
    PrepareDisplay();
    const uint32_t background[] = {11};
    DrawPhaseParts(background, 1, false);
    if (record->showPicture)
        DrawDisplayPart(m_layout.boardPart);
    DrawPieces();
    if (m_pFrame) {
        IgnoreResult(m_pFrame->SetMatrixPointer(&scene->m_matView[0]));
        IgnoreResult(m_pFrame->Render());
    }
    PrepareDisplay();
    const uint32_t notScene[] = {4, 6, 11, 12};
    DrawPhaseParts(notScene, 4, true);
    if (m_nSceneState == kSceneStateClickTargets) {
        RenderParts();
    } else {
        for (uint32_t button = 0; button < kJigsawButtonCount; ++button)
            DrawButton(button);
    }
    const CGameData* game = Game();
    if (game && game->m_bDebugCollision && !AreStarsDisabled())
        RenderStarMarker();
}

void CLevelJigsaw::RenderMessage()
{
    // The pieces, their hole and their marks are those of the record they were built for: a
    // record switch without a restart leaves them as they were.
    const auto* record = static_cast<CLevelJigsawRecord*>(GetRecord(m_nBuiltRecord));
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!record || !scene || !m_pCover || record->columns != m_board.columns || record->rows != m_board.rows)
        return;
    IgnoreResult(m_pCover->SetMatrixPointer(&scene->m_matView[0]));
    IgnoreResult(m_pCover->Render());
    const Vector3 t = ViewTranslation();
    for (uint32_t c = 0; c < m_board.columns; ++c) {
        for (uint32_t r = 0; r < m_board.rows; ++r) {
            const uint32_t index = r * m_board.columns + c;
            if (index == record->holePiece || record->columnMarks[c] || record->rowMarks[r])
                continue;
            IgnoreResult(m_pPieces->SetPartTexture(m_pFront, index, 0));
            DrawAt(m_pPieces, index, m_board.CentreX(c, t.x), m_board.CentreY(r, t.y), 0, kWhite);
        }
    }
}

// ---- Play ----

Result CLevelJigsaw::Start(uint32_t mode)
{
    if (Failed(CLevelMiniGame::Start(mode)))
        return RES_FAIL;
    m_bDone = 0;
    CLevelJigsawRecord* record = Record();
    const CLevelJigsawRecord* built = static_cast<CLevelJigsawRecord*>(GetRecord(m_nBuiltRecord));
    // A record of another grid or other pictures needs its own pieces.
    if (record && built && built != record &&
        (built->columns != record->columns || built->rows != record->rows ||
         std::strcmp(built->frontTextureName, record->frontTextureName) != 0 ||
         std::strcmp(built->backTextureName, record->backTextureName) != 0) &&
        Failed(BuildPieces()))
        return RES_FAIL;
    Shuffle(true);
    return RES_OK;
}

void CLevelJigsaw::Shuffle(bool resetHelp)
{
    CLevelJigsawRecord* record = Record();
    m_bSolved = 0;
    m_nSelectedCell = kNoCell;
    m_nSceneState = kSceneStateFresh;
    if (!record)
        return;
    std::fill(m_buttonShown, m_buttonShown + kJigsawShuffleButton, 0);
    bool selected = false;
    for (const JigsawTool& tool : kTools) {
        if (!(record->modeFlags & tool.flag)) {
            m_buttonShown[tool.selected + 2] = 1;
            continue;
        }
        m_buttonShown[tool.selected] = selected ? 0 : 1;
        m_buttonShown[tool.selected + 1] = selected ? 1 : 0;
        selected = true;
    }
    m_buttonShown[kJigsawShuffleButton] = 1;
    m_buttonShown[13] = m_buttonShown[14] = 0;
    if (resetHelp) {
        const uint8_t help[] = {0, 1, 0, 0, 1, 0};
        std::copy(help, help + 6, m_buttonShown + kJigsawPreviewUnlocked);
    }
    const JigsawRules rules{record->columns, record->rows, record->holePiece, record->modeFlags, record->shuffleCount};
    if (Failed(m_cells.Reset(rules)))
        return;
    if (!m_cells.Shuffle(m_pWorldData->random) && m_pWorldData)
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevelJigsaw::Shuffle left the board solved (record %d).\n",
                  static_cast<int>(m_nCurrentRecord));
}

bool CLevelJigsaw::ToolActive(uint32_t selectedButton, uint16_t flag) const
{
    return m_buttonShown[selectedButton] && m_cells.Has(flag);
}

Result CLevelJigsaw::OnPress(float x, float y)
{
    if (m_nSceneState == kSceneStateClickTargets)
        return RES_FAIL;
    m_cells.ClearMarks();
    m_nDragColumn = m_nDragRow = -1;
    uint32_t c = 0, r = 0;
    if (CellAt(x, y, &c, &r) && !m_cells.IsHole(r * m_board.columns + c)) {
        m_nDragColumn = static_cast<int32_t>(c);
        m_nDragRow = static_cast<int32_t>(r);
        if (ToolActive(kJigsawSlideSelected, kJigsawSlide) && !m_cells.Has(kJigsawShift))
            m_cells.MarkSlide(c, r);
    }
    m_vDragOffset = Vector3{0.0f, 0.0f, 0.0f};
    m_vLastPoint = Vector3{x, y, 0.0f};
    return RES_FAIL;
}

Result CLevelJigsaw::OnDrag(float x, float y, float)
{
    if (m_nSceneState == kSceneStateClickTargets)
        return RES_FAIL;
    const Vector3 t = ViewTranslation();
    const float left = m_board.originX + t.x, top = m_board.originY + t.y;
    x = std::clamp(x, left, left + m_board.columns * m_board.cellWidth);
    y = std::clamp(y, top, top + m_board.rows * m_board.cellHeight);
    const float dx = x - m_vLastPoint.x, dy = y - m_vLastPoint.y;
    m_vLastPoint = Vector3{x, y, 0.0f};
    m_nSelectedCell = kNoCell;
    if (!ToolActive(kJigsawSlideSelected, kJigsawSlide))
        return RES_FAIL;
    const bool horizontal = m_cells.Has(kJigsawHorizontal), vertical = m_cells.Has(kJigsawVertical);
    const bool shifting = m_cells.Has(kJigsawShift);
    if ((m_nDragColumn == -1) != (m_nDragRow == -1)) {
        if (horizontal && m_vDragOffset.x != 0.0f)
            m_vDragOffset.x += dx;
        else if (vertical && m_vDragOffset.y != 0.0f)
            m_vDragOffset.y += dy;
    } else if (m_nDragColumn != -1) {
        if (horizontal && std::fabs(dy) < std::fabs(dx)) {
            m_vDragOffset.x += dx;
            m_nDragColumn = shifting ? -1 : m_nDragColumn;
        } else if (vertical) {
            m_vDragOffset.y += dy;
            m_nDragRow = shifting ? -1 : m_nDragRow;
        }
    }
    if (!shifting) {
        m_vDragOffset.x = std::clamp(m_vDragOffset.x, -m_board.cellWidth, m_board.cellWidth);
        m_vDragOffset.y = std::clamp(m_vDragOffset.y, -m_board.cellHeight, m_board.cellHeight);
    }
    return RES_FAIL;
}

bool CLevelJigsaw::ReleaseShift()
{
    const float half = m_board.cellHeight / 2;
    if (m_vDragOffset.y >= -half && m_vDragOffset.y <= half) {
        const int32_t k = CellSteps(m_vDragOffset.x, m_board.cellWidth);
        if (k && m_nDragRow != -1)
            m_cells.ShiftRow(static_cast<uint32_t>(m_nDragRow), k);
        return k && m_nDragRow != -1;
    }
    const int32_t k = CellSteps(m_vDragOffset.y, m_board.cellHeight);
    if (k && m_nDragColumn != -1)
        m_cells.ShiftColumn(static_cast<uint32_t>(m_nDragColumn), k);
    return k && m_nDragColumn != -1;
}

bool CLevelJigsaw::ReleaseSlide()
{
    if (!ToolActive(kJigsawSlideSelected, kJigsawSlide) || m_nDragColumn == -1 || m_nDragRow == -1)
        return false;
    uint32_t hc = 0, hr = 0;
    if (!m_cells.FindHole(&hc, &hr))
        hc = hr = 0;
    const uint32_t c = static_cast<uint32_t>(m_nDragColumn), r = static_cast<uint32_t>(m_nDragRow);
    const float halfWidth = m_board.cellWidth / 2, halfHeight = m_board.cellHeight / 2;
    const bool horizontal = m_cells.Has(kJigsawHorizontal), vertical = m_cells.Has(kJigsawVertical);
    if (horizontal && m_vDragOffset.x < -halfWidth && hc + 1 < m_cells.Columns())
        return m_cells.SlideLine(c, r, true, -1);
    if (horizontal && m_vDragOffset.x > halfWidth && hc > 0)
        return m_cells.SlideLine(c, r, true, 1);
    if (vertical && m_vDragOffset.y < -halfHeight && hr + 1 < m_cells.Rows())
        return m_cells.SlideLine(c, r, false, -1);
    if (vertical && m_vDragOffset.y > halfHeight && hr > 0)
        return m_cells.SlideLine(c, r, false, 1);
    return false;
}

Result CLevelJigsaw::OnRelease(float, float)
{
    if (m_nSceneState == kSceneStateClickTargets || m_cells.CellCount() == 0)
        return RES_FAIL;
    const bool moved = m_cells.Has(kJigsawShift) ? ReleaseShift() : ReleaseSlide();
    if (m_nDragColumn != -1 || m_nDragRow != -1)
        PlayMoveSound();
    if (moved) {
        m_bSolved = m_cells.IsSolved();
        if (m_bSolved)
            OnSolved(true);
        m_nSelectedCell = kNoCell;
    }
    EndDrag();
    return RES_FAIL;
}

void CLevelJigsaw::EndDrag()
{
    m_cells.ClearMarks();
    m_nDragColumn = m_nDragRow = -1;
    m_vDragOffset = m_vLastPoint = Vector3{0.0f, 0.0f, 0.0f};
}

bool CLevelJigsaw::ButtonTakesPart(uint32_t button, uint16_t flags) const
{
    if (m_layout.buttonParts[button] == kNoPart)
        return false;
    for (const JigsawTool& tool : kTools) {
        if (button == tool.selected + 1)
            return (flags & tool.flag) != 0;
    }
    return m_buttonShown[button] != 0;
}

void CLevelJigsaw::ActOnButton(uint32_t button, uint16_t flags)
{
    for (const JigsawTool& chosen : kTools) {
        if (button != chosen.selected + 1)
            continue;
        for (const JigsawTool& tool : kTools) {
            if (flags & tool.flag) {
                m_buttonShown[tool.selected] = &tool == &chosen;
                m_buttonShown[tool.selected + 1] = &tool != &chosen;
            }
        }
        m_nSelectedCell = kNoCell;
        PlayMoveSound();
        return;
    }
    if (button == kJigsawShuffleButton) {
        Shuffle(false);
        PlayMoveSound();
    } else if (button == kJigsawPreviewUnlocked) {
        if (World())
            World()->ShowLevelMessage();
        PlayMoveSound();
    } else if (button == kJigsawSolveUnlocked) {
        m_cells.Solve();
        m_bSolved = 1;
        OnSolved(false);
    }
}

Result CLevelJigsaw::OnClick(float x, float y)
{
    if (Succeeded(CLevelMiniGame::OnClick(x, y)))
        return RES_OK;
    CLevelJigsawRecord* record = Record();
    if (m_nSceneState == kSceneStateClickTargets || !record)
        return RES_FAIL;
    for (uint32_t button = 0; button < kJigsawButtonCount; ++button) {
        if (ButtonTakesPart(button, record->modeFlags) && ButtonHit(m_layout.buttonParts[button], x, y)) {
            ActOnButton(button, record->modeFlags);
            return RES_OK;
        }
    }
    return ClickCell(x, y);
}

Result CLevelJigsaw::ClickCell(float x, float y)
{
    uint32_t c = 0, r = 0;
    if (!CellAt(x, y, &c, &r) || m_cells.IsHole(r * m_board.columns + c))
        return RES_FAIL;
    const uint32_t index = r * m_board.columns + c;
    if (index == m_nSelectedCell) {
        m_nSelectedCell = kNoCell;
        return RES_FAIL;
    }
    bool moved = false;
    if (m_nSelectedCell == kNoCell) {
        if (ToolActive(kJigsawSlideSelected, kJigsawSlide) && m_cells.Rules().holePiece != kNoHole)
            moved = m_cells.SlideIntoHole(c, r);
        else if (ToolActive(kJigsawSwapSelected, kJigsawSwap))
            m_nSelectedCell = static_cast<uint16_t>(index);
        else if ((moved = ToolActive(kJigsawRotateSelected, kJigsawRotate)))
            m_cells.Rotate(index);
        else if ((moved = ToolActive(kJigsawFlipSelected, kJigsawFlip)))
            m_cells.Flip(index);
    } else if (m_buttonShown[kJigsawSwapSelected]) {
        if (!m_cells.Has(kJigsawSwap)) {
            m_nSelectedCell = static_cast<uint16_t>(index);
        } else {
            m_cells.Swap(m_nSelectedCell, index);
            m_nSelectedCell = kNoCell;
            moved = true;
        }
    }
    if (!moved)
        return RES_FAIL;
    PlayMoveSound();
    m_bSolved = m_cells.IsSolved();
    if (m_bSolved)
        OnSolved(true);
    m_nSelectedCell = kNoCell;
    return RES_OK;
}

void CLevelJigsaw::OnSolved(bool reward)
{
    if (CLevelHost* world = World())
        world->ShowLevelMessage();
    PaySolution(reward);
}

Result CLevelJigsaw::Update()
{
    CLevelJigsawRecord* record = Record();
    if (record && m_bSolved && !IsLeaveHeld())
        Leave(record->exit);
    return RES_OK;
}

void CLevelJigsaw::UseHint()
{
    CLevelMiniGame::UseHint();
    CHint* hint = World() ? World()->GetHint() : nullptr;
    if (!m_buttonShown[kJigsawPreviewUnlocked] && m_layout.buttonParts[kJigsawPreviewUnlocked] != kNoPart) {
        if (m_buttonShown[kJigsawPreviewLocked]) {
            m_buttonShown[kJigsawPreviewUnlocked] = 1;
            m_buttonShown[kJigsawPreviewLocked] = 0;
            if (hint)
                hint->StartHint(ToVector(m_layout.buttonPositions[kJigsawPreviewUnlocked]));
        }
    } else if (m_buttonShown[kJigsawSolveLocked]) {
        m_buttonShown[kJigsawSolveUnlocked] = 1;
        m_buttonShown[kJigsawSolveLocked] = 0;
        if (hint)
            hint->StartHint(ToVector(m_layout.buttonPositions[kJigsawSolveUnlocked]));
    }
}

bool CLevelJigsaw::IsHintRechargePaused()
{
    const auto given = [this](uint32_t unlocked, uint32_t locked) {
        return m_buttonShown[unlocked] || m_layout.buttonParts[locked] == kNoPart;
    };
    return given(kJigsawPreviewUnlocked, kJigsawPreviewLocked) && given(kJigsawSolveUnlocked, kJigsawSolveLocked);
}

void CLevelJigsaw::OnKeyShortcuts(bool)
{
    m_cells.Solve();
    m_bSolved = m_cells.IsSolved();
}

// ---- Saved state ----

Result CLevelJigsaw::SaveProgress(CStream* stream)
{
    if (Failed(CLevelMiniGame::SaveProgress(stream)))
        return RES_FAIL;
    const uint32_t n = m_cells.CellCount();
    return (n == 0 || stream->Write(m_cells.Cells(), sizeof(JigsawCell), n)) && WriteValue(*stream, m_bSolved) &&
                   WriteValue(*stream, m_nSelectedCell) && stream->Write(m_buttonShown, 1, kJigsawButtonCount)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelJigsaw::LoadProgress(CStream* stream, uint32_t version)
{
    CLevelJigsawRecord* record = Record();
    if (Failed(CLevelMiniGame::LoadProgress(stream, version)) || !record)
        return RES_FAIL;
    const JigsawRules rules{record->columns, record->rows, record->holePiece, record->modeFlags, record->shuffleCount};
    CJigsawBoard board;
    uint8_t solved = 0;
    uint16_t selected = kNoCell;
    uint8_t shown[kJigsawButtonCount];
    if (Failed(board.Reset(rules)) || !stream->Read(board.Cells(), sizeof(JigsawCell), board.CellCount()) ||
        !ReadValue(*stream, solved) || !ReadValue(*stream, selected) || !stream->Read(shown, 1, kJigsawButtonCount))
        return RES_FAIL;
    // Every piece once, naming a quad, and the selection a cell.
    std::vector<uint8_t> seen(board.CellCount(), 0);
    for (uint32_t i = 0; i < board.CellCount(); ++i) {
        JigsawCell& cell = *board.Cell(i);
        if (cell.piece >= board.CellCount() || seen[cell.piece]++)
            return RES_FAIL;
        cell.rotation &= 3;
        cell.flipped = cell.flipped ? 1 : 0;
        cell.slideDirections = 0;
    }
    if (selected != kNoCell && selected >= board.CellCount())
        return RES_FAIL;
    board.Refresh();
    m_cells = std::move(board);
    m_bSolved = solved ? 1 : 0;
    m_nSelectedCell = selected;
    std::copy(shown, shown + kJigsawButtonCount, m_buttonShown);
    return RES_OK;
}

// ---- Tutorial ----

void CLevelJigsaw::BeginModal()
{
    if (CLevelJigsawRecord* record = Record())
        BeginTutorial(kFirstStep, kIntroText, record->exit.hintReward);
}

Result CLevelJigsaw::UpdateModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CLevelJigsawRecord* record = Record();
    if (!game || !world || !record)
        return RES_FAIL;
    uint32_t& step = game->m_nTutorialStep;
    const uint16_t flags = record->modeFlags;
    const bool skips[] = {
        AreStarsDisabled(),                                          // 12 stars
        !(flags & kJigsawSwap),                                      // 13 swap
        !(flags & kJigsawSlide) || (flags & kJigsawShift),           // 14 slide
        !(flags & kJigsawShift),                                     // 15 shifting
        !(flags & kJigsawRotate),                                    // 16 rotate
        !(flags & kJigsawFlip),                                      // 17 flip
        false,                                                       // 18 shuffle
        m_layout.buttonParts[kJigsawPreviewUnlocked] == kNoPart,     // 19 preview
        m_layout.buttonParts[kJigsawSolveUnlocked] == kNoPart,       // 20 solve
    };
    while (step > kFirstStep && step <= kLastStep && skips[step - kFirstStep - 1])
        ++step;
    CPopupText* popup = world->GetTutorialPopup();
    if (step > kLastStep || !popup)
        return RES_FAIL;
    if (step <= 18) {
        popup->SetText(game->m_TutorialTable[kFirstToolText + (step - 12)], 0);
    } else {
        const int32_t number[] = {step == 19 ? 1 : 2};
        popup->SetTextFormat(game->m_TutorialTable[step == 19 ? kPreviewText : kSolveText], 0, number, 1);
    }
    popup->OnTextNext();
    return RES_OK;
}

void CLevelJigsaw::RenderModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CLevelJigsawRecord* record = Record();
    if (!game || !world || !record || !m_pDisplay)
        return;
    PrepareDisplay();
    IgnoreResult(m_pDisplay->Render());
    const uint32_t step = game->m_nTutorialStep;
    if (step == kFirstStep) {
        RenderIntroText(m_pWorldData, world->GetTutorialPopup(), record->exit.hintReward != 0);
        return;
    }
    if (step == 12) {
        RenderModalMessage();
        return;
    }
    const uint32_t buttons[] = {kJigsawSwapSelected, kJigsawSlideSelected, kJigsawSlideSelected,
                                kJigsawRotateSelected, kJigsawFlipSelected, kJigsawShuffleButton,
                                kJigsawPreviewUnlocked, kJigsawSolveUnlocked};
    if (step >= 13 && step <= kLastStep) {
        const uint32_t button = buttons[step - 13];
        DrawPartAtZoomedPoint(m_layout.buttonParts[button], m_layout.buttonPositions[button]);
    }
    if (CPopupText* popup = world->GetTutorialPopup())
        IgnoreResult(popup->Render());
}
