#pragma once
#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Win32Types.h"

class CDialogRun;

struct CWindowClass {
    std::u16string name;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    int windowCount = 0;
    bool rendezvousOpen = false;
};

enum class WindowKind : uint8_t { TopLevel, Dialog, Control, Remote, Desktop };
enum class ControlKind : uint8_t { PushButton, DefaultPushButton, PushCheckBox, DropDownList, GroupBox };

struct CComboItem {
    std::u16string text;
    LPARAM data = 0;
};

// The state of one dialog control.
struct CControlState {
    ControlKind kind = ControlKind::PushButton;
    bool checked = false;
    std::vector<CComboItem> items;
    int selection = -1;
};

struct CWindow {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::TopLevel;
    std::u16string className;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    std::u16string text;
    std::vector<std::pair<std::u16string, HANDLE>> properties;
    SDL_Window* sdl = nullptr;
    bool visible = false;
    bool enabled = true;
    bool minimised = false;
    // The window was exposed, resized or restored since its last buffer swap.
    bool shownFrameStale = true;
    HWND parent = nullptr;
    int controlId = 0;
    std::unique_ptr<CControlState> control;
    // Placement of windows that have no SDL window, and of scaled ones (the program's view).
    RECT bounds{};
    // A full-screen window while a display mode is in force: its SDL window covers the display,
    // which shows the mode's screen scaled (see ScreenScaling.h).
    bool scaled = false;
    HDC dc = nullptr;
    bool pixelFormatSet = false;
    CDialogRun* dialog = nullptr;  // set on a dialog window while it runs
    bool destroying = false;
    unsigned long x11 = 0;  // the X window, when SDL runs on X
    // Destroyed by another client, or the display is gone: SDL may no longer touch the window
    // (its calls would wait for answers that never come).
    bool gone = false;

    SDL_Window* Sdl() const { return gone ? nullptr : sdl; }
};

// Every window, class and device context of the program, by handle. Handles are numbers that
// are never reused, so a stale handle finds nothing.
class CWindowRegistry {
public:
    static CWindowRegistry& Get();

    CWindowClass* FindClass(const char16_t* name);
    CWindowClass* AddClass(const char16_t* name);
    void RemoveClass(const char16_t* name);
    std::vector<CWindowClass*> Classes() const;

    CWindow* Find(HWND handle);
    CWindow* FindBySdlId(uint32_t windowId);
    CWindow* FindByX11Id(unsigned long x11);
    CWindow* FindByDc(HDC dc);
    CWindow* Add(WindowKind kind);
    void Remove(HWND handle);
    // Handles of live windows in creation order (a copy: callers may destroy while walking).
    std::vector<HWND> Handles() const;
    HDC NewDc(CWindow& window);
    void Clear();

    uintptr_t NextHandleValue();

private:
    std::map<uintptr_t, std::unique_ptr<CWindow>> m_windows;
    std::vector<std::unique_ptr<CWindowClass>> m_classes;
    std::map<uintptr_t, HWND> m_dcs;
    uintptr_t m_nextHandle = 0x1000;
};

// ASCII case-insensitive equality of two UTF-16 texts (class and property names).
bool SameNameNoCase(const std::u16string& a, const char16_t* b);

// The top-level windows of a class, in creation order.
std::vector<HWND> WindowsOfClass(const char16_t* className);
