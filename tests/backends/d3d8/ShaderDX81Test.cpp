#include <string>
#include <vector>

#include "backends/d3d8/ShaderDX81.h"
#include "tests/backends/d3d8/DX81Fixture.h"
#include "tests/support/OpenGLShaderShadowScene.h"
#include "tests/support/ShaderSceneTests.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kTextureShader = "ps.1.1\ntex t0\nmov r0, t0\n";

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD kScreenFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

} // namespace

class ShaderDX81Test : public ShaderSceneFixture<DX81LoadedFixture, C3DShaderDX81> {
protected:
    // ps.1.1 text that draws one constant colour.
    static std::string ConstantShader(const char* rgba)
    {
        return std::string("ps.1.1\ndef c0, ") + rgba + "\nmov r0, c0\n";
    }
    static const char* Suffix() { return ".psh"; }
    static std::vector<std::string> BrokenSources()
    {
        return {"ps.1.1\nmov r0, q9\n",  // no such register
                "ps.9.9\nmov r0, v0\n",  // no such version
                "mov r0, v0\n",          // no version
                ""};
    }

    void ExpectDeviceShader(bool held) { EXPECT_EQ(shader->GetHandle() != 0, held); }
    void ExpectNoneBound() { EXPECT_EQ(BoundShader(), 0u); }
    void ExpectDeviceShaders(uint32_t count) { EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, count); }

    // The text followed by bytes the load must not read.
    Result LoadText(const std::string& text, const char16_t* name) { return LoadText(shader, text, name); }

    static Result LoadText(C3DShader* into, const std::string& text, const char16_t* name)
    {
        const std::string padded = text + "\nmov r0, q9 not shader text";
        return into->LoadFromAddress(padded.data(), static_cast<uint32_t>(text.size()), name);
    }

    void DrawSquare() override
    {
        const ScreenVertex square[4] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                        {64, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                                        {0, 64, 0, 1, 0xFFFFFFFF, 0, 1},
                                        {64, 64, 0, 1, 0xFFFFFFFF, 1, 1}};
        Device()->SetVertexShader(kScreenFormat);
        ASSERT_GE(Device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, square, sizeof(ScreenVertex)), 0);
    }

    DWORD BoundShader()
    {
        DWORD handle = 0xFFFF;
        Device()->GetPixelShader(&handle);
        return handle;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(DX81, ShaderSceneTest, ::testing::Types<ShaderDX81Test>);

TEST_F(ShaderDX81Test, BindLeavesTheTexturesToTheCaller)
{
    C3DTexture* red = MakeTexelTexture(Engine(), 0xFFFF0000);
    C3DTexture* green = MakeTexelTexture(Engine(), 0xFF00FF00);
    ASSERT_TRUE(red && green);
    ASSERT_EQ(LoadText(kTextureShader, u"texture.psh"), RES_OK);
    Data()->clearColor = 0xFF000000;
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    green->Bind(0);
    shader->Bind(red, nullptr, nullptr);
    DrawSquare();
    ExpectPixel(32, 32, 0x00FF00);  // stage 0 still holds what the caller set
    EXPECT_EQ(BoundShader(), shader->GetHandle());
    shader->Unbind();
    EXPECT_EQ(BoundShader(), 0u);
    Device()->SetTexture(0, nullptr);
    for (C3DTexture* texture : {red, green})
        EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(ShaderDX81Test, AFailedShadersUnbindLeavesAnotherShaderBound)
{
    EXPECT_EQ(LoadText("ps.1.1\nmov r0, q9\n", u"broken.psh"), RES_FAIL);
    C3DShader* other = Engine()->CreateShader(0, 0);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(LoadText(other, ConstantShader("0.0, 1.0, 0.0, 1.0"), u"green.psh"), RES_OK);
    other->Bind(nullptr, nullptr, nullptr);
    shader->Unbind();
    EXPECT_NE(BoundShader(), 0u);
    other->Unbind();
    EXPECT_EQ(Engine()->DestroyShader(other), RES_OK);
}

TEST_F(ShaderDX81Test, MissingFileAndMissingDeviceFail)
{
    TempDir dir;
    Data()->lastError = RES_OK;
    EXPECT_EQ(shader->LoadFromFile(dir.WideFile("none.psh").c_str()), RES_MISSING_FILE);
    EXPECT_EQ(Data()->lastError, RES_MISSING_FILE);
    EXPECT_EQ(shader->GetHandle(), 0u);

    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.psh"), RES_OK);
    CDX81State* state = DX81StateOf(Data());
    IDirect3DDevice8* device = state->device;
    state->device = nullptr;  // as after the engine's Unload
    EXPECT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.psh"), RES_FAIL);
    EXPECT_EQ(shader->GetHandle(), 0u);
    shader->Bind(nullptr, nullptr, nullptr);
    shader->Unbind();
    state->device = device;
}

TEST_F(ShaderDX81Test, ReloadReleaseAndDestroyDeleteTheDeviceShader)
{
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.psh"), RES_OK);
    const DWORD first = shader->GetHandle();
    ASSERT_EQ(LoadText(ConstantShader("0.0, 0.0, 1.0, 1.0"), u"blue.psh"), RES_OK);
    EXPECT_NE(shader->GetHandle(), first);
    EXPECT_TRUE(D3D8InspectPixelShader(Device(), first).empty());
    EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 1u);
    DrawBound();
    ExpectPixel(32, 32, 0x0000FF);

    ASSERT_NO_FATAL_FAILURE(ExpectApplyPassesTheValue());

    EXPECT_EQ(shader->Release(), RES_OK);
    EXPECT_EQ(shader->GetHandle(), 0u);
    EXPECT_EQ(shader->GetName(), nullptr);
    EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 0u);
    EXPECT_EQ(shader->Release(), RES_OK);

    // Destroying a loaded shader deletes its device shader; so does the engine's unload.
    C3DShader* other = Engine()->CreateShader(0, 0);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(LoadText(ConstantShader("0.0, 1.0, 0.0, 1.0"), u"green.psh"), RES_OK);
    ASSERT_EQ(LoadText(other, ConstantShader("0.0, 1.0, 0.0, 1.0"), u"green.psh"), RES_OK);
    EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 2u);
    EXPECT_EQ(Engine()->DestroyShader(other), RES_OK);
    EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 1u);
}
