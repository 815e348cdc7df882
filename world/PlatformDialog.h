#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Result.h"
#include "world/StartupSettings.h"
#include "platform/win32/Win32Types.h"

class CParamsReader;
class CWorld;

// Controls of the platform dialog (resource 1002).
enum PlatformDialogControl : int {
    kDialogAccept = 1,
    kDialogExit = 2,
    kDialogRenderer = 1000,
    kDialogAudio = 1001,
    kDialogInput = 1002,
    kDialogDepth = 1003,
    kDialogNetwork = 1004,
    kDialogDontAsk = 1019,
    kDialogResolution = 1027,
    kDialogFullscreen = 1028,
    kDialogForce = 1029,
};

constexpr uint16_t kPlatformDialogId = 1002;

// Lock-mask bits: each disables one control; kLockRenameAccept renames the accept button.
enum PlatformDialogLock : uint32_t {
    kLockDontAsk = 0x01,
    kLockInput = 0x02,
    kLockAudio = 0x04,
    kLockNetwork = 0x08,
    kLockRenderer = 0x10,
    kLockResolution = 0x20,
    kLockDepth = 0x40,
    kLockFullscreen = 0x80,
    kLockRenameAccept = 0x200,
};

struct CResolutionRow {
    uint16_t id;
    uint16_t width;
    uint16_t height;
    const char16_t* label;
};

const CResolutionRow* ResolutionRows(size_t* count);

// The resolution list's line of a row: number, label, height / width digits and shift count.
void FormatResolutionLine(const CResolutionRow& row, char16_t* out, size_t capacity);

// Lets the player edit the settings in the platform dialog. RES_OK, settings updated (their world
// word then holds world), when "SAVE AND LAUNCH" was pressed; else RES_FAIL, settings untouched.
// Without a world the module lists offer every descriptor row. The reader is not used.
Result SelectPlatform(CStartupSettings* settings, const CParamsReader* engineParams, CWorld* world);

// The dialog procedure; WM_INITDIALOG's lParam points to the settings it edits.
INT_PTR SelectPlatformProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
