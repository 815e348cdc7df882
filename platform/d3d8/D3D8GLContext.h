#pragma once
#include "platform/d3d8/D3D8Types.h"

// The OpenGL context a device draws with, made on its window through the platform's
// device-context and WGL calls and moved to another window on Reset.
class CD3D8GLContext {
public:
    CD3D8GLContext() = default;
    CD3D8GLContext(const CD3D8GLContext&) = delete;
    CD3D8GLContext& operator=(const CD3D8GLContext&) = delete;
    ~CD3D8GLContext();

    // D3DERR_NOTAVAILABLE without a display surface, a usable pixel format or OpenGL 2.1 with
    // framebuffer and sampler objects.
    HRESULT Create(HWND window);
    HRESULT MoveTo(HWND window);
    // Makes the context current when it is not; false when its window is gone.
    bool MakeCurrent();
    bool SwapBuffers();
    // Leaves the window's picture as the last swap showed it, paced as a swap; false when it
    // needs a swap (see GLKeepShownFrame).
    bool KeepShownFrame();
    HWND Window() const { return m_window; }
    bool Exists() const { return m_context != nullptr; }
    bool HasProvokingVertex() const { return m_provokingVertex; }

private:
    HRESULT Attach(HWND window);

    HWND m_window = nullptr;
    HDC m_dc = nullptr;
    HGLRC m_context = nullptr;
    bool m_provokingVertex = false;
};
