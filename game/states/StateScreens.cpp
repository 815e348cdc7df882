#include "game/states/StateScreens.h"

#include "game/GameStates.h"
#include "game/states/ExtraPagesScreen.h"
#include "game/states/InGameScreen.h"
#include "game/states/LayeredMenuScreen.h"
#include "game/states/LoadingScreen.h"
#include "game/states/LogoScreen.h"
#include "game/states/MainMenuScreen.h"
#include "game/states/PopupScreen.h"
#include "game/states/SceneSwitchScreen.h"

CStateScreens::CStateScreens(CVadadiDazidevWorld& world)
{
    Add<CLogoScreen>({GS_LOGO_1, GS_LOGO_2, GS_LOGO_3, GS_LOGO_4}, world);
    Add<CLoadingScreen>({GS_FADE_TO_LOADING, GS_LOAD_INTRO_SCREEN, GS_CHANGE_LANGUAGE, GS_GAME_FINISHED,
                         GS_LOAD_OUTRO_SCREEN},
                        world);
    Add<CLayeredMenuScreen>({GS_INTRO_SCREEN_IN, GS_INTRO_SCREEN_LEAVE, GS_OUTRO_SCREEN_IN, GS_OUTRO_SCREEN_LEAVE,
                             GS_OUTRO_MENU},
                            world);
    Add<CMainMenuScreen>({GS_MAIN_MENU}, world);
    Add<CExtraPagesScreen>(
        {GS_LOAD_MORE_GAMES, GS_MORE_GAMES, GS_LOAD_CREDITS, GS_CREDITS, GS_LOAD_LEGALS, GS_LEGALS}, world);
    CPopupScreen& popups = Add<CPopupScreen>({GS_END_TEXT, GS_INGAME_POPUP, GS_SCENE_MODAL}, world);
    Add<CSceneSwitchScreen>({GS_SCENE_CHANGE, GS_SCENE_INTRO_FADE, GS_SCENE_SWITCH_WITH_INTRO, GS_SCENE_INTRO_TEXT,
                             GS_SCENE_SWITCH},
                            world, popups);
    Add<CInGameScreen>({GS_IN_GAME, GS_LEVEL_MESSAGE, GS_ABUSE_PENALTY, GS_INGAME_MENU}, world);
}

CStateScreens::~CStateScreens() = default;

template <class Screen, class... Args>
Screen& CStateScreens::Add(std::initializer_list<uint32_t> states, Args&&... args)
{
    auto screen = std::make_unique<Screen>(std::forward<Args>(args)...);
    Screen& added = *screen;
    for (uint32_t state : states)
        m_byState[state] = &added;
    m_screens.push_back(std::move(screen));
    return added;
}
