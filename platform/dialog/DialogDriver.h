#pragma once
#include "platform/win32/Win32Types.h"

// What a user does to a running dialog, through the front end that shows it. An action on a
// control that cannot take it is refused (false).
class CDialogHand {
public:
    virtual ~CDialogHand() = default;
    virtual bool IsEnabled(HWND control) = 0;
    virtual bool Select(HWND control, int index) = 0;
    virtual bool Check(HWND control, bool checked) = 0;
    virtual bool Click(HWND control) = 0;
    virtual void Close() = 0;
    virtual bool HasEnded() = 0;
};

// Acts on modal dialogs in place of a user; a harness installs one (platform/win32/PlatformHarness.h).
class CDialogDriver {
public:
    virtual ~CDialogDriver() = default;
    // After WM_INITDIALOG.
    virtual void Ready(HWND dialog) = 0;
    // Whether to act through the shown front end when there is a display.
    virtual bool ThroughView() const = 0;
    // Acts on the dialog; a dialog still running afterwards is closed.
    virtual void Drive(HWND dialog, CDialogHand& hand) = 0;
    // Once the dialog has ended, before it is destroyed.
    virtual void Ended(HWND dialog) = 0;
};
