#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "app/MainWindow.h"
#include "base/WideString.h"
#include "core/ParamsReader.h"
#include "game/VadadiDazidevWorld.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/TestSwitches.h"
#include "tests/support/WorldTestModules.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        ResetTestModules();
        SetInstanceScope(std::to_string(getpid()).c_str());
        SetFocusAssumed(true);
        WStrCopy(m_world.GetGameData()->m_szAppName, kAppNameUnits, u"Sample");
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WndProc;
        windowClass.lpszClassName = kMainWindowClass;
        ASSERT_NE(RegisterClassW(&windowClass), 0);
        m_info.instance = GetModuleHandleW(nullptr);
    }
    void TearDown() override
    {
        if (m_info.window) {
            EXPECT_EQ(DestroyMainWindow(&m_info), RES_OK);
        }
        EXPECT_EQ(m_world.Release(), RES_OK);
        PlatformShutdown();
        ResetTestSwitches();
        ResetTestModules();
    }

    void LoadWorld(uint16_t width, uint16_t height, uint8_t fullscreen)
    {
        // The game's default size is the window's, so the configured size is the window's too.
        m_settings = "[CAMERA]\nDEFAULT_WIN32_WIDTH = " + std::to_string(width) + "\nDEFAULT_WIN32_HEIGHT = " +
                     std::to_string(height) + "\n";
        m_params = std::make_unique<CParamsText>(m_settings.c_str(), static_cast<uint32_t>(m_settings.size()));
        ASSERT_EQ(m_world.SetParameters(nullptr, m_params.get(), nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
        ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
        // Without game data only the engine's part of the load succeeds, which is all a window needs.
        EXPECT_EQ(m_world.Load(m_info.window, width, height, 32, fullscreen, 0, 0, 1, nullptr, 0, 0), RES_FAIL);
        ASSERT_TRUE(WasCalled("3D Load"));
        g_moduleCalls.clear();
    }

    static RECT Rect(HWND window)
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    TempDir m_appData;  // the world's Release saves its options there
    ScopedEnv m_appDataEnv{"APPDATA", m_appData.Path().c_str()};
    std::string m_settings;
    std::unique_ptr<CParamsText> m_params;
    CVadadiDazidevWorld m_world;
    CMainWindowInfo m_info{};
};

} // namespace

TEST_F(MainWindowTest, CreationAttachesTheWorldAndTitlesTheWindow)
{
    ASSERT_EQ(CreateMainWindow(&m_world, 640, 480, 0, 1, &m_info), RES_OK);
    ASSERT_NE(m_info.window, nullptr);
    EXPECT_EQ(GetPropW(m_info.window, u"pWorld"), &m_world);
    char16_t title[64];
    GetWindowTextW(m_info.window, title, 64);
    EXPECT_EQ(std::u16string(title), u"Sample");
    RECT rect = Rect(m_info.window);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 480);

    HWND window = m_info.window;
    EXPECT_EQ(DestroyMainWindow(&m_info), RES_OK);
    EXPECT_EQ(m_info.window, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowTest, AWindowOfAnUnknownClassIsNotMade)
{
    UnregisterClassW(kMainWindowClass, nullptr);
    EXPECT_EQ(CreateMainWindow(&m_world, 640, 480, 0, 0, &m_info), RES_FAIL);
    EXPECT_EQ(m_info.window, nullptr);
}

TEST_F(MainWindowTest, MessagesReachTheWorldOnlyThroughTheProperty)
{
    HWND bare = CreateWindowExW(0, kMainWindowClass, u"bare", kWindowedStyle, 0, 0, 32, 32, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(SendMessageW(bare, WM_CHAR, 'A', 0), 0);
    EXPECT_EQ(m_world.GetData()->lastChar, 0);

    ASSERT_EQ(CreateMainWindow(&m_world, 320, 240, 0, 0, &m_info), RES_OK);
    EXPECT_EQ(SendMessageW(m_info.window, WM_CHAR, 'A', 0), 0);
    EXPECT_EQ(m_world.GetData()->lastChar, 'A');
    EXPECT_EQ(SendMessageW(m_info.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6)), 0);
    EXPECT_EQ(m_world.GetData()->pointerY, 6.0f);
    EXPECT_EQ(SendMessageW(m_info.window, WM_SETFOCUS, 0, 0), -1) << "the stub that fails";
}

TEST_F(MainWindowTest, TheWindowTimerRunsAFrame)
{
    ASSERT_EQ(CreateMainWindow(&m_world, 320, 240, 0, 0, &m_info), RES_OK);
    LoadWorld(320, 240, 0);
    EXPECT_EQ(ShowMainWindow(&m_world, &m_info), RES_OK);
    SendMessageW(m_info.window, WM_TIMER, 0, 0);
    EXPECT_TRUE(WasCalled("3D BeginFrame"));
    EXPECT_TRUE(WasCalled("3D EndFrame"));
    EXPECT_EQ(m_world.GetData()->hasFocus, 1);
    EXPECT_EQ(m_world.GetData()->minimised, 0);
    EXPECT_EQ(m_world.GetMainWindowInfo(), &m_info);
    EXPECT_TRUE(IsWindowVisible(m_info.window));
}

TEST_F(MainWindowTest, CentringByTheConfiguredSize)
{
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(screenWidth, 200);
    ASSERT_GT(screenHeight, 200);
    ASSERT_EQ(CreateMainWindow(&m_world, 200, 100, 0, 0, &m_info), RES_OK);
    LoadWorld(200, 100, 0);
    EXPECT_EQ(CenterMainWindow(&m_world, &m_info), RES_OK);
    RECT rect = Rect(m_info.window);
    EXPECT_EQ(rect.left, (screenWidth - 200) / 2);
    EXPECT_EQ(rect.top, (screenHeight - 100) / 2);
    EXPECT_EQ(rect.right - rect.left, 200);
}

TEST_F(MainWindowTest, AWindowLargerThanTheDesktopGoesToItsTopLeft)
{
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    uint16_t width = static_cast<uint16_t>(screenWidth + 100);
    ASSERT_EQ(CreateMainWindow(&m_world, width, 100, 0, 0, &m_info), RES_OK);
    SetWindowPos(m_info.window, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    LoadWorld(width, 100, 0);
    EXPECT_EQ(CenterMainWindow(&m_world, &m_info), RES_OK);
    RECT rect = Rect(m_info.window);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 40 + (GetSystemMetrics(SM_CYSCREEN) - 100) / 2);
}

TEST_F(MainWindowTest, AFullscreenWindowIsNotMoved)
{
    ASSERT_EQ(CreateMainWindow(&m_world, 200, 100, 1, 0, &m_info), RES_OK);
    SetWindowPos(m_info.window, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    LoadWorld(200, 100, 1);
    EXPECT_EQ(CenterMainWindow(&m_world, &m_info), RES_OK);
    EXPECT_EQ(Rect(m_info.window).left, 7);
    EXPECT_EQ(Rect(m_info.window).top, 9);
}

TEST_F(MainWindowTest, ToggleFullscreenRecreatesTheWindowAndTheDevice)
{
    ASSERT_EQ(CreateMainWindow(&m_world, 320, 240, 0, 0, &m_info), RES_OK);
    LoadWorld(320, 240, 0);
    EXPECT_EQ(ShowMainWindow(&m_world, &m_info), RES_OK);
    EXPECT_EQ(ToggleFullscreen(&m_world, 0), RES_OK);
    EXPECT_TRUE(g_moduleCalls.empty());

    HWND before = m_info.window;
    ASSERT_EQ(ToggleFullscreen(&m_world, 1), RES_OK);
    std::vector<std::string> expected = {"3D Uninit 1", "3D Init 320 240 1 1"};
    EXPECT_EQ(g_moduleCalls, expected);
    EXPECT_FALSE(IsWindow(before));
    ASSERT_NE(m_info.window, nullptr);
    EXPECT_EQ(GetPropW(m_info.window, u"pWorld"), &m_world);
    EXPECT_EQ(m_world.GetData()->recreating, 0);
    EXPECT_TRUE(IsWindowVisible(m_info.window));
}

TEST_F(MainWindowTest, ToggleFullscreenNeedsARenderer)
{
    ASSERT_EQ(CreateMainWindow(&m_world, 320, 240, 0, 0, &m_info), RES_OK);
    EXPECT_EQ(ShowMainWindow(&m_world, &m_info), RES_OK);
    EXPECT_EQ(ToggleFullscreen(&m_world, 1), RES_FAIL);
    EXPECT_TRUE(IsWindow(m_info.window));
}
