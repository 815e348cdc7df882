#include "platform/d3d8/D3D8State.h"

namespace {

constexpr DWORD kRenderStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_SHADEMODE, D3DRS_LINEPATTERN, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE,
    D3DRS_LASTPIXEL, D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_CULLMODE, D3DRS_ZFUNC, D3DRS_ALPHAREF, D3DRS_ALPHAFUNC,
    D3DRS_DITHERENABLE, D3DRS_ALPHABLENDENABLE, D3DRS_FOGENABLE, D3DRS_SPECULARENABLE, D3DRS_ZVISIBLE,
    D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY, D3DRS_EDGEANTIALIAS,
    D3DRS_ZBIAS, D3DRS_RANGEFOGENABLE, D3DRS_STENCILENABLE, D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL,
    D3DRS_STENCILPASS, D3DRS_STENCILFUNC, D3DRS_STENCILREF, D3DRS_STENCILMASK, D3DRS_STENCILWRITEMASK,
    D3DRS_TEXTUREFACTOR, D3DRS_CLIPPING, D3DRS_LIGHTING, D3DRS_AMBIENT, D3DRS_FOGVERTEXMODE, D3DRS_COLORVERTEX,
    D3DRS_LOCALVIEWER, D3DRS_NORMALIZENORMALS, D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_SPECULARMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE, D3DRS_VERTEXBLEND, D3DRS_CLIPPLANEENABLE,
    D3DRS_SOFTWAREVERTEXPROCESSING, D3DRS_POINTSIZE, D3DRS_POINTSIZE_MIN, D3DRS_POINTSPRITEENABLE,
    D3DRS_POINTSCALEENABLE, D3DRS_POINTSCALE_A, D3DRS_POINTSCALE_B, D3DRS_POINTSCALE_C,
    D3DRS_MULTISAMPLEANTIALIAS, D3DRS_MULTISAMPLEMASK, D3DRS_PATCHEDGESTYLE, D3DRS_PATCHSEGMENTS,
    D3DRS_DEBUGMONITORTOKEN, D3DRS_POINTSIZE_MAX, D3DRS_INDEXEDVERTEXBLENDENABLE, D3DRS_COLORWRITEENABLE,
    D3DRS_TWEENFACTOR, D3DRS_BLENDOP, D3DRS_POSITIONORDER, D3DRS_NORMALORDER,
};

constexpr DWORD kOrderCubic = 3;
constexpr DWORD kOrderLinear = 1;

void SetRenderDefaults(std::array<DWORD, D3D8_RENDER_STATE_LIMIT>& states, bool depthBuffer, bool software)
{
    states.fill(0);
    states[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    states[D3DRS_FILLMODE] = D3DFILL_SOLID;
    states[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    states[D3DRS_ZWRITEENABLE] = TRUE;
    states[D3DRS_LASTPIXEL] = TRUE;
    states[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    states[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    states[D3DRS_CULLMODE] = D3DCULL_CCW;
    states[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    states[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    states[D3DRS_FOGSTART] = D3D8FloatBits(0.0f);
    states[D3DRS_FOGEND] = D3D8FloatBits(1.0f);
    states[D3DRS_FOGDENSITY] = D3D8FloatBits(1.0f);
    states[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    states[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    states[D3DRS_STENCILMASK] = 0xFFFFFFFF;
    states[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    states[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    states[D3DRS_CLIPPING] = TRUE;
    states[D3DRS_LIGHTING] = TRUE;
    states[D3DRS_COLORVERTEX] = TRUE;
    states[D3DRS_LOCALVIEWER] = TRUE;
    states[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    states[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    states[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    states[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    states[D3DRS_SOFTWAREVERTEXPROCESSING] = software ? TRUE : FALSE;
    states[D3DRS_POINTSIZE] = D3D8FloatBits(1.0f);
    states[D3DRS_POINTSIZE_MIN] = D3D8FloatBits(1.0f);
    states[D3DRS_POINTSCALE_A] = D3D8FloatBits(1.0f);
    states[D3DRS_POINTSCALE_B] = D3D8FloatBits(0.0f);
    states[D3DRS_POINTSCALE_C] = D3D8FloatBits(0.0f);
    states[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    states[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
    states[D3DRS_PATCHSEGMENTS] = D3D8FloatBits(1.0f);
    states[D3DRS_POINTSIZE_MAX] = D3D8FloatBits(64.0f);
    states[D3DRS_COLORWRITEENABLE] = 0x0000000F;
    states[D3DRS_TWEENFACTOR] = D3D8FloatBits(0.0f);
    states[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    states[D3DRS_POSITIONORDER] = kOrderCubic;
    states[D3DRS_NORMALORDER] = kOrderLinear;
}

void SetStageDefaults(std::array<DWORD, D3D8_STAGE_STATE_LIMIT>& states, DWORD stage)
{
    states.fill(0);
    states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    states[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    states[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    states[D3DTSS_TEXCOORDINDEX] = stage;
    states[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
    states[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    states[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
    states[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
    states[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    states[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
    states[D3DTSS_MAXANISOTROPY] = 1;
    states[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    states[D3DTSS_COLORARG0] = D3DTA_CURRENT;
    states[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
    states[D3DTSS_RESULTARG] = D3DTA_CURRENT;
}

} // namespace

D3DMATRIX D3D8Identity()
{
    D3DMATRIX matrix{};
    for (int i = 0; i < 4; ++i)
        matrix.m[i][i] = 1.0f;
    return matrix;
}

D3DLIGHT8 D3D8DefaultLight()
{
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

bool D3D8IsRenderState(DWORD state)
{
    if (state >= D3DRS_WRAP0 && state <= D3DRS_WRAP7)
        return true;
    for (DWORD known : kRenderStates) {
        if (known == state)
            return true;
    }
    return false;
}

uint32_t D3D8RenderStateChanges(DWORD state)
{
    switch (state) {
    case D3DRS_LIGHTING:
    case D3DRS_COLORVERTEX:
    case D3DRS_DIFFUSEMATERIALSOURCE:
    case D3DRS_AMBIENTMATERIALSOURCE:
    case D3DRS_SPECULARMATERIALSOURCE:
    case D3DRS_EMISSIVEMATERIALSOURCE:
    case D3DRS_SPECULARENABLE:
    case D3DRS_LOCALVIEWER:
    case D3DRS_NORMALIZENORMALS:
    case D3DRS_FOGENABLE:
    case D3DRS_FOGTABLEMODE:
    case D3DRS_FOGVERTEXMODE:
    case D3DRS_RANGEFOGENABLE:
    case D3DRS_POINTSCALEENABLE:
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_ALPHAFUNC:
    case D3DRS_POINTSPRITEENABLE:
        return kD3D8ChangeProgram;
    case D3DRS_TEXTUREFACTOR:
        return kD3D8ChangeFactor;
    case D3DRS_POINTSIZE:
    case D3DRS_POINTSIZE_MIN:
    case D3DRS_POINTSIZE_MAX:
    case D3DRS_POINTSCALE_A:
    case D3DRS_POINTSCALE_B:
    case D3DRS_POINTSCALE_C:
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
    case D3DRS_FOGCOLOR:
    case D3DRS_ALPHAREF:
    case D3DRS_AMBIENT:
        return kD3D8ChangeConstants;
    default:
        return 0;  // read at every draw
    }
}

uint32_t D3D8StageStateChanges(DWORD type)
{
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_COLORARG0:
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAOP:
    case D3DTSS_ALPHAARG0:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
    case D3DTSS_RESULTARG:
    case D3DTSS_TEXCOORDINDEX:
        return kD3D8ChangeProgram;
    default:
        return 0;  // sampling is read at every draw
    }
}

bool D3D8IsStageState(DWORD type)
{
    return type >= D3DTSS_COLOROP && type <= D3DTSS_RESULTARG && type != 12;
}

void CD3D8State::SetDefaults(UINT width, UINT height, bool depthBuffer, bool softwareProcessing)
{
    SetRenderDefaults(renderStates, depthBuffer, softwareProcessing);
    for (DWORD stage = 0; stage < D3D8_TEXTURE_STAGES; ++stage)
        SetStageDefaults(stageStates[stage], stage);
    textures.fill(nullptr);
    view = D3D8Identity();
    projection = D3D8Identity();
    textureTransforms.fill(D3D8Identity());
    world.fill(D3D8Identity());
    lights.clear();
    material = D3DMATERIAL8{};
    viewport = D3DVIEWPORT8{0, 0, width, height, 0.0f, 1.0f};
    streamSource = nullptr;
    streamStride = 0;
    indices = nullptr;
    baseVertexIndex = 0;
    vertexShader = 0;
    layout = CD3D8VertexLayout(0);
    pixelShader = 0;
    Touch(~0u);
}

void CD3D8State::Touch(uint32_t changes)
{
    for (size_t group = 0; group < kD3D8ChangeGroups; ++group) {
        if (changes & (1u << group))
            serials[group] = ++lastSerial;
    }
}

uint64_t CD3D8State::Serial(uint32_t group) const
{
    return serials[static_cast<size_t>(__builtin_ctz(group))];
}

D3DMATRIX* CD3D8State::Transform(DWORD state)
{
    return const_cast<D3DMATRIX*>(static_cast<const CD3D8State*>(this)->Transform(state));
}

const D3DMATRIX* CD3D8State::Transform(DWORD state) const
{
    if (state == D3DTS_VIEW)
        return &view;
    if (state == D3DTS_PROJECTION)
        return &projection;
    if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7)
        return &textureTransforms[state - D3DTS_TEXTURE0];
    if (state >= D3DTS_WORLD && state < D3DTS_WORLD + 256)
        return &world[state - D3DTS_WORLD];
    return nullptr;
}
