#include "levels/minigames/LevelMiniGame.h"

#include "base/StringHelpers.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/GameStates.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/widgets/Hint.h"
#include "levels/LevelSounds.h"

namespace {

constexpr uint32_t kButtonPhase = 4;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kQuarterTurn = 1.5707964f;

} // namespace

CLevelMiniGame::CLevelMiniGame(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type,
                               uint32_t firstVisitIndex)
    : CLevel(data, engine, id)
{
    m_nType = type;
    m_nFirstVisitIndex = firstVisitIndex;
}

void CLevelMiniGame::OnLeave()
{
    CLevelRecord* record = CurrentRecord();
    if (record && !m_bDone)
        QueuePopup(record->leavePopup);
}

bool CLevelMiniGame::CellAt(float x, float y, uint32_t* column, uint32_t* row) const
{
    const Vector3 t = ViewTranslation();
    return m_board.CellAt(x, y, t.x, t.y, column, row);
}

Result CLevelMiniGame::MeasureBoard(uint32_t boardPart, uint32_t columns, uint32_t rows)
{
    if (!m_pDisplay || boardPart >= m_nPartCount || columns == 0 || rows == 0 ||
        Failed(m_pDisplay->GetPartBoundingBox(boardPart, &m_vBoardMin, &m_vBoardMax, 1)) ||
        Failed(m_pDisplay->GetPartUVBounds(boardPart, &m_vUVMin, &m_vUVMax)))
        return RES_FAIL;
    CLevelHost* world = World();
    const float s =
        world ? world->GetFitZoomRatio(m_fRefWidth, m_fRefHeight, IsToolbarHeightIgnored(), IsToolbarHidden()) : 1.0f;
    m_board.columns = columns;
    m_board.rows = rows;
    m_board.cellWidth = (m_vBoardMax.x - m_vBoardMin.x) / columns * s;
    m_board.cellHeight = (m_vBoardMax.y - m_vBoardMin.y) / rows * s;
    m_board.originX = m_vBoardMin.x * s;
    m_board.originY = m_vBoardMin.y * s;
    return RES_OK;
}

Vector3 CLevelMiniGame::ViewTranslation() const
{
    const CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!scene)
        return Vector3{0.0f, 0.0f, 0.0f};
    const Matrix4& view = scene->m_matView[0];
    return Vector3{view.m[12], view.m[13], view.m[14]};
}

bool CLevelMiniGame::IsLeaveHeld() const
{
    const CLevelHost* world = World();
    if (!world)
        return true;
    return world->AreLevelObjectsBusy() || m_bTimerShown || world->GetState() == GS_LEVEL_MESSAGE ||
           world->GetPendingState() == GS_LEVEL_MESSAGE;
}

void CLevelMiniGame::Leave(const CMiniGameExit& exit)
{
    CLevelHost* world = World();
    if (exit.nextScene != kNoScene && world) {
        if (exit.nextScene == world->GetSceneCount())
            EndLevel();
        else
            world->GoToScene(exit.nextScene);
    } else if (exit.reloadArgument != kNoScene && world) {
        world->ReloadSceneWithArgument(exit.reloadArgument);
    } else {
        m_nSceneState = kSceneStateClickTargets;
    }
}

void CLevelMiniGame::PrepareSound(uint16_t sound) { PrepareBankSound(m_pWorldData, sound, 0); }

void CLevelMiniGame::PlaySounds()
{
    CLevel::PlaySounds();
    if (const CMiniGameExit* exit = CurrentExit()) {
        PrepareSound(exit->moveSound);
        PrepareSound(exit->solvedSound);
    }
}

void CLevelMiniGame::PlayMoveSound()
{
    if (const CMiniGameExit* exit = CurrentExit())
        PlayLoadedBankSound(m_pWorldData, exit->moveSound);
}

void CLevelMiniGame::PaySolution(bool reward)
{
    const CMiniGameExit* exit = CurrentExit();
    CHint* hint = World() ? World()->GetHint() : nullptr;
    if (reward && hint && exit)
        hint->AddHints(exit->hintReward);
    if (exit)
        PlayLoadedBankSound(m_pWorldData, exit->solvedSound);
}

void CLevelMiniGame::BeginTutorial(uint32_t step, uint32_t text, int32_t number)
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return;
    game->m_nTutorialStep = step;
    if (CPopupText* popup = world->GetTutorialPopup()) {
        const int32_t numbers[] = {number, world->GetHint() ? world->GetHint()->GetMaxCount() : 0};
        popup->SetTextFormat(game->m_TutorialTable[text], 0, numbers, 2);
        popup->OnTextNext();
    }
}

bool CLevelMiniGame::ButtonHit(uint32_t part, float x, float y)
{
    const ScenePart* scenePart = GetPart(part);
    return scenePart && scenePart->phase == kButtonPhase && (scenePart->flags & kPartClickable) &&
           !(scenePart->flags & kPartWaiting) && Succeeded(HitTestPart(part, x, y));
}

void CLevelMiniGame::PrepareDisplay()
{
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!m_pDisplay || !scene)
        return;
    IgnoreResult(m_pDisplay->SetMatrixPointer(&scene->m_matView[0]));
    m_pDisplay->SetColor(kWhite);
}

void CLevelMiniGame::DrawDisplayPart(uint32_t part)
{
    if (m_pDisplay && part < m_nPartCount)
        IgnoreResult(m_pDisplay->RenderPart(part));
}

void CLevelMiniGame::DrawPartAtZoomedPoint(uint32_t part, const CPoint3& point)
{
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    CLevelHost* world = World();
    if (!m_pDisplay || !scene || !world || part >= m_nPartCount)
        return;
    const float zoom = world->GetSceneZoom();
    Matrix4 placed = scene->m_matView[0];
    placed.m[12] = zoom * point.x - (placed.m[0] * point.x + placed.m[4] * point.y);
    placed.m[13] = zoom * point.y - (placed.m[1] * point.x + placed.m[5] * point.y);
    IgnoreResult(m_pDisplay->UseOwnMatrix());
    IgnoreResult(m_pDisplay->SetMatrix(&placed));
    m_pDisplay->SetColor(kWhite);
    IgnoreResult(m_pDisplay->RenderPart(part));
    PrepareDisplay();
}

void CLevelMiniGame::DrawPhaseParts(const uint32_t* phases, uint32_t count, bool except)
{
    for (uint32_t part = 0; part < m_nPartCount; ++part) {
        bool listed = false;
        for (uint32_t i = 0; i < count; ++i)
            listed = listed || m_pParts[part].phase == phases[i];
        if (listed != except)
            DrawDisplayPart(part);
    }
}

C3DObject* CLevelMiniGame::MakeObject(uint32_t flagsA, uint32_t flagsB)
{
    return m_pEngine ? m_pEngine->CreateObject(flagsA, flagsB) : nullptr;
}

Result CLevelMiniGame::ShapeQuads(C3DObject* object, uint32_t parts)
{
    if (!object)
        return RES_FAIL;
    IgnoreResult(object->Release());
    if (Failed(object->Create(parts, 4 * parts, 4 * parts)) || Failed(object->Lock()))
        return RES_FAIL;
    object->ResetIndices();
    for (uint32_t i = 0; i < parts; ++i) {
        IgnoreResult(
            object->SetPrimitiveGroup(i, 4 * i, 4, 4 * i, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId));
        object->FillIndexRange(4 * i, 4);
    }
    return RES_OK;
}

void CLevelMiniGame::WriteQuad(C3DObject* object, uint32_t part, const float rect[4], const float uv[4],
                               uint32_t colour)
{
    for (uint32_t corner = 0; corner < 4; ++corner) {
        const bool right = corner >= 2, bottom = corner & 1;
        object->SetVertex(4 * part + corner, right ? rect[2] : rect[0], bottom ? rect[3] : rect[1], 0.0f, colour,
                          right ? uv[2] : uv[0], bottom ? uv[3] : uv[1], 0.0f, 0.0f, 0.0f, 0);
    }
}

void CLevelMiniGame::DrawAt(C3DObject* object, uint32_t part, float x, float y, uint32_t turns, uint32_t colour)
{
    const Vector3 at{x, y, 0.0f};
    IgnoreResult(object->UseOwnMatrix());
    IgnoreResult(object->Identity());
    IgnoreResult(object->Translate(&at));
    if (turns)
        IgnoreResult(object->RotateZ(static_cast<float>(turns) * kQuarterTurn));
    object->SetColor(colour);
    IgnoreResult(object->RenderPart(part));
}

Result CLevelMiniGame::LoadNamedTexture(C3DTexture* texture, const char* name)
{
    if (!name[0])
        return RES_OK;
    char16_t wide[kNameBytes];
    WidenString(name, wide, kNameBytes);
    return texture && Succeeded(AutoLoadTexture(2, texture, wide, m_pWorldData)) ? RES_OK : RES_FAIL;
}

void CLevelMiniGame::DestroyObject(C3DObject*& object)
{
    if (object && m_pEngine)
        IgnoreResult(m_pEngine->DestroyObject(object));
    object = nullptr;
}

void CLevelMiniGame::DestroyTexture(C3DTexture*& texture)
{
    if (texture && m_pEngine)
        IgnoreResult(m_pEngine->DestroyTexture(texture));
    texture = nullptr;
}
