#pragma once
#include <cstdint>

#include "base/Clock.h"
#include "platform/win32/PlatformHarness.h"
#include "tests/support/platform/DialogScript.h"

class CDialogDriver;

// Switches for tests, set through the platform's harness (installed when a test program starts);
// all off by default, headless as the environment says. The environment also gives the random
// seed (VD_SEED), a fixed frame step (VD_FIXED_STEP=1), the renderer (VD_MODULE_3D=2 or 4) and the
// end-to-end harness's socket (VD_DRIVE, see DriveHarness.h) with its capture of the mix
// (VD_AUDIO_CAPTURE, see AudioCapture.h).

// Headless: message boxes and dialogs never show and never block (message boxes still print
// "caption: text" on standard error).
void SetHeadless(bool headless);

// Shift reads as held until the first Shift key message.
void SetShiftHeldAtStart(bool held);

// GetFocus answers the window the program last showed, raised or focused, whatever the display
// server says (an unfocused game freezes, and a bare X server may never report focus).
void SetFocusAssumed(bool assumed);

// The clock under GetTickCount, QueryPerformanceCounter and the timers (null: the system clock),
// and what Sleep does instead of sleeping (null: really sleep).
void SetTestClock(ClockSource clock);
void SetSleepHook(SleepHook hook);
// What decides when frames run in place of the message loop (null: the loop).
void SetFrameGate(bool (*gate)());
// Called before each buffer swap with the finished frame: the device then runs every frame.
void SetBeforeSwapHook(void (*hook)());

// The program ShellExecuteExW starts in place of xdg-open (null: xdg-open from PATH).
void SetShellLauncher(const char* program);

// Keeps single-instance rendezvous of programs run side by side apart (empty by default).
void SetInstanceScope(const char* scope);

// What acts on modal dialogs in place of a user (null: none); SetDialogScript sets one.
void SetDialogDriver(CDialogDriver* driver);

// The key state GetKeyState reports for a virtual key, as after its key message.
void SetTestKeyDown(int virtualKey, bool down);

// Every switch back to its default (the environment is read again).
void ResetTestSwitches();
