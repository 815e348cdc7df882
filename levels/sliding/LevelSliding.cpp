#include "levels/sliding/LevelSliding.h"

#include <algorithm>
#include <cmath>
#include <new>

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
constexpr uint32_t kSlidingFirstVisit = 3;
constexpr float kExitSpeed = 0.05f;

// Tutorial steps and their texts.
constexpr uint32_t kFirstStep = 28, kLastStep = 32;
constexpr uint32_t kIntroText = 35, kFirstText = 36;

} // namespace

CLevelSliding::CLevelSliding(CWorldData* data, C3DEngine* engine, uint32_t id)
    : CBoardGameLevel(data, engine, id, kLevelTypeSliding, kSlidingFirstVisit)
{
}

CLevelSliding::~CLevelSliding() = default;

Result CLevelSliding::Init()
{
    if (Failed(CLevelMiniGame::Init()) || !m_pEngine)
        return RES_FAIL;
    m_pPieces = MakeObject(kDisplayObjectFlagsA, kDisplayObjectFlagsB);
    m_pCover = MakeObject(kScreenQuadFlagsA, kScreenQuadFlagsB);
    m_pPicture = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    return m_pPieces && m_pCover && m_pPicture ? RES_OK : RES_FAIL;
}

Result CLevelSliding::Release()
{
    if (m_pPieces)
        IgnoreResult(m_pPieces->SetTextureAll(nullptr, 0));
    DestroyObject(m_pPieces);
    DestroyObject(m_pCover);
    DestroyTexture(m_pPicture);
    const Result result = CBoardGameLevel::Release();
    m_cells = CSlidingBoard{};
    return Failed(result) ? RES_FAIL : RES_OK;
}

SlidingRules CLevelSliding::Rules(const CLevelSlidingRecord& r) const
{
    return SlidingRules{r.shapes.get(), r.shapeCount, r.gridColumns, r.gridRows,
                        uint32_t{r.pictureColumns} * r.pictureRows};
}

bool CLevelSliding::BoardSolved(const CLevelSlidingRecord& record) const
{
    // A board of another record's grid is not this record's solution.
    return m_cells.CellCount() == uint32_t{record.gridColumns} * record.gridRows &&
           m_cells.IsSolved(record.layouts[m_bEasyLayout ? 1 : 0].get());
}

// ---- Pieces and drawing ----

Result CLevelSliding::BuildPieces()
{
    CLevelSlidingRecord* record = Record();
    if (!record || !m_pPieces || !m_pCover ||
        Failed(MeasureBoard(m_layout.boardPart, record->gridColumns, record->gridRows)) ||
        Failed(ShapeQuads(m_pCover, 1)))
        return RES_FAIL;
    const float board[4] = {m_vBoardMin.x, m_vBoardMin.y, m_vBoardMax.x, m_vBoardMax.y};
    const float boardUV[4] = {board[0] / 1024.0f, board[1] / 1024.0f, board[2] / 1024.0f, board[3] / 1024.0f};
    WriteQuad(m_pCover, 0, board, boardUV, kWhite);
    C3DTexture* mask = m_pDisplay && m_layout.maskPart < m_nPartCount ? m_pDisplay->GetTexture(m_layout.maskPart, 0)
                                                                      : nullptr;
    IgnoreResult(m_pCover->SetPartTexture(mask, 0, 0));
    IgnoreResult(m_pCover->Unlock(0));
    if (Failed(LoadNamedTexture(m_pPicture, record->pictureName)))
        return RES_FAIL;
    IgnoreResult(m_pPieces->SetTextureAll(nullptr, 0));
    const uint32_t tiles = uint32_t{record->pictureColumns} * record->pictureRows;
    if (Failed(ShapeQuads(m_pPieces, tiles)))
        return RES_FAIL;
    const float du = (m_vUVMax.x - m_vUVMin.x) / record->pictureColumns;
    const float dv = (m_vUVMax.y - m_vUVMin.y) / record->pictureRows;
    const float rect[4] = {-m_board.cellWidth / 2, -m_board.cellHeight / 2, m_board.cellWidth / 2,
                           m_board.cellHeight / 2};
    for (uint32_t part = 0; part < tiles; ++part) {
        if (!record->tileMap[part])
            continue;
        const uint32_t tx = part % record->pictureColumns, ty = part / record->pictureColumns;
        const float uv[4] = {m_vUVMin.x + tx * du, m_vUVMin.y + ty * dv, m_vUVMin.x + (tx + 1) * du,
                             m_vUVMin.y + (ty + 1) * dv};
        WriteQuad(m_pPieces, part, rect, uv, kWhite);
    }
    IgnoreResult(m_pPieces->SetTextureAll(m_pPicture, 0));
    IgnoreResult(m_pPieces->Unlock(0));
    return RES_OK;
}

Result CLevelSliding::UnloadFiles()
{
    const Result result = CLevelMiniGame::UnloadFiles();
    if (m_pPieces) {
        IgnoreResult(m_pPieces->SetTextureAll(nullptr, 0));
        IgnoreResult(m_pPieces->Release());
    }
    if (m_pPicture)
        IgnoreResult(m_pPicture->Release());
    if (m_pCover)
        IgnoreResult(m_pCover->Release());
    return result;
}

void CLevelSliding::DrawCells()
{
    CLevelSlidingRecord* record = Record();
    if (!record || m_cells.Columns() != m_board.columns || m_cells.Rows() != m_board.rows)
        return;
    const Vector3 t = ViewTranslation();
    const SlidingCell* dragged = DraggedCell() != -1 ? m_cells.Cell(static_cast<uint32_t>(DraggedCell())) : nullptr;
    const uint32_t direction = record->exitDirections[m_bEasyLayout ? 1 : 0];
    const uint32_t tiles = uint32_t{record->pictureColumns} * record->pictureRows;
    for (uint32_t c = 0; c < m_board.columns; ++c) {
        for (uint32_t r = 0; r < m_board.rows; ++r) {
            const SlidingCell& cell = *m_cells.Cell(r * m_board.columns + c);
            const bool key = (cell.flags & kSlidingKey) != 0;
            if (cell.tile == kEmptyTile || static_cast<uint32_t>(cell.tile) >= tiles || (key && m_bExitDone))
                continue;
            float x = m_board.CentreX(c, t.x), y = m_board.CentreY(r, t.y);
            uint32_t colour = kWhite;
            if (dragged && dragged->pieceId == cell.pieceId)
                x += m_vDragOffset.x, y += m_vDragOffset.y;
            if (m_bSolved && key) {
                const float along[5][2] = {{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}};
                const uint32_t d = direction <= 4 ? direction : 0;
                x += along[d][0] * m_fExitPhase * m_board.cellWidth;
                y += along[d][1] * m_fExitPhase * m_board.cellHeight;
                const uint32_t alpha = std::clamp(static_cast<uint32_t>((1.0f - m_fExitPhase) * 255.0f), 0u, 255u);
                colour = (alpha << 24) | 0xFFFFFFu;
            }
            DrawAt(m_pPieces, static_cast<uint32_t>(cell.tile), x, y, 0, colour);
        }
    }
}

void CLevelSliding::Render()
{
    if (!Record() || !m_pDisplay || !m_pPieces)
        return;
    PrepareDisplay();
    const uint32_t background[] = {11};
    DrawPhaseParts(background, 1, false);
    DrawCells();
    PrepareDisplay();
    if (m_nSceneState == kSceneStateClickTargets) {
        RenderParts();
    } else {
        for (uint32_t button = 0; button < kSlidingButtonCount; ++button) {
            if (m_buttonShown[button] && m_layout.buttonParts[button] != kNoPart)
                DrawDisplayPart(m_layout.buttonParts[button]);
        }
    }
    const CGameData* game = Game();
    if (game && game->m_bDebugCollision && !AreStarsDisabled())
        RenderStarMarker();
}

void CLevelSliding::RenderMessage()
{
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!scene || !m_pCover)
        return;
    IgnoreResult(m_pCover->SetMatrixPointer(&scene->m_matView[0]));
    IgnoreResult(m_pCover->Render());
    PrepareDisplay();
}

// ---- Play ----

void CLevelSliding::Setup(bool resetHelp)
{
    m_bExitDone = 0;
    m_bSolved = 0;
    m_fExitPhase = 0.0f;
    m_nSceneState = kSceneStateFresh;
    m_buttonShown[0] = 1;
    m_buttonShown[1] = m_buttonShown[2] = 0;
    if (resetHelp) {
        const uint8_t help[] = {0, 1, 0, 0, 1, 0};
        std::copy(help, help + 6, m_buttonShown + kSlidingEasyUnlocked);
    }
    CLevelSlidingRecord* record = Record();
    if (record && Failed(m_cells.Reset(Rules(*record), record->layouts[m_bEasyLayout ? 1 : 0].get())))
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevelSliding::Setup failed! no memory for the board\n");
}

Result CLevelSliding::Start(uint32_t mode)
{
    if (Failed(CLevelMiniGame::Start(mode)))
        return RES_FAIL;
    m_bDone = 0;
    m_bEasyLayout = 0;
    Setup(true);
    return BuildPieces();
}

Result CLevelSliding::OnPress(float x, float y)
{
    if (m_nSceneState == kSceneStateClickTargets || m_bSolved)
        return RES_FAIL;
    EndDrag();
    uint32_t c = 0, r = 0;
    if (CellAt(x, y, &c, &r) && c < m_cells.Columns() && r < m_cells.Rows()) {
        const uint32_t index = r * m_cells.Columns() + c;
        int32_t lo[2], hi[2];
        m_cells.MoveRange(c, r, lo, hi);
        m_vRangeMin = Vector2{lo[0] * m_board.cellWidth, lo[1] * m_board.cellHeight};
        m_vRangeMax = Vector2{hi[0] * m_board.cellWidth, hi[1] * m_board.cellHeight};
        if (lo[0] || hi[0])
            m_nDragX = static_cast<int32_t>(index);
        if (lo[1] || hi[1])
            m_nDragY = static_cast<int32_t>(index);
    }
    m_vLastPoint = Vector3{x, y, 0.0f};
    return RES_FAIL;
}

Result CLevelSliding::OnDrag(float x, float y, float)
{
    if (m_nSceneState == kSceneStateClickTargets || m_bSolved)
        return RES_FAIL;
    const Vector3 t = ViewTranslation();
    const float left = m_board.originX + t.x, top = m_board.originY + t.y;
    x = std::clamp(x, left, left + m_board.columns * m_board.cellWidth);
    y = std::clamp(y, top, top + m_board.rows * m_board.cellHeight);
    const float dx = x - m_vLastPoint.x, dy = y - m_vLastPoint.y;
    m_vLastPoint = Vector3{x, y, 0.0f};
    const SlidingShape* shape = DraggedCell() != -1 ? m_cells.ShapeOf(static_cast<uint32_t>(DraggedCell())) : nullptr;
    if (!shape)
        return RES_FAIL;
    if ((m_vRangeMin.x != 0.0f || m_vRangeMax.x != 0.0f) && (shape->moveFlags & kSlideAlongRows) &&
        std::fabs(dx) > std::fabs(dy) && m_nDragX != -1) {
        m_vDragOffset.x = std::clamp(m_vDragOffset.x + dx, m_vRangeMin.x, m_vRangeMax.x);
        m_nDragY = -1;
    } else if ((m_vRangeMin.y != 0.0f || m_vRangeMax.y != 0.0f) && (shape->moveFlags & kSlideAlongColumns) &&
               m_nDragY != -1) {
        m_vDragOffset.y = std::clamp(m_vDragOffset.y + dy, m_vRangeMin.y, m_vRangeMax.y);
        m_nDragX = -1;
    }
    return RES_FAIL;
}

Result CLevelSliding::OnRelease(float, float)
{
    CLevelSlidingRecord* record = Record();
    if (m_nSceneState == kSceneStateClickTargets || m_bSolved || !record)
        return RES_FAIL;
    const float half = m_board.cellHeight / 2;
    int32_t sx = 0, sy = 0;
    if (m_vDragOffset.y >= -half && m_vDragOffset.y <= half)
        sx = CellSteps(m_vDragOffset.x, m_board.cellWidth);
    else
        sy = CellSteps(m_vDragOffset.y, m_board.cellHeight);
    const int32_t dragged = DraggedCell();
    const bool moved = (sx || sy) && dragged != -1 &&
                       m_cells.CanMove(static_cast<uint32_t>(dragged), sx, sy);
    if (moved)
        m_cells.Move(static_cast<uint32_t>(dragged), sx, sy);
    if (dragged != -1)
        PlayMoveSound();
    if (moved) {
        m_bSolved = BoardSolved(*record);
        if (m_bSolved)
            PaySolution(m_bEasyLayout == 0);
    }
    EndDrag();
    return RES_FAIL;
}

void CLevelSliding::EndDrag()
{
    m_nDragX = m_nDragY = -1;
    m_vDragOffset = m_vLastPoint = Vector3{0.0f, 0.0f, 0.0f};
    m_vRangeMin = m_vRangeMax = Vector2{0.0f, 0.0f};
}

void CLevelSliding::ActOnButton(uint32_t button)
{
    if (button == kSlidingRestart) {
        Setup(false);
        PlayMoveSound();
    } else if (button == kSlidingEasyUnlocked) {
        m_buttonShown[kSlidingEasyUnlocked] = 0;
        m_bEasyLayout = 1;
        m_buttonShown[kSlidingEasyLocked] = 0;
        m_buttonShown[kSlidingEasyUsed] = 1;
        Setup(false);
        PlayMoveSound();
    } else if (button == kSlidingSkipUnlocked) {
        m_bExitDone = 1;
        PlayMoveSound();
    }
}

Result CLevelSliding::OnClick(float x, float y)
{
    if (Succeeded(CLevelMiniGame::OnClick(x, y)))
        return RES_OK;
    if (m_nSceneState == kSceneStateClickTargets || m_bSolved)
        return RES_FAIL;
    for (uint32_t button = 0; button < kSlidingButtonCount; ++button) {
        if (m_buttonShown[button] && m_layout.buttonParts[button] != kNoPart &&
            ButtonHit(m_layout.buttonParts[button], x, y)) {
            ActOnButton(button);
            return RES_OK;
        }
    }
    return RES_FAIL;
}

Result CLevelSliding::Update()
{
    CLevelSlidingRecord* record = Record();
    if (!record)
        return RES_OK;
    if (IsLeaveHeld() || !m_bExitDone) {
        if (m_bSolved) {
            m_fExitPhase += static_cast<float>(m_pWorldData->frameFactor) * kExitSpeed;
            if (m_fExitPhase > 1.0f) {
                m_bExitDone = 1;
                m_fExitPhase = 0.0f;
            }
        }
        return RES_OK;
    }
    Leave(record->exit);
    return RES_OK;
}

void CLevelSliding::UseHint()
{
    CLevelMiniGame::UseHint();
    CHint* hint = World() ? World()->GetHint() : nullptr;
    if (!m_buttonShown[kSlidingEasyUnlocked] && !m_buttonShown[kSlidingEasyUsed] &&
        m_layout.buttonParts[kSlidingEasyUnlocked] != kNoPart) {
        if (m_buttonShown[kSlidingEasyLocked]) {
            m_buttonShown[kSlidingEasyUnlocked] = 1;
            m_buttonShown[kSlidingEasyLocked] = 0;
            if (hint)
                hint->StartHint(ToVector(m_layout.buttonPositions[kSlidingEasyUnlocked]));
        }
    } else if (m_buttonShown[kSlidingSkipLocked]) {
        m_buttonShown[kSlidingSkipUnlocked] = 1;
        m_buttonShown[kSlidingSkipLocked] = 0;
        if (hint)
            hint->StartHint(ToVector(m_layout.buttonPositions[kSlidingSkipUnlocked]));
    }
}

bool CLevelSliding::IsHintRechargePaused()
{
    const bool easyGiven = m_buttonShown[kSlidingEasyUnlocked] || m_buttonShown[kSlidingEasyUsed] ||
                           m_layout.buttonParts[kSlidingEasyLocked] == kNoPart;
    const bool skipGiven = m_buttonShown[kSlidingSkipUnlocked] || m_layout.buttonParts[kSlidingSkipLocked] == kNoPart;
    return easyGiven && skipGiven;
}

void CLevelSliding::OnKeyShortcuts(bool) { m_bDone = 1; }

// ---- Saved state ----

Result CLevelSliding::SaveProgress(CStream* stream)
{
    if (Failed(CLevelMiniGame::SaveProgress(stream)))
        return RES_FAIL;
    // The exit counts as done in the save only once the board is solved.
    const uint8_t exitDone = m_bExitDone && m_bSolved ? 1 : 0;
    const uint32_t n = m_cells.CellCount();
    return (n == 0 || stream->Write(m_cells.Cells(), sizeof(SlidingCell), n)) && WriteValue(*stream, m_bEasyLayout) &&
                   WriteValue(*stream, exitDone) && stream->Write(m_buttonShown, 1, kSlidingButtonCount)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelSliding::LoadProgress(CStream* stream, uint32_t version)
{
    CLevelSlidingRecord* record = Record();
    if (Failed(CLevelMiniGame::LoadProgress(stream, version)) || !record)
        return RES_FAIL;
    const SlidingRules rules = Rules(*record);
    const uint32_t n = uint32_t{rules.columns} * rules.rows;
    std::unique_ptr<SlidingCell[]> cells(new (std::nothrow) SlidingCell[n ? n : 1]);
    uint8_t easy = 0, exitDone = 0, shown[kSlidingButtonCount];
    if (!cells || (n && !stream->Read(cells.get(), sizeof(SlidingCell), n)) || !ReadValue(*stream, easy) ||
        !ReadValue(*stream, exitDone) || !stream->Read(shown, 1, kSlidingButtonCount) ||
        !SlidingLayoutValid(rules, cells.get()) || Failed(m_cells.Reset(rules, cells.get())))
        return RES_FAIL;
    m_bEasyLayout = easy ? 1 : 0;
    m_bExitDone = exitDone ? 1 : 0;
    std::copy(shown, shown + kSlidingButtonCount, m_buttonShown);
    m_bSolved = BoardSolved(*record);
    return RES_OK;
}

// ---- Tutorial ----

void CLevelSliding::BeginModal()
{
    if (CLevelSlidingRecord* record = Record())
        BeginTutorial(kFirstStep, kIntroText, record->exit.hintReward);
}

Result CLevelSliding::UpdateModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return RES_FAIL;
    uint32_t& step = game->m_nTutorialStep;
    if (step == 29 && AreStarsDisabled())
        step = 30;
    if (step == 31 && m_layout.buttonParts[kSlidingEasyUnlocked] == kNoPart)
        step = 32;
    if (step == 32 && m_layout.buttonParts[kSlidingSkipUnlocked] == kNoPart)
        step = 33;
    CPopupText* popup = world->GetTutorialPopup();
    if (step <= kFirstStep || step > kLastStep || !popup)
        return RES_FAIL;
    const uint32_t text = game->m_TutorialTable[kFirstText + (step - 29)];
    if (step >= 31) {
        const int32_t number[] = {step == 31 ? 1 : 2};
        popup->SetTextFormat(text, 0, number, 1);
    } else {
        popup->SetText(text, 0);
    }
    popup->OnTextNext();
    return RES_OK;
}

void CLevelSliding::RenderModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CLevelSlidingRecord* record = Record();
    if (!game || !world || !record)
        return;
    const uint32_t step = game->m_nTutorialStep;
    if (step == kFirstStep) {
        RenderIntroText(m_pWorldData, world->GetTutorialPopup(), record->exit.hintReward != 0);
        return;
    }
    if (step == 29) {
        RenderModalMessage();
        return;
    }
    const uint32_t buttons[] = {kSlidingRestart, kSlidingEasyUnlocked, kSlidingSkipUnlocked};
    if (step >= 30 && step <= kLastStep) {
        const uint32_t button = buttons[step - 30];
        DrawPartAtZoomedPoint(m_layout.buttonParts[button], m_layout.buttonPositions[button]);
    }
    if (CPopupText* popup = world->GetTutorialPopup())
        IgnoreResult(popup->Render());
}
