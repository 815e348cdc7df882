#pragma once
#include <array>
#include <vector>

#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8Types.h"

// The device's back buffer and depth-stencil buffer. Draws put the image upside down for OpenGL,
// top row at OpenGL's row 0, so that OpenGL's rule for edges through pixel centres comes out as
// Direct3D's top-left rule. When the buffer has the window's size and a format the window holds,
// it is the window's own back buffer, drawn with the clip origin at the upper left: OpenGL then
// turns the image the right way up as it draws, with the same edge rule, and presenting has
// nothing to copy. Otherwise it is a framebuffer object holding the image upside down, which
// presenting turns and stretches over the window. Either way the gamma ramp, when one is set, is
// applied on the way to the window. The window is what the platform's GL layer makes stand for it
// (GLWindowFramebuffer, for a window shown scaled). Rectangles count rows from the top. New buffers are cleared
// (black, depth 1, stencil 0) when first used, unless a clear of the whole buffer came first.
class CD3D8BackBuffer {
public:
    explicit CD3D8BackBuffer(CD3D8GLState& gl) : m_gl(gl) {}
    CD3D8BackBuffer(const CD3D8BackBuffer&) = delete;
    CD3D8BackBuffer& operator=(const CD3D8BackBuffer&) = delete;
    ~CD3D8BackBuffer();  // the device's context must be current

    // The window's client area is windowWidth x windowHeight.
    HRESULT Create(UINT width, UINT height, D3DFORMAT format, bool depthStencil, UINT windowWidth, UINT windowHeight);
    // Binds the buffer for drawing, after its first clear.
    void Bind();
    // The buffers of the mask (OpenGL's clear bits) were cleared whole.
    void Cleared(GLbitfield mask) { m_uncleared &= ~mask; }
    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }
    bool HasDepthStencil() const { return m_hasDepthStencil; }
    bool OnWindow() const { return m_onWindow; }
    // A rectangle counted from the top as OpenGL's x, y, width, height on the bound buffer.
    std::array<GLint, 4> Box(const RECT& rect) const;

    // Pixels of a rectangle as 0xAARRGGBB, rows from the top.
    void Read(const RECT& rect, std::vector<D3DCOLOR>& pixels);
    void Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels);

    void SetGammaRamp(const WORD* red, const WORD* green, const WORD* blue);
    // Shows the source rectangle of the back buffer over the destination rectangle of the window
    // (both from the top-left; the window's default framebuffer is the target).
    void Present(const RECT& source, const RECT& destination, UINT windowWidth, UINT windowHeight);

private:
    void Release();
    void ClearFirst();
    GLuint Target() const;
    // Makes the texture when it is 0 and binds it with the filter, clamped at its edges.
    void BindClampedTexture(GLuint& texture, GLint filter);
    // The colour texture and its framebuffer object: the buffer itself, or on the window a
    // scratch image made when first needed.
    bool MakeImage();
    // OpenGL's first and last row of the source rectangle in the colour texture, top first.
    std::array<GLint, 2> ImageRows(const RECT& source) const;
    bool MakeGammaProgram();
    void PresentThroughRamp(const std::array<GLint, 2>& rows, const RECT& source, const RECT& destination,
                            UINT windowHeight);

    CD3D8GLState& m_gl;
    GLbitfield m_uncleared = 0;
    UINT m_width = 0;
    UINT m_height = 0;
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    bool m_onWindow = false;
    bool m_hasDepthStencil = false;
    GLuint m_framebuffer = 0;
    GLuint m_color = 0;
    GLuint m_depthStencil = 0;
    bool m_identityRamp = true;
    GLuint m_rampTexture = 0;
    GLuint m_gammaProgram = 0;
};
