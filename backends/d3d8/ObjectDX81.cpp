#include "backends/d3d8/ObjectDX81.h"

#include <cstring>

#include "core/WorldData.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/Texture.h"

namespace {

constexpr int32_t kPointsType = -1;
constexpr int32_t kDefaultCull = -1;

bool DeviceType(uint32_t type, D3DPRIMITIVETYPE* out)
{
    static const D3DPRIMITIVETYPE kTypes[] = {D3DPT_TRIANGLESTRIP, D3DPT_TRIANGLELIST, D3DPT_TRIANGLEFAN,
                                              D3DPT_LINELIST,      D3DPT_LINESTRIP,    D3DPT_POINTLIST};
    if (type >= sizeof kTypes / sizeof kTypes[0])
        return false;
    *out = kTypes[type];
    return true;
}

// The part draws hand the record's code to the device unchanged (1 draws both faces); code 0,
// and any code past the device's values, draws both faces too.
DWORD PartCull(uint32_t code)
{
    return (code >= D3DCULL_NONE && code <= D3DCULL_CCW) ? code : D3DCULL_NONE;
}

// DrawVertices reads the codes with their engine meaning.
bool VertexRangeCull(int32_t code, DWORD* out)
{
    switch (code) {
    case kDefaultCull:
    case kCullCounterClockwise:
    case kCullCounterClockwiseAlt: *out = D3DCULL_CCW; return true;
    case kCullNone: *out = D3DCULL_NONE; return true;
    case kCullClockwise: *out = D3DCULL_CW; return true;
    default: return false;
    }
}

D3DMATERIAL8 ToDevice(const C3DMaterial& material)
{
    static_assert(sizeof(D3DMATERIAL8) == sizeof(C3DMaterial), "both materials are seventeen floats");
    D3DMATERIAL8 out;
    memcpy(&out, &material, sizeof out);
    return out;
}

D3DMATRIX ToDevice(const Matrix4& matrix)
{
    static_assert(sizeof(D3DMATRIX) == sizeof(Matrix4), "both matrices are sixteen row-major floats");
    D3DMATRIX out;
    memcpy(&out, &matrix, sizeof out);
    return out;
}

} // namespace

// ---- Shared steps ---------------------------------------------------------------------------

void C3DObjectDX81::SetObjectStates(IDirect3DDevice8* device, bool depthTest) const
{
    const CWorldData* d = m_pWorldData;
    const uint32_t b = m_flagsB;
    if (depthTest)
        device->SetRenderState(D3DRS_ZENABLE, (b & kObjectDepthTest) ? D3DZB_TRUE : D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, (b & kObjectDepthWrite) && d->rendererSwitch[0]);
    device->SetRenderState(D3DRS_FOGENABLE, (b & kObjectFog) && d->fog.enable[0]);
    const BOOL alpha = (b & kObjectAlphaBlend) && d->alphaBlending[0];
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, alpha);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, alpha);
    device->SetRenderState(D3DRS_SPECULARENABLE, (b & kObjectSpecular) && d->specular[0]);
    const bool wireframe = (b & kObjectWireframe) || d->wireframe;
    device->SetRenderState(D3DRS_FILLMODE, wireframe ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
}

void C3DObjectDX81::SetStream(IDirect3DDevice8* device)
{
    IgnoreResult(PushTransform());
    if (m_pMatrix) {
        const D3DMATRIX world = ToDevice(*m_pMatrix);
        device->SetTransform(D3DTS_WORLD, &world);
    }
    device->SetStreamSource(0, m_pVertexBuffer, m_vertexSize);
    device->SetVertexShader(m_fvf);
    device->SetPixelShader(0);
}

void C3DObjectDX81::SetTextureFactorStage(IDirect3DDevice8* device) const
{
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_CURRENT);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
}

// Material and textures of one part; factorStage lets a texture-factor object without a stage-0
// texture take its colour from the factor.
void C3DObjectDX81::SetPartState(IDirect3DDevice8* device, uint32_t part, bool factorStage) const
{
    const uint32_t b = m_flagsB;
    device->SetTexture(0, nullptr);
    if ((b & kObjectMaterials) && part < m_partCount) {
        const D3DMATERIAL8 material = ToDevice(m_pMaterials[part]);
        device->SetMaterial(&material);
    }
    C3DTexture* stage0 = (m_pTextures && part < m_partCount) ? m_pTextures[part * 2] : nullptr;
    C3DTexture* stage1 = (m_pTextures && part < m_partCount) ? m_pTextures[part * 2 + 1] : nullptr;
    if ((b & kTextureStage0) && stage0)
        stage0->Apply(b, 0);
    else if (factorStage && (b & kObjectTextureFactor))
        SetTextureFactorStage(device);
    if ((b & kTextureStage1) && stage1)
        stage1->Apply(b, 1);
}

bool C3DObjectDX81::CanDraw(const C3DPrimitiveGroup& record) const
{
    D3DPRIMITIVETYPE type;
    if (!DeviceType(record.primitiveType, &type) || !m_pVertexBuffer)
        return false;
    if (IsPointFormat())
        return uint64_t{record.firstIndex} + record.primitiveCount <= m_vertexCount;
    const C3DObjectIndex* index = m_pActiveIndex;
    return index && uint64_t{record.firstVertex} + record.vertexCount <= m_vertexCount &&
           uint64_t{record.firstIndex} + IndicesForPrimitives(record.primitiveType, record.primitiveCount) <=
               index->GetIndexCount();
}

void C3DObjectDX81::SelectAndDraw(IDirect3DDevice8* device, const C3DPrimitiveGroup& record)
{
    m_pActiveIndex->Select(&record);
    if (!CanDraw(record))
        return;
    if (IsPointFormat()) {
        device->DrawPrimitive(D3DPT_POINTLIST, record.firstIndex, record.primitiveCount);
        return;
    }
    D3DPRIMITIVETYPE type;
    if (!DeviceType(record.primitiveType, &type))
        return;
    device->DrawIndexedPrimitive(type, 0, record.vertexCount, record.firstIndex, record.primitiveCount);
}

// ---- Full draws -----------------------------------------------------------------------------

Result C3DObjectDX81::DrawParts(uint32_t from, uint32_t to, bool depthTest)
{
    IDirect3DDevice8* device = Device();
    if (!device || !m_pActiveIndex)
        return RES_FAIL;
    if (m_flagsB & kObjectStateBlock)
        IgnoreResult(ApplyRenderState());
    SetObjectStates(device, depthTest);
    if (IsPointFormat())
        device->SetRenderState(D3DRS_POINTSIZE, D3D8FloatBits(m_pointSize));
    SetStream(device);
    for (uint32_t i = from; i < to; ++i) {
        const C3DPrimitiveGroup* partRecord = PartRecord(i);
        const C3DPrimitiveGroup* record = DrawnRecord(i);
        if (!partRecord || !record)
            continue;
        SetPartState(device, partRecord->id, true);
        device->SetRenderState(D3DRS_CULLMODE, PartCull(record->cullCode));
        SelectAndDraw(device, *record);
    }
    return RES_OK;
}

Result C3DObjectDX81::Render()
{
    return DrawParts(0, m_partCount, true);
}

Result C3DObjectDX81::RenderPart(uint32_t part)
{
    return part < m_partCount ? DrawParts(part, part + 1, false) : RES_FAIL;
}

Result C3DObjectDX81::DrawPartsGeometry(uint32_t from, uint32_t to, bool setCull)
{
    IDirect3DDevice8* device = Device();
    if (!device || !m_pActiveIndex)
        return RES_FAIL;
    SetStream(device);
    for (uint32_t i = from; i < to; ++i) {
        const C3DPrimitiveGroup* record = DrawnRecord(i);
        if (!record)
            continue;
        if (setCull)
            device->SetRenderState(D3DRS_CULLMODE, PartCull(record->cullCode));
        SelectAndDraw(device, *record);
    }
    return RES_OK;
}

Result C3DObjectDX81::RenderGeometry()
{
    return DrawPartsGeometry(0, m_partCount, true);
}

Result C3DObjectDX81::RenderPartGeometry(uint32_t part)
{
    return part < m_partCount ? DrawPartsGeometry(part, part + 1, false) : RES_FAIL;
}

// ---- Part state and vertex ranges -----------------------------------------------------------

Result C3DObjectDX81::ApplyPartState(uint32_t part)
{
    IDirect3DDevice8* device = Device();
    const C3DPrimitiveGroup* partRecord = PartRecord(part);
    const C3DPrimitiveGroup* record = DrawnRecord(part);
    if (!device || !partRecord || !record)
        return RES_FAIL;
    if (m_flagsB & kObjectStateBlock)
        IgnoreResult(ApplyRenderState());
    SetObjectStates(device, false);
    SetStream(device);
    SetPartState(device, partRecord->id, false);
    m_pActiveIndex->Select(record);
    return RES_OK;
}

Result C3DObjectDX81::DrawVertices(uint32_t, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                                   int32_t cull)
{
    IDirect3DDevice8* device = Device();
    D3DPRIMITIVETYPE deviceType = D3DPT_POINTLIST;
    DWORD deviceCull = D3DCULL_CCW;
    const uint32_t engineType = type == kPointsType ? kPrimitivePointList : static_cast<uint32_t>(type);
    if (!device || !DeviceType(engineType, &deviceType) || !VertexRangeCull(cull, &deviceCull) ||
        uint64_t{firstVertex} + IndicesForPrimitives(engineType, primitiveCount) > m_vertexCount)
        return RES_FAIL;
    if (IsPointFormat())
        device->SetRenderState(D3DRS_POINTSIZE, D3D8FloatBits(m_pointSize));
    device->SetRenderState(D3DRS_TEXTUREFACTOR, m_colour);
    device->SetRenderState(D3DRS_CULLMODE, deviceCull);
    return static_cast<Result>(device->DrawPrimitive(deviceType, firstVertex, primitiveCount));
}
