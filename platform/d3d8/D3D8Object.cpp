#include "platform/d3d8/D3D8Object.h"

#include <new>

#include "platform/d3d8/D3D8Device.h"
#include "platform/d3d8/D3D8Harness.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr DWORD kVertexProcessing =
    D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING;

D3DFORMAT FormatOfBits(DWORD bits)
{
    switch (bits) {
    case 16:
        return D3DFMT_R5G6B5;
    case 15:
        return D3DFMT_X1R5G5B5;
    default:
        return D3DFMT_X8R8G8B8;
    }
}

} // namespace

D3DCAPS8 D3D8OwnCaps(D3DDEVTYPE type)
{
    D3DCAPS8 caps{};
    caps.DeviceType = type;
    caps.Caps2 = D3DCAPS2_FULLSCREENGAMMA;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    caps.DevCaps = D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT |
                   D3DDEVCAPS_PUREDEVICE;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                             D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
    caps.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE |
                      D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_WFOG | D3DPRASTERCAPS_ZFOG |
                      D3DPRASTERCAPS_COLORPERSPECTIVE;
    caps.ZCmpCaps = D3DPCMPCAPS_ALL;
    caps.SrcBlendCaps = D3DPBLENDCAPS_ALL;
    caps.DestBlendCaps = D3DPBLENDCAPS_ALL;
    caps.AlphaCmpCaps = D3DPCMPCAPS_ALL;
    caps.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB |
                     D3DPSHADECAPS_ALPHAGOURAUDBLEND | D3DPSHADECAPS_FOGGOURAUD;
    caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                             D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                              D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxTextureRepeat = 8192;
    caps.MaxTextureAspectRatio = 4096;
    caps.MaxAnisotropy = 1;
    caps.MaxVertexW = 1e10f;
    caps.GuardBandLeft = -8192.0f;
    caps.GuardBandTop = -8192.0f;
    caps.GuardBandRight = 8192.0f;
    caps.GuardBandBottom = 8192.0f;
    caps.StencilCaps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_ZERO | D3DSTENCILCAPS_REPLACE | D3DSTENCILCAPS_INCRSAT |
                       D3DSTENCILCAPS_DECRSAT | D3DSTENCILCAPS_INVERT | D3DSTENCILCAPS_INCR | D3DSTENCILCAPS_DECR;
    caps.FVFCaps = D3DFVFCAPS_PSIZE | 8;
    caps.TextureOpCaps = 0x03FFFFFF & ~(1u << (D3DTOP_BUMPENVMAP - 1)) & ~(1u << (D3DTOP_BUMPENVMAPLUMINANCE - 1)) &
                         ~(1u << (D3DTOP_PREMODULATE - 1));
    caps.MaxTextureBlendStages = 8;
    caps.MaxSimultaneousTextures = 8;
    caps.VertexProcessingCaps = D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                                D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps.MaxActiveLights = 8;
    caps.MaxPointSize = 64.0f;
    caps.MaxPrimitiveCount = 0x000FFFFF;
    caps.MaxVertexIndex = 0x00FFFFFF;
    caps.MaxStreams = 1;
    caps.MaxStreamStride = 256;
    caps.PixelShaderVersion = D3DPS_VERSION(1, 4);
    caps.MaxPixelShaderValue = 8.0f;
    return caps;
}

D3DCAPS8 D3D8DeviceCaps(D3DDEVTYPE type)
{
    const CD3D8Harness* harness = D3D8Harness();
    D3DCAPS8 caps{};
    if (!harness || !harness->OverridesCaps(&caps))
        return D3D8OwnCaps(type);
    caps.DeviceType = type;
    return caps;
}

bool D3D8DesktopMode(D3DDISPLAYMODE& mode)
{
    const CD3D8Harness* harness = D3D8Harness();
    if (harness && harness->OverridesDisplayMode(&mode))
        return true;
    DEVMODEW desktop{};
    desktop.dmSize = sizeof(desktop);
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &desktop)) {
        mode = D3DDISPLAYMODE{};
        return false;
    }
    mode = D3DDISPLAYMODE{desktop.dmPelsWidth, desktop.dmPelsHeight, desktop.dmDisplayFrequency,
                          FormatOfBits(desktop.dmBitsPerPel)};
    return true;
}

IDirect3D8* Direct3DCreate8(UINT sdkVersion)
{
    const CD3D8Harness* harness = D3D8Harness();
    if (sdkVersion != D3D_SDK_VERSION || (harness && harness->RefusesDirect3D())) {
        D3D8Record("Direct3DCreate8", {sdkVersion}, E_FAIL);
        return nullptr;
    }
    auto* direct3D = new (std::nothrow) CD3D8();
    if (direct3D)
        D3D8NameObject(direct3D);
    D3D8Record("Direct3DCreate8", {sdkVersion}, direct3D ? D3D_OK : E_OUTOFMEMORY);
    return direct3D;
}

CD3D8::~CD3D8()
{
    D3D8ForgetObject(this);
}

ULONG CD3D8::Release()
{
    if (m_references == 0)
        return 0;
    ULONG left = --m_references;
    D3D8Record("IDirect3D8::Release", {D3D8ObjectNumber(this)}, static_cast<HRESULT>(left));
    if (left == 0)
        delete this;
    return left;
}

HRESULT CD3D8::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (adapter == 0 && mode)
        result = D3D8DesktopMode(*mode) ? D3D_OK : D3DERR_NOTAVAILABLE;
    return D3D8Record("IDirect3D8::GetAdapterDisplayMode", {adapter}, result);
}

HRESULT CD3D8::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (adapter == 0 && caps && (type == D3DDEVTYPE_HAL || type == D3DDEVTYPE_REF)) {
        *caps = D3D8DeviceCaps(type);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3D8::GetDeviceCaps", {adapter, type}, result);
}

HRESULT CD3D8::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                            D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device)
{
    return D3D8Record("IDirect3D8::CreateDevice", {adapter, type, D3D8ObjectNumber(focusWindow), behaviourFlags},
                      DoCreateDevice(adapter, type, focusWindow, behaviourFlags, parameters, device));
}

HRESULT CD3D8::DoCreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                              D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device)
{
    if (!device || !parameters || adapter != 0)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    DWORD processing = behaviourFlags & kVertexProcessing;
    bool oneKind = processing == D3DCREATE_SOFTWARE_VERTEXPROCESSING ||
                   processing == D3DCREATE_HARDWARE_VERTEXPROCESSING || processing == D3DCREATE_MIXED_VERTEXPROCESSING;
    if (!oneKind || ((behaviourFlags & D3DCREATE_PUREDEVICE) && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING))
        return D3DERR_INVALIDCALL;
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF)
        return D3DERR_NOTAVAILABLE;
    const CD3D8Harness* harness = D3D8Harness();
    HRESULT fault = harness ? harness->CreateDeviceResult(type, behaviourFlags) : D3D_OK;
    if (fault < 0)
        return fault;
    CD3D8Device* made = nullptr;
    HRESULT result = CD3D8Device::Create(*this, type, focusWindow, behaviourFlags, *parameters, D3D8DeviceCaps(type), &made);
    if (result < 0)
        return result;
    if (harness)
        made->SetLoss(harness->StartLoss(type, behaviourFlags));
    *device = made;
    return D3D_OK;
}
