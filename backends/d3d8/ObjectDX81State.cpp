#include "backends/d3d8/ObjectDX81.h"

#include "core/WorldData.h"

namespace {

constexpr DWORD kStageCount = 2;
constexpr DWORD kAlphaReference = 1;
constexpr float kPointSizeLargest = 100.0f;

void SetFloat(IDirect3DDevice8* device, D3DRENDERSTATETYPE state, float value)
{
    device->SetRenderState(state, D3D8FloatBits(value));
}

} // namespace

// A new block is recorded; an existing one takes the states set directly and is captured.
Result C3DObjectDX81::RecordRenderState()
{
    IDirect3DDevice8* device = Device();
    if (!device)
        return RES_FAIL;
    const bool recording = m_stateBlock == 0;
    if (recording && device->BeginStateBlock() < 0)
        return RES_FAIL;
    RecordStages(device);
    RecordSwitches(device);
    RecordFixedStates(device);
    if (IsPointFormat())
        RecordPointStates(device);
    if (!recording)
        return device->CaptureStateBlock(m_stateBlock) < 0 ? RES_FAIL : RES_OK;
    DWORD token = 0;
    if (device->EndStateBlock(&token) < 0)
        return RES_FAIL;
    m_stateBlock = token;
    return RES_OK;
}

void C3DObjectDX81::RecordStages(IDirect3DDevice8* device) const
{
    for (DWORD s = 0; s < kStageCount; ++s) {
        device->SetTexture(s, nullptr);
        device->LightEnable(s, FALSE);
        device->SetTextureStageState(s, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device->SetTextureStageState(s, D3DTSS_COLORARG0, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_COLORARG1, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_COLORARG2, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        device->SetTextureStageState(s, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_ALPHAARG1, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
        device->SetTextureStageState(s, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetTextureStageState(s, D3DTSS_ADDRESSV, D3DTADDRESS_WRAP);
        device->SetTextureStageState(s, D3DTSS_ADDRESSW, D3DTADDRESS_WRAP);
        device->SetTextureStageState(s, D3DTSS_TEXCOORDINDEX, 0);
    }
    const bool factor = (m_flagsB & kObjectTextureFactor) != 0;
    const DWORD first = factor ? D3DTA_TFACTOR : D3DTA_TEXTURE;
    DWORD second = D3DTA_DIFFUSE;
    if (factor && (m_flagsB & kTextureStage0))
        second = D3DTA_TEXTURE;
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_CURRENT);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, first);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, second);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, first);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, second);
}

void C3DObjectDX81::RecordSwitches(IDirect3DDevice8* device) const
{
    const CWorldData* d = m_pWorldData;
    const uint32_t b = m_flagsB;
    const bool lights = (b & kObjectLights) != 0;
    device->LightEnable(0, lights && d->lights[0].enable[0]);
    device->LightEnable(1, lights && d->lights[1].enable[0]);
    device->LightEnable(2, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, (b & kObjectFog) && d->fog.enable[0]);
    device->SetRenderState(D3DRS_LIGHTING, (b & kObjectLighting) && d->lighting[0]);
    device->SetRenderState(D3DRS_SPECULARENABLE, (b & kObjectSpecular) && d->specular[0]);
    device->SetRenderState(D3DRS_ZENABLE, (b & kObjectDepthTest) ? D3DZB_TRUE : D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, (b & kObjectDepthWrite) != 0);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, m_colour);
}

void C3DObjectDX81::RecordFixedStates(IDirect3DDevice8* device) const
{
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHAREF, kAlphaReference);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_CLIPPING, TRUE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, FALSE);
    device->SetRenderState(D3DRS_AMBIENT, m_pWorldData->ambientColor);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device->SetRenderState(D3DRS_DITHERENABLE, FALSE);
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    const bool materials = (m_flagsB & kObjectMaterials) != 0;
    device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, materials ? D3DMCS_COLOR1 : D3DMCS_COLOR2);
    device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, materials ? D3DMCS_COLOR1 : D3DMCS_COLOR2);
    device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, materials ? D3DMCS_MATERIAL : D3DMCS_COLOR2);
    device->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    if (m_flagsB & kObjectAlphaTest) {
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        device->SetRenderState(D3DRS_ALPHAREF, kAlphaReference);
        device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    }
}

void C3DObjectDX81::RecordPointStates(IDirect3DDevice8* device) const
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    SetFloat(device, D3DRS_POINTSIZE, m_pWorldData->pointSpriteMaxSize);
    SetFloat(device, D3DRS_POINTSIZE_MIN, 0.0f);
    SetFloat(device, D3DRS_POINTSIZE_MAX, kPointSizeLargest);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, FALSE);
    SetFloat(device, D3DRS_POINTSCALE_A, 1.0f);
    SetFloat(device, D3DRS_POINTSCALE_B, 0.0f);
    SetFloat(device, D3DRS_POINTSCALE_C, 0.0f);
}

Result C3DObjectDX81::ApplyRenderState()
{
    IDirect3DDevice8* device = Device();
    if (!device)
        return RES_FAIL;
    if (m_stateBlock != 0)
        device->ApplyStateBlock(m_stateBlock);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, m_colour);
    return RES_OK;
}

Result C3DObjectDX81::RebuildStateBlock()
{
    IgnoreResult(RecordRenderState());
    return RES_OK;
}

Result C3DObjectDX81::ReleaseStateBlock()
{
    IDirect3DDevice8* device = Device();
    if (device && m_stateBlock != 0)
        device->DeleteStateBlock(m_stateBlock);
    m_stateBlock = 0;
    return RES_OK;
}
