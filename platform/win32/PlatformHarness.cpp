#include "platform/win32/PlatformHarness.h"

#include <cstdlib>
#include <cstring>

namespace {

const CPlatformHarness* g_harness = nullptr;

} // namespace

void SetPlatformHarness(const CPlatformHarness* harness)
{
    g_harness = harness;
}

bool IsHeadless()
{
    if (g_harness)
        return g_harness->headless;
    const char* value = getenv("VD_HEADLESS");
    return value && strcmp(value, "1") == 0;
}

bool IsShiftHeldAtStart()
{
    return g_harness && g_harness->shiftHeldAtStart;
}

bool IsFocusAssumed()
{
    return g_harness && g_harness->focusAssumed;
}

SleepHook GetSleepHook()
{
    return g_harness ? g_harness->sleep : nullptr;
}

const char* GetShellLauncher()
{
    return g_harness ? g_harness->shellLauncher : nullptr;
}

const char* GetInstanceScope()
{
    return g_harness && g_harness->instanceScope ? g_harness->instanceScope : "";
}

CDialogDriver* GetDialogDriver()
{
    return g_harness ? g_harness->dialogDriver : nullptr;
}

bool GetHarnessSeed(uint32_t* seed)
{
    if (!g_harness || !g_harness->seedSet)
        return false;
    *seed = g_harness->seed;
    return true;
}

bool IsFixedStep()
{
    return g_harness && g_harness->fixedStep;
}

uint16_t GetHarnessModule3D()
{
    return g_harness ? g_harness->module3D : 0;
}

bool FrameMayRun()
{
    return !g_harness || !g_harness->frameGate || g_harness->frameGate();
}

bool AreFramesGated()
{
    return g_harness && g_harness->frameGate;
}

void NotifyBeforeSwap()
{
    if (g_harness && g_harness->beforeSwap)
        g_harness->beforeSwap();
}

bool IsBeforeSwapWatched()
{
    return g_harness && g_harness->beforeSwap;
}

bool ArePresentsUnpaced()
{
    return g_harness && g_harness->unpacedPresents;
}
