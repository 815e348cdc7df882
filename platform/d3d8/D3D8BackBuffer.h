#pragma once
#include <array>
#include <vector>

#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8Types.h"

// The device's back buffer and depth-stencil buffer: a framebuffer object holding the image top
// row first, that is upside down for OpenGL, so that OpenGL's rule for edges through pixel
// centres comes out as Direct3D's top-left rule. Rectangles count rows from the top. Presenting
// turns the image the right way up and stretches it over the window, through the gamma ramp
// when one is set. New buffers are cleared (black, depth 1, stencil 0) when first used, unless a
// clear of the whole buffer came first.
class CD3D8BackBuffer {
public:
    explicit CD3D8BackBuffer(CD3D8GLState& gl) : m_gl(gl) {}
    CD3D8BackBuffer(const CD3D8BackBuffer&) = delete;
    CD3D8BackBuffer& operator=(const CD3D8BackBuffer&) = delete;
    ~CD3D8BackBuffer();  // the device's context must be current

    HRESULT Create(UINT width, UINT height, D3DFORMAT format, bool depthStencil);
    // Binds the buffer for drawing, after its first clear.
    void Bind();
    // The buffers of the mask (OpenGL's clear bits) were cleared whole.
    void Cleared(GLbitfield mask) { m_uncleared &= ~mask; }
    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }
    bool HasDepthStencil() const { return m_depthStencil != 0; }

    // Pixels of a rectangle as 0xAARRGGBB, rows from the top.
    void Read(const RECT& rect, std::vector<D3DCOLOR>& pixels);
    void Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels);

    void SetGammaRamp(const WORD* red, const WORD* green, const WORD* blue);
    // Draws the source rectangle of the back buffer over the destination rectangle of the window
    // (both from the top-left; the window's default framebuffer is the target).
    void Present(const RECT& source, const RECT& destination, UINT windowHeight);

private:
    void Release();
    void ClearFirst();
    bool MakeGammaProgram();
    void PresentThroughRamp(const RECT& source, const RECT& destination, UINT windowHeight);

    CD3D8GLState& m_gl;
    GLbitfield m_uncleared = 0;
    UINT m_width = 0;
    UINT m_height = 0;
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    GLuint m_framebuffer = 0;
    GLuint m_color = 0;
    GLuint m_depthStencil = 0;
    bool m_identityRamp = true;
    GLuint m_rampTexture = 0;
    GLuint m_gammaProgram = 0;
};
