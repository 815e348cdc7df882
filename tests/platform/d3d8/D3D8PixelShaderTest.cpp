#include <cstring>
#include <string>

#include "platform/d3d8/D3DX8.h"
#include "tests/platform/d3d8/D3D8TestSupport.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<DWORD> Assembled(const std::string& text, std::string* errors = nullptr)
{
    ID3DXBuffer* compiled = nullptr;
    ID3DXBuffer* messages = nullptr;
    std::vector<DWORD> tokens;
    HRESULT result = D3DXAssembleShader(text.data(), static_cast<UINT>(text.size()), 0, nullptr, &compiled, &messages);
    if (result >= 0) {
        const DWORD* data = static_cast<const DWORD*>(compiled->GetBufferPointer());
        tokens.assign(data, data + compiled->GetBufferSize() / sizeof(DWORD));
        compiled->Release();
    }
    if (messages) {
        if (errors)
            *errors = static_cast<const char*>(messages->GetBufferPointer());
        messages->Release();
    }
    return tokens;
}

class D3D8PixelShaderTest : public D3D8Test {
protected:
    void SetUp() override
    {
        D3D8Test::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(MakeDevice(), D3D_OK);
    }

    void TearDown() override
    {
        if (m_device) {
            m_device->SetTexture(0, nullptr);
            if (m_texture)
                m_texture->Release();
        }
        D3D8Test::TearDown();
    }

    DWORD Shader(const std::string& text)
    {
        std::vector<DWORD> tokens = Assembled(text);
        DWORD handle = 0;
        EXPECT_FALSE(tokens.empty());
        EXPECT_EQ(m_device->CreatePixelShader(tokens.data(), &handle), D3D_OK);
        return handle;
    }

    void Texture(const std::vector<D3DCOLOR>& texels)
    {
        ASSERT_EQ(D3DXCreateTexture(m_device, static_cast<UINT>(texels.size()), 1, 1, 0, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &m_texture),
                  D3D_OK);
        D3DLOCKED_RECT locked{};
        m_texture->LockRect(0, &locked, nullptr, 0);
        std::memcpy(locked.pBits, texels.data(), texels.size() * sizeof(D3DCOLOR));
        m_texture->UnlockRect(0);
        m_device->SetTexture(0, m_texture);
    }

    void Quad(float left, float right, D3DCOLOR color, float u0 = 0.0f, float u1 = 1.0f)
    {
        CD3D8ScreenVertex quad[] = {{left, 0, 0.5f, 1, color, u0, 0},
                                    {right, 0, 0.5f, 1, color, u1, 0},
                                    {left, 64, 0.5f, 1, color, u0, 1},
                                    {right, 64, 0.5f, 1, color, u1, 1}};
        m_device->SetVertexShader(kD3D8ScreenFvf);
        EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CD3D8ScreenVertex)), D3D_OK);
    }

    IDirect3DTexture8* m_texture = nullptr;
};

} // namespace

TEST(D3D8ShaderAssembly, EncodesInstructionsAndRegistersAsDirect3DDoes)
{
    std::vector<DWORD> tokens = Assembled("ps.1.1\n tex t0 ; sample\n mul r0, t0, v0 // modulate\n");
    std::vector<DWORD> expected = {0xFFFF0101, 66, 0xB00F0000, 5, 0x800F0000, 0xB0E40000, 0x90E40000, 0x0000FFFF};
    EXPECT_EQ(tokens, expected);
}

TEST(D3D8ShaderAssembly, EncodesModifiersMasksSelectorsAndCoissue)
{
    std::vector<DWORD> tokens = Assembled("ps.1.1\n"
                                          "def c0, 1.0, 0.5, 0.0, 1.0\n"
                                          "/* both halves\n   at once */\n"
                                          "mad_x2_sat r0.rgb, 1-r1, c0_bx2, -r0_bias\n"
                                          "+mov r0.a, t0.a\n");
    ASSERT_EQ(tokens.size(), 16u);
    EXPECT_EQ(tokens[1], 81u);          // def
    EXPECT_EQ(tokens[2], 0xA00F0000u);  // c0
    EXPECT_EQ(tokens[4], D3D8FloatBits(0.5f));
    EXPECT_EQ(tokens[7], 4u);           // mad
    EXPECT_EQ(tokens[8], 0x81170000u);  // r0.rgb, saturated, times two
    EXPECT_EQ(tokens[9], 0x86E40001u);  // 1 - r1
    EXPECT_EQ(tokens[10], 0xA4E40000u); // c0_bx2
    EXPECT_EQ(tokens[11], 0x83E40000u); // -r0_bias
    EXPECT_EQ(tokens[12], 0x40000001u); // co-issued mov
    EXPECT_EQ(tokens[13], 0x80080000u); // r0.a
    EXPECT_EQ(tokens[14], 0xB0FF0000u); // t0.a
}

TEST(D3D8ShaderAssembly, ReportsWhatItCannotAssembleByLine)
{
    std::string errors;
    EXPECT_TRUE(Assembled("ps.1.1\n\ntexld r0, t0\n", &errors).empty());
    EXPECT_NE(errors.find("(3): error: 'texld' does not exist in ps.1.1"), std::string::npos) << errors;
    EXPECT_TRUE(Assembled("ps.1.1\nmov r2, v0\n", &errors).empty());
    EXPECT_NE(errors.find("(2): error: register 'r2'"), std::string::npos) << errors;
    EXPECT_TRUE(Assembled("ps.1.3\ntexm3x3pad t1, t0_bx2\n", &errors).empty());
    EXPECT_NE(errors.find("not handled"), std::string::npos) << errors;
    EXPECT_TRUE(Assembled("vs.1.1\nmov oPos, v0\n", &errors).empty());
    EXPECT_NE(errors.find("vertex shaders"), std::string::npos) << errors;
    EXPECT_TRUE(Assembled("mov r0, v0\n", &errors).empty());
    EXPECT_TRUE(Assembled("ps.1.4\nmov r0.ar, v0\n", &errors).empty());
    EXPECT_TRUE(Assembled("ps.1.4\ntexld r0, t0_dw\n", &errors).empty());
    EXPECT_TRUE(Assembled("ps.1.1\nadd r0, v0\n", &errors).empty());
    EXPECT_NE(errors.find("takes 3 operands"), std::string::npos) << errors;
    EXPECT_TRUE(Assembled("ps.1.1\nmov v0, r0\n", &errors).empty());
    ID3DXBuffer* compiled = nullptr;
    EXPECT_EQ(D3DXAssembleShader(nullptr, 0, 0, nullptr, &compiled, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(compiled, nullptr);
}

TEST(D3D8ShaderAssembly, AssemblesFromAFileAndReportsAMissingOne)
{
    TempDir folder;
    folder.Write("Shaders/tint.psh", "ps.1.4\ntexld r0, t0\nmul r0, r0, v0\n");
    ID3DXBuffer* compiled = nullptr;
    ID3DXBuffer* errors = nullptr;
    ASSERT_EQ(D3DXAssembleShaderFromFileW(folder.WideFile("shaders\\TINT.psh").c_str(), 0, nullptr, &compiled, &errors),
              D3D_OK);
    ASSERT_NE(compiled, nullptr);
    EXPECT_EQ(static_cast<const DWORD*>(compiled->GetBufferPointer())[0], D3DPS_VERSION(1, 4));
    compiled->Release();
    EXPECT_EQ(D3DXAssembleShaderFromFileW(folder.WideFile("missing.psh").c_str(), 0, nullptr, &compiled, &errors),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(compiled, nullptr);
    ASSERT_NE(errors, nullptr);
    EXPECT_NE(std::string(static_cast<const char*>(errors->GetBufferPointer())).find("cannot open"), std::string::npos);
    errors->Release();
}

TEST_F(D3D8PixelShaderTest, TextureTimesColourThroughAVersionOneOneShader)
{
    Texture({0xFF808080});
    DWORD handle = Shader("ps.1.1\ntex t0\nmul r0, t0, v0\n");
    EXPECT_NE(D3D8InspectPixelShader(m_device, handle).find("texture2D(uSampler0"), std::string::npos);
    m_device->BeginScene();
    ASSERT_EQ(m_device->SetPixelShader(handle), D3D_OK);
    Quad(0, 32, 0xFFFF8000);
    m_device->SetPixelShader(0);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    Quad(32, 64, 0xFF00FF00);
    m_device->EndScene();
    EXPECT_TRUE(D3D8Scenarios::Near(0xFF804000, Pixel(16, 32))) << std::hex << Pixel(16, 32);
    EXPECT_EQ(Pixel(48, 32), 0xFF00FF00u);
}

TEST_F(D3D8PixelShaderTest, VersionOneFourComparesPerComponent)
{
    Texture({0xFF202020, 0xFFE0E0E0});
    DWORD handle = Shader("ps.1.4\n"
                          "def c0, 0.5, 0.5, 0.5, 0.5\n"
                          "def c1, 0.0, 0.0, 1.0, 1.0\n"
                          "texld r0, t0\n"
                          "sub r1, r0, c0\n"
                          "cmp r0, r1, v0, c1\n");
    m_device->BeginScene();
    m_device->SetPixelShader(handle);
    Quad(0, 64, 0xFFFF0000);
    m_device->EndScene();
    EXPECT_EQ(Pixel(16, 32), 0xFF0000FFu);
    EXPECT_EQ(Pixel(48, 32), 0xFFFF0000u);
}

TEST_F(D3D8PixelShaderTest, ConditionalOnAlphaAndCoissuedHalves)
{
    DWORD handle = Shader("ps.1.1\n"
                          "def c0, 1.0, 0.0, 0.0, 1.0\n"
                          "def c1, 0.0, 1.0, 0.0, 1.0\n"
                          "mov r0, v0\n"
                          "cnd r1, r0.a, c0, c1\n"
                          "mov r0.rgb, r1\n"
                          "+mov r0.a, r0.b\n");
    m_device->BeginScene();
    m_device->SetPixelShader(handle);
    Quad(0, 32, 0x80FFFFFF);
    Quad(32, 64, 0x40FFFFFF);
    m_device->EndScene();
    EXPECT_EQ(Pixel(16, 32), 0xFFFF0000u);
    EXPECT_EQ(Pixel(48, 32), 0xFF00FF00u);
}

TEST_F(D3D8PixelShaderTest, TexkillDropsPixelsWithNegativeCoordinates)
{
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    DWORD handle = Shader("ps.1.1\ntexkill t0\nmov r0, v0\n");
    m_device->BeginScene();
    m_device->SetPixelShader(handle);
    Quad(0, 64, 0xFFFFFFFF, -1.0f, 1.0f);
    m_device->EndScene();
    EXPECT_EQ(Pixel(16, 32), 0xFF0000FFu);
    EXPECT_EQ(Pixel(48, 32), 0xFFFFFFFFu);
}

TEST_F(D3D8PixelShaderTest, DeviceRefusesBadTokensAndForgetsDeletedShaders)
{
    DWORD handle = 0;
    DWORD vertexShader[] = {0xFFFE0101, 0x0000FFFF};
    DWORD unknown[] = {0xFFFF0101, 67, 0xB00F0001, 0xB0E40000, 0x0000FFFF};  // texbem
    EXPECT_EQ(m_device->CreatePixelShader(vertexShader, &handle), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreatePixelShader(unknown, &handle), D3DERR_INVALIDCALL);
    std::vector<DWORD> nops(5000, 0);
    nops[0] = 0xFFFF0101;
    EXPECT_EQ(m_device->CreatePixelShader(nops.data(), &handle), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreatePixelShader(nullptr, &handle), D3DERR_INVALIDCALL);
    handle = Shader("ps.1.2\nmov r0, v0\n");
    ASSERT_EQ(m_device->SetPixelShader(handle), D3D_OK);
    EXPECT_EQ(D3D8InspectDevice(m_device).pixelShaders, 1u);
    EXPECT_EQ(m_device->DeletePixelShader(handle), D3D_OK);
    DWORD current = 7;
    m_device->GetPixelShader(&current);
    EXPECT_EQ(current, 0u);
    EXPECT_EQ(m_device->SetPixelShader(handle), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->DeletePixelShader(handle), D3DERR_INVALIDCALL);
}

TEST_F(D3D8PixelShaderTest, DeviceRefusesRegistersTheVersionDoesNotHave)
{
    DWORD handle = 0;
    DWORD farConstant[] = {0xFFFF0101, 81, 0xA00F0009, 0, 0, 0, 0, 1, 0x800F0000, 0x90E40000, 0x0000FFFF};
    DWORD nearConstant[] = {0xFFFF0101, 81, 0xA00F0007, 0, 0, 0, 0, 1, 0x800F0000, 0xA0E40007, 0x0000FFFF};
    DWORD farStage[] = {0xFFFF0101, 66, 0xB00F0040, 1, 0x800F0000, 0x90E40000, 0x0000FFFF};
    DWORD versionOneFour[] = {0xFFFF0104, 66, 0x800F0005, 0xB0E40005, 0x0000FFFF};
    EXPECT_EQ(m_device->CreatePixelShader(nearConstant, &handle), D3D_OK);
    EXPECT_EQ(m_device->CreatePixelShader(farConstant, &handle), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreatePixelShader(farStage, &handle), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreatePixelShader(versionOneFour, &handle), D3D_OK);  // r5 and t5 exist in ps.1.4
}
