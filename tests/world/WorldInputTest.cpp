#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "base/WideString.h"
#include "world/World.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/WorldTestModules.h"

namespace {

uint64_t g_now = 0;

uint64_t TestNow()
{
    return g_now;
}

// A world whose Update can be made to fail and whose calls are logged with the modules'.
class CCountingWorld : public CWorld {
public:
    Result Update() override
    {
        g_moduleCalls.push_back("world Update");
        const Result updated = CWorld::Update();
        return failUpdate ? RES_FAIL : updated;
    }
    Result Render() override
    {
        g_moduleCalls.push_back("world Render");
        return RES_OK;
    }
    bool failUpdate = false;
};

class WorldInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestModules();
        g_now = 1000000000ull;
        SetTestClock(TestNow);
    }
    void TearDown() override
    {
        EXPECT_EQ(m_world.Release(), RES_OK);
        ResetTestModules();
        PlatformShutdown();
        ResetTestSwitches();
    }

    Result Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND window = nullptr)
    {
        CWorldMessage record{window, message, wParam, lParam, {0, 0, 0}};
        return m_world.OnMessage(&record);
    }

    void LoadWithTestModules()
    {
        ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
        ASSERT_EQ(m_world.Load(nullptr, 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0), RES_OK);
        g_moduleCalls.clear();
    }

    CWorldData* Data() const { return m_world.GetData(); }

    CCountingWorld m_world;
};

} // namespace

TEST_F(WorldInputTest, KeysRecordDownPressedAndReleased)
{
    EXPECT_EQ(Send(WM_KEYDOWN, 'A'), RES_FAIL);
    EXPECT_EQ(Data()->keyDown[75], 1);
    EXPECT_EQ(Data()->keyPressed[75], 1);
    EXPECT_EQ(Data()->keyPressedCount, 1);
    EXPECT_EQ(Send(WM_KEYUP, 'A'), RES_FAIL);
    EXPECT_EQ(Data()->keyDown[75], 0);
    EXPECT_EQ(Data()->keyPressed[75], 1);
    EXPECT_EQ(Data()->keyReleased[75], 1);
    EXPECT_EQ(Data()->keyReleasedCount, 1);

    EXPECT_EQ(Send(WM_KEYUP, VK_ESCAPE), RES_FAIL);
    EXPECT_EQ(Data()->keyReleased[1], 0);
    EXPECT_EQ(Data()->keyReleasedCount, 2);
}

TEST_F(WorldInputTest, UnmappedAndOutOfRangeKeysGoToIndexZero)
{
    EXPECT_EQ(Send(WM_KEYDOWN, VK_PAUSE), RES_FAIL);
    EXPECT_EQ(Send(WM_KEYDOWN, 0x1234), RES_FAIL);
    EXPECT_EQ(Send(WM_KEYDOWN, static_cast<WPARAM>(-1)), RES_FAIL);
    EXPECT_EQ(Data()->keyDown[0], 1);
    EXPECT_EQ(Data()->keyPressedCount, 3);
    for (int code = 1; code < kKeyCount; ++code)
        EXPECT_EQ(Data()->keyDown[code], 0) << code;
}

TEST_F(WorldInputTest, PressedCountWrapsAtEightBits)
{
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Send(WM_KEYDOWN, VK_SPACE), RES_FAIL);
    EXPECT_EQ(Data()->keyPressedCount, 0);
    EXPECT_EQ(Send(WM_KEYDOWN, VK_SPACE), RES_FAIL);
    EXPECT_EQ(Data()->keyPressedCount, 1);
}

TEST_F(WorldInputTest, KeysAreIgnoredWhileAnInputModuleIsInstalled)
{
    ChooseTestModule(Data(), kModule3D, CreateTest3D);
    ChooseTestModule(Data(), kModuleInput, CreateTestInput);
    ASSERT_EQ(m_world.Load(nullptr, 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0), RES_OK);
    ASSERT_NE(m_world.GetInputEngine(), nullptr);
    EXPECT_EQ(Send(WM_KEYDOWN, 'B'), RES_FAIL);
    EXPECT_EQ(Data()->keyDown[76], 0);
    EXPECT_EQ(Data()->keyPressedCount, 0);
    EXPECT_EQ(Send(WM_CHAR, 0x10041), RES_FAIL);
    EXPECT_EQ(Data()->lastChar, 0x41);
}

TEST_F(WorldInputTest, PointerIsTheUnsignedHalvesOfLParam)
{
    EXPECT_EQ(Send(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 300)), RES_FAIL);
    EXPECT_EQ(Data()->pointerX, 65535.0f);
    EXPECT_EQ(Data()->pointerY, 300.0f);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 20)), RES_FAIL);
    EXPECT_EQ(Data()->pressX, 10.0f);
    EXPECT_EQ(Data()->pressY, 20.0f);
    EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(40, 50)), RES_FAIL);
    EXPECT_EQ(Data()->pointerX, 10.0f);
    EXPECT_EQ(Send(WM_MOUSEWHEEL, 0, 0), RES_FAIL);
}

TEST_F(WorldInputTest, ButtonsAndCapture)
{
    REQUIRE_DISPLAY();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    std::u16string name = Utf8ToUtf16("WorldInputTest-" + std::to_string(getpid()));
    windowClass.lpszClassName = name.c_str();
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, name.c_str(), u"input", 0x06CA0000, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    if (!window)
        GTEST_SKIP() << "no window";

    EXPECT_EQ(Send(WM_LBUTTONDOWN, 0, 0, window), RES_FAIL);
    EXPECT_EQ(Send(WM_RBUTTONDOWN, 0, 0, window), RES_FAIL);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(Send(WM_LBUTTONUP, 0, 0, window), RES_FAIL);
    EXPECT_EQ(GetCapture(), window);  // right is still down
    EXPECT_EQ(Data()->mouseReleased[0], 1);
    EXPECT_EQ(Data()->mouseDown[0], 0);
    EXPECT_EQ(Data()->mouseDown[2], 1);
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, 0, window), RES_FAIL);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Data()->mouseReleased[2], 1);

    EXPECT_EQ(Send(WM_MBUTTONUP, 0, 0, window), RES_FAIL);  // never went down
    EXPECT_EQ(Data()->mouseReleased[1], 0);
    EXPECT_EQ(Send(WM_MBUTTONDOWN, 0, 0, window), RES_FAIL);
    EXPECT_EQ(Data()->mousePressed[1], 1);
    EXPECT_EQ(Data()->mouseDown[1], 1);
}

TEST_F(WorldInputTest, ADrawnFrameRunsInOrderAndClearsOnlyTheEdges)
{
    LoadWithTestModules();
    EXPECT_EQ(Send(WM_KEYDOWN, 'C'), RES_FAIL);
    EXPECT_EQ(Send(WM_KEYDOWN, 'D'), RES_FAIL);
    EXPECT_EQ(Send(WM_KEYUP, 'D'), RES_FAIL);
    EXPECT_EQ(Send(WM_CHAR, 'c'), RES_FAIL);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 0, 0), RES_FAIL);
    EXPECT_EQ(Send(WM_RBUTTONDOWN, 0, 0), RES_FAIL);
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, 0), RES_FAIL);
    Data()->frameRecordA[11] = 7;
    Data()->frameRecordB[0] = 7;

    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    std::vector<std::string> expected = {"world Update", "camera Update", "3D BeginFrame", "world Render",
                                         "3D EndFrame"};
    EXPECT_EQ(g_moduleCalls, expected);
    CWorldData* data = Data();
    EXPECT_EQ(data->keyDown[77], 1);
    EXPECT_EQ(data->keyPressed[77], 0);
    EXPECT_EQ(data->keyReleased[78], 0);
    EXPECT_EQ(data->keyPressedCount, 0);
    EXPECT_EQ(data->keyReleasedCount, 0);
    EXPECT_EQ(data->lastChar, 0);
    EXPECT_EQ(data->frameRecordA[11], 0u);
    EXPECT_EQ(data->frameRecordB[0], 0u);
    EXPECT_EQ(data->mouseDown[0], 1);
    EXPECT_EQ(data->mousePressed[0], 0);
    EXPECT_EQ(data->mouseReleased[2], 0);
}

TEST_F(WorldInputTest, AFailedUpdateDrawsNothingAndKeepsTheEdges)
{
    LoadWithTestModules();
    EXPECT_EQ(Send(WM_KEYDOWN, 'E'), RES_FAIL);
    m_world.failUpdate = true;
    EXPECT_EQ(m_world.OnFrame(), RES_FAIL);
    EXPECT_FALSE(WasCalled("3D BeginFrame"));
    EXPECT_EQ(Data()->keyPressed[79], 1);
}

TEST_F(WorldInputTest, AFailedBeginFrameSkipsRenderAndPresent)
{
    LoadWithTestModules();
    g_testModules.failBeginFrame = true;
    EXPECT_EQ(Send(WM_KEYDOWN, 'E'), RES_FAIL);
    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    EXPECT_TRUE(WasCalled("3D BeginFrame"));
    EXPECT_FALSE(WasCalled("world Render"));
    EXPECT_FALSE(WasCalled("3D EndFrame"));
    EXPECT_EQ(Data()->keyPressed[79], 0);
}

TEST_F(WorldInputTest, AMinimisedWindowOnlyAdvancesTheTimer)
{
    LoadWithTestModules();
    Data()->minimised = 1;
    g_now += 10000000000ull;  // ten seconds minimised
    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    EXPECT_TRUE(g_moduleCalls.empty());
    Data()->minimised = 0;
    g_now += 1000000000ull / 30;
    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    EXPECT_NEAR(Data()->frameFactor, 1.0, 1e-6);
}

TEST_F(WorldInputTest, FramesDrawOnlyWhileRenderingIsEnabled)
{
    LoadWithTestModules();
    Data()->renderingEnabled = 0;
    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    EXPECT_FALSE(WasCalled("3D BeginFrame"));
    EXPECT_EQ(m_world.OnSize(512, 384), RES_OK);
    EXPECT_EQ(Data()->renderingEnabled, 2);
    EXPECT_EQ(Data()->scaleX, 0.5f);
    EXPECT_EQ(Data()->scaleY, 0.5f);
    EXPECT_EQ(Data()->workingWidth, 512);
    EXPECT_TRUE(WasCalled("camera SetViewport 0 0 512 384"));
    EXPECT_EQ(m_world.OnFrame(), RES_OK);
    EXPECT_TRUE(WasCalled("3D BeginFrame"));
}
