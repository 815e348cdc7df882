#include "backends/d3d8/StencilShadowDX81.h"

#include <algorithm>
#include <cstring>

#include "backends/d3d8/DX81State.h"
#include "core/WorldData.h"

namespace {

constexpr DWORD kQuadFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
constexpr DWORD kAllStencilBits = 0xFFFFFFFFu;
constexpr D3DCOLOR kQuadColour = 0xFF000000u;

struct QuadVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
static_assert(sizeof(QuadVertex) == 20, "a quad vertex is 20 bytes");
constexpr UINT kQuadSize = 4 * sizeof(QuadVertex);

D3DMATRIX ToDevice(const Matrix4& matrix)
{
    static_assert(sizeof(D3DMATRIX) == sizeof(Matrix4), "both matrices are sixteen row-major floats");
    D3DMATRIX out;
    memcpy(&out, &matrix, sizeof out);
    return out;
}

// The whole triangles of a volume buffer, within its room, 12 bytes a point.
void DrawTriangles(IDirect3DDevice8* device, const Vector3* points, uint32_t count, uint32_t capacity)
{
    count = std::min(count, capacity) / 3;
    if (points && count != 0)
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, count, points, sizeof(Vector3));
}

// The size of the device's render target; the working size when it cannot tell.
void TargetSize(IDirect3DDevice8* device, const CWorldData* data, uint32_t* width, uint32_t* height)
{
    *width = data->workingWidth;
    *height = data->workingHeight;
    IDirect3DSurface8* target = nullptr;
    if (!device || device->GetRenderTarget(&target) < 0 || !target)
        return;
    D3DSURFACE_DESC desc{};
    if (target->GetDesc(&desc) >= 0 && desc.Width != 0 && desc.Height != 0) {
        *width = desc.Width;
        *height = desc.Height;
    }
    target->Release();
}

void StencilPass(IDirect3DDevice8* device, D3DSTENCILOP pass, D3DCULL cull, const Vector3* points, uint32_t count,
                 uint32_t capacity)
{
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    device->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_STENCILPASS, pass);
    device->SetRenderState(D3DRS_CULLMODE, cull);
    device->SetVertexShader(D3DFVF_XYZ);
    DrawTriangles(device, points, count, capacity);
}

void FactorStage(IDirect3DDevice8* device)
{
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
}

} // namespace

C3DStencilShadowDX81::~C3DStencilShadowDX81() { ReleaseQuad(); }

Result C3DStencilShadowDX81::Create(uint32_t casterCount, uint32_t colour)
{
    if (Failed(C3DStencilShadow::Create(casterCount, colour)))
        return RES_FAIL;
    ReleaseQuad();
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device || device->CreateVertexBuffer(kQuadSize, D3DUSAGE_WRITEONLY, kQuadFormat, D3DPOOL_MANAGED, &m_pQuad) < 0) {
        m_pQuad = nullptr;
        return RES_FAIL;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    TargetSize(device, m_pWorldData, &width, &height);
    return FillQuad(width, height);
}

Result C3DStencilShadowDX81::Release()
{
    ReleaseQuad();
    return C3DStencilShadow::Release();
}

Result C3DStencilShadowDX81::Render(uint32_t index)
{
    const C3DShadowCaster* caster = GetCaster(index);
    if (!caster)
        return RES_FAIL;
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (caster->sideCount == 0 || !caster->sideVertices || !device || !m_pQuad)
        return RES_OK;
    BeginVolume(device);
    CountVolume(device, *caster);
    Darken(device);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    if (ShowsConstruct())
        DrawConstruct(device, *caster);
    return RES_OK;
}

void C3DStencilShadowDX81::ReleaseQuad()
{
    if (m_pQuad)
        m_pQuad->Release();
    m_pQuad = nullptr;
    m_quadWidth = 0;
    m_quadHeight = 0;
}

// A triangle strip over the target, clockwise on the screen: (0, h), (0, 0), (w, h), (w, 0).
Result C3DStencilShadowDX81::FillQuad(uint32_t width, uint32_t height)
{
    BYTE* data = nullptr;
    if (!m_pQuad || m_pQuad->Lock(0, kQuadSize, &data, 0) < 0 || !data)
        return RES_FAIL;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const QuadVertex quad[4] = {{0.0f, h, 0.0f, 0.0f, kQuadColour},
                                {0.0f, 0.0f, 0.0f, 0.0f, kQuadColour},
                                {w, h, 0.0f, 0.0f, kQuadColour},
                                {w, 0.0f, 0.0f, 0.0f, kQuadColour}};
    memcpy(data, quad, sizeof quad);
    m_pQuad->Unlock();
    m_quadWidth = width;
    m_quadHeight = height;
    return RES_OK;
}

void C3DStencilShadowDX81::BeginVolume(IDirect3DDevice8* device)
{
    const D3DMATRIX world = ToDevice(m_placement);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 1);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_STENCILMASK, kAllStencilBits);
    device->SetRenderState(D3DRS_STENCILWRITEMASK, kAllStencilBits);
    device->SetRenderState(D3DRS_STENCILREF, 1);
}

void C3DStencilShadowDX81::CountVolume(IDirect3DDevice8* device, const C3DShadowCaster& caster)
{
    const uint32_t room = caster.capacity;
    const Vector3* side = caster.sideVertices.get();
    const Vector3* cap = caster.capVertices.get();
    StencilPass(device, D3DSTENCILOP_INCR, D3DCULL_CCW, side, caster.sideCount, room);
    if (caster.capCount != 0)
        StencilPass(device, D3DSTENCILOP_INCR, D3DCULL_CCW, cap, caster.capCount, room);
    StencilPass(device, D3DSTENCILOP_DECRSAT, D3DCULL_CW, side, caster.sideCount, room);
    if (caster.capCount != 0)
        StencilPass(device, D3DSTENCILOP_DECRSAT, D3DCULL_CW, cap, caster.capCount, room);
}

// The quad follows the render target's real size and is drawn with the viewport opened to the
// whole target; the caller's viewport is put back.
void C3DStencilShadowDX81::Darken(IDirect3DDevice8* device)
{
    uint32_t width = 0;
    uint32_t height = 0;
    TargetSize(device, m_pWorldData, &width, &height);
    if ((width != m_quadWidth || height != m_quadHeight) && Failed(FillQuad(width, height)))
        return;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, m_colour);
    FactorStage(device);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    device->SetRenderState(D3DRS_STENCILREF, 0);
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NOTEQUAL);
    device->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetVertexShader(kQuadFormat);
    device->SetStreamSource(0, m_pQuad, sizeof(QuadVertex));

    D3DVIEWPORT8 saved{};
    const bool restore = device->GetViewport(&saved) >= 0;
    const D3DVIEWPORT8 whole{0, 0, width, height, 0.0f, 1.0f};
    device->SetViewport(&whole);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    if (restore)
        device->SetViewport(&saved);
}

void C3DStencilShadowDX81::DrawConstruct(IDirect3DDevice8* device, const C3DShadowCaster& caster)
{
    FactorStage(device);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    device->SetVertexShader(D3DFVF_XYZ);
    DrawTriangles(device, caster.sideVertices.get(), caster.sideCount, caster.capacity);
    DrawTriangles(device, caster.capVertices.get(), caster.capCount, caster.capacity);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}
