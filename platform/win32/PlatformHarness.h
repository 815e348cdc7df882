#pragma once
#include <cstdint>

class CDialogDriver;

// What a harness may change in how the platform layer meets the desktop. The program installs
// none: the layer then acts as on any desktop, headless only when VD_HEADLESS=1.
struct CPlatformHarness {
    bool headless;                         // message boxes and dialogs never show and never block
    bool shiftHeldAtStart;                 // Shift reads as held until the first Shift key message
    bool focusAssumed;                     // GetFocus answers the window last shown, raised or focused
    void (*sleep)(uint32_t milliseconds);  // stands in for Sleep when set
    const char* shellLauncher;             // started in place of xdg-open when set
    const char* instanceScope;             // keeps the single-instance rendezvous of side-by-side runs apart
    CDialogDriver* dialogDriver;           // acts on modal dialogs in place of a user when set
    bool seedSet;                          // seed replaces the tick count as the random seed
    uint32_t seed;
    bool fixedStep;                        // every frame lasts exactly one frame unit
    uint16_t module3D;                     // the renderer module in place of start-up's when not 0
    bool (*frameGate)();                   // a frame runs only when it answers true; false: messages first
    void (*beforeSwap)();                  // called with the finished frame before each buffer swap
    bool unpacedPresents;                  // swaps never wait out the display's refresh period
};

// Installs the harness; the program installs none.
void SetPlatformHarness(const CPlatformHarness* harness);

// Headless: message boxes print "caption: text" on standard error and return at once, dialogs
// press their default button. Set by the harness, else by the environment variable VD_HEADLESS=1.
bool IsHeadless();

// What the harness sets; without one: off, or none.
bool IsShiftHeldAtStart();
bool IsFocusAssumed();
using SleepHook = void (*)(uint32_t milliseconds);
SleepHook GetSleepHook();
const char* GetShellLauncher();
const char* GetInstanceScope();  // never null
CDialogDriver* GetDialogDriver();
bool GetHarnessSeed(uint32_t* seed);  // false: seed from the tick count
bool IsFixedStep();
uint16_t GetHarnessModule3D();  // 0: start-up's choice
bool FrameMayRun();             // true without a gate
bool AreFramesGated();          // a gate, not the messages, decides when frames run
void NotifyBeforeSwap();
bool IsBeforeSwapWatched();  // a beforeSwap hook is installed
bool ArePresentsUnpaced();
