#include "platform/d3d8/D3D8GLContext.h"

#include "platform/d3d8/D3D8GL.h"
#include "platform/win32/GLContext.h"

namespace {

PIXELFORMATDESCRIPTOR WantedFormat()
{
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof(wanted);
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cDepthBits = 24;
    wanted.cStencilBits = 8;
    wanted.iLayerType = PFD_MAIN_PLANE;
    return wanted;
}

bool HasNeededFeatures()
{
    return GLEW_VERSION_2_1 && (GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object) &&
           (GLEW_VERSION_3_3 || GLEW_ARB_sampler_objects);
}

} // namespace

CD3D8GLContext::~CD3D8GLContext()
{
    if (!m_context)
        return;
    if (wglGetCurrentContext() == m_context)
        wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(m_context);
}

HRESULT CD3D8GLContext::Attach(HWND window)
{
    HDC dc = GetDC(window);
    if (!dc)
        return D3DERR_NOTAVAILABLE;
    PIXELFORMATDESCRIPTOR wanted = WantedFormat();
    int format = ChoosePixelFormat(dc, &wanted);
    if (format == 0 || !SetPixelFormat(dc, format, &wanted))
        return D3DERR_NOTAVAILABLE;
    m_window = window;
    m_dc = dc;
    return D3D_OK;
}

HRESULT CD3D8GLContext::Create(HWND window)
{
    HRESULT result = Attach(window);
    if (result < 0)
        return result;
    m_context = wglCreateContext(m_dc);
    if (!m_context || !wglMakeCurrent(m_dc, m_context))
        return D3DERR_NOTAVAILABLE;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK || !HasNeededFeatures())
        return D3DERR_NOTAVAILABLE;
    glGetError();  // GLEW's probing may leave one behind
    m_provokingVertex = GLEW_VERSION_3_2 || GLEW_ARB_provoking_vertex || GLEW_EXT_provoking_vertex;
    return D3D_OK;
}

HRESULT CD3D8GLContext::MoveTo(HWND window)
{
    if (window == m_window && WindowFromDC(m_dc) == window)
        return MakeCurrent() ? D3D_OK : D3DERR_NOTAVAILABLE;
    HRESULT result = Attach(window);
    if (result < 0)
        return result;
    return wglMakeCurrent(m_dc, m_context) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

bool CD3D8GLContext::MakeCurrent()
{
    if (!m_context)
        return false;
    if (wglGetCurrentContext() == m_context && wglGetCurrentDC() == m_dc)
        return true;
    return wglMakeCurrent(m_dc, m_context) != FALSE;
}

bool CD3D8GLContext::SwapBuffers()
{
    return MakeCurrent() && ::SwapBuffers(m_dc) != FALSE;
}

bool CD3D8GLContext::KeepShownFrame()
{
    return MakeCurrent() && ::GLKeepShownFrame(m_dc) != FALSE;
}
