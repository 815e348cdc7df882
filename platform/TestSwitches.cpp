#include "platform/TestSwitches.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Switches {
    bool headlessRead = false;
    bool headless = false;
    const CDialogScript* dialogScript = nullptr;
    bool shiftHeld = false;
    bool focusAssumed = false;
    SleepHook sleepHook = nullptr;
    std::string shellLauncher;
    std::string instanceScope;
};

Switches& State()
{
    static Switches switches;
    return switches;
}

} // namespace

void SetHeadless(bool headless)
{
    State().headlessRead = true;
    State().headless = headless;
}

bool IsHeadless()
{
    Switches& state = State();
    if (!state.headlessRead) {
        const char* value = getenv("VD_HEADLESS");
        state.headless = value && strcmp(value, "1") == 0;
        state.headlessRead = true;
    }
    return state.headless;
}

void SetDialogScript(const CDialogScript* script)
{
    State().dialogScript = script;
}

const CDialogScript* GetDialogScript()
{
    return State().dialogScript;
}

void SetShiftHeldAtStart(bool held)
{
    State().shiftHeld = held;
}

bool IsShiftHeldAtStart()
{
    return State().shiftHeld;
}

void SetFocusAssumed(bool assumed)
{
    State().focusAssumed = assumed;
}

bool IsFocusAssumed()
{
    return State().focusAssumed;
}

void SetTestClock(ClockSource clock)
{
    SetClockSource(clock);
}

void SetSleepHook(SleepHook hook)
{
    State().sleepHook = hook;
}

SleepHook GetSleepHook()
{
    return State().sleepHook;
}

void SetShellLauncher(const char* program)
{
    State().shellLauncher = program ? program : "";
}

const char* GetShellLauncher()
{
    return State().shellLauncher.empty() ? nullptr : State().shellLauncher.c_str();
}

void SetInstanceScope(const char* scope)
{
    State().instanceScope = scope ? scope : "";
}

const char* GetInstanceScope()
{
    return State().instanceScope.c_str();
}

void ResetTestSwitches()
{
    State() = Switches();
    SetClockSource(nullptr);
}
