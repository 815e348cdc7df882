#include "game/states/PopupScreen.h"

#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"

namespace {

bool IsAnswer(uint32_t code)
{
    return code == kPopupButtonClose || code == kPopupButtonNext;
}

} // namespace

void CPopupScreen::Render()
{
    CVadadiDazidevWorld& world = m_world;
    if (world.m_nState != GS_SCENE_MODAL) {
        if (CPopupText* popup = world.m_pPopupIngame.get()) {
            popup->DrawBackdrop(true, true, false);
            IgnoreResult(popup->Render());
        }
        return world.RenderNavButtons();
    }
    if (world.m_pPopupTuto)
        world.m_pPopupTuto->DrawBackdrop(true, true, false);
    if (CGameLevel* level = world.GetCurrentLevel())
        level->RenderModal();
    if (world.m_nPendingState == GS_NONE)
        world.RenderNavButtons();
}

void CPopupScreen::StepPages()
{
    CVadadiDazidevWorld& world = m_world;
    const uint32_t state = world.m_nState;
    CPopupText* popup = state == GS_SCENE_INTRO_TEXT ? world.m_pPopupWaiting.get()
                        : state == GS_SCENE_MODAL    ? world.m_pPopupTuto.get()
                                                     : world.m_pPopupIngame.get();
    if (!popup)
        return;
    world.ShowNavButtons(popup->HasPreviousPage(), true, true);
    if (state == GS_SCENE_INTRO_TEXT && !world.IsFadeOver())
        return;
    const uint32_t answer = popup->OnButton(world.ClickedButton(), 0.5f * world.m_pData->workingHeight);
    if (!IsAnswer(answer))
        return;
    if (world.m_nState == GS_END_TEXT) {
        world.StorePointerVector();
        return world.SetState(GS_OUTRO_SCREEN_IN, 1);
    }
    if (world.m_nState == GS_SCENE_MODAL && answer == kPopupButtonNext) {
        ++world.m_GameData.m_nTutorialStep;
        CGameLevel* level = world.GetCurrentLevel();
        if (level && Succeeded(level->UpdateModal()))
            return;
    }
    world.SetState(GS_IN_GAME, 1);
}
