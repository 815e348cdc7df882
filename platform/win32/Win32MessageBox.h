#pragma once
#include "platform/win32/Win32Types.h"

// Message boxes in the Windows shape, shown with SDL. The caption and the text always go to
// standard error as "caption: text" as well. Without a display, or with the headless switch
// (platform/win32/PlatformHarness.h, VD_HEADLESS=1), no box is shown and the call returns at once with
// the box's first button (IDOK, IDYES, IDABORT or IDRETRY).

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button pressed; IDCANCEL (or the box's last button) when the box was closed otherwise.
int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type);
