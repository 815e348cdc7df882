#include "game/states/MainMenuScreen.h"

#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialogParts.h"
#include "game/screens/ScreenLayeredMenu.h"

namespace {

constexpr uint32_t kModeStory = 0;
constexpr uint32_t kModeTimed = 1;

} // namespace

void CMainMenuScreen::Update()
{
    m_world.StorePointerVector();
}

void CMainMenuScreen::Render()
{
    CMenuDialog* dialog = m_world.m_pMenuDialog.get();
    if (m_world.m_pMenuCurrent)
        IgnoreResult(m_world.m_pMenuCurrent->DrawIdle(true, !dialog || dialog->GetPage() != kPageMain));
    if (!dialog)
        return;
    dialog->HideNavButtons();
    dialog->ShowCollectionButton(false);
    dialog->ShowSocialButtons();
    dialog->ShowNavButtons(false, dialog->GetPage() != kPageMain, false);
    dialog->UpdateNavButtons();
    IgnoreResult(dialog->Render());
    const uint32_t clicked = dialog->GetClickedButton(0);
    dialog->RenderNavButtons();
    IgnoreResult(dialog->Process());
    dialog->OnUpdate();
    RunMenuAction(dialog->GetAction(), clicked);
}

void CMainMenuScreen::RunMenuAction(uint32_t action, uint32_t clicked)
{
    CVadadiDazidevWorld& world = m_world;
    switch (action) {
    case kActionMoreGames: return world.SetState(GS_LOAD_MORE_GAMES, 1);
    case kActionNewStory:
    case kActionNewTimed:
        if (Failed(world.StartNewGame(action == kActionNewStory ? kModeStory : kModeTimed)))
            world.TellGameUnreadable(kModeNone);
        return;
    case kActionContinueStory:
    case kActionContinueTimed: {
        const uint32_t mode = action == kActionContinueStory ? kModeStory : kModeTimed;
        if (Failed(world.ContinueGame(mode)))
            world.TellGameUnreadable(mode);
        return;
    }
    case kActionEndOfStory: return world.OnGameFinished(1);
    case kActionCredits: return world.SetState(GS_LOAD_CREDITS, 1);
    case kActionLegals: return world.SetState(GS_LOAD_LEGALS, 1);
    default: break;
    }
    // The close button leads from every other page back towards the first.
    CMenuDialog& dialog = *world.m_pMenuDialog;
    if (clicked == kNavClose && dialog.GetPage() != kPageMain)
        return dialog.Back(true);
    const CGameData& game = world.m_GameData;
    const char16_t* url = clicked == kNavCollection ? game.m_szMainWebSiteUrl
                          : clicked == kNavFacebook ? game.m_szFacebookUrl
                          : clicked == kNavTwitter  ? game.m_szTwitterUrl
                                                    : nullptr;
    if (!url)
        return;
    dialog.PlayClickSound();
    world.OpenWebLink(url);
}
