#include "game/states/LoadingScreen.h"

#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/ScreenLayeredMenu.h"

void CLoadingScreen::Update()
{
    const uint32_t state = m_world.m_nState;
    if (state != GS_FADE_TO_LOADING && state != GS_GAME_FINISHED)
        return;
    CKvoScreenshot* fader = m_world.m_pScreenshot.get();
    m_world.SetBankVolume((fader ? fader->GetAlpha() : 0.0f) * m_world.m_GameData.m_fSoundVolume);
}

void CLoadingScreen::Render()
{
    const uint32_t state = m_world.m_nState;
    if (state == GS_LOAD_INTRO_SCREEN || state == GS_LOAD_OUTRO_SCREEN)
        return LoadLayeredScreen();
    m_world.DrawBackdrop();
    if (m_world.m_pBackground)
        IgnoreResult(m_world.m_pBackground->DrawLoadingBig());
    if (!m_world.IsFadeOver())
        return;
    if (state == GS_CHANGE_LANGUAGE)
        return ChangeLanguage();
    m_world.SetState(state == GS_FADE_TO_LOADING ? GS_LOAD_INTRO_SCREEN : GS_LOAD_OUTRO_SCREEN, 0);
}

void CLoadingScreen::LoadLayeredScreen()
{
    CVadadiDazidevWorld& world = m_world;
    const bool intro = world.m_nState == GS_LOAD_INTRO_SCREEN;
    world.DrawBackdrop();
    if (intro && world.m_pBackground)
        world.m_pBackground->ReleaseLogo();
    if (world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawLoadingBig());
    IgnoreResult(world.RaiseHostEvent(kHostEventLoadBegin));
    world.m_pMenuCurrent = intro ? world.LoadIntroScreen() : world.LoadOutroScreen();
    IgnoreResult(world.RaiseHostEvent(kHostEventLoadEnd));
    if (intro) {
        world.SetState(GS_INTRO_SCREEN_IN, 1);
    } else if (!world.m_pPopupIngame || !world.m_pPopupIngame->HoldsText()) {
        world.StorePointerVector();
        world.SetState(GS_OUTRO_SCREEN_IN, 0);
    } else {
        world.SetState(GS_END_TEXT, 1);
    }
    if (!intro && world.m_pMenuCurrent)
        IgnoreResult(world.m_pMenuCurrent->DrawEnterReverse());
    world.Resync();
}

void CLoadingScreen::ChangeLanguage()
{
    CVadadiDazidevWorld& world = m_world;
    CGameData& game = world.m_GameData;
    const uint32_t before = game.m_nLanguage;
    if (Failed(world.LoadLanguage(world.m_nPendingLanguage))) {
        if (world.m_nPendingLanguage < kLanguageCount)
            game.m_bLanguageAvailable[world.m_nPendingLanguage] = 0;
        IgnoreResult(world.LoadLanguage(before));
        world.m_nPendingLanguage = before;
    }
    game.m_nLanguage = world.m_nPendingLanguage;
    world.m_nPendingLanguage = before;
    IgnoreResult(world.SaveOptions());
    world.SetState(world.m_nPreviousState, 1);
}
