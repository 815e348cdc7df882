#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialogParts.h"

// The world's side of the menu dialog: the main menu's action codes, the navigation buttons of
// the text pages, pop-ups and in-game excursions, and leaving the outro menu.

namespace {

// The credits page's three link codes open the makers' sites.
constexpr uint32_t kFirstCreditLink = 6;
const char16_t* const kCreditLinks[] = {u"https://www.example.com/editor/", u"https://www.example.com/graphics/",
                                        u"https://www.example.com/development/"};
constexpr uint32_t kCreditLinkCount = sizeof(kCreditLinks) / sizeof(kCreditLinks[0]);

constexpr uint32_t kModeStory = 0;
constexpr uint32_t kModeTimed = 1;
constexpr uint32_t kAccountPage = 15;
constexpr uint32_t kSendScoresPage = 16;
constexpr uint8_t kFullAlpha = 255;

bool IsAnswer(uint32_t code)
{
    return code == kPopupButtonClose || code == kPopupButtonNext;
}

} // namespace

Result CVadadiDazidevWorld::ToggleFullscreen(uint8_t fullscreen)
{
    return CWorld::ToggleFullscreen(fullscreen);
}

// The main and play pages come after the notice of a save that failed, once.
void CVadadiDazidevWorld::ShowMenuPage(uint32_t page)
{
    if (!m_pMenuDialog)
        return;
    if ((page == 0 || page == 1) && m_SaveFolder.TakeNotice())
        m_pMenuDialog->ShowNotice(kPageNotSaved, page);
    else
        m_pMenuDialog->SetPage(page);
}

void CVadadiDazidevWorld::ShowNavButtons(bool previous, bool close, bool next)
{
    if (!m_pMenuDialog)
        return;
    m_pMenuDialog->HideNavButtons();
    m_pMenuDialog->ShowNavButtons(previous, close, next);
    m_pMenuDialog->UpdateNavButtons();
}

void CVadadiDazidevWorld::RenderNavButtons()
{
    if (m_pMenuDialog)
        m_pMenuDialog->RenderNavButtons();
}

uint32_t CVadadiDazidevWorld::ClickedButton()
{
    return m_pMenuDialog ? m_pMenuDialog->GetClickedButton(0) : 0;
}

// State 10: the layered menu, the dialog with its navigation buttons (close on every page but
// the first), then its action.
void CVadadiDazidevWorld::RenderMainMenu()
{
    CMenuDialog* dialog = m_pMenuDialog.get();
    if (m_pMenuCurrent)
        m_pMenuCurrent->DrawIdle(true, !dialog || dialog->GetPage() != 0);
    if (!dialog)
        return;
    dialog->HideNavButtons();
    dialog->ShowCollectionButton(false);
    dialog->ShowSocialButtons();
    dialog->ShowNavButtons(false, dialog->GetPage() != 0, false);
    dialog->UpdateNavButtons();
    dialog->Render();
    const uint32_t clicked = dialog->GetClickedButton(0);
    dialog->RenderNavButtons();
    dialog->Process();
    dialog->OnUpdate();
    RunMenuAction(dialog->GetAction(), clicked);
}

void CVadadiDazidevWorld::RunMenuAction(uint32_t action, uint32_t clicked)
{
    switch (action) {
    case kActionMoreGames: return SetState(GS_LOAD_MORE_GAMES, 1);
    case kActionNewStory:
    case kActionNewTimed:
        if (Failed(StartNewGame(action == kActionNewStory ? kModeStory : kModeTimed)))
            TellGameUnreadable(kModeNone);
        return;
    case kActionContinueStory:
    case kActionContinueTimed: {
        const uint32_t mode = action == kActionContinueStory ? kModeStory : kModeTimed;
        if (Failed(ContinueGame(mode)))
            TellGameUnreadable(mode);
        return;
    }
    case kActionEndOfStory: return OnGameFinished(1);
    case kActionCredits: return SetState(GS_LOAD_CREDITS, 1);
    case kActionLegals: return SetState(GS_LOAD_LEGALS, 1);
    default: break;
    }
    // The close button leads from every other page back towards the first.
    if (clicked == kNavClose && m_pMenuDialog->GetPage() != 0)
        return m_pMenuDialog->Back(true);
    const char16_t* url = clicked == kNavCollection ? m_GameData.m_szMainWebSiteUrl
                          : clicked == kNavFacebook ? m_GameData.m_szFacebookUrl
                          : clicked == kNavTwitter  ? m_GameData.m_szTwitterUrl
                                                    : nullptr;
    if (!url)
        return;
    m_pMenuDialog->PlayClickSound();
    OpenWebLink(url);
}

// State 13: the page shows its own navigation buttons; close leaves it once the fade is over.
void CVadadiDazidevWorld::RenderMoreGamesPage()
{
    if (m_pMenuCurrent)
        m_pMenuCurrent->DrawIdle(true, true);
    if (m_pMoreGames)
        m_pMoreGames->Render();
    if (ClickedButton() != kPopupButtonClose || !IsFadeOver())
        return;
    m_pMenuDialog->PlayClickSound();
    ReleaseMoreGames();
    SetState(GS_MAIN_MENU, 1);
}

// States 15 and 17: the credits or the legals over the veiled intro screen, as the more-games
// page shows it, under the close button; what they hold is freed when the state is left.
void CVadadiDazidevWorld::RenderTextPage()
{
    if (m_pMenuCurrent)
        m_pMenuCurrent->DrawIdle(true, true);
    if (m_pBackground)
        m_pBackground->DrawBackground(kFullAlpha);
    if (m_nState == GS_CREDITS) {
        if (m_pMenuDialog)
            m_pMenuDialog->RenderCredits();
        DrawCredits();
    }
    ShowNavButtons(false, true, false);
    RenderNavButtons();
    if (m_nState == GS_LEGALS)
        DrawLegals();
    if (ClickedButton() != kPopupButtonClose || !IsFadeOver())
        return;
    m_pMenuDialog->PlayClickSound();
    SetState(GS_MAIN_MENU, 1);
}

void CVadadiDazidevWorld::UpdateCreditLinks()
{
    const uint32_t code = m_pMenuDialog ? m_pMenuDialog->UpdateCredits() : kLineOwnId;
    if (code >= kFirstCreditLink && code - kFirstCreditLink < kCreditLinkCount && m_GameData.m_bWebLinks)
        OpenWebLink(kCreditLinks[code - kFirstCreditLink]);
}

void CVadadiDazidevWorld::FreeTextPages()
{
    if (m_pMenuDialog)
        m_pMenuDialog->ReleaseCredits();
    m_pCreditsText.reset();
    FreeLegals();
}

// The frame steps of the states that show the dialog or its navigation buttons over something.
void CVadadiDazidevWorld::UpdateDialogState()
{
    switch (m_nState) {
    case GS_MORE_GAMES:
        StorePointerVector();
        if (m_pMoreGames)
            m_pMoreGames->Process();
        return;
    case GS_OUTRO_MENU:
        StorePointerVector();
        ShowNavButtons(false, true, false);
        if (ClickedButton() == kPopupButtonClose)
            LeaveOutroMenu();
        return;
    case GS_END_TEXT:
    case GS_SCENE_INTRO_TEXT:
    case GS_INGAME_POPUP:
    case GS_SCENE_MODAL:
        return UpdatePopupState();
    case GS_LEVEL_MESSAGE:
        ShowNavButtons(false, false, true);
        if (ClickedButton() == kPopupButtonNext) {
            m_pMenuDialog->PlayClickSound();
            SetState(GS_IN_GAME, 1);
        }
        return;
    case GS_INGAME_MENU:
        ShowNavButtons(false, false, true);
        if (m_pMenuDialog)
            m_pMenuDialog->OnUpdate();
        return;
    default:
        return;
    }
}

// States 20, 27, 29 and 34: the state's pop-up pages through the navigation buttons; its answer
// leads on.
void CVadadiDazidevWorld::UpdatePopupState()
{
    CPopupText* popup = m_nState == GS_SCENE_INTRO_TEXT ? m_pPopupWaiting.get()
                        : m_nState == GS_SCENE_MODAL    ? m_pPopupTuto.get()
                                                        : m_pPopupIngame.get();
    if (!popup)
        return;
    ShowNavButtons(popup->HasPreviousPage(), true, true);
    if (m_nState == GS_SCENE_INTRO_TEXT && !IsFadeOver())
        return;
    const uint32_t answer = popup->OnButton(ClickedButton(), 0.5f * m_pData->workingHeight);
    if (!IsAnswer(answer))
        return;
    if (m_nState == GS_END_TEXT) {
        StorePointerVector();
        return SetState(GS_OUTRO_SCREEN_IN, 1);
    }
    if (m_nState == GS_SCENE_MODAL && answer == kPopupButtonNext) {
        ++m_GameData.m_nTutorialStep;
        CGameLevel* level = GetCurrentLevel();
        if (level && Succeeded(level->UpdateModal()))
            return;
    }
    SetState(GS_IN_GAME, 1);
}

// The outro menu's continue button: the account or score pages when the scores can go out,
// else the profiles.
void CVadadiDazidevWorld::LeaveOutroMenu()
{
    m_pMenuDialog->PlayClickSound();
    const uint32_t mode = m_GameData.m_nMode;
    if (!m_pNetworkEngine || !m_GameData.m_bWebScoringEnabled)
        return LeaveToProfileMenu();
    uint32_t page = kAccountPage;
    if (m_GameData.m_bAccount && mode < kProfileModeCount) {
        if (m_GameData.Progress(mode, m_GameData.m_nSlot).m_bSent)
            return LeaveToProfileMenu();
        page = kSendScoresPage;
    }
    ShowMenuPage(page);
    SetState(GS_FADE_TO_LOADING, 1);
}
