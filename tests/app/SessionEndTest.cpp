#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "core/FrameTimer.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/Win32Window.h"
#include "tests/app/ProgramRun.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11Desktop.h"
#include "tests/support/platform/TestSwitches.h"

// Last: Xlib's macros (None, Status) would clash with the names above.
#include <X11/Xlib.h>

namespace {

// A world that never stops by itself: something from outside must end its run, else it gives up
// after many frames and says so.
class CEndlessWorld : public CReportingWorld {
public:
    Result Update() override
    {
        ++m_frames;
        if (m_frames == 2)
            OnSecondFrame();
        if (m_frames < kGiveUpFrames)
            return RES_OK;
        fprintf(stderr, "still running\n");
        return RES_FAIL;
    }
protected:
    virtual void OnSecondFrame() {}

private:
    static constexpr int kGiveUpFrames = 3000;
    int m_frames = 0;
};

int g_signal = 0;
int g_secondSignal = 0;

// Signalled during its run, and again as it starts to save: the save goes on to its end.
class CSignalledWorld : public CEndlessWorld {
public:
    Result Release() override
    {
        raise(g_secondSignal);
        Result result = CEndlessWorld::Release();
        const std::string options = std::string(getenv("APPDATA")) + "/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.options.sav";
        fprintf(stderr, "options %s\n", TempDir::Read(options).empty() ? "lost" : "saved");
        return result;
    }

protected:
    void OnSecondFrame() override { raise(g_signal); }
};

// Another client destroys this process's windows, as `xdotool windowclose` does.
class CWindowDestroyedWorld : public CEndlessWorld {
protected:
    void OnSecondFrame() override
    {
        Display* other = XOpenDisplay(nullptr);
        if (!other)
            return;
        for (unsigned long window : WindowsOfProcess(getpid()))
            XDestroyWindow(other, window);
        XCloseDisplay(other);
    }
};

// The display goes away under the running world.
class CDisplayLostWorld : public CEndlessWorld {
protected:
    void OnSecondFrame() override { RunningPrivateDisplay()->Stop(); }
};

// A world that minimises its window on its first frame and reports each frame's factor. The
// clock moves only by the loop's waits (the sleep hook), so every frame but one after a wait
// measures 0.
HWND g_minimised = nullptr;
uint64_t g_clock = 1000000000;
int g_waits = 0;

uint64_t WaitedClock()
{
    return g_clock;
}

// The third wait brings the window back, with a message that ends the waiting.
void CountWait(uint32_t milliseconds)
{
    g_clock += milliseconds * 1000000ull;
    if (++g_waits == 3) {
        ShowWindow(g_minimised, SW_RESTORE);
        PostMessageW(g_minimised, WM_USER, 0, 0);
    }
}

class CMinimisingWorld : public CReportingWorld {
public:
    Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t depth, uint8_t fullscreen, uint8_t a,
                uint8_t b, uint32_t c, const char16_t* d, uint16_t e, uint16_t f) override
    {
        m_pTimerFactor = std::make_unique<CFrameTimer>(GetData());
        if (Failed(m_pTimerFactor->Init()))
            return RES_FAIL;
        return CReportingWorld::Load(window, width, height, depth, fullscreen, a, b, c, d, e, f);
    }
    Result Update() override
    {
        if (!g_minimised) {
            g_minimised = GetMainWindowInfo()->window;
            ShowWindow(g_minimised, SW_MINIMIZE);
        }
        fprintf(stderr, "waits %d factor %.2f\n", g_waits, GetData()->frameFactor);
        return CReportingWorld::Update();
    }
};

const char* SignalName(int number)
{
    return number == SIGTERM ? "SIGTERM" : number == SIGINT ? "SIGINT" : "SIGHUP";
}

} // namespace

// Each of the signals a logout, a system shutdown or a terminal sends ends the run as a quit of
// its own does: Release runs (the game saves there), the exit status is 0, and the log says why.
// The second signal, while Release saves, changes nothing.
TEST_F(StartupTest, SignalsEndTheRunThroughTheNormalShutdown)
{
    REQUIRE_DISPLAY();
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(SignalName(number));
        g_signal = number;
        g_secondSignal = number == SIGTERM ? SIGINT : SIGTERM;
        EXPECT_EXIT(
            {
                CatchSessionEndSignals();
                exit(RunDefault(kBuiltinEngine, []() -> CWorld* { return new CSignalledWorld(); }));
            },
            testing::ExitedWithCode(0),
            Output({"# The session ends (signal " + std::to_string(number) + "): the program shuts down.\n",
                    "Release\noptions saved\n"},
                   {"still running"}));
    }
}

TEST_F(StartupTest, AWindowDestroyedByAnotherClientEndsTheRunThroughTheNormalShutdown)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(exit(RunDefault(kBuiltinEngine, []() -> CWorld* { return new CWindowDestroyedWorld(); })),
                testing::ExitedWithCode(0),
                Output({"# Another program destroyed the window: the program shuts down.\n", "Release\n"},
                       {"still running"}));
}

// The X server itself goes away: the process is not ended by the X library, Release still runs.
TEST_F(StartupTest, ALostDisplayEndsTheRunThroughTheNormalShutdown)
{
    if (!PrivateDisplay::ServerInstalled())
        GTEST_SKIP() << "needs Xvfb";
    EXPECT_EXIT(exit(RunOnPrivateDisplay(kBuiltinEngine, []() -> CWorld* { return new CDisplayLostWorld(); })),
                testing::ExitedWithCode(0),
                Output({"# The connection to the display was lost: the program shuts down.\n", "Release\n"},
                       {"still running"}));
}

// Minimised, the loop runs no frame and waits for messages; the frame timer still advances, so
// the first frame after the window is back measures an ordinary frame, not the time away.
TEST_F(StartupTest, MinimisedTheLoopWaitsAndTheNextFrameIsOrdinary)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(
        {
            SetTestClock(WaitedClock);
            SetSleepHook(CountWait);
            exit(RunDefault(kBuiltinEngine, []() -> CWorld* { return new CMinimisingWorld(); }));
        },
        testing::ExitedWithCode(0), Has("waits 0 factor 0.00\nframe 1\nwaits 3 factor 0.00\nframe 2\n"));
}

// A harness that gates the frames steps them minimised too (waiting for a message there would
// hold its next step for ever): no wait, and the frames go on once the window is back.
TEST_F(StartupTest, MinimisedGatedFramesRunWithoutWaiting)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(
        {
            SetTestClock(WaitedClock);
            SetSleepHook(CountWait);
            SetFrameGate([] {
                static int steps = 0;
                if (++steps == 3)
                    ShowWindow(g_minimised, SW_RESTORE);
                return true;
            });
            exit(RunDefault(kBuiltinEngine, []() -> CWorld* { return new CMinimisingWorld(); }));
        },
        testing::ExitedWithCode(0), Has("waits 0 factor 0.00\nframe 1\nwaits 0 factor 0.00\nframe 2\n"));
}
