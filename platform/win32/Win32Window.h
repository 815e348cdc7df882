#pragma once
#include "platform/win32/Win32Types.h"

// Window classes, windows, the message queue, timers, properties, metrics, cursor, capture,
// display modes and key state, in the Windows shape, on SDL2. Single-threaded: every call comes
// from the thread that runs the message loop.

// ---- Window classes -------------------------------------------------------------------------
struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char16_t* lpszMenuName;
    const char16_t* lpszClassName;
};

ATOM RegisterClassW(const WNDCLASSW* windowClass);
// Fails while windows of the class exist.
BOOL UnregisterClassW(const char16_t* className, HINSTANCE instance);

// ---- Windows --------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Special insert-after values of SetWindowPos.
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<intptr_t>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));

// The desktop: the parent of top-level windows; its rectangle is the screen.
HWND GetDesktopWindow();
HINSTANCE GetModuleHandleW(const char16_t* moduleName);

// What WM_CREATE's lParam points to.
struct CREATESTRUCTW {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    const char16_t* lpszName;
    const char16_t* lpszClass;
    DWORD dwExStyle;
};

// Windows with the style WS_POPUP are borderless and cover the screen while a display mode set by
// ChangeDisplaySettingsW is in force; the other top-level styles get a caption from the window
// manager and a sizing border only with WS_THICKFRAME. A window sends WM_CREATE to its procedure
// before CreateWindowExW returns (a result of -1 fails the creation).
HWND CreateWindowExW(DWORD exStyle, const char16_t* className, const char16_t* windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Sends WM_DESTROY, kills the window's timers, drops its queued messages and its capture.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL ShowWindow(HWND window, int command);  // previous visibility
BOOL UpdateWindow(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);  // previous disabled state
BOOL IsWindowEnabled(HWND window);

// Windows of this program first; else, for a class name, a running copy of the program that
// owns such a window (see platform/SingleInstance.h), reached through SetForegroundWindow and
// ShowWindow only.
HWND FindWindowW(const char16_t* className, const char16_t* windowName);
BOOL SetForegroundWindow(HWND window);
HWND SetFocus(HWND window);  // previous focus
HWND GetFocus();

BOOL SetWindowTextW(HWND window, const char16_t* text);
int GetWindowTextW(HWND window, char16_t* buffer, int capacity);
int GetWindowTextLengthW(HWND window);

// The window manager draws the frame outside the window, so the window rectangle is the client
// area placed on the screen and AdjustWindowRect leaves the rectangle as it is.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);

// ---- Properties -----------------------------------------------------------------------------
// Names compare without regard to ASCII case.
BOOL SetPropW(HWND window, const char16_t* name, HANDLE value);
HANDLE GetPropW(HWND window, const char16_t* name);
HANDLE RemovePropW(HWND window, const char16_t* name);

// ---- Messages -------------------------------------------------------------------------------
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Order of retrieval: posted and input messages in arrival order, then WM_QUIT, then WM_TIMER
// (at most one pending message per timer). A null window matches every message.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag);
// Waits for a message; 0 on WM_QUIT, else non-zero.
BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax);
// Waits until a message is in the queue (posted, input, quit or a due timer), leaving it there.
BOOL WaitMessage();
// WM_CHAR for Backspace, Tab, Return and Escape key presses, and one WM_CHAR per UTF-16 unit of
// the text typed (WM_SYSCHAR while Alt is held), queued behind the key message.
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops the mouse button and wheel messages of the input that came so far (clicks made while the
// thread did not look at its queue, as during a synchronous request); the rest, a close request
// among it, stays queued in order.
void DiscardQueuedClicks();
// Alt+F4 (WM_SYSKEYDOWN) posts WM_SYSCOMMAND SC_CLOSE, which sends WM_CLOSE; WM_CLOSE destroys
// the window; WM_ERASEBKGND returns 1; WM_SETCURSOR sets the class cursor in the client area;
// everything else 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Timers ---------------------------------------------------------------------------------
constexpr UINT USER_TIMER_MINIMUM = 10;

// Periods below USER_TIMER_MINIMUM milliseconds are raised to it. Timers run on base/Clock.h.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- Metrics and display modes --------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

int GetSystemMetrics(int index);

constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;

struct DEVMODEW {
    WORD dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;
constexpr DWORD ENUM_CURRENT_SETTINGS = 0xFFFFFFFFu;
constexpr DWORD ENUM_REGISTRY_SETTINGS = 0xFFFFFFFEu;

// A mode applies to the full-screen (WS_POPUP) windows, now and created later; a mode the
// display cannot show exactly gives DISP_CHANGE_BADMODE. A null mode restores the desktop.
LONG ChangeDisplaySettingsW(DEVMODEW* mode, DWORD flags);
// ENUM_CURRENT_SETTINGS: the mode in force; ENUM_REGISTRY_SETTINGS: the desktop; else the index.
BOOL EnumDisplaySettingsW(const char16_t* device, DWORD modeIndex, DEVMODEW* mode);

// ---- Cursor, capture and keys ---------------------------------------------------------------
inline const char16_t* const IDC_ARROW = MAKEINTRESOURCEW(32512);

HCURSOR LoadCursorW(HINSTANCE instance, const char16_t* name);
// Any icon resource id gives a handle; the window icon is left to the desktop.
HICON LoadIconW(HINSTANCE instance, const char16_t* name);
constexpr int BLACK_BRUSH = 4;
HGDIOBJ GetStockObject(int object);

HCURSOR SetCursor(HCURSOR cursor);
int ShowCursor(BOOL show);  // the display counter; the cursor shows while it is >= 0
// Confines the cursor to the rectangle (screen coordinates) inside the focused window; null frees it.
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);
BOOL GetCursorPos(POINT* point);

HWND SetCapture(HWND window);  // previous capture
BOOL ReleaseCapture();
HWND GetCapture();

// High bit: the key is down; low bit: toggled (Caps Lock, Num Lock). State as of the key
// messages taken from the queue; before the first one, the keyboard as it is.
SHORT GetKeyState(int virtualKey);

// ---- Lifetime -------------------------------------------------------------------------------
// Destroys what is left (windows, GL contexts, cursors) and empties the queue; call at program
// end. SDL's display connection itself stays until the process ends.
void PlatformShutdown();
