#include <SDL2/SDL.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "app/MainWindow.h"
#include "base/WideString.h"
#include "platform/win32/Win32Window.h"
#include "tests/game/WorldInputFixture.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/WorldTestModules.h"
#include "tests/support/platform/TestSwitches.h"

// Real SDL events on the main window, through the platform's pump and the window procedure, into
// the world's reactions. The window is 640 x 480 over the 1024 x 768 virtual screen (scale 0.625).
namespace {

std::vector<uint8_t> g_switches;

Result RecordSwitch(CWorld*, uint8_t fullscreen)
{
    g_switches.push_back(fullscreen);
    return RES_OK;
}

class WorldInputEventsTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        GameWorldTest::SetUp();
        ResetTestModules();
        g_switches.clear();
        const std::string title = "Input events " + std::to_string(getpid());
        SetInstanceScope(std::to_string(getpid()).c_str());
        SetFocusAssumed(true);
        WStrCopy(Data().m_szAppName, kAppNameUnits, Utf8ToUtf16(title).c_str());
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WndProc;
        windowClass.lpszClassName = kMainWindowClass;
        ASSERT_NE(RegisterClassW(&windowClass), 0);
        ASSERT_EQ(CreateMainWindow(&m_world, 640, 480, 0, 0, &m_info), RES_OK);
        ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
        m_world.Load(m_info.window, 640, 480, 32, 0, 0, 0, 1, nullptr, 0, 0);  // the game's steps fail: no pak
        ASSERT_EQ(m_world.GetData()->workingWidth, 640);
        ShowMainWindow(&m_world, &m_info);
        auto level = std::make_unique<CInputLevel>(m_world.GetData(), kLevelTypeHiddenObject, m_log);
        PlayInputLevel(m_world, std::move(level), 0, m_log);
        Data().m_fMaxZoomRefRatio = 2.0f;
        m_world.SetFullscreenSwitch(RecordSwitch);
        for (Uint32 id = 1; id < 256 && !m_sdl; ++id) {
            SDL_Window* window = SDL_GetWindowFromID(id);
            m_sdl = window && title == SDL_GetWindowTitle(window) ? window : nullptr;
        }
        ASSERT_NE(m_sdl, nullptr);
        Pump();
        m_log.clear();
    }
    void TearDown() override
    {
        if (m_info.window)
            DestroyMainWindow(&m_info);
        m_world.Release();
        PlatformShutdown();
        ResetTestSwitches();
        ResetTestModules();
        GameWorldTest::TearDown();
    }

    void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    void Push(SDL_Event event) { SDL_PushEvent(&event); }
    void Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 mod, Uint8 repeat = 0)
    {
        SDL_Event event{};
        event.key = {type, 0, SDL_GetWindowID(m_sdl), Uint8(type == SDL_KEYDOWN), repeat, 0, 0, {scancode, keycode, mod, 0}};
        Push(event);
    }
    void AltEnter(bool altFirst)
    {
        Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT);
        Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
        Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 1);
        if (altFirst)
            Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE);
        Key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, altFirst ? KMOD_NONE : KMOD_LALT);
        if (!altFirst)
            Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE);
        Pump();
    }
    void Button(Uint32 type, int x, int y)
    {
        SDL_Event event{};
        event.button = {type, 0, SDL_GetWindowID(m_sdl), 0, SDL_BUTTON_LEFT, Uint8(type == SDL_MOUSEBUTTONDOWN), 1, 0, x, y};
        Push(event);
    }
    void Motion(int x, int y)
    {
        SDL_Event event{};
        event.motion = {SDL_MOUSEMOTION, 0, SDL_GetWindowID(m_sdl), 0, SDL_BUTTON_LMASK, x, y, 0, 0};
        Push(event);
    }

    CMainWindowInfo m_info{nullptr, nullptr, nullptr, 0, nullptr};
    SDL_Window* m_sdl = nullptr;
    std::string m_log;
};

} // namespace

TEST_F(WorldInputEventsTest, ClicksDragsAndWheelTurnsReachTheReactions)
{
    Button(SDL_MOUSEBUTTONDOWN, 100, 50);
    Button(SDL_MOUSEBUTTONUP, 100, 50);
    Pump();
    EXPECT_EQ(m_log, "click 160,80 ");

    Button(SDL_MOUSEBUTTONDOWN, 300, 200);
    Motion(-40, 200);  // captured left of the window
    Button(SDL_MOUSEBUTTONUP, -40, 200);
    Pump();
    EXPECT_EQ(m_world.m_vCamera.x, -480.0f) << "dragged to the window's left edge, not to x 65496";
    EXPECT_EQ(m_world.m_vCamera.y, 0.0f);
    EXPECT_EQ(m_log, "click 160,80 ") << "a drag is no click";

    SDL_Event wheel{};
    wheel.wheel = {SDL_MOUSEWHEEL, 0, SDL_GetWindowID(m_sdl), 0, 0, -1, SDL_MOUSEWHEEL_NORMAL, 0.0f, -1.0f, 10, 10};
    Push(wheel);
    Pump();
    EXPECT_EQ(m_world.m_fWheelStep, -0.05f);
}

TEST_F(WorldInputEventsTest, AltEnterSwitchesOncePerPress)
{
    AltEnter(false);
    EXPECT_EQ(g_switches, std::vector<uint8_t>{1}) << "the key's repeat switches nothing";
    AltEnter(true);
    AltEnter(false);
    EXPECT_EQ(g_switches.size(), 3u) << "Enter let go after Alt";
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE);
    Pump();
    EXPECT_EQ(g_switches.size(), 3u);
}
