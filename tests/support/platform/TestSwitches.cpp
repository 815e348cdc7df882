#include "tests/support/platform/TestSwitches.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/KeyTranslation.h"

namespace {

struct CSwitches {
    CPlatformHarness harness{};
    std::string shellLauncher;
    std::string instanceScope;
};

bool HeadlessByEnvironment()
{
    const char* value = getenv("VD_HEADLESS");
    return value && strcmp(value, "1") == 0;
}

CSwitches& Switches()
{
    static CSwitches switches;
    return switches;
}

void Reset()
{
    CSwitches& switches = Switches();
    switches = CSwitches{};
    switches.harness.headless = HeadlessByEnvironment();
    SetPlatformHarness(&switches.harness);
}

// Installed before any test runs.
struct CInstallSwitches {
    CInstallSwitches() { Reset(); }
} g_installSwitches;

} // namespace

void SetHeadless(bool headless)
{
    Switches().harness.headless = headless;
}

void SetShiftHeldAtStart(bool held)
{
    Switches().harness.shiftHeldAtStart = held;
}

void SetFocusAssumed(bool assumed)
{
    Switches().harness.focusAssumed = assumed;
}

void SetTestClock(ClockSource clock)
{
    SetClockSource(clock);
}

void SetSleepHook(SleepHook hook)
{
    Switches().harness.sleep = hook;
}

void SetShellLauncher(const char* program)
{
    CSwitches& switches = Switches();
    switches.shellLauncher = program ? program : "";
    switches.harness.shellLauncher = program ? switches.shellLauncher.c_str() : nullptr;
}

void SetInstanceScope(const char* scope)
{
    CSwitches& switches = Switches();
    switches.instanceScope = scope ? scope : "";
    switches.harness.instanceScope = switches.instanceScope.c_str();
}

void SetDialogDriver(CDialogDriver* driver)
{
    Switches().harness.dialogDriver = driver;
}

void ResetTestSwitches()
{
    Reset();
    SetClockSource(nullptr);
}

void SetTestKeyDown(int virtualKey, bool down)
{
    CKeyboardState::Get().SetDown(virtualKey, down);
}
