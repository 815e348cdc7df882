#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/win32/Win32Types.h"

// A scripted run: each step acts as the user would; a step on a disabled control is refused
// (and reported on standard error). A script that ends before the dialog does closes it.
enum class DialogStepKind : uint8_t { Select, SelectText, Check, Click, Close };

struct CDialogScriptStep {
    DialogStepKind kind;
    int id;               // the control
    int value;            // Select: item index; Check: 0 or 1
    const char16_t* text; // SelectText: the item's text
};

struct CDialogScript {
    const CDialogScriptStep* steps;
    size_t stepCount;
    // Called after WM_INITDIALOG, and once the dialog has ended (before it is destroyed).
    void (*onReady)(HWND dialog, void* user);
    void (*onEnded)(HWND dialog, void* user);
    void* user;
    // Play the steps through the real GTK dialog when a display is there.
    bool throughGtk;
};

// Modal dialogs from now on run this script instead of waiting for a user; null for none.
void SetDialogScript(const CDialogScript* script);
