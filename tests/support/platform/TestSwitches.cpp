#include "tests/support/platform/TestSwitches.h"

#include <climits>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/KeyTranslation.h"
#include "tests/support/platform/AudioCapture.h"
#include "tests/support/platform/DriveHarness.h"

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

// VD_SEED=<number>, VD_FIXED_STEP=1, VD_MODULE_3D=2 or 4, VD_DRIVE=<socket>,
// VD_AUDIO_CAPTURE=<file> (only with the drive).
void ReadEnvironmentSwitches(CPlatformHarness& harness)
{
    const char* seed = getenv("VD_SEED");
    char* end = nullptr;
    const unsigned long value = seed && *seed ? strtoul(seed, &end, 10) : 0;
    harness.seedSet = end && *end == '\0' && value <= UINT32_MAX;
    harness.seed = harness.seedSet ? static_cast<uint32_t>(value) : 0;
    const char* step = getenv("VD_FIXED_STEP");
    harness.fixedStep = step && strcmp(step, "1") == 0;
    // With every frame one frame unit long, frames run as fast as they can.
    harness.unpacedPresents = harness.fixedStep;
    const char* module = getenv("VD_MODULE_3D");
    harness.module3D = module && (strcmp(module, "2") == 0 || strcmp(module, "4") == 0) ? module[0] - '0' : 0;
    const char* drive = getenv("VD_DRIVE");
    const bool driven = drive && *drive && StartDrive(drive);
    const char* capture = getenv("VD_AUDIO_CAPTURE");
    if (driven && capture && *capture && !StartAudioCapture(capture))
        fprintf(stderr, "# test switches: cannot write the audio capture \"%s\"\n", capture);
    harness.frameGate = driven ? DriveFrameGate : nullptr;
    // A driven program's input comes through SDL's queue; the display server's focus, which
    // another program on the same display may take, must not freeze it.
    harness.focusAssumed = harness.focusAssumed || driven;
    harness.beforeSwap = driven ? DriveBeforeSwap : nullptr;
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
    ReadEnvironmentSwitches(switches.harness);
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

void SetFrameGate(bool (*gate)())
{
    Switches().harness.frameGate = gate;
}

void SetBeforeSwapHook(void (*hook)())
{
    Switches().harness.beforeSwap = hook;
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
