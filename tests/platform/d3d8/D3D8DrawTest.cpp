#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/d3d8/D3DX8.h"
#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

struct CLitVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR color;
};
constexpr DWORD kLitFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;

struct CPlainVertex {
    float x, y, z;
    D3DCOLOR color;
};
constexpr DWORD kPlainFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

bool Close(D3DCOLOR expected, D3DCOLOR actual)
{
    return D3D8Scenarios::Near(expected, actual);
}

class D3D8DrawTest : public D3D8Test {
protected:
    void SetUp() override
    {
        D3D8Test::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(MakeDevice(), D3D_OK);
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
        m_device->BeginScene();
        m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
        m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        m_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        D3DMATRIX projection = D3D8PixelProjection(64, 64);
        m_device->SetTransform(D3DTS_PROJECTION, &projection);
    }

    void ScreenQuad(float left, float top, float right, float bottom, D3DCOLOR color, float z = 0.5f)
    {
        CD3D8ScreenVertex quad[] = {{left, top, z, 1, color, 0, 0},
                                    {right, top, z, 1, color, 1, 0},
                                    {left, bottom, z, 1, color, 0, 1},
                                    {right, bottom, z, 1, color, 1, 1}};
        m_device->SetVertexShader(kD3D8ScreenFvf);
        EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CD3D8ScreenVertex)), D3D_OK);
    }

    void PlainQuad(float left, float top, float right, float bottom, D3DCOLOR color, float z = 0.5f)
    {
        CPlainVertex quad[] = {{left, top, z, color}, {right, top, z, color}, {left, bottom, z, color},
                               {right, bottom, z, color}};
        m_device->SetVertexShader(kPlainFvf);
        EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CPlainVertex)), D3D_OK);
    }

    void LitQuad(float left, float right, D3DCOLOR color)
    {
        CLitVertex quad[] = {{left, 0, 0.5f, 0, 0, -1, color},
                             {right, 0, 0.5f, 0, 0, -1, color},
                             {left, 64, 0.5f, 0, 0, -1, color},
                             {right, 64, 0.5f, 0, 0, -1, color}};
        m_device->SetVertexShader(kLitFvf);
        EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CLitVertex)), D3D_OK);
    }

    IDirect3DTexture8* Solid(D3DCOLOR color)
    {
        IDirect3DTexture8* texture = nullptr;
        EXPECT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
        if (texture)
            D3D8FillTexture2x2(texture, color);
        return texture;
    }

    D3DCOLOR Finish(int x, int y)
    {
        m_device->EndScene();
        return Pixel(x, y);
    }
};

D3DLIGHT8 Directional(float intensity)
{
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {intensity, intensity, intensity, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    light.Range = std::sqrt(3.4028234663852886e38f);
    light.Attenuation0 = 1.0f;
    return light;
}

} // namespace

TEST_F(D3D8DrawTest, TransformedVerticesFollowTheIntegerPixelCentres)
{
    ScreenQuad(0.5f, 0.5f, 2.5f, 2.5f, 0xFFFFFFFF);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_EQ(pixels[0], 0xFF000000u);
    EXPECT_EQ(pixels[1 * 64 + 1], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[2 * 64 + 2], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[3 * 64 + 3], 0xFF000000u);
}

TEST_F(D3D8DrawTest, TexelsMeetPixelsWhenTheQuadStartsHalfAPixelOut)
{
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 4, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    D3DCOLOR texels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int i = 0; i < 4; ++i)
        static_cast<D3DCOLOR*>(locked.pBits)[i] = texels[i];
    texture->UnlockRect(0);
    m_device->SetTexture(0, texture);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    ScreenQuad(-0.5f, -0.5f, 3.5f, 0.5f, 0xFFFFFFFF);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pixels[static_cast<size_t>(i)], texels[i]) << "pixel " << i;
    m_device->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(D3D8DrawTest, ViewportPlacesProjectedGeometry)
{
    D3DVIEWPORT8 viewport{16, 8, 32, 16, 0.0f, 1.0f};
    ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
    D3DMATRIX identity = D3D8Identity();
    m_device->SetTransform(D3DTS_PROJECTION, &identity);
    PlainQuad(-1, 1, 1, -1, 0xFF00FF00);  // the whole clip square
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_EQ(pixels[8 * 64 + 16], 0xFF00FF00u);
    EXPECT_EQ(pixels[23 * 64 + 47], 0xFF00FF00u);
    EXPECT_EQ(pixels[7 * 64 + 16], 0xFF000000u);
    EXPECT_EQ(pixels[24 * 64 + 47], 0xFF000000u);
    EXPECT_EQ(pixels[8 * 64 + 48], 0xFF000000u);
}

TEST_F(D3D8DrawTest, ClearCoversTheViewportWhateverTheWriteMasks)
{
    D3DVIEWPORT8 viewport{16, 16, 32, 32, 0.0f, 1.0f};
    m_device->SetViewport(&viewport);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    m_device->SetRenderState(D3DRS_STENCILWRITEMASK, 0);
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFFFF0000, 0.25f, 3),
              D3D_OK);
    D3DRECT strip{0, 40, 64, 44};  // reaches outside the viewport on both sides
    ASSERT_EQ(m_device->Clear(1, &strip, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(m_device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    // What the depth and stencil clears left: a depth of 0.25 and a stencil of 3.
    D3DVIEWPORT8 whole{0, 0, 64, 64, 0.0f, 1.0f};
    m_device->SetViewport(&whole);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    m_device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    m_device->SetRenderState(D3DRS_STENCILREF, 3);
    m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    ScreenQuad(20, 20, 44, 28, 0xFF00FF00, 0.2f);
    ScreenQuad(20, 28, 44, 36, 0xFFFFFFFF, 0.3f);  // behind the cleared depth
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_EQ(pixels[18 * 64 + 18], 0xFFFF0000u);
    EXPECT_EQ(pixels[8 * 64 + 8], 0xFF000000u);
    EXPECT_EQ(pixels[42 * 64 + 20], 0xFF0000FFu);
    EXPECT_EQ(pixels[42 * 64 + 8], 0xFF000000u);
    EXPECT_EQ(pixels[24 * 64 + 32], 0xFF00FF00u);
    EXPECT_EQ(pixels[32 * 64 + 32], 0xFFFF0000u);
}

TEST_F(D3D8DrawTest, TwoLightsWithMaterialAndColourSources)
{
    m_device->SetRenderState(D3DRS_LIGHTING, TRUE);
    m_device->SetRenderState(D3DRS_AMBIENT, 0xFF404040);
    D3DMATERIAL8 material{};
    material.Ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    material.Diffuse = {1.0f, 0.0f, 0.0f, 1.0f};
    m_device->SetMaterial(&material);
    D3DLIGHT8 first = Directional(1.0f);
    D3DLIGHT8 second = Directional(0.25f);
    m_device->SetLight(0, &first);
    m_device->SetLight(1, &second);
    m_device->LightEnable(0, TRUE);
    m_device->LightEnable(1, TRUE);
    m_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    LitQuad(0, 16, 0xFF808080);  // 0.2 x 0.25 + 0.5 x (1 + 0.25)
    m_device->LightEnable(1, FALSE);
    LitQuad(16, 32, 0xFF808080);  // 0.05 + 0.5
    m_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    LitQuad(32, 48, 0xFF808080);  // the material's red
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFFACACAC, pixels[32 * 64 + 8])) << std::hex << pixels[32 * 64 + 8];
    EXPECT_TRUE(Close(0xFF8C8C8C, pixels[32 * 64 + 24])) << std::hex << pixels[32 * 64 + 24];
    EXPECT_TRUE(Close(0xFFFF0D0D, pixels[32 * 64 + 40])) << std::hex << pixels[32 * 64 + 40];
}

TEST_F(D3D8DrawTest, LightingWithoutNormalsLeavesOnlyAmbientAndEmissive)
{
    m_device->SetRenderState(D3DRS_LIGHTING, TRUE);
    D3DMATERIAL8 material{};
    material.Emissive = {0.0f, 0.0f, 0.5f, 1.0f};
    m_device->SetMaterial(&material);
    D3DLIGHT8 light = Directional(1.0f);
    m_device->SetLight(0, &light);
    m_device->LightEnable(0, TRUE);
    PlainQuad(0, 0, 64, 64, 0xFFFFFFFF);
    EXPECT_TRUE(Close(0xFF000080, Finish(32, 32)));
}

TEST_F(D3D8DrawTest, TableFogBlendsTowardsTheFogColour)
{
    m_device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    m_device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    m_device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    m_device->SetRenderState(D3DRS_FOGSTART, D3D8FloatBits(0.0f));
    m_device->SetRenderState(D3DRS_FOGEND, D3D8FloatBits(1.0f));
    PlainQuad(0, 0, 32, 64, 0xFFFF0000, 0.5f);
    PlainQuad(32, 0, 64, 64, 0xFFFF0000, 0.0f);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFF80007F, pixels[32 * 64 + 16])) << std::hex << pixels[32 * 64 + 16];
    EXPECT_TRUE(Close(0xFFFF0000, pixels[32 * 64 + 48])) << std::hex << pixels[32 * 64 + 48];
}

TEST_F(D3D8DrawTest, FlatShadingTakesTheFirstVertex)
{
    m_device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    CD3D8ScreenVertex triangle[] = {{0, 0, 0.5f, 1, 0xFFFF0000, 0, 0},
                                    {64, 0, 0.5f, 1, 0xFF00FF00, 0, 0},
                                    {0, 64, 0.5f, 1, 0xFF0000FF, 0, 0}};
    m_device->SetVertexShader(kD3D8ScreenFvf);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(CD3D8ScreenVertex));
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_EQ(pixels[10 * 64 + 40], 0xFFFF0000u);
    EXPECT_EQ(pixels[40 * 64 + 10], 0xFFFF0000u);
}

TEST_F(D3D8DrawTest, MultiplyAddWithComplementAndTheFactorStage)
{
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    *static_cast<D3DCOLOR*>(locked.pBits) = 0xFF808080;
    texture->UnlockRect(0);
    m_device->SetTexture(0, texture);
    // current + texture x (1 - diffuse): 0.25 + 0.5 x 0.75
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MULTIPLYADD);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_CURRENT);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE | D3DTA_COMPLEMENT);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    ScreenQuad(0, 0, 32, 64, 0xFF404040);
    // texture x factor, doubled: 0.5 x 0.25 x 2
    m_device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF404040);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    ScreenQuad(32, 0, 64, 64, 0xFF404040);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFF9F9F9F, pixels[32 * 64 + 16])) << std::hex << pixels[32 * 64 + 16];
    EXPECT_TRUE(Close(0xFF404040, pixels[32 * 64 + 48])) << std::hex << pixels[32 * 64 + 48];
    m_device->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(D3D8DrawTest, StageReadingAMissingTexturePassesTheColourOn)
{
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_device->SetTexture(0, nullptr);
    ScreenQuad(0, 0, 64, 64, 0xFF336699);
    EXPECT_EQ(Finish(32, 32), 0xFF336699u);
}

TEST_F(D3D8DrawTest, StencilIncrementWrapsAndSaturatingIncrementStops)
{
    m_device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 255);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    m_device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
    ScreenQuad(0, 0, 32, 64, 0xFFFFFFFF);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCRSAT);
    ScreenQuad(32, 0, 64, 64, 0xFFFFFFFF);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    m_device->SetRenderState(D3DRS_STENCILREF, 0);
    ScreenQuad(0, 0, 64, 64, 0xFF00FF00);
    m_device->SetRenderState(D3DRS_STENCILREF, 255);
    ScreenQuad(0, 0, 64, 64, 0xFFFF0000);
    m_device->EndScene();
    EXPECT_EQ(Pixel(16, 32), 0xFF00FF00u);
    EXPECT_EQ(Pixel(48, 32), 0xFFFF0000u);
}

TEST_F(D3D8DrawTest, DepthRangeOutsideZeroToOneDrawsEverythingAtTheFarPlane)
{
    // The camera gives the near and far distances as the viewport's depth range.
    D3DVIEWPORT8 viewport{0, 0, 64, 64, 1.0f, 10000.0f};
    m_device->SetViewport(&viewport);
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    PlainQuad(0, 0, 64, 64, 0xFF0000FF, 0.1f);
    PlainQuad(16, 16, 48, 48, 0xFFFFFF00, 0.9f);  // drawn later, so on top under LESSEQUAL
    EXPECT_EQ(Finish(32, 32), 0xFFFFFF00u);
}

TEST_F(D3D8DrawTest, ColourWriteMaskKeepsTheOtherChannels)
{
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_BLUE);
    ScreenQuad(0, 0, 64, 64, 0xFFFFFFFF);
    EXPECT_EQ(Finish(10, 10), 0xFFFF00FFu);
}

TEST_F(D3D8DrawTest, GammaRampShowsOnlyOnTheWindow)
{
    D3DGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i)
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<WORD>(65535 - i * 257);
    m_device->SetGammaRamp(0, &ramp);
    D3DGAMMARAMP back{};
    m_device->GetGammaRamp(&back);
    EXPECT_EQ(back.red[0], 65535);
    ScreenQuad(0, 0, 64, 64, 0xFF204060);
    EXPECT_EQ(Finish(5, 5), 0xFF204060u);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(D3D8DrawTest, PointSizeComesFromTheRenderState)
{
    m_device->SetRenderState(D3DRS_POINTSIZE, D3D8FloatBits(8.0f));
    CD3D8ScreenVertex point{32, 32, 0.5f, 1, 0xFFFFFFFF, 0, 0};
    m_device->SetVertexShader(kD3D8ScreenFvf);
    m_device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point));
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_EQ(pixels[29 * 64 + 29], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[35 * 64 + 35], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[32 * 64 + 38], 0xFF000000u);
}

TEST_F(D3D8DrawTest, ShadowVolumePassesDarkenWhereTheCountStaysAboveZero)
{
    // The scene: a white floor at depth 0.5.
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    PlainQuad(0, 0, 64, 64, 0xFFFFFFFF, 0.5f);
    // Volume faces: front faces clockwise, back faces counter-clockwise. On the left the back
    // face lies behind the floor, on the right in front of it.
    struct CPoint {
        float x, y, z;
    };
    CPoint faces[] = {{0, 0, 0.2f},  {32, 0, 0.2f},  {0, 64, 0.2f},   // left front
                      {0, 0, 0.8f},  {0, 64, 0.8f},  {32, 0, 0.8f},   // left back
                      {32, 0, 0.2f}, {64, 0, 0.2f},  {32, 64, 0.2f},  // right front
                      {32, 0, 0.3f}, {32, 64, 0.3f}, {64, 0, 0.3f}};  // right back
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    m_device->SetRenderState(D3DRS_STENCILREF, 1);
    m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    m_device->SetVertexShader(D3DFVF_XYZ);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 4, faces, sizeof(CPoint));
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECRSAT);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 4, faces, sizeof(CPoint));

    // Darkening: a quad from a managed buffer (z and rhw 0) multiplies the screen by the colour.
    IDirect3DVertexBuffer8* quad = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(80, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_MANAGED,
                                           &quad),
              D3D_OK);
    struct CCorner {
        float x, y, z, rhw;
        D3DCOLOR color;
    };
    CCorner corners[] = {{0, 64, 0, 0, 0xFF000000}, {0, 0, 0, 0, 0xFF000000}, {64, 64, 0, 0, 0xFF000000},
                         {64, 0, 0, 0, 0xFF000000}};
    BYTE* data = nullptr;
    quad->Lock(0, 0, &data, 0);
    std::memcpy(data, corners, sizeof(corners));
    quad->Unlock();
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    m_device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF808080);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    m_device->SetRenderState(D3DRS_STENCILREF, 0);
    m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NOTEQUAL);
    m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    m_device->SetStreamSource(0, quad, 20);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    m_device->SetStreamSource(0, nullptr, 0);
    quad->Release();
    m_device->EndScene();
    EXPECT_TRUE(Close(0xFF808080, Pixel(10, 20))) << std::hex << Pixel(10, 20);
    EXPECT_EQ(Pixel(50, 20), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(30, 60), 0xFFFFFFFFu);
}

// Values set between draws reach each draw, also when a value comes back to one drawn before.
TEST_F(D3D8DrawTest, EachDrawSeesTheStatesSetBeforeItOnly)
{
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    const D3DCOLOR factors[] = {0xFF00FF00, 0xFF0000FF, 0xFF00FF00};
    for (int i = 0; i < 3; ++i) {
        m_device->SetRenderState(D3DRS_TEXTUREFACTOR, factors[i]);
        m_device->SetRenderState(D3DRS_TEXTUREFACTOR, factors[i]);
        ScreenQuad(static_cast<float>(i * 16), 0, static_cast<float>(i * 16 + 16), 16, 0xFFFFFFFF);
    }
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    m_device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    ScreenQuad(0, 32, 16, 48, 0x40FF0000);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_LESS);
    ScreenQuad(16, 32, 32, 48, 0x40FF0000);
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFF00FF00, pixels[8 * 64 + 8]));
    EXPECT_TRUE(Close(0xFF0000FF, pixels[8 * 64 + 24]));
    EXPECT_TRUE(Close(0xFF00FF00, pixels[8 * 64 + 40]));
    EXPECT_TRUE(Close(0xFF000000, pixels[40 * 64 + 8] | 0xFF000000));
    EXPECT_TRUE(Close(0xFFFF0000, pixels[40 * 64 + 24] | 0xFF000000));
}

// A texture made after another was released may get its OpenGL name; it still draws its own texels,
// and a stage's addressing set between draws applies to the next one.
TEST_F(D3D8DrawTest, TexturesAndSamplingFollowEachDraw)
{
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    IDirect3DTexture8* red = Solid(0xFFFF0000);
    m_device->SetTexture(0, red);
    ScreenQuad(0, 0, 16, 16, 0xFFFFFFFF);
    m_device->SetTexture(0, nullptr);
    red->Release();
    IDirect3DTexture8* blue = Solid(0xFF0000FF);
    m_device->SetTexture(0, blue);
    ScreenQuad(16, 0, 32, 16, 0xFFFFFFFF);
    m_device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_BORDER);
    m_device->SetTextureStageState(0, D3DTSS_BORDERCOLOR, 0xFF00FF00);
    CD3D8ScreenVertex outside[] = {{32, 0, 0.5f, 1, 0xFFFFFFFF, 2, 0},
                                   {48, 0, 0.5f, 1, 0xFFFFFFFF, 3, 0},
                                   {32, 16, 0.5f, 1, 0xFFFFFFFF, 2, 1},
                                   {48, 16, 0.5f, 1, 0xFFFFFFFF, 3, 1}};
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, outside, sizeof(CD3D8ScreenVertex)), D3D_OK);
    m_device->SetTexture(0, nullptr);
    blue->Release();
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFFFF0000, pixels[8 * 64 + 8]));
    EXPECT_TRUE(Close(0xFF0000FF, pixels[8 * 64 + 24]));
    EXPECT_TRUE(Close(0xFF00FF00, pixels[8 * 64 + 40]));
}

// A texture written after a draw shows its new texels at the next draw, on the second stage too,
// without disturbing the texture of the first.
TEST_F(D3D8DrawTest, TexturesWrittenBetweenDrawsShowTheirNewTexels)
{
    IDirect3DTexture8* green = Solid(0xFF00FF00);
    IDirect3DTexture8* second = Solid(0xFFFF0000);
    m_device->SetTexture(0, green);
    m_device->SetTexture(1, second);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    m_device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    ScreenQuad(0, 0, 16, 16, 0xFFFFFFFF);
    D3D8FillTexture2x2(second, 0xFF0000FF);
    ScreenQuad(16, 0, 32, 16, 0xFFFFFFFF);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    D3D8FillTexture2x2(green, 0xFF808080);
    ScreenQuad(32, 0, 48, 16, 0xFFFFFFFF);
    m_device->SetTexture(0, nullptr);
    m_device->SetTexture(1, nullptr);
    green->Release();
    second->Release();
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFFFFFF00, pixels[8 * 64 + 8]));
    EXPECT_TRUE(Close(0xFF00FFFF, pixels[8 * 64 + 24]));
    EXPECT_TRUE(Close(0xFF808080, pixels[8 * 64 + 40]));
}

// The largest index is looked for again after the index buffer was locked.
TEST_F(D3D8DrawTest, IndicesWrittenAfterADrawAreCheckedAgain)
{
    IDirect3DVertexBuffer8* vertices = nullptr;
    IDirect3DIndexBuffer8* indices = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(4 * sizeof(CD3D8ScreenVertex), 0, kD3D8ScreenFvf, D3DPOOL_MANAGED, &vertices),
              D3D_OK);
    ASSERT_EQ(m_device->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices), D3D_OK);
    BYTE* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    const CD3D8ScreenVertex quad[] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                      {16, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                                      {0, 16, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                                      {16, 16, 0.5f, 1, 0xFFFFFFFF, 1, 1}};
    std::memcpy(data, quad, sizeof quad);
    vertices->Unlock();
    auto writeIndices = [&](WORD last) {
        const WORD values[] = {0, 1, 2, 2, 1, last};
        indices->Lock(0, 0, &data, 0);
        std::memcpy(data, values, sizeof values);
        indices->Unlock();
    };
    writeIndices(3);
    m_device->SetVertexShader(kD3D8ScreenFvf);
    m_device->SetStreamSource(0, vertices, sizeof(CD3D8ScreenVertex));
    m_device->SetIndices(indices, 0);
    EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    writeIndices(4);
    EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    m_device->SetStreamSource(0, nullptr, 0);
    m_device->SetIndices(nullptr, 0);
    vertices->Release();
    indices->Release();
}

// A program drawn again after another took newer values loads them, though its own did not change.
TEST_F(D3D8DrawTest, ProgramDrawnAgainTakesValuesSetWhileAnotherDrew)
{
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    m_device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF00FF00);
    ScreenQuad(0, 0, 16, 16, 0xFFFFFFFF);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    m_device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF0000FF);
    ScreenQuad(16, 0, 32, 16, 0xFFFFFFFF);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    ScreenQuad(32, 0, 48, 16, 0xFFFFFFFF);
    m_device->SetRenderState(D3DRS_LIGHTING, TRUE);
    m_device->SetRenderState(D3DRS_AMBIENT, 0xFF000000);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    m_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    m_device->LightEnable(0, TRUE);
    for (float intensity : {1.0f, 0.5f}) {
        D3DLIGHT8 light = Directional(intensity);
        m_device->SetLight(0, &light);
        float left = intensity == 1.0f ? 0.0f : 16.0f;
        CLitVertex quad[] = {{left, 32, 0.5f, 0, 0, -1, 0xFFFFFFFF},
                             {left + 16, 32, 0.5f, 0, 0, -1, 0xFFFFFFFF},
                             {left, 48, 0.5f, 0, 0, -1, 0xFFFFFFFF},
                             {left + 16, 48, 0.5f, 0, 0, -1, 0xFFFFFFFF}};
        m_device->SetVertexShader(kLitFvf);
        EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CLitVertex)), D3D_OK);
    }
    m_device->EndScene();
    std::vector<D3DCOLOR> pixels = ReadBack();
    EXPECT_TRUE(Close(0xFF00FF00, pixels[8 * 64 + 8]));
    EXPECT_TRUE(Close(0xFF0000FF, pixels[8 * 64 + 24]));
    EXPECT_TRUE(Close(0xFF0000FF, pixels[8 * 64 + 40]));
    EXPECT_TRUE(Close(0xFFFFFFFF, pixels[40 * 64 + 8]));
    EXPECT_TRUE(Close(0xFF808080, pixels[40 * 64 + 24]) || Close(0xFF7F7F7F, pixels[40 * 64 + 24]));
}
