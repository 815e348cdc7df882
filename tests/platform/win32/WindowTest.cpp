#include <unistd.h>

#include <vector>

#include "platform/win32/Win32System.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/X11Desktop.h"
#include "tests/platform/PlatformTestHelpers.h"

namespace {

std::vector<UINT> g_seen;
LRESULT g_createResult = 0;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_seen.push_back(message);
    if (message == WM_CREATE)
        return g_createResult;
    return DefWindowProcW(window, message, wParam, lParam);
}

class WindowTest : public PlatformTest {
protected:
    void SetUp() override
    {
        g_seen.clear();
        g_createResult = 0;
    }

    MSG m_message{};
};

bool Saw(UINT message)
{
    for (UINT seen : g_seen) {
        if (seen == message)
            return true;
    }
    return false;
}

} // namespace

TEST_F(WindowTest, PropertiesAreKeptByNameWithoutCase)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    int world = 7;
    EXPECT_EQ(GetPropW(window, u"pWorld"), nullptr);
    EXPECT_TRUE(SetPropW(window, u"pWorld", &world));
    EXPECT_EQ(GetPropW(window, u"PWORLD"), &world);
    int other = 8;
    EXPECT_TRUE(SetPropW(window, u"pworld", &other));
    EXPECT_EQ(GetPropW(window, u"pWorld"), &other);
    EXPECT_EQ(RemovePropW(window, u"pWorld"), &other);
    EXPECT_EQ(GetPropW(window, u"pWorld"), nullptr);
    EXPECT_EQ(RemovePropW(window, u"pWorld"), nullptr);

    SetPropW(window, u"pWorld", &world);
    DestroyWindow(window);
    EXPECT_EQ(GetPropW(window, u"pWorld"), nullptr);
    EXPECT_FALSE(SetPropW(window, u"pWorld", &world));
}

TEST_F(WindowTest, CloseGoesThroughTheQueueAndDefaultProcedureDestroys)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Saw(WM_CREATE));
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    MSG message;
    bool dispatched = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        dispatched = dispatched || message.message == WM_CLOSE;
    }
    EXPECT_TRUE(dispatched);
    EXPECT_TRUE(Saw(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessageW(window, WM_USER, 0, 0));
    EXPECT_TRUE(UnregisterClassW(m_className.c_str(), nullptr));
}

TEST_F(WindowTest, AltF4BecomesTheCloseCommandAndTheClose)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_SYSKEYDOWN, VK_F4, 0x003E0001);  // F4 without Alt: nothing
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE - 0x10, 0);
    EXPECT_FALSE(PeekMessageW(&m_message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(IsWindow(window));

    g_seen.clear();
    SendMessageW(window, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    ASSERT_TRUE(PeekMessageW(&m_message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m_message.message, WM_SYSCOMMAND);
    EXPECT_EQ(m_message.wParam, SC_CLOSE);
    DispatchMessageW(&m_message);
    EXPECT_EQ(g_seen, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, CreationFailsWhenTheProcedureRefusesAndClassesGuardTheirWindows)
{
    REQUIRE_DISPLAY();
    g_createResult = -1;
    EXPECT_EQ(MakeWindow(RecordingProc), nullptr);
    EXPECT_TRUE(Saw(WM_DESTROY));
    g_createResult = 0;
    HWND window = CreateWindowExW(0, m_className.c_str(), u"again", 0x06CA0000, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WNDCLASSW duplicate{};
    duplicate.lpfnWndProc = RecordingProc;
    duplicate.lpszClassName = m_className.c_str();
    EXPECT_EQ(RegisterClassW(&duplicate), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_FALSE(UnregisterClassW(m_className.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    EXPECT_EQ(CreateWindowExW(0, u"no such class", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

// A display that is named but does not answer (a server starting afresh, a wrong DISPLAY) gives
// no window and a log line, never a window on SDL's off-screen driver that nobody sees.
TEST_F(WindowTest, ADisplayThatDoesNotAnswerGivesNoWindowAndSaysSo)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScopedEnv unreachable("DISPLAY", ":4093");
            ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
            ScopedEnv noChoice("SDL_VIDEODRIVER", nullptr);
            bool made = MakeWindow(RecordingProc) != nullptr;
            PlatformShutdown();
            exit(made ? 1 : 0);
        },
        testing::ExitedWithCode(0), testing::ContainsRegex("# SDL video unavailable"));
}

TEST_F(WindowTest, TextRectanglesVisibilityAndFinding)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc, 0x06CA0000, 300, 200);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(SetWindowTextW(window, u"Kvo Adventure - Vadadi"));
    char16_t title[8];
    EXPECT_EQ(GetWindowTextW(window, title, 8), 7);
    EXPECT_EQ(std::u16string(title), u"Kvo Adv");
    EXPECT_EQ(GetWindowTextLengthW(window), 22);

    RECT rect{0, 0, 300, 200};
    EXPECT_TRUE(AdjustWindowRect(&rect, 0x06CA0000, FALSE));
    EXPECT_EQ(rect.right, 300);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);

    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(SetWindowPos(window, HWND_NOTOPMOST, 40, 50, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW));
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
    EXPECT_EQ(FindWindowW(m_className.c_str(), nullptr), window);
    EXPECT_EQ(FindWindowW(m_className.c_str(), u"Kvo Adventure - Vadadi"), window);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
}

// The window manager offers only what the style can do: the fixed game window can be moved,
// minimised and closed, but neither maximised nor resized; a sizing frame and a maximise box
// add those.
TEST_F(WindowTest, TheWindowManagerOffersOnlyWhatTheStyleCanDo)
{
    REQUIRE_DISPLAY();
    constexpr unsigned long kMove = 4, kMinimise = 8, kMaximise = 16, kClose = 32, kResize = 2;
    struct {
        DWORD style;
        unsigned long functions;
    } const cases[] = {
        {0x06CA0000, kMove | kMinimise | kClose},
        {0x06CA0000 | WS_THICKFRAME | WS_MAXIMIZEBOX, kMove | kMinimise | kClose | kMaximise | kResize},
    };
    for (const auto& wanted : cases) {
        HWND window = MakeWindow(RecordingProc, wanted.style);
        ASSERT_NE(window, nullptr);
        const std::vector<unsigned long> shown = WindowsOfProcess(getpid());
        ASSERT_EQ(shown.size(), 1u);
        std::vector<unsigned long> hints;
        ASSERT_TRUE(WindowProperty(shown[0], "_MOTIF_WM_HINTS", &hints));
        ASSERT_GE(hints.size(), 3u);
        EXPECT_EQ(hints[1], wanted.functions) << std::hex << wanted.style;
        EXPECT_EQ((hints[2] & 64) != 0, (wanted.functions & kMaximise) != 0) << "the maximise button";
        DestroyWindow(window);
        UnregisterClassW(m_className.c_str(), nullptr);
    }
}

// A minimised window whose size changes (as a full-screen one leaving the display's mode does)
// stays minimised until it is restored.
TEST_F(WindowTest, AMinimisedWindowStaysMinimisedWhenItsSizeChanges)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(SetWindowPos(window, HWND_TOP, 0, 0, 200, 150, SWP_NOMOVE));
    for (int tries = 0; tries < 20; ++tries) {
        Sleep(10);
        DrainQueue();
    }
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(WindowTest, FocusCanBeAssumedWhereTheServerReportsNone)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    SetFocusAssumed(true);
    EXPECT_EQ(GetFocus(), nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    EXPECT_EQ(GetFocus(), window);
    DestroyWindow(window);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, CaptureCursorAndKeyState)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(RecordingProc);
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(SetCapture(window), nullptr);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    RECT clip{10, 10, 200, 100};
    EXPECT_TRUE(ClipCursor(&clip));
    RECT read;
    GetClipCursor(&read);
    EXPECT_EQ(read.right, 200);
    EXPECT_TRUE(ClipCursor(nullptr));
    GetClipCursor(&read);
    EXPECT_EQ(read.right, GetSystemMetrics(SM_CXSCREEN));

    SetShiftHeldAtStart(true);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    SetShiftHeldAtStart(false);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}
