#include "backends/d3d8/EngineDX81.h"

#include <cfloat>
#include <cmath>

#include "core/Math3D.h"
#include "core/WorldData.h"

namespace {

constexpr DWORD kStencilNeeded = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_ZERO | D3DSTENCILCAPS_REPLACE |
                                 D3DSTENCILCAPS_INCR | D3DSTENCILCAPS_DECR | D3DSTENCILCAPS_DECRSAT |
                                 D3DSTENCILCAPS_INVERT;

D3DCOLORVALUE Grey(float level)
{
    return D3DCOLORVALUE{level, level, level, 0.0f};
}

} // namespace

// The fields a mode switch rewrites; the others keep what Load set.
void C3DEngineDX81::FillPresentParameters(uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits)
{
    D3DPRESENT_PARAMETERS& p = m_state.presentation;
    const bool vSync = m_pWorldData->vSync != 0;
    p.Windowed = fullscreen ? FALSE : TRUE;
    p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    if (fullscreen)
        p.BackBufferFormat = colorBits == 32 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
    else
        p.BackBufferFormat = m_state.desktopMode.Format;
    p.BackBufferCount = 1;
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.hDeviceWindow = m_state.window;
    p.SwapEffect = (!fullscreen && vSync) ? D3DSWAPEFFECT_COPY_VSYNC : D3DSWAPEFFECT_DISCARD;
    if (fullscreen)
        p.FullScreen_PresentationInterval = vSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
    else
        p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    p.FullScreen_RefreshRateInHz = D3DPRESENT_RATE_DEFAULT;
}

// A device that is made but not ready is released before the next try.
Result C3DEngineDX81::CreateDevice()
{
    const DWORD tries[] = {m_state.preferredFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                           D3DCREATE_MIXED_VERTEXPROCESSING, D3DCREATE_SOFTWARE_VERTEXPROCESSING};
    const D3DDEVTYPE type = m_state.referenceDevice ? D3DDEVTYPE_REF : D3DDEVTYPE_HAL;
    for (DWORD flags : tries) {
        IDirect3DDevice8* device = nullptr;
        if (m_state.direct3D->CreateDevice(0, type, m_state.window, flags, &m_state.presentation, &device) < 0 ||
            !device)
            continue;
        if (device->TestCooperativeLevel() < 0) {
            device->Release();
            continue;
        }
        m_state.device = device;
        m_state.behaviourFlags = flags;
        return RES_OK;
    }
    return RES_FAIL;
}

Result C3DEngineDX81::LightInit(uint32_t index)
{
    IDirect3DDevice8* device = m_state.device;
    if (index >= kDX81LightCount || !device)
        return RES_FAIL;
    CLightRecord& record = m_pWorldData->lights[index];
    if (record.enable[0]) {
        if (record.type != 0) {
            record.direction[0] = record.direction[1] = record.direction[2] = 0.0f;
        } else {
            CMath3D local;
            CMath3D* math = m_pWorldData->math ? m_pWorldData->math : &local;
            const Vector3 negated{-record.position[0], -record.position[1], -record.position[2]};
            Vector3 direction{};
            math->Normalize3(&direction, &negated);
            record.direction[0] = direction.x;
            record.direction[1] = direction.y;
            record.direction[2] = direction.z;
        }
        D3DLIGHT8& light = m_state.lights[index];
        light = D3DLIGHT8{};
        light.Type = record.type != 0 ? D3DLIGHT_POINT : D3DLIGHT_DIRECTIONAL;
        light.Diffuse = Grey(record.diffuseIntensity);
        light.Specular = Grey(record.specularIntensity);
        light.Ambient = Grey(record.ambientIntensity);
        light.Position = D3DVECTOR{record.position[0], record.position[1], record.position[2]};
        light.Direction = D3DVECTOR{record.direction[0], record.direction[1], record.direction[2]};
        light.Range = std::sqrt(FLT_MAX);
        light.Attenuation0 = 1.0f;
        device->SetLight(index, &light);
    }
    device->LightEnable(index, record.enable[0] ? TRUE : FALSE);
    return RES_OK;
}

Result C3DEngineDX81::PointSpriteInit() { return RES_OK; }

// Fog is drawn only by devices with w-based fog; without it both fog bytes are cleared and the
// objects draw without fog.
Result C3DEngineDX81::FogingInit()
{
    CFogRecord& fog = m_pWorldData->fog;
    const DWORD raster = m_state.caps.RasterCaps;
    const bool tableFog =
        (raster & D3DPRASTERCAPS_FOGTABLE) && (raster & (D3DPRASTERCAPS_WFOG | D3DPRASTERCAPS_ZFOG));
    IDirect3DDevice8* device = m_state.device;
    if (!device)
        return RES_FAIL;
    if (fog.enable[0] && (raster & D3DPRASTERCAPS_WFOG)) {
        device->SetRenderState(D3DRS_FOGCOLOR, fog.color);
        device->SetRenderState(D3DRS_FOGSTART, D3D8FloatBits(fog.start));
        device->SetRenderState(D3DRS_FOGEND, D3D8FloatBits(fog.end));
        device->SetRenderState(D3DRS_FOGDENSITY, D3D8FloatBits(fog.density));
        fog.flag1 = tableFog ? 1 : 0;
        if (fog.flag1) {
            device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
            device->SetRenderState(D3DRS_FOGTABLEMODE, fog.tableMode);
            return RES_OK;
        }
    }
    fog.enable[1] = 0;
    fog.enable[0] = 0;
    return RES_OK;
}

bool C3DEngineDX81::IsStencilShadowSupported()
{
    return (m_state.caps.StencilCaps & kStencilNeeded) == kStencilNeeded;
}
