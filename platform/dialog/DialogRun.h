#pragma once
#include <vector>

#include "platform/dialog/Win32Dialog.h"

// What shows a running dialog: told of every change the procedure makes to a control.
class CDialogView {
public:
    virtual ~CDialogView() = default;
    virtual void ControlChanged(HWND control) = 0;
};

// One modal run of a dialog.
class CDialogRun {
public:
    DLGPROC procedure = nullptr;
    const CDialogTemplate* dialogTemplate = nullptr;
    bool ended = false;
    INT_PTR result = IDCANCEL;
    CDialogView* view = nullptr;
};

CDialogRun* DialogRunOf(HWND dialog);
std::vector<HWND> DialogControls(HWND dialog);

// What the user does, through any front end: the state changes, then the procedure hears of it.
bool UserSelect(HWND control, int index);
bool UserCheck(HWND control, bool checked);
bool UserClick(HWND control);
void UserClose(HWND dialog);

class CDialogDriver;

// The GTK front end, acted on by the driver when one is given; false when GTK cannot start.
bool RunGtkDialog(HWND dialog, CDialogDriver* driver);
