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

uint32_t Bits(float value)
{
    return D3D8FloatBits(value);
}

void Blend(const CD3D8State& state, CD3D8RasterSetting& out)
{
    out.blend = state.Render(D3DRS_ALPHABLENDENABLE) ? GL_TRUE : GL_FALSE;
    DWORD source = state.Render(D3DRS_SRCBLEND);
    if (source == D3DBLEND_BOTHSRCALPHA) {
        out.blendSource = GL_SRC_ALPHA;
        out.blendTarget = GL_ONE_MINUS_SRC_ALPHA;
    } else if (source == D3DBLEND_BOTHINVSRCALPHA) {
        out.blendSource = GL_ONE_MINUS_SRC_ALPHA;
        out.blendTarget = GL_SRC_ALPHA;
    } else {
        out.blendSource = BlendFactor(source);
        out.blendTarget = BlendFactor(state.Render(D3DRS_DESTBLEND));
    }
    out.blendEquation = BlendEquation(state.Render(D3DRS_BLENDOP));
}

void DepthAndStencil(const CD3D8State& state, const CD3D8BackBuffer& target, CD3D8RasterSetting& out)
{
    bool buffer = target.HasDepthStencil();
    out.depthTest = buffer && state.Render(D3DRS_ZENABLE) != D3DZB_FALSE ? GL_TRUE : GL_FALSE;
    out.depthFunc = D3D8Compare(state.Render(D3DRS_ZFUNC));
    out.depthMask = state.Render(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE;
    out.stencilTest = buffer && state.Render(D3DRS_STENCILENABLE) ? GL_TRUE : GL_FALSE;
    out.stencilFunc = D3D8Compare(state.Render(D3DRS_STENCILFUNC));
    out.stencilRef = static_cast<GLint>(state.Render(D3DRS_STENCILREF) & 0xFF);
    out.stencilMask = state.Render(D3DRS_STENCILMASK);
    out.stencilFail = StencilOp(state.Render(D3DRS_STENCILFAIL));
    out.stencilDepthFail = StencilOp(state.Render(D3DRS_STENCILZFAIL));
    out.stencilPass = StencilOp(state.Render(D3DRS_STENCILPASS));
    out.stencilWriteMask = state.Render(D3DRS_STENCILWRITEMASK);
}

void Faces(const CD3D8State& state, CD3D8RasterSetting& out)
{
    // The image is drawn upside down for OpenGL, so a winding seen on screen is the other one there.
    DWORD cull = state.Render(D3DRS_CULLMODE);
    out.cull = cull == D3DCULL_CCW || cull == D3DCULL_CW ? GL_TRUE : GL_FALSE;
    out.frontFace = cull == D3DCULL_CW ? GL_CW : GL_CCW;
    DWORD fill = state.Render(D3DRS_FILLMODE);
    out.polygonMode = fill == D3DFILL_POINT ? GL_POINT : (fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    out.shadeModel = state.Render(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH;
    out.colorMask = state.Render(D3DRS_COLORWRITEENABLE) & 0xF;
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

CD3D8RasterSetting D3D8Raster(const CD3D8State& state, const CD3D8BackBuffer& target, bool transformed, bool sprite)
{
    CD3D8RasterSetting out;
    const D3DVIEWPORT8& viewport = state.viewport;
    RECT area{static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y), static_cast<LONG>(viewport.X + viewport.Width),
              static_cast<LONG>(viewport.Y + viewport.Height)};
    if (transformed) {
        out.viewport = {0, 0, static_cast<GLint>(target.Width()), static_cast<GLint>(target.Height())};
        out.depthRange = {Bits(0.0f), Bits(1.0f)};
    } else {
        out.viewport = target.Box(area);
        out.depthRange = {Bits(std::clamp(viewport.MinZ, 0.0f, 1.0f)), Bits(std::clamp(viewport.MaxZ, 0.0f, 1.0f))};
    }
    out.scissor = target.Box(area);
    DepthAndStencil(state, target, out);
    Blend(state, out);
    Faces(state, out);
    out.pointSprite = sprite ? GL_TRUE : GL_FALSE;
    return out;
}
