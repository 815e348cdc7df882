#include "platform/win32/GLContext.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include <SDL_opengl.h>

#include "base/Clock.h"
#include "platform/win32/DesktopState.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/PlatformInternal.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/SwapPacing.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WindowRegistry.h"
#include "platform/win32/WindowSurface.h"

namespace {

constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;

struct CGlContextRecord {
    SDL_GLContext context = nullptr;
    int swapInterval = 1;  // as WGL starts a context: waiting for the vertical blank
    CSwapPacer pacer;
    std::unique_ptr<CWindowSurface> surface = std::make_unique<CWindowSurface>();
};

std::map<uintptr_t, CGlContextRecord> g_contexts;
std::set<uintptr_t> g_palettes;
HGLRC g_current = nullptr;
HDC g_currentDc = nullptr;

SDL_Window* GlWindowOf(HDC dc)
{
    CWindow* window = CWindowRegistry::Get().FindByDc(dc);
    if (!window || !window->Sdl() || !(SDL_GetWindowFlags(window->Sdl()) & SDL_WINDOW_OPENGL))
        return nullptr;
    return window->Sdl();
}

CGlContextRecord* RecordOf(HGLRC context)
{
    auto it = g_contexts.find(reinterpret_cast<uintptr_t>(context));
    return it == g_contexts.end() ? nullptr : &it->second;
}

SDL_GLContext ContextOf(HGLRC context)
{
    CGlContextRecord* record = RecordOf(context);
    return record ? record->context : nullptr;
}

// The current context's record and its window, when both are there.
CGlContextRecord* CurrentRecord(CWindow** window)
{
    CGlContextRecord* record = RecordOf(g_current);
    *window = CWindowRegistry::Get().FindByDc(g_currentDc);
    return record && *window ? record : nullptr;
}

// Without a swap that waits for the vertical blank, the swaps of a context that asked for one
// are kept a refresh period apart.
void PaceSwap(CGlContextRecord& record, SDL_Window* window)
{
    if (record.swapInterval == 0 || ArePresentsUnpaced())
        return;
    SDL_DisplayMode mode{};
    int display = SDL_GetWindowDisplayIndex(window);
    int refreshRate = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    uint64_t wait = record.pacer.WaitAfterSwap(ClockNanoseconds(), RefreshPeriodNs(refreshRate));
    if (wait)
        Sleep(static_cast<DWORD>((wait + 999999) / 1000000));
}

void FillDescriptor(PIXELFORMATDESCRIPTOR* descriptor)
{
    memset(descriptor, 0, sizeof(*descriptor));
    descriptor->nSize = sizeof(*descriptor);
    descriptor->nVersion = 1;
    descriptor->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor->iPixelType = PFD_TYPE_RGBA;
    descriptor->cColorBits = 32;
    descriptor->cRedBits = 8;
    descriptor->cRedShift = 16;
    descriptor->cGreenBits = 8;
    descriptor->cGreenShift = 8;
    descriptor->cBlueBits = 8;
    descriptor->cDepthBits = 24;
    descriptor->cStencilBits = 8;
    descriptor->iLayerType = PFD_MAIN_PLANE;
}

} // namespace

HDC GetDC(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window || !window->sdl)
        return nullptr;
    return window->dc ? window->dc : CWindowRegistry::Get().NewDc(*window);
}

int ReleaseDC(HWND handle, HDC dc)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    return (window && window->dc == dc) ? 1 : 0;
}

HWND WindowFromDC(HDC dc)
{
    CWindow* window = CWindowRegistry::Get().FindByDc(dc);
    return window ? window->handle : nullptr;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* wanted)
{
    if (!GlWindowOf(dc) || !wanted) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool usable = (wanted->dwFlags & PFD_SUPPORT_OPENGL) && (wanted->dwFlags & PFD_DRAW_TO_WINDOW) &&
                  wanted->iPixelType == PFD_TYPE_RGBA;
    return usable ? 1 : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    CWindow* window = CWindowRegistry::Get().FindByDc(dc);
    if (!window || !GlWindowOf(dc) || format != 1) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE;
    }
    window->pixelFormatSet = true;
    return TRUE;
}

int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!GlWindowOf(dc))
        return 0;
    if (descriptor) {
        if (format != 1 || size < sizeof(*descriptor)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        FillDescriptor(descriptor);
    }
    return 1;
}

BOOL SwapBuffers(HDC dc)
{
    SDL_Window* window = GlWindowOf(dc);
    if (!window || SDL_GL_GetCurrentWindow() != window)
        return FALSE;
    NotifyBeforeSwap();
    CWindow& shown = *CWindowRegistry::Get().FindByDc(dc);
    CGlContextRecord* context = dc == g_currentDc ? RecordOf(g_current) : nullptr;
    if (context)
        context->surface->Show(WindowScaling(shown));
    SDL_GL_SwapWindow(window);
    shown.shownFrameStale = false;
    if (context) {
        // The window may have changed into or out of being scaled since the last frame.
        context->surface->Follow(WindowScaling(shown));
        PaceSwap(*context, window);
    }
    return TRUE;
}

// A harness that reads each finished frame before its swap (only the test programs install one;
// the shipped program never does) gets every frame swapped.
BOOL GLKeepShownFrame(HDC dc)
{
    SDL_Window* window = GlWindowOf(dc);
    CWindow* shown = CWindowRegistry::Get().FindByDc(dc);
    CGlContextRecord* context = dc == g_currentDc ? RecordOf(g_current) : nullptr;
    if (!window || SDL_GL_GetCurrentWindow() != window || !context || shown->shownFrameStale || IsBeforeSwapWatched())
        return FALSE;
    PaceSwap(*context, window);
    return TRUE;
}

HGLRC wglCreateContext(HDC dc)
{
    SDL_Window* window = GlWindowOf(dc);
    CWindow* record = CWindowRegistry::Get().FindByDc(dc);
    if (!window || !record->pixelFormatSet) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext made = SDL_GL_CreateContext(window);
    if (!made) {
        fprintf(stderr, "# OpenGL context not created: %s\n", SDL_GetError());
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    SDL_GL_MakeCurrent(previous ? previousWindow : nullptr, previous);
    uintptr_t value = CWindowRegistry::Get().NextHandleValue();
    g_contexts[value].context = made;
    return reinterpret_cast<HGLRC>(value);
}

BOOL wglMakeCurrent(HDC dc, HGLRC context)
{
    if (!context) {
        if (SdlVideoStarted())
            SDL_GL_MakeCurrent(nullptr, nullptr);
        g_current = nullptr;
        g_currentDc = nullptr;
        return TRUE;
    }
    SDL_GLContext made = ContextOf(context);
    SDL_Window* window = GlWindowOf(dc);
    CWindow* record = CWindowRegistry::Get().FindByDc(dc);
    if (!made || !window || !record->pixelFormatSet) {
        SetLastError(made ? ERROR_INVALID_PIXEL_FORMAT : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (SDL_GL_MakeCurrent(window, made) != 0) {
        fprintf(stderr, "# OpenGL context not made current: %s\n", SDL_GetError());
        return FALSE;
    }
    g_current = context;
    g_currentDc = dc;
    RecordOf(context)->surface->Follow(WindowScaling(*record));
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context)
{
    auto it = g_contexts.find(reinterpret_cast<uintptr_t>(context));
    if (it == g_contexts.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (SdlVideoStarted() && (g_current == context || SDL_GL_GetCurrentContext() == it->second.context))
        SDL_GL_MakeCurrent(nullptr, nullptr);
    if (g_current == context) {
        g_current = nullptr;
        g_currentDc = nullptr;
    }
    if (SdlVideoStarted())
        SDL_GL_DeleteContext(it->second.context);
    g_contexts.erase(it);
    return TRUE;
}

HGLRC wglGetCurrentContext()
{
    return g_current;
}

HDC wglGetCurrentDC()
{
    return CWindowRegistry::Get().FindByDc(g_currentDc) ? g_currentDc : nullptr;
}

BOOL GLSetSwapInterval(int interval)
{
    CGlContextRecord* record = RecordOf(g_current);
    if (!record)
        return FALSE;
    record->swapInterval = interval;
    // Where the context cannot wait for the vertical blank, its swaps are paced all the same.
    SDL_GL_SetSwapInterval(interval);
    return TRUE;
}

void FollowWindowScaling(HWND window)
{
    CWindow* shown = nullptr;
    CGlContextRecord* record = CurrentRecord(&shown);
    if (record && shown->handle == window)
        record->surface->Follow(WindowScaling(*shown));
}

unsigned int GLWindowFramebuffer()
{
    CGlContextRecord* record = RecordOf(g_current);
    return record ? record->surface->Framebuffer() : 0;
}

unsigned int GLWindowColorBuffer()
{
    CGlContextRecord* record = RecordOf(g_current);
    return record ? record->surface->ColorBuffer() : GL_BACK;
}

bool GLWindowSize(int* width, int* height)
{
    CWindow* window = nullptr;
    CGlContextRecord* record = CurrentRecord(&window);
    if (!record || !window->Sdl())
        return false;
    if (record->surface->Framebuffer()) {
        *width = record->surface->Width();
        *height = record->surface->Height();
    } else {
        SDL_GL_GetDrawableSize(window->Sdl(), width, height);
    }
    return true;
}

const char* GLGetVersionString()
{
    return g_current ? reinterpret_cast<const char*>(glGetString(GL_VERSION)) : nullptr;
}

UINT GetSystemPaletteEntries(HDC, UINT, UINT count, PALETTEENTRY* entries)
{
    if (entries)
        memset(entries, 0, sizeof(PALETTEENTRY) * count);
    return 0;
}

HPALETTE CreatePalette(const LOGPALETTE* palette)
{
    if (!palette || palette->palNumEntries == 0)
        return nullptr;
    uintptr_t value = CWindowRegistry::Get().NextHandleValue();
    g_palettes.insert(value);
    return reinterpret_cast<HPALETTE>(value);
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL)
{
    bool known = g_palettes.count(reinterpret_cast<uintptr_t>(palette)) != 0;
    return (known && CWindowRegistry::Get().FindByDc(dc)) ? palette : nullptr;
}

UINT RealizePalette(HDC)
{
    return 0;
}

BOOL DeleteObject(HGDIOBJ object)
{
    return g_palettes.erase(reinterpret_cast<uintptr_t>(object)) ? TRUE : FALSE;
}

void ReleaseGlContexts()
{
    if (SdlVideoStarted()) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        for (auto& entry : g_contexts)
            SDL_GL_DeleteContext(entry.second.context);
    }
    g_contexts.clear();
    g_palettes.clear();
    g_current = nullptr;
    g_currentDc = nullptr;
}
