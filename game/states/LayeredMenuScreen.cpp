#include "game/states/LayeredMenuScreen.h"

#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/ScreenLayeredMenu.h"

void CLayeredMenuScreen::Update()
{
    CVadadiDazidevWorld& world = m_world;
    switch (world.m_nState) {
    case GS_INTRO_SCREEN_IN:
        return StepEnter(true, GS_INTRO_SCREEN_LEAVE);
    case GS_INTRO_SCREEN_LEAVE:
        return StepLeave(GS_MAIN_MENU);
    case GS_OUTRO_SCREEN_IN:
        return StepEnter(world.IsFadeOver(), GS_OUTRO_SCREEN_LEAVE);
    case GS_OUTRO_SCREEN_LEAVE:
        return StepLeave(GS_OUTRO_MENU);
    case GS_OUTRO_MENU:
        world.StorePointerVector();
        world.ShowNavButtons(false, true, false);
        if (world.ClickedButton() == kPopupButtonClose)
            LeaveOutroMenu();
        return;
    default:
        return;
    }
}

void CLayeredMenuScreen::Render()
{
    CScreenLayeredMenu* menu = m_world.m_pMenuCurrent;
    switch (m_world.m_nState) {
    case GS_INTRO_SCREEN_IN:
        if (menu)
            IgnoreResult(menu->DrawEnter());
        return;
    case GS_OUTRO_SCREEN_IN:
        if (menu)
            IgnoreResult(menu->DrawEnterReverse());
        return;
    case GS_OUTRO_MENU:
        if (menu)
            IgnoreResult(menu->DrawIdle(false, false));
        return m_world.RenderNavButtons();
    default:
        if (menu)
            IgnoreResult(menu->DrawLeave());
        return;
    }
}

void CLayeredMenuScreen::StepEnter(bool ready, uint32_t next)
{
    CScreenLayeredMenu* menu = m_world.m_pMenuCurrent;
    if (ready && menu && menu->StepEnter()) {
        m_world.StorePointerVector();
        m_world.SetState(next, 0);
    }
}

void CLayeredMenuScreen::StepLeave(uint32_t next)
{
    CScreenLayeredMenu* menu = m_world.m_pMenuCurrent;
    if (menu && menu->StepLeave())
        m_world.SetState(next, 0);
}

void CLayeredMenuScreen::LeaveOutroMenu()
{
    CVadadiDazidevWorld& world = m_world;
    CGameData& game = world.m_GameData;
    world.m_pMenuDialog->PlayClickSound();
    const uint32_t mode = game.m_nMode;
    if (!world.m_pNetworkEngine || !game.m_bWebScoringEnabled)
        return world.LeaveToProfileMenu();
    uint32_t page = kPageCreateAccount;
    if (game.m_bAccount && mode < kProfileModeCount) {
        if (game.Progress(mode, game.m_nSlot).m_bSent)
            return world.LeaveToProfileMenu();
        page = kPageSendScores;
    }
    world.ShowMenuPage(page);
    world.SetState(GS_FADE_TO_LOADING, 1);
}
