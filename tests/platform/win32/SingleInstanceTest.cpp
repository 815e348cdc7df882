#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "base/WideString.h"
#include "platform/win32/SingleInstance.h"
#include "tests/platform/PlatformTestHelpers.h"

extern char** environ;

namespace {

constexpr const char* kClassVariable = "VD_SINGLE_INSTANCE_CLASS";

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

class SingleInstanceTest : public PlatformTest {};

// Runs this test program again as the second copy; its exit status, or -1.
int RunSecondCopy(const std::string& className)
{
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=SingleInstanceSecondCopy.AsksTheFirstCopyToComeToTheFront";
    char* argv[] = {program.data(), filter.data(), nullptr};
    setenv(kClassVariable, className.c_str(), 1);
    pid_t child = 0;
    int error = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ);
    unsetenv(kClassVariable);
    if (error != 0)
        return -1;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(SingleInstanceTest, SecondCopyBringsTheFirstToTheFront)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(PlainProc);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));

    ASSERT_EQ(RunSecondCopy(Utf16ToUtf8(m_className)), 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // serves the waiting requests
    EXPECT_TRUE(IsWindowVisible(window));
    SetFocusAssumed(true);
    EXPECT_EQ(GetFocus(), window);  // brought to the front
}

TEST_F(SingleInstanceTest, NobodyListensOnceTheClassIsGone)
{
    REQUIRE_DISPLAY();
    HWND window = MakeWindow(PlainProc);
    ASSERT_NE(window, nullptr);
    std::u16string className = m_className;
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(className.c_str(), nullptr));
    EXPECT_FALSE(BringRunningCopyToFront(className.c_str()));
    EXPECT_EQ(FindWindowW(className.c_str(), nullptr), nullptr);
}

TEST(SingleInstanceSecondCopy, AsksTheFirstCopyToComeToTheFront)
{
    const char* className = getenv(kClassVariable);
    if (!className)
        GTEST_SKIP() << "run by SingleInstanceTest as the second copy";
    std::u16string wide = Utf8ToUtf16(className);
    HWND running = FindWindowW(wide.c_str(), nullptr);
    ASSERT_NE(running, nullptr);
    EXPECT_TRUE(SetForegroundWindow(running));
    ShowWindow(running, SW_SHOW);
    EXPECT_FALSE(PostMessageW(running, WM_USER, 0, 0));  // not a window of this copy
    PlatformShutdown();
}
