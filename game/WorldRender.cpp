#include "base/StringHelpers.h"
#include "core/FrameTimer.h"
#include "core/Log.h"
#include "game/VadadiDazidevWorld.h"

// The draw pass: each state's drawing and the transitions that load or switch resources, then
// the end of the pass (pending state, fader, touch markers, focus cover).

namespace {

constexpr float kCreditsLeft = 0.15f;
constexpr float kLegalsLeft = 0.1f;
constexpr uint32_t kOpaque = 0xFF000000;
constexpr uint8_t kFullAlpha = 255;

} // namespace

Result CVadadiDazidevWorld::Render()
{
    const uint32_t state = m_nState;
    RenderState();
    if (m_pScreenshot && m_nPendingState == GS_NONE)
        m_pScreenshot->Render();
    else if (m_nPendingState != GS_NONE) {
        if (m_pScreenshot)
            m_pScreenshot->StartFade(0, 0, 0, 0);
        ApplyPendingState();
    }
    if (m_pTouchScreen)
        m_pTouchScreen->Render();
    if (state == GS_LOAD_OUTRO_SCREEN && m_pPopupIngame) {
        if (m_pScreenshot)
            m_pScreenshot->StopFade();
        m_pPopupIngame->DrawBackdrop(true, true, false);
        m_pPopupIngame->Render();
        RenderNavButtons();
    }
    if (!m_pData->hasFocus && m_pBackground) {
        m_pBackground->DrawBackground(kFullAlpha);
        m_pBackground->DrawBackground(kFullAlpha);
    }
    if (m_GameData.m_bDebugKeys && m_GameData.m_bOverlay && m_nState == GS_IN_GAME)
        DrawDeveloperOverlay();
    return RES_OK;
}

void CVadadiDazidevWorld::RenderState()
{
    switch (m_nState) {
    case GS_LOGO_1:
    case GS_LOGO_2:
    case GS_LOGO_3:
    case GS_LOGO_4:
        return RenderLogo();
    case GS_FADE_TO_LOADING:
    case GS_GAME_FINISHED:
        DrawBackdrop();
        if (m_pBackground)
            m_pBackground->DrawLoadingBig();
        if (IsFadeOver())
            SetState(m_nState == GS_FADE_TO_LOADING ? GS_LOAD_INTRO_SCREEN : GS_LOAD_OUTRO_SCREEN, 0);
        return;
    case GS_LOAD_INTRO_SCREEN:
    case GS_LOAD_OUTRO_SCREEN:
        return RenderScreenLoad();
    case GS_INTRO_SCREEN_IN:
        return DrawMenu(&CScreenLayeredMenu::DrawEnter);
    case GS_INTRO_SCREEN_LEAVE:
    case GS_OUTRO_SCREEN_LEAVE:
        return DrawMenu(&CScreenLayeredMenu::DrawLeave);
    case GS_OUTRO_SCREEN_IN:
        return DrawMenu(&CScreenLayeredMenu::DrawEnterReverse);
    case GS_MAIN_MENU:
        return RenderMainMenu();
    case GS_OUTRO_MENU:
        if (m_pMenuCurrent)
            m_pMenuCurrent->DrawIdle(false, false);
        return RenderNavButtons();
    case GS_CHANGE_LANGUAGE:
        DrawBackdrop();
        if (m_pBackground)
            m_pBackground->DrawLoadingBig();
        if (IsFadeOver())
            RunLanguageChange();
        return;
    case GS_LOAD_MORE_GAMES:
    case GS_LOAD_CREDITS:
    case GS_LOAD_LEGALS:
        return RenderTextLoad();
    case GS_MORE_GAMES:
        return RenderMoreGamesPage();
    case GS_CREDITS:
    case GS_LEGALS:
        return RenderTextPage();
    case GS_END_TEXT:
    case GS_INGAME_POPUP:
        DrawPopup(m_pPopupIngame.get(), true, false);
        return RenderNavButtons();
    case GS_SCENE_CHANGE:
        return RenderSceneChange();
    case GS_SCENE_INTRO_FADE:
    case GS_SCENE_SWITCH_WITH_INTRO:
    case GS_SCENE_INTRO_TEXT:
        return RenderSceneIntro();
    case GS_SCENE_SWITCH:
        DrawBackdrop();
        if (m_nSceneArgument == kNoIndex && m_pBackground)
            m_pBackground->DrawLoading(false, true, true, false);
        SetState(GS_IN_GAME, 0);
        SwitchToNextScene(m_nNextScene);
        return Resync();
    case GS_IN_GAME:
        return RenderInGame();
    case GS_LEVEL_MESSAGE:
        DrawBackdrop();
        if (m_pBackground)
            m_pBackground->DrawBackground(kFullAlpha);
        if (CGameLevel* level = GetCurrentLevel())
            level->RenderMessage();
        return RenderNavButtons();
    case GS_ABUSE_PENALTY:
        DrawBackdrop();
        if (m_pBackground)
            m_pBackground->DrawAbuseFlash();
        return;
    case GS_INGAME_MENU:
        if (m_pBackground)
            m_pBackground->DrawBackground(kFullAlpha);
        RenderDialog();
        RenderNavButtons();
        if (ClickedButton() == kPopupButtonNext) {
            m_pMenuDialog->PlayClickSound();
            SetState(GS_IN_GAME, 1);
        }
        return;
    case GS_SCENE_MODAL:
        if (m_pPopupTuto)
            m_pPopupTuto->DrawBackdrop(true, true, false);
        if (CGameLevel* level = GetCurrentLevel())
            level->RenderModal();
        if (m_nPendingState == GS_NONE)
            RenderNavButtons();
        return;
    default:
        return;
    }
}

// The logo of the state; the load of a new one does not count as a frame.
void CVadadiDazidevWorld::RenderLogo()
{
    if (!m_pBackground)
        return;
    CKvoBackground& background = *m_pBackground;
    const Result shown = m_nState == GS_LOGO_1   ? background.ShowLogo1()
                         : m_nState == GS_LOGO_2 ? background.ShowLogo2()
                         : m_nState == GS_LOGO_3 ? background.ShowLogo3()
                                                 : background.ShowLogo4();
    if (Succeeded(shown))
        Resync();
    m_pBackground->DrawLogo();
}

// States 6 and 19: the intro or outro screen loads between the loading events.
void CVadadiDazidevWorld::RenderScreenLoad()
{
    const bool intro = m_nState == GS_LOAD_INTRO_SCREEN;
    DrawBackdrop();
    if (intro && m_pBackground)
        m_pBackground->ReleaseLogo();
    if (m_pBackground)
        m_pBackground->DrawLoadingBig();
    RaiseHostEvent(kHostEventLoadBegin);
    m_pMenuCurrent = intro ? LoadIntroScreen() : LoadOutroScreen();
    RaiseHostEvent(kHostEventLoadEnd);
    if (intro) {
        SetState(GS_INTRO_SCREEN_IN, 1);
    } else if (!m_pPopupIngame || !m_pPopupIngame->HoldsText()) {
        StorePointerVector();
        SetState(GS_OUTRO_SCREEN_IN, 0);
    } else {
        SetState(GS_END_TEXT, 1);
    }
    if (!intro && m_pMenuCurrent)
        m_pMenuCurrent->DrawEnterReverse();
    Resync();
}

// States 12, 14 and 16: the more-games page or the text of the current language, else of language
// 0, else the main menu.
void CVadadiDazidevWorld::RenderTextLoad()
{
    if (m_nState == GS_LOAD_MORE_GAMES) {
        if (m_pMenuCurrent)
            m_pMenuCurrent->DrawIdle(true, true);
        if (m_pBackground)
            m_pBackground->DrawLoading(false, true, false, false);
    } else if (m_pBackground) {
        m_pBackground->DrawLoadingBig();
    }
    if (!IsFadeOver())
        return;
    const uint32_t state = m_nState;
    const uint32_t next = state + 1;
    SetState(next, 1);
    const bool events = state != GS_LOAD_CREDITS;
    if (events)
        RaiseHostEvent(kHostEventLoadBegin);
    using Loader = Result (CVadadiDazidevWorld::*)(uint32_t);
    const Loader load = state == GS_LOAD_MORE_GAMES ? &CVadadiDazidevWorld::ReloadMoreGames
                        : state == GS_LOAD_CREDITS  ? &CVadadiDazidevWorld::LoadCredits
                                                    : &CVadadiDazidevWorld::Load_Legals;
    if (Failed((this->*load)(m_GameData.m_nLanguage)) && Failed((this->*load)(0))) {
        if (state == GS_LOAD_LEGALS)
            FreeLegals();
        SetState(GS_MAIN_MENU, 1);
    } else if (state == GS_LOAD_CREDITS && m_pMenuDialog) {
        m_pMenuDialog->BuildCredits();
    }
    if (events)
        RaiseHostEvent(kHostEventLoadEnd);
}

void CVadadiDazidevWorld::RunLanguageChange()
{
    const uint32_t before = m_GameData.m_nLanguage;
    if (Failed(LoadLanguage(m_nPendingLanguage))) {
        if (m_nPendingLanguage < kLanguageCount)
            m_GameData.m_bLanguageAvailable[m_nPendingLanguage] = 0;
        LoadLanguage(before);
        m_nPendingLanguage = before;
    }
    m_GameData.m_nLanguage = m_nPendingLanguage;
    m_nPendingLanguage = before;
    SaveOptions();
    SetState(m_nPreviousState, 1);
}

// The credits text three times at most, so that its wrap shows no gap.
void CVadadiDazidevWorld::DrawCredits()
{
    if (!m_pCreditsText || !m_pMainFont)
        return;
    const float screen = m_pData->workingHeight;
    const float x = kCreditsLeft * m_pData->workingWidth;
    if (m_fCreditsOffset > 0.0f && !m_bCreditsEntering)
        DrawTextAt(m_pCreditsText.get(), x, m_fCreditsOffset - (screen * 0.5f + m_fCreditsHeight), 0);
    DrawTextAt(m_pCreditsText.get(), x, m_fCreditsOffset, 0);
    if (m_fCreditsOffset + m_fCreditsHeight < screen)
        DrawTextAt(m_pCreditsText.get(), x, m_fCreditsOffset + m_fCreditsHeight, 0);
    if (m_fCreditsOffset < 0.0f || m_fCreditsOffset + m_fCreditsHeight < screen)
        m_bCreditsEntering = 0;
}

void CVadadiDazidevWorld::DrawLegals()
{
    float y = m_fCreditsOffset;
    const float x = kLegalsLeft * m_pData->workingWidth;
    for (const std::unique_ptr<CLegalItem>& item : m_Legals) {
        const float height = item->m_Size.y;
        if (y < m_pData->workingHeight && y + height > 0.0f &&
            DrawTextAt(item->m_szWrapped, x, y, item->m_bMarked) && m_pData->mouseReleased[0] &&
            m_GameData.m_bWebLinks)
            OpenWebLink(item->m_szRaw);
        y += height;
    }
}

// True when the pointer lies on a link text.
bool CVadadiDazidevWorld::DrawTextAt(const char16_t* text, float x, float y, uint8_t link)
{
    const CTextStyles& styles = m_GameData.m_TextStyles;
    const Vector3 position{x, y, 0.0f};
    const Vector2 pointer{m_pData->pointerX, m_pData->pointerY};
    Vector3 out{};
    m_pMainFont->HitTestText(&out, text, &position, 0, kOpaque | styles.m_LegalsColors[link ? 1 : 0],
                             styles.m_LegalsSize[0], styles.m_LegalsSize[1], link ? &pointer : nullptr, nullptr, 0);
    return link && out.z == 1.0f;
}

// State 24: the queued level's record and intro text; a scene index out of range returns to the
// main menu.
void CVadadiDazidevWorld::RenderSceneChange()
{
    DrawBackdrop();
    if (IsFadeOver() || m_nSceneArgument != kNoIndex) {
        if (m_nNextScene >= m_nSceneCount) {
            LogPrintf(m_pData->logPath, 1, u"# CVadadiDazidevWorld::GoToScene failed! invalid scene (%d)\n",
                      m_nNextScene);
            m_nNextScene = kNoIndex;
            m_nSceneArgument = kNoIndex;
            SetState(GS_MAIN_MENU, 1);
            return;
        }
        CGameLevel* current = GetCurrentLevel();
        CGameLevel* next = m_pScenes[m_nNextScene].get();
        if (current && (current != next || m_nSceneArgument != kNoIndex))
            current->Stop();
        const CLevelRecord* record = QueuedRecord();
        if (Failed(ShowNextScenePopup())) {
            SetState(GS_SCENE_SWITCH, 0);
        } else {
            if (record && record->backgroundName[0] && m_pBackground) {
                char16_t name[kBackgroundNameBytes];
                WidenString(record->backgroundName, name, kBackgroundNameBytes);
                m_pBackground->SetScenePicture(name);
            }
            SetState(GS_SCENE_INTRO_FADE, 1);
        }
    }
    if (m_nSceneArgument == kNoIndex && m_pBackground)
        m_pBackground->DrawLoadingBig();
}

// States 25 to 27: the waiting pop-up over the loading screen while the level switches.
void CVadadiDazidevWorld::RenderSceneIntro()
{
    const uint32_t state = m_nState;
    if (m_pPopupWaiting) {
        m_pPopupWaiting->DrawBackdrop(true, false, true);
        m_pPopupWaiting->Render();
    }
    if (state != GS_SCENE_INTRO_TEXT && m_pBackground)
        m_pBackground->DrawLoading(true, false, false, false);
    if (state == GS_SCENE_INTRO_FADE && IsFadeOver()) {
        SetState(GS_SCENE_SWITCH_WITH_INTRO, 0);
    } else if (state == GS_SCENE_SWITCH_WITH_INTRO) {
        SetState(GS_SCENE_INTRO_TEXT, 0);
        SwitchToNextScene(m_nNextScene);
        Resync();
    } else if (state == GS_SCENE_INTRO_TEXT) {
        RenderNavButtons();
        if (m_nPendingState != GS_NONE)
            Resync();
    }
}

void CVadadiDazidevWorld::RenderInGame()
{
    CGameLevel* level = GetCurrentLevel();
    if (level) {
        level->Render();
        RenderLevelOverlay(*level);
    }
    RenderInGameWidgets(level);
    if (m_nLevelBusy == 0 && m_nTooltipBusy == 0 && m_nPendingState != GS_SCENE_MODAL) {
        m_nPreviousState = GS_NONE;
        const bool shown = Succeeded(ShowNextPopup(GS_INGAME_POPUP));
        if (level && !RenderSceneQuiz(*level, shown) && !shown)
            OfferFirstVisitIntro(*level);
    }
}

// The hint's glow, then what the level leaves of the toolbar: its strip with the labels unless
// the level ignores its height, the menubar, the hint button and the tooltips unless it hides it.
void CVadadiDazidevWorld::RenderInGameWidgets(CGameLevel* level)
{
    if (m_pHint)
        m_pHint->RenderGlow();
    if (m_pToolbar && !(level && level->IsToolbarHeightIgnored())) {
        m_pToolbar->RenderToolbarStrip();
        m_pToolbar->RenderItems();
    }
    if (level && level->IsToolbarHidden())
        return;
    if (m_pToolbar)
        m_pToolbar->RenderMenubar();
    if (m_pHint)
        m_pHint->RenderAt(0.0f);
    DrawTooltips();
}

// The folded tooltips last, so that they lie on top.
void CVadadiDazidevWorld::DrawTooltips()
{
    for (const bool folded : {false, true}) {
        for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
            CGameTooltip* tooltip = GetTooltip(i);
            if (tooltip && (tooltip->GetSlideState() == kTooltipFolded) == folded)
                tooltip->Draw();
        }
    }
}

void CVadadiDazidevWorld::DrawPopup(CPopupText* popup, bool fade, bool loading)
{
    if (!popup)
        return;
    popup->DrawBackdrop(fade, !loading, loading);
    popup->Render();
}

void CVadadiDazidevWorld::RenderDialog()
{
    if (!m_pMenuDialog)
        return;
    m_pMenuDialog->Process();
    m_pMenuDialog->Render();
}

void CVadadiDazidevWorld::DrawMenu(Result (CScreenLayeredMenu::*draw)())
{
    if (m_pMenuCurrent)
        (m_pMenuCurrent->*draw)();
}

void CVadadiDazidevWorld::DrawBackdrop()
{
    if (m_pScreenshot)
        m_pScreenshot->Show();
}

void CVadadiDazidevWorld::Resync()
{
    if (m_pTimerFactor)
        m_pTimerFactor->Tick();
    m_bIgnoreMouse = 1;
}
