#pragma once
#include "platform/win32/Win32Types.h"

// The device-context, pixel-format and rendering-context calls of Windows, over SDL's OpenGL.
// A window has one device context (GetDC); every window is made able to take the one pixel
// format offered (RGBA 8-8-8, depth 24, stencil 8, double-buffered). A rendering context lives
// until wglDeleteContext, whatever happens to the window it was made with: after the window is
// destroyed and another made (a full-screen switch), wglMakeCurrent binds it to the new one.
// OpenGL entry points themselves come from the system's GL headers and library.

HDC GetDC(HWND window);  // null for a window without a display surface
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr DWORD PFD_STEREO_DONTCARE = 0x80000000;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

// Format 1 for any double-buffered RGBA request that draws to a window with OpenGL, else 0.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* wanted);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
// Fills the descriptor of the format; the result is the number of formats (1), 0 on failure.
int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* descriptor);
BOOL SwapBuffers(HDC dc);
// Leaves the window showing what its last swap showed and waits as a swap would. FALSE (nothing
// done) when that picture may be gone or stale: the window was exposed, resized or restored since,
// or a harness watches every swap.
BOOL GLKeepShownFrame(HDC dc);

// Unlike SDL's, creating a context leaves the current one current, as WGL does.
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);  // null context: none current
BOOL wglDeleteContext(HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
// The swap interval of the current context: 1 (where a context starts) waits for the vertical
// blank, 0 does not. Where the display cannot wait, swaps with 1 still come no faster than its
// refresh rate (60 Hz where it does not tell).
BOOL GLSetSwapInterval(int interval);
// The current context's GL_VERSION text; null while no context is current.
const char* GLGetVersionString();

// A full-screen window shown scaled (Win32Window.h, ChangeDisplaySettingsW) is drawn into an
// image of its client area's size, which SwapBuffers shows scaled. What stands for the current
// context's window: the framebuffer object (0: the window's own), the colour buffer to read and
// draw (GL_BACK on the window's own) and its size.
unsigned int GLWindowFramebuffer();
unsigned int GLWindowColorBuffer();
bool GLWindowSize(int* width, int* height);

// Palettes exist only for pixel formats that need one, which this platform never offers; these
// are here so a colour-index path compiles and behaves sanely.
struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

constexpr BYTE PC_NOCOLLAPSE = 0x04;

UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background);
UINT RealizePalette(HDC dc);
BOOL DeleteObject(HGDIOBJ object);
