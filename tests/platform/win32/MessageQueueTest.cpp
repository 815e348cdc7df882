#include "platform/win32/Win32System.h"
#include "tests/platform/PlatformTestHelpers.h"

namespace {

uint64_t g_now = 0;
uint64_t FakeClock() { return g_now; }
void AdvanceMs(uint64_t ms) { g_now += ms * 1000000ull; }

class MessageQueueTest : public PlatformTest {
protected:
    void SetUp() override
    {
        g_now = 1000000000ull;
        SetTestClock(FakeClock);
    }
};

} // namespace

TEST_F(MessageQueueTest, PostedFirstThenQuitThenTimerAtMostOnce)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 16, nullptr);
    ASSERT_NE(timer, 0u);
    AdvanceMs(100);  // six periods missed
    PostMessageW(nullptr, WM_USER + 1, 11, 12);
    PostQuitMessage(3);
    PostMessageW(nullptr, WM_USER + 2, 21, 22);

    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 1u);
    EXPECT_EQ(message.wParam, 11u);
    EXPECT_EQ(message.lParam, 12);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 2u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);

    // Looking without removing shows the same pending timer message; taking it leaves none.
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, WM_TIMER);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, timer);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));

    AdvanceMs(15);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    AdvanceMs(1);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_TIMER);

    EXPECT_TRUE(KillTimer(nullptr, timer));
    AdvanceMs(100);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(KillTimer(nullptr, timer));
}

TEST_F(MessageQueueTest, TimerPeriodHasAFloorAndRangeFilterSkipsOthers)
{
    SetTimer(nullptr, 0, 1, nullptr);
    PostMessageW(nullptr, WM_USER, 0, 0);
    MSG message;
    AdvanceMs(9);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) == FALSE);
    AdvanceMs(1);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(message.message, WM_TIMER);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER);
}

TEST_F(MessageQueueTest, TimeFunctionsFollowTheInjectedClock)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER before;
    LARGE_INTEGER after;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1000000000ll);
    QueryPerformanceCounter(&before);
    DWORD ticks = GetTickCount();
    AdvanceMs(250);
    QueryPerformanceCounter(&after);
    EXPECT_EQ(after.QuadPart - before.QuadPart, 250000000ll);
    EXPECT_EQ(GetTickCount() - ticks, 250u);

    static uint32_t slept = 0;
    SetSleepHook([](uint32_t ms) { slept += ms; AdvanceMs(ms); });
    Sleep(40);
    EXPECT_EQ(slept, 40u);
    EXPECT_EQ(GetTickCount() - ticks, 290u);
}

TEST_F(MessageQueueTest, GetMessageWaitsThroughTheSleepHookUntilTheTimer)
{
    SetSleepHook([](uint32_t ms) { AdvanceMs(ms); });
    SetTimer(nullptr, 0, 50, nullptr);
    MSG message;
    ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_TIMER);
    PostQuitMessage(0);
    EXPECT_FALSE(GetMessageW(&message, nullptr, 0, 0));
}

TEST_F(MessageQueueTest, WindowMessagesNeedAWindow)
{
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x999990), WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(nullptr, WM_USER, 0, 0), 0);
    MSG message{};
    EXPECT_EQ(DispatchMessageW(&message), 0);
}

TEST_F(MessageQueueTest, DiscardingClicksKeepsTheRestInOrder)
{
    for (UINT message : {WM_LBUTTONDOWN, WM_KEYDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEWHEEL,
                         WM_CLOSE, WM_RBUTTONUP, WM_SYSKEYDOWN})
        PostMessageW(nullptr, message, 0, 0);
    DiscardQueuedClicks();
    MSG message;
    for (UINT kept : {WM_KEYDOWN, WM_MOUSEMOVE, WM_CLOSE, WM_SYSKEYDOWN}) {
        ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, kept);
    }
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}
