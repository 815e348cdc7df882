#include <cmath>

#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

class D3D8StateTest : public D3D8Test {
protected:
    DWORD Render(D3DRENDERSTATETYPE state)
    {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(m_device->GetRenderState(state, &value), D3D_OK);
        return value;
    }

    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type)
    {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(m_device->GetTextureStageState(stage, type, &value), D3D_OK);
        return value;
    }

    void ExpectDefaults(bool depthBuffer)
    {
        struct CDefault {
            D3DRENDERSTATETYPE state;
            DWORD value;
        };
        const CDefault defaults[] = {
            {D3DRS_ZENABLE, depthBuffer ? 1u : 0u},
            {D3DRS_FILLMODE, D3DFILL_SOLID},
            {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
            {D3DRS_ZWRITEENABLE, TRUE},
            {D3DRS_ALPHATESTENABLE, FALSE},
            {D3DRS_SRCBLEND, D3DBLEND_ONE},
            {D3DRS_DESTBLEND, D3DBLEND_ZERO},
            {D3DRS_CULLMODE, D3DCULL_CCW},
            {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
            {D3DRS_ALPHAREF, 0},
            {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
            {D3DRS_ALPHABLENDENABLE, FALSE},
            {D3DRS_FOGENABLE, FALSE},
            {D3DRS_FOGTABLEMODE, D3DFOG_NONE},
            {D3DRS_FOGVERTEXMODE, D3DFOG_NONE},
            {D3DRS_FOGEND, D3D8FloatBits(1.0f)},
            {D3DRS_FOGDENSITY, D3D8FloatBits(1.0f)},
            {D3DRS_STENCILENABLE, FALSE},
            {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
            {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
            {D3DRS_STENCILMASK, 0xFFFFFFFF},
            {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
            {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
            {D3DRS_CLIPPING, TRUE},
            {D3DRS_LIGHTING, TRUE},
            {D3DRS_AMBIENT, 0},
            {D3DRS_COLORVERTEX, TRUE},
            {D3DRS_LOCALVIEWER, TRUE},
            {D3DRS_NORMALIZENORMALS, FALSE},
            {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
            {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
            {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
            {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
            {D3DRS_POINTSIZE, D3D8FloatBits(1.0f)},
            {D3DRS_POINTSPRITEENABLE, FALSE},
            {D3DRS_POINTSCALE_A, D3D8FloatBits(1.0f)},
            {D3DRS_POINTSIZE_MAX, D3D8FloatBits(64.0f)},
            {D3DRS_COLORWRITEENABLE, 0xF},
            {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        };
        for (const CDefault& entry : defaults)
            EXPECT_EQ(Render(entry.state), entry.value) << "render state " << entry.state;
        EXPECT_EQ(Stage(0, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_MODULATE));
        EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_SELECTARG1));
        EXPECT_EQ(Stage(1, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_DISABLE));
        EXPECT_EQ(Stage(1, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_DISABLE));
        EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), D3DTA_TEXTURE);
        EXPECT_EQ(Stage(0, D3DTSS_COLORARG2), D3DTA_CURRENT);
        EXPECT_EQ(Stage(3, D3DTSS_TEXCOORDINDEX), 3u);
        EXPECT_EQ(Stage(0, D3DTSS_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_WRAP));
        EXPECT_EQ(Stage(0, D3DTSS_MAGFILTER), static_cast<DWORD>(D3DTEXF_POINT));
        EXPECT_EQ(Stage(0, D3DTSS_MIPFILTER), static_cast<DWORD>(D3DTEXF_NONE));
        D3DMATRIX world{};
        EXPECT_EQ(m_device->GetTransform(D3DTS_WORLD, &world), D3D_OK);
        EXPECT_EQ(world.m[0][0], 1.0f);
        EXPECT_EQ(world.m[3][0], 0.0f);
        DWORD shader = 1;
        m_device->GetPixelShader(&shader);
        EXPECT_EQ(shader, 0u);
        IDirect3DBaseTexture8* texture = reinterpret_cast<IDirect3DBaseTexture8*>(1);
        m_device->GetTexture(0, &texture);
        EXPECT_EQ(texture, nullptr);
    }
};

} // namespace

TEST_F(D3D8StateTest, NewDeviceStartsAtTheDefaults)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    ExpectDefaults(true);
    D3DVIEWPORT8 viewport{};
    ASSERT_EQ(m_device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, static_cast<DWORD>(D3D8Scenarios::kWidth));
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    D3DMATERIAL8 material{};
    material.Power = 3.0f;
    ASSERT_EQ(m_device->GetMaterial(&material), D3D_OK);
    EXPECT_EQ(material.Power, 0.0f);
    BOOL enabled = TRUE;
    EXPECT_EQ(m_device->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL);  // no light set yet
}

TEST_F(D3D8StateTest, DeviceWithoutDepthBufferStartsWithDepthOff)
{
    D3DPRESENT_PARAMETERS parameters = Windowed(32, 32);
    parameters.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                       &m_device),
              D3D_OK);
    ExpectDefaults(false);
    EXPECT_EQ(Render(D3DRS_SOFTWAREVERTEXPROCESSING), static_cast<DWORD>(TRUE));
    EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(D3D8StateTest, ResetBringsEveryStateBackToItsDefault)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    m_device->SetTexture(0, texture);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_TEXTUREFACTOR, 0x80808080);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    D3DMATRIX moved = D3DMATRIX{};
    moved.m[0][0] = moved.m[1][1] = moved.m[2][2] = moved.m[3][3] = 2.0f;
    m_device->SetTransform(D3DTS_WORLD, &moved);
    m_device->LightEnable(0, TRUE);
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    ASSERT_EQ(m_device->Reset(&parameters), D3D_OK);
    ExpectDefaults(true);
    EXPECT_EQ(D3D8InspectState(m_device).lights.size(), 0u);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(D3D8StateTest, RecordingDoesNotApplyApplyingSetsAndCaptureRefreshes)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    ASSERT_EQ(m_device->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(m_device->BeginStateBlock(), D3DERR_INVALIDCALL);
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    m_device->SetTexture(0, texture);
    m_device->LightEnable(2, FALSE);
    EXPECT_EQ(m_device->ApplyStateBlock(1), D3DERR_INVALIDCALL);  // not while recording
    DWORD token = 0;
    ASSERT_EQ(m_device->EndStateBlock(&token), D3D_OK);
    EXPECT_NE(token, 0u);

    // Nothing reached the device while recording.
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), D3DTA_TEXTURE);
    EXPECT_EQ(D3D8InspectState(m_device).textures[0], nullptr);
    EXPECT_EQ(D3D8InspectState(m_device).lights.count(2), 0u);

    // The block keeps its texture alive after the caller lets it go.
    EXPECT_EQ(texture->Release(), 0u);
    ASSERT_EQ(m_device->ApplyStateBlock(token), D3D_OK);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), D3DTA_TFACTOR);
    EXPECT_EQ(D3D8InspectState(m_device).textures[0], static_cast<IDirect3DBaseTexture8*>(texture));
    EXPECT_FALSE(D3D8InspectState(m_device).lights.at(2).enabled);

    // Capture takes the current values of the recorded states only.
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    m_device->SetTexture(0, nullptr);
    ASSERT_EQ(m_device->CaptureStateBlock(token), D3D_OK);
    const CD3D8StateBlock* block = D3D8InspectStateBlock(m_device, token);
    ASSERT_NE(block, nullptr);
    DWORD value = 0;
    EXPECT_TRUE(block->FindRenderState(D3DRS_SRCBLEND, &value));
    EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_FALSE(block->FindRenderState(D3DRS_DESTBLEND, &value));
    IDirect3DBaseTexture8* recorded = reinterpret_cast<IDirect3DBaseTexture8*>(1);
    EXPECT_TRUE(block->FindTexture(0, &recorded));
    EXPECT_EQ(recorded, nullptr);
    EXPECT_EQ(block->Count(), 5u);

    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    ASSERT_EQ(m_device->ApplyStateBlock(token), D3D_OK);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(m_device->DeleteStateBlock(token), D3D_OK);
    EXPECT_EQ(m_device->DeleteStateBlock(token), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3D8InspectStateBlock(m_device, token), nullptr);
}

TEST_F(D3D8StateTest, SettersRefuseWhatDirect3DDoesNotHave)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    EXPECT_EQ(m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(1), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(400), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(12), 0), D3DERR_INVALIDCALL);
    D3DMATRIX matrix = {};
    EXPECT_EQ(m_device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(5), &matrix), D3DERR_INVALIDCALL);
    D3DVIEWPORT8 outside{32, 0, 64, 64, 0.0f, 1.0f};
    EXPECT_EQ(m_device->SetViewport(&outside), D3DERR_INVALIDCALL);
    D3DVIEWPORT8 deep{0, 0, 64, 64, 1.0f, 10000.0f};  // depth outside [0, 1] is taken as given
    EXPECT_EQ(m_device->SetViewport(&deep), D3D_OK);
    D3DLIGHT8 light{};
    EXPECT_EQ(m_device->SetLight(0, &light), D3DERR_INVALIDCALL);  // no light type
    EXPECT_EQ(m_device->SetVertexShader(0x1000000), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShader(7), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetStreamSource(1, nullptr, 0), D3DERR_INVALIDCALL);
}

TEST_F(D3D8StateTest, LightsKeepParametersAndEnableCreatesTheDefaultLight)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    EXPECT_EQ(m_device->LightEnable(4, TRUE), D3D_OK);
    D3DLIGHT8 light{};
    ASSERT_EQ(m_device->GetLight(4, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Direction.z, 1.0f);
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    light.Type = D3DLIGHT_POINT;
    light.Range = std::sqrt(3.4028234663852886e38f);
    light.Attenuation0 = 1.0f;
    ASSERT_EQ(m_device->SetLight(4, &light), D3D_OK);
    BOOL enabled = FALSE;
    ASSERT_EQ(m_device->GetLightEnable(4, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);  // setting the parameters keeps the switch
    D3DLIGHT8 back{};
    m_device->GetLight(4, &back);
    EXPECT_EQ(back.Type, D3DLIGHT_POINT);
}

TEST_F(D3D8StateTest, PureDeviceAnswersNoStateQueries)
{
    ASSERT_EQ(MakeDevice(D3D8Scenarios::kWidth, D3D8Scenarios::kHeight,
                         D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE),
              D3D_OK);
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    DWORD value = 0;
    EXPECT_EQ(m_device->GetRenderState(D3DRS_LIGHTING, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetTextureStageState(0, D3DTSS_COLOROP, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3D8InspectState(m_device).Render(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
}
