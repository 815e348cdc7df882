#include "platform/d3d8/D3D8RasterState.h"

#include <algorithm>

namespace {

GLenum BlendFactor(DWORD blend)
{
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

GLenum BlendEquation(DWORD op)
{
    switch (op) {
    case D3DBLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
        return GL_MIN;
    case D3DBLENDOP_MAX:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum StencilOp(DWORD op)
{
    switch (op) {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

void Blend(const CD3D8State& state)
{
    if (!state.Render(D3DRS_ALPHABLENDENABLE)) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    DWORD source = state.Render(D3DRS_SRCBLEND);
    if (source == D3DBLEND_BOTHSRCALPHA)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    else if (source == D3DBLEND_BOTHINVSRCALPHA)
        glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    else
        glBlendFunc(BlendFactor(source), BlendFactor(state.Render(D3DRS_DESTBLEND)));
    glBlendEquation(BlendEquation(state.Render(D3DRS_BLENDOP)));
}

void DepthAndStencil(const CD3D8State& state, const CD3D8BackBuffer& target)
{
    bool buffer = target.HasDepthStencil();
    if (buffer && state.Render(D3DRS_ZENABLE) != D3DZB_FALSE)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(D3D8Compare(state.Render(D3DRS_ZFUNC)));
    glDepthMask(state.Render(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    if (!buffer || !state.Render(D3DRS_STENCILENABLE)) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(D3D8Compare(state.Render(D3DRS_STENCILFUNC)), static_cast<GLint>(state.Render(D3DRS_STENCILREF) & 0xFF),
                  state.Render(D3DRS_STENCILMASK));
    glStencilOp(StencilOp(state.Render(D3DRS_STENCILFAIL)), StencilOp(state.Render(D3DRS_STENCILZFAIL)),
                StencilOp(state.Render(D3DRS_STENCILPASS)));
    glStencilMask(state.Render(D3DRS_STENCILWRITEMASK));
}

void Faces(const CD3D8State& state)
{
    // The image is drawn upside down for OpenGL, so a winding seen on screen is the other one there.
    DWORD cull = state.Render(D3DRS_CULLMODE);
    if (cull == D3DCULL_CCW || cull == D3DCULL_CW) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(cull == D3DCULL_CCW ? GL_CCW : GL_CW);
    } else {
        glDisable(GL_CULL_FACE);
    }
    DWORD fill = state.Render(D3DRS_FILLMODE);
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : (fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL));
    glShadeModel(state.Render(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
    DWORD mask = state.Render(D3DRS_COLORWRITEENABLE);
    glColorMask((mask & D3DCOLORWRITEENABLE_RED) ? GL_TRUE : GL_FALSE, (mask & D3DCOLORWRITEENABLE_GREEN) ? GL_TRUE : GL_FALSE,
                (mask & D3DCOLORWRITEENABLE_BLUE) ? GL_TRUE : GL_FALSE, (mask & D3DCOLORWRITEENABLE_ALPHA) ? GL_TRUE : GL_FALSE);
}

} // namespace

GLenum D3D8Compare(DWORD func)
{
    switch (func) {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_LESSEQUAL:
        return GL_LEQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

void D3D8Scissor(const RECT& rect)
{
    glScissor(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void D3D8ApplyRasterState(const CD3D8State& state, const CD3D8BackBuffer& target, bool transformed, bool sprite)
{
    const D3DVIEWPORT8& viewport = state.viewport;
    RECT area{static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y), static_cast<LONG>(viewport.X + viewport.Width),
              static_cast<LONG>(viewport.Y + viewport.Height)};
    if (transformed) {
        glViewport(0, 0, static_cast<GLsizei>(target.Width()), static_cast<GLsizei>(target.Height()));
        glDepthRange(0.0, 1.0);
    } else {
        glViewport(area.left, area.top, static_cast<GLsizei>(viewport.Width), static_cast<GLsizei>(viewport.Height));
        glDepthRange(std::clamp(viewport.MinZ, 0.0f, 1.0f), std::clamp(viewport.MaxZ, 0.0f, 1.0f));
    }
    glEnable(GL_SCISSOR_TEST);
    D3D8Scissor(area);
    DepthAndStencil(state, target);
    Blend(state);
    Faces(state);
    if (sprite)
        glEnable(GL_POINT_SPRITE);
    else
        glDisable(GL_POINT_SPRITE);
}
