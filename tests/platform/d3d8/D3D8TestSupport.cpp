#include "tests/platform/d3d8/D3D8TestSupport.h"

#include <cstring>

#include "platform/d3d8/D3DX8.h"

using namespace D3D8Scenarios;

namespace {

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

struct CWorldVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};

constexpr DWORD kWorldFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

DWORD Compare(ECompare compare)
{
    switch (compare) {
    case ECompare::Equal:
        return D3DCMP_EQUAL;
    case ECompare::NotEqual:
        return D3DCMP_NOTEQUAL;
    default:
        return D3DCMP_ALWAYS;
    }
}

void SetBlend(IDirect3DDevice8* device, EBlend blend)
{
    static const DWORD kFactors[][2] = {{D3DBLEND_ONE, D3DBLEND_ZERO},
                                        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                        {D3DBLEND_ONE, D3DBLEND_ONE},
                                        {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO}};
    int index = static_cast<int>(blend);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, blend != EBlend::None);
    device->SetRenderState(D3DRS_SRCBLEND, kFactors[index][0]);
    device->SetRenderState(D3DRS_DESTBLEND, kFactors[index][1]);
}

void SetColorSource(IDirect3DDevice8* device, const CDraw& draw, const std::vector<IDirect3DTexture8*>& textures)
{
    static const DWORD kStage[][3] = {{D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_DIFFUSE},
                                      {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                      {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR},
                                      {D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_TFACTOR}};
    const DWORD* stage = kStage[static_cast<int>(draw.color)];
    device->SetTexture(0, draw.texture >= 0 ? textures[static_cast<size_t>(draw.texture)] : nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, stage[0]);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, stage[1]);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, stage[2]);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, stage[0]);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, stage[1]);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, stage[2]);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, draw.factor);
}

void SetStates(IDirect3DDevice8* device, const CDraw& draw)
{
    static const DWORD kCull[] = {D3DCULL_NONE, D3DCULL_CW, D3DCULL_CCW};
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, draw.depthTest ? D3DZB_TRUE : D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_CULLMODE, kCull[static_cast<int>(draw.cull)]);
    SetBlend(device, draw.blend);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, draw.alphaReference >= 0);
    device->SetRenderState(D3DRS_ALPHAREF, static_cast<DWORD>(draw.alphaReference >= 0 ? draw.alphaReference : 0));
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, draw.writeColor ? 0xF : 0);
    device->SetRenderState(D3DRS_STENCILENABLE, draw.stencil.enabled);
    device->SetRenderState(D3DRS_STENCILFUNC, Compare(draw.stencil.compare));
    device->SetRenderState(D3DRS_STENCILREF, static_cast<DWORD>(draw.stencil.reference));
    device->SetRenderState(D3DRS_STENCILPASS,
                           draw.stencil.pass == EStencilOp::Increment ? D3DSTENCILOP_INCR : D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_POINTSIZE, D3D8FloatBits(draw.pointSize));
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, draw.pointSprite);
}

void DrawShape(IDirect3DDevice8* device, const CDraw& draw)
{
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT count = static_cast<UINT>(draw.vertices.size() / 3);
    if (draw.primitive == EPrimitive::TriangleStrip) {
        type = D3DPT_TRIANGLESTRIP;
        count = static_cast<UINT>(draw.vertices.size() - 2);
    } else if (draw.primitive == EPrimitive::PointList) {
        type = D3DPT_POINTLIST;
        count = static_cast<UINT>(draw.vertices.size());
    }
    if (draw.transformed) {
        std::vector<CD3D8ScreenVertex> vertices;
        for (const CVertex& v : draw.vertices)
            vertices.push_back({v.x, v.y, v.z, 1.0f, v.color, v.u, v.v});
        device->SetVertexShader(kD3D8ScreenFvf);
        device->DrawPrimitiveUP(type, count, vertices.data(), sizeof(CD3D8ScreenVertex));
        return;
    }
    std::vector<CWorldVertex> vertices;
    for (const CVertex& v : draw.vertices)
        vertices.push_back({v.x, v.y, v.z, v.color, v.u, v.v});
    D3DMATRIX projection = D3D8PixelProjection(kWidth, kHeight);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetVertexShader(kWorldFvf);
    device->DrawPrimitiveUP(type, count, vertices.data(), sizeof(CWorldVertex));
}

IDirect3DTexture8* MakeTexture(IDirect3DDevice8* device, const CTexture& source)
{
    IDirect3DTexture8* texture = nullptr;
    if (D3DXCreateTexture(device, static_cast<UINT>(source.width), static_cast<UINT>(source.height), 1, 0,
                          D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture) < 0)
        return nullptr;
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < source.height; ++y)
        std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &source.texels[static_cast<size_t>(y * source.width)],
                    static_cast<size_t>(source.width) * 4);
    texture->UnlockRect(0);
    return texture;
}

void CopyFrame(IDirect3DDevice8* device, IDirect3DTexture8* texture)
{
    IDirect3DSurface8* target = nullptr;
    IDirect3DSurface8* level = nullptr;
    device->GetRenderTarget(&target);
    texture->GetSurfaceLevel(0, &level);
    D3DXLoadSurfaceFromSurface(level, nullptr, nullptr, target, nullptr, nullptr,
                               D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, 0);
    level->Release();
    target->Release();
}

} // namespace

void D3D8Test::SetUp()
{
    if (!HasDisplay())
        GTEST_SKIP() << "needs an X display";
    SetFocusAssumed(true);
    m_window = MakeWindow(PlainProc, 0x06CA0000, kWidth, kHeight);
    ASSERT_NE(m_window, nullptr);
    ShowWindow(m_window, SW_SHOW);
    m_direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(m_direct3D, nullptr);
}

void D3D8Test::TearDown()
{
    ReleaseDevice();
    if (m_direct3D)
        m_direct3D->Release();
    m_direct3D = nullptr;
    D3D8ResetTestHooks();
    PlatformTest::TearDown();
}

D3DPRESENT_PARAMETERS D3D8WindowedParameters(IDirect3D8* direct3D, HWND window, UINT width, UINT height)
{
    D3DDISPLAYMODE mode{};
    direct3D->GetAdapterDisplayMode(0, &mode);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    return parameters;
}

D3DPRESENT_PARAMETERS D3D8Test::Windowed(UINT width, UINT height) const
{
    return D3D8WindowedParameters(m_direct3D, m_window, width, height);
}

HRESULT D3D8Test::MakeDevice(UINT width, UINT height, DWORD flags, D3DDEVTYPE type)
{
    D3DPRESENT_PARAMETERS parameters = Windowed(width, height);
    return m_direct3D->CreateDevice(0, type, m_window, flags, &parameters, &m_device);
}

void D3D8Test::ReleaseDevice()
{
    if (m_device)
        m_device->Release();
    m_device = nullptr;
}

std::vector<D3DCOLOR> D3D8Test::ReadBack()
{
    std::vector<D3DCOLOR> pixels;
    IDirect3DSurface8* target = nullptr;
    if (m_device->GetRenderTarget(&target) < 0)
        return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    if (target->LockRect(&locked, nullptr, D3DLOCK_READONLY) >= 0) {
        for (UINT y = 0; y < desc.Height; ++y) {
            const BYTE* row = static_cast<const BYTE*>(locked.pBits) + y * static_cast<UINT>(locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) {
                D3DCOLOR pixel;
                std::memcpy(&pixel, row + x * 4, 4);
                pixels.push_back(pixel);
            }
        }
        target->UnlockRect();
    }
    target->Release();
    return pixels;
}

D3DCOLOR D3D8Test::Pixel(int x, int y)
{
    std::vector<D3DCOLOR> pixels = ReadBack();
    D3DSURFACE_DESC desc{};
    IDirect3DSurface8* target = nullptr;
    m_device->GetRenderTarget(&target);
    target->GetDesc(&desc);
    target->Release();
    size_t at = static_cast<size_t>(y) * desc.Width + static_cast<size_t>(x);
    return at < pixels.size() ? pixels[at] : 0;
}

D3DMATRIX D3D8PixelProjection(UINT width, UINT height)
{
    D3DMATRIX matrix{};
    matrix.m[0][0] = 2.0f / static_cast<float>(width);
    matrix.m[1][1] = -2.0f / static_cast<float>(height);
    matrix.m[2][2] = 1.0f;
    matrix.m[3][0] = -1.0f;
    matrix.m[3][1] = 1.0f;
    matrix.m[3][3] = 1.0f;
    return matrix;
}

void D3D8FillTexture2x2(IDirect3DTexture8* texture, D3DCOLOR color)
{
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 2; ++y) {
        auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        row[0] = row[1] = color;
    }
    texture->UnlockRect(0);
}

void D3D8DrawScenario(IDirect3DDevice8* device, const CScenario& scenario)
{
    std::vector<IDirect3DTexture8*> textures;
    for (const CTexture& texture : scenario.textures)
        textures.push_back(MakeTexture(device, texture));
    device->BeginScene();
    for (const CStep& step : scenario.steps) {
        if (step.kind == CStep::EKind::Clear) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, step.clearColor, 1.0f, 0);
        } else if (step.kind == CStep::EKind::CopyToTexture) {
            CopyFrame(device, textures[static_cast<size_t>(step.texture)]);
        } else {
            SetStates(device, step.draw);
            SetColorSource(device, step.draw, textures);
            DrawShape(device, step.draw);
        }
    }
    device->EndScene();
    device->SetTexture(0, nullptr);
    for (IDirect3DTexture8* texture : textures) {
        if (texture)
            texture->Release();
    }
}
