#pragma once
#include <cstddef>

#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Types.h"

// Modal dialogs from the program's dialog resources, driven by a Windows-style dialog
// procedure. Controls are windows (GetDlgItem) that answer the drop-down list and button
// messages below. On a desktop the dialog is a modal GTK 3 window; with a driver
// (platform/dialog/DialogDriver.h) the driver plays the user; headless or without a display and with no
// driver, the default push button is pressed. A closed dialog sends WM_CLOSE to the procedure,
// then WM_COMMAND IDCANCEL when the procedure left it unhandled.

using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

enum class DialogControlKind : uint8_t { DefaultPushButton, PushButton, PushCheckBox, DropDownList };

struct CDialogControlTemplate {
    int id;
    DialogControlKind kind;
    const char16_t* text;   // button and check box label; null for a list
    const char16_t* group;  // title of the group box the control sits in; null for none
    bool disabled;          // created disabled
};

struct CDialogTemplate {
    uint16_t id;
    const char16_t* title;
    const CDialogControlTemplate* controls;
    size_t controlCount;
};

// The program's dialog resource (1002: the platform selection dialog); null for another id.
const CDialogTemplate* FindDialogTemplate(uint16_t id);

// The value given to EndDialog; -1 when the template is missing or the dialog cannot run.
INT_PTR DialogBoxParamW(HINSTANCE instance, const char16_t* templateName, HWND owner, DLGPROC procedure, LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, const char16_t* text);
UINT GetDlgItemTextW(HWND dialog, int id, char16_t* buffer, int capacity);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// The text of one drop-down item, cut to the buffer; the length copied, or -1.
int GetComboItemText(HWND dialog, int id, int index, char16_t* buffer, int capacity);

// Notification codes (high word of WM_COMMAND's wParam; the low word is the control id).
constexpr WORD BN_CLICKED = 0;
constexpr WORD CBN_SELCHANGE = 1;

// Drop-down list messages.
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr LRESULT CB_ERR = -1;

// Button messages.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
