#pragma once
#include <cstdint>

#include "base/Clock.h"

struct CDialogScript;

// Switches for tests and headless runs; all off by default.

// Headless: message boxes and dialogs never show and never block (message boxes still print
// "caption: text" on standard error). The environment variable VD_HEADLESS=1 turns it on.
void SetHeadless(bool headless);
bool IsHeadless();

// Dialogs run this script instead of showing (platform/Win32Dialog.h); null for none.
void SetDialogScript(const CDialogScript* script);
const CDialogScript* GetDialogScript();

// Shift reads as held until the first Shift key message.
void SetShiftHeldAtStart(bool held);
bool IsShiftHeldAtStart();

// GetFocus answers the window the program last showed, raised or focused, whatever the display
// server says (an unfocused game freezes, and a bare X server may never report focus).
void SetFocusAssumed(bool assumed);
bool IsFocusAssumed();

// The clock under GetTickCount, QueryPerformanceCounter and the timers (null: the system clock),
// and what Sleep does instead of sleeping (null: really sleep).
void SetTestClock(ClockSource clock);
using SleepHook = void (*)(uint32_t milliseconds);
void SetSleepHook(SleepHook hook);
SleepHook GetSleepHook();

// The program ShellExecuteExW starts in place of xdg-open (null: xdg-open from PATH).
void SetShellLauncher(const char* program);
const char* GetShellLauncher();

// Keeps single-instance rendezvous of programs run side by side apart (empty by default).
void SetInstanceScope(const char* scope);
const char* GetInstanceScope();

// Every switch back to its default (the environment is read again).
void ResetTestSwitches();
