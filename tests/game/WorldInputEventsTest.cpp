#include <SDL2/SDL.h>

#include <unistd.h>

#include "app/MainWindow.h"
#include "base/WideString.h"
#include "platform/win32/Win32Window.h"
#include "tests/game/WorldInputFixture.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/WorldTestModules.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

std::vector<uint8_t> g_switches;

// The main window (640 x 480 over the 1024 x 768 virtual screen) of a world in game, fed with SDL
// events through the platform's pump and the window procedure.
class WorldInputEventsTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        GameWorldTest::SetUp();
        ResetTestModules(), g_switches.clear();
        SetInstanceScope(std::to_string(getpid()).c_str()), SetFocusAssumed(true);
        WStrCopy(Data().m_szAppName, kAppNameUnits, Utf8ToUtf16(m_title).c_str());
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WndProc, windowClass.lpszClassName = kMainWindowClass;
        RegisterClassW(&windowClass);
        ASSERT_EQ(CreateMainWindow(&m_world, 640, 480, 0, 0, &m_info), RES_OK);
        ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
        // The game's steps fail: no pak.
        EXPECT_EQ(m_world.Load(m_info.window, 640, 480, 32, 0, 0, 0, 1, nullptr, 0, 0), RES_FAIL);
        ASSERT_EQ(ShowMainWindow(&m_world, &m_info), RES_OK);
        PlayInputLevel(m_world, 0, m_log);
        Data().m_fMaxZoomRefRatio = 2.0f;
        m_world.SetFullscreenSwitch([](CWorld*, uint8_t fullscreen) {
            g_switches.push_back(fullscreen);
            return RES_OK;
        });
        for (Uint32 id = 1; id < 256 && !m_window; ++id) {
            SDL_Window* window = SDL_GetWindowFromID(id);
            m_window = window && m_title == SDL_GetWindowTitle(window) ? id : 0;
        }
        ASSERT_NE(m_window, 0u);
        Pump({});
    }
    void TearDown() override
    {
        if (m_info.window) {
            EXPECT_EQ(DestroyMainWindow(&m_info), RES_OK);
        }
        EXPECT_EQ(m_world.Release(), RES_OK);
        PlatformShutdown(), ResetTestSwitches(), ResetTestModules();
        GameWorldTest::TearDown();
    }

    // Pushes the events, then dispatches every message they made.
    void Pump(std::initializer_list<SDL_Event> events)
    {
        for (SDL_Event event : events)
            SDL_PushEvent(&event);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            TranslateMessage(&message), DispatchMessageW(&message);
    }
    SDL_Event Key(Uint32 type, SDL_Scancode code, SDL_Keycode key, Uint16 mod, Uint8 repeat = 0) const
    {
        SDL_Event event{};
        event.key = {type, 0, m_window, Uint8(type == SDL_KEYDOWN), repeat, 0, 0, {code, key, mod, 0}};
        return event;
    }
    SDL_Event Button(Uint32 type, int x, int y) const
    {
        SDL_Event event{};
        event.button = {type, 0, m_window, 0, SDL_BUTTON_LEFT, Uint8(type == SDL_MOUSEBUTTONDOWN), 1, 0, x, y};
        return event;
    }

    const std::string m_title = "Input events " + std::to_string(getpid());
    CMainWindowInfo m_info{};
    Uint32 m_window = 0;
    std::string m_log;
};

} // namespace

TEST_F(WorldInputEventsTest, ClicksDragsAndWheelTurnsReachTheReactions)
{
    SDL_Event move{}, wheel{};
    move.motion = {SDL_MOUSEMOTION, 0, m_window, 0, SDL_BUTTON_LMASK, -40, 200, 0, 0};  // captured, left of the window
    wheel.wheel = {SDL_MOUSEWHEEL, 0, m_window, 0, 0, -1, SDL_MOUSEWHEEL_NORMAL, 0.0f, -1.0f, 10, 10};
    Pump({Button(SDL_MOUSEBUTTONDOWN, 100, 50), Button(SDL_MOUSEBUTTONUP, 100, 50), Button(SDL_MOUSEBUTTONDOWN, 300, 200),
          move, Button(SDL_MOUSEBUTTONUP, -40, 200), wheel});
    EXPECT_EQ(m_log, "click 160,80 ") << "a drag is no click";
    EXPECT_EQ(m_world.m_vCamera.x, -480.0f) << "dragged to the window's left edge, not to x 65496";
    EXPECT_EQ(m_world.m_fWheelStep, -0.05f);
}

TEST_F(WorldInputEventsTest, AltEnterSwitchesOncePerPress)
{
    const SDL_Event altUp = Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE);
    for (bool altFirst : {false, true, false}) {
        const SDL_Event enterUp = Key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, altFirst ? KMOD_NONE : KMOD_LALT);
        Pump({Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT),
              Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT),
              Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 1), altFirst ? altUp : enterUp,
              altFirst ? enterUp : altUp});
    }
    Pump({Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE)});
    EXPECT_EQ(g_switches, (std::vector<uint8_t>{1, 1, 1})) << "once a press; no repeat, no plain Enter";
}
