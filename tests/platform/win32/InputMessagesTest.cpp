#include <SDL2/SDL.h>

#include <cstring>
#include <string>

#include "tests/platform/PlatformTestHelpers.h"

namespace {

SDL_Window* SdlWindowTitled(const char* title)
{
    for (Uint32 id = 1; id < 256; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window && std::string(SDL_GetWindowTitle(window)) == title)
            return window;
    }
    return nullptr;
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

class InputMessagesTest : public PlatformTest {
protected:
    void SetUp() override
    {
        if (!HasDisplay())
            GTEST_SKIP() << "needs an X display";
        SetFocusAssumed(true);
        m_window = MakeWindow(PlainProc);
        ASSERT_NE(m_window, nullptr);
        ShowWindow(m_window, SW_SHOW);  // the window focus is assumed for
        m_sdl = SdlWindowTitled("Platform test");
        ASSERT_NE(m_sdl, nullptr);
        DrainQueue();
    }

    void Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 mod, Uint8 repeat = 0)
    {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(m_sdl);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = keycode;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    void Text(const char* utf8)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = SDL_GetWindowID(m_sdl);
        strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
        SDL_PushEvent(&event);
    }

    void Button(Uint32 type, Uint8 button, int x, int y)
    {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(m_sdl);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        SDL_PushEvent(&event);
    }

    HWND m_window = nullptr;
    SDL_Window* m_sdl = nullptr;
};

uint32_t Bits(LPARAM lParam)
{
    return static_cast<uint32_t>(lParam);
}

} // namespace

TEST_F(InputMessagesTest, KeyMessagesCarryVirtualKeyAndLParamBits)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NONE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 1);
    Key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a, KMOD_NONE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE);

    MSG down = TakeMessage(WM_KEYDOWN);
    EXPECT_EQ(down.hwnd, m_window);
    EXPECT_EQ(down.wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(Bits(down.lParam), 0x001E0001u);  // repeat 1, scan code 0x1E, first press
    MSG repeat = TakeMessage(WM_KEYDOWN);
    EXPECT_EQ(Bits(repeat.lParam), 0x401E0001u);  // previous state down
    MSG up = TakeMessage(WM_KEYUP);
    EXPECT_EQ(Bits(up.lParam), 0xC01E0001u);  // previous state and transition
    MSG arrow = TakeMessage(WM_KEYDOWN);
    EXPECT_EQ(arrow.wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(Bits(arrow.lParam), 0x014B0001u);  // extended key
    EXPECT_FALSE(GetKeyState('A') & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_LEFT) & 0x8000);
}

TEST_F(InputMessagesTest, AltChordsAreSystemKeys)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
    Key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
    Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE);

    MSG alt = TakeMessage(WM_SYSKEYDOWN);
    EXPECT_EQ(alt.wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(Bits(alt.lParam), 0x20380001u);
    MSG enter = TakeMessage(WM_SYSKEYDOWN);
    EXPECT_EQ(enter.wParam, static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(Bits(enter.lParam) & 1u, 1u);  // what the full-screen switch tests
    EXPECT_EQ(Bits(enter.lParam), 0x201C0001u);
    MSG enterUp = TakeMessage(WM_SYSKEYUP);
    EXPECT_EQ(Bits(enterUp.lParam), 0xE01C0001u);
    MSG altUp = TakeMessage(WM_KEYUP);  // Alt was part of a chord
    EXPECT_EQ(altUp.wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(TakeMessage(WM_KEYDOWN).message, WM_NULL);
}

TEST_F(InputMessagesTest, TranslateMakesOneCharacterPerUtf16Unit)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_E, SDLK_e, KMOD_NONE);
    Text("e\xE2\x82\xAC\xF0\x9D\x84\x9E");  // e, euro sign, G clef (a surrogate pair)
    Key(SDL_KEYUP, SDL_SCANCODE_E, SDLK_e, KMOD_NONE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, KMOD_NONE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE);

    std::vector<MSG> order;
    MSG message;
    while (PeekMessageW(&message, m_window, WM_KEYDOWN, WM_CHAR, PM_REMOVE)) {
        order.push_back(message);
        TranslateMessage(&message);
    }
    ASSERT_EQ(order.size(), 11u);
    EXPECT_EQ(order[0].message, WM_KEYDOWN);
    const char16_t expected[] = {u'e', 0x20AC, 0xD834, 0xDD1E};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(order[1 + i].message, WM_CHAR);
        EXPECT_EQ(order[1 + i].wParam, static_cast<WPARAM>(expected[i]));
    }
    EXPECT_EQ(order[5].message, WM_KEYUP);
    EXPECT_EQ(order[6].message, WM_KEYDOWN);
    EXPECT_EQ(order[7].message, WM_CHAR);
    EXPECT_EQ(order[7].wParam, 8u);
    EXPECT_EQ(order[8].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(order[9].message, WM_CHAR);
    EXPECT_EQ(order[9].wParam, 27u);
    EXPECT_EQ(order[10].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_FALSE(PeekMessageW(&message, m_window, WM_CHAR, WM_CHAR, PM_REMOVE));  // Left types nothing
}

TEST_F(InputMessagesTest, MouseMessagesPackClientCoordinatesAndButtonFlags)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_LCTRL);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 12, 34);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(m_sdl);
    motion.motion.state = SDL_BUTTON_LMASK;
    motion.motion.x = -5;  // a captured pointer left of and above the window
    motion.motion.y = -2;
    SDL_PushEvent(&motion);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 70000, 5);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 2);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 3, 4);

    MSG down = TakeMessage(WM_LBUTTONDOWN);
    EXPECT_EQ(down.wParam, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(Bits(down.lParam), 0x0022000Cu);
    MSG move = TakeMessage(WM_MOUSEMOVE);
    EXPECT_EQ(move.wParam, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(Bits(move.lParam), 0xFFFEFFFBu);
    EXPECT_EQ(GET_X_LPARAM(move.lParam), -5);
    EXPECT_EQ(GET_Y_LPARAM(move.lParam), -2);
    EXPECT_EQ(LOWORD(move.lParam), 65531);  // what the raw-state recorder stores
    MSG up = TakeMessage(WM_LBUTTONUP);
    EXPECT_EQ(up.wParam, MK_CONTROL);
    EXPECT_EQ(LOWORD(up.lParam), static_cast<WORD>(70000 & 0xFFFF));
    EXPECT_EQ(TakeMessage(WM_RBUTTONDOWN).wParam, MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(TakeMessage(WM_MBUTTONDOWN).wParam, MK_RBUTTON | MK_MBUTTON | MK_CONTROL);
    EXPECT_TRUE(GetKeyState(VK_RBUTTON) & 0x8000);
}

TEST_F(InputMessagesTest, WheelCarriesDeltaInTheHighWordAndScreenCoordinates)
{
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SDL_GetWindowID(m_sdl);
    wheel.wheel.y = 1;
    wheel.wheel.preciseY = 1.0f;
    wheel.wheel.mouseX = 5;
    wheel.wheel.mouseY = 6;
    SDL_PushEvent(&wheel);
    wheel.wheel.y = -2;
    wheel.wheel.preciseY = -2.0f;
    wheel.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&wheel);

    RECT placed;
    ASSERT_TRUE(GetWindowRect(m_window, &placed));
    MSG forward = TakeMessage(WM_MOUSEWHEEL);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(forward.wParam), 120);
    EXPECT_EQ(GET_X_LPARAM(forward.lParam), placed.left + 5);
    EXPECT_EQ(GET_Y_LPARAM(forward.lParam), placed.top + 6);
    MSG back = TakeMessage(WM_MOUSEWHEEL);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(back.wParam), -240);
    EXPECT_EQ(HIWORD(back.wParam), 0xFF10);
}

TEST_F(InputMessagesTest, ActivationCarriesOneOrZeroAndClosingIsQueued)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(m_sdl);
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);

    MSG lost = TakeMessage(WM_ACTIVATE);
    EXPECT_EQ(lost.wParam, WA_INACTIVE);
    MSG gained = TakeMessage(WM_ACTIVATE);
    EXPECT_EQ(gained.wParam, WA_ACTIVE);
    EXPECT_EQ(gained.lParam, 0);
    EXPECT_EQ(TakeMessage(WM_SETFOCUS).hwnd, m_window);
    MSG close = TakeMessage(WM_CLOSE);
    EXPECT_EQ(close.hwnd, m_window);
    DispatchMessageW(&close);
    EXPECT_FALSE(IsWindow(m_window));
}
