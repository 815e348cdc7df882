#include <string>

#include "backends/d3d8/ShaderDX81.h"
#include "core/PackerFile.h"
#include "tests/backends/d3d8/DX81Fixture.h"
#include "tests/support/OpenGLShaderShadowScene.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/ShaderSceneFixture.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

namespace {

// ps.1.1 text that draws one constant colour.
std::string ConstantShader(const char* rgba)
{
    return std::string("ps.1.1\ndef c0, ") + rgba + "\nmov r0, c0\n";
}

const std::string kTextureShader = "ps.1.1\ntex t0\nmov r0, t0\n";

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD kScreenFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class ShaderDX81Test : public ShaderSceneFixture<DX81LoadedFixture, C3DShaderDX81> {
protected:
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

} // namespace

TEST_F(ShaderDX81Test, EachSourceShowsItsShaderInThePixels)
{
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.5, 0.0, 1.0"), u"Data\\Shaders\\orange.psh"), RES_OK);
    EXPECT_NE(shader->GetHandle(), 0u);
    EXPECT_EQ(std::u16string(shader->GetName()), u"orange.psh");
    DrawBound();
    ExpectPixel(32, 32, 0xFF8000);
    EXPECT_EQ(BoundShader(), 0u);

    CPakWriter writer;
    ASSERT_EQ(writer.Add("shaders\\green.psh", ConstantShader("0.0, 1.0, 0.0, 1.0")), RES_OK);
    ASSERT_EQ(writer.Add("shaders\\other.psh", "not read"), RES_OK);
    PakTestFile pak(writer.Bytes());
    ASSERT_EQ(FindPackerEntry(u"shaders\\green.psh", pak.Record()), RES_OK);
    ASSERT_EQ(shader->LoadFromPacker(pak.Record()), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"shaders\\green.psh");
    DrawBound();
    ExpectPixel(32, 32, 0x00FF00);

    TempDir dir;
    dir.Write("Shaders/blue.psh", ConstantShader("0.0, 0.0, 1.0, 1.0"));
    ASSERT_EQ(shader->LoadFromFile(dir.WideFile("Shaders/blue.psh").c_str()), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"blue.psh");
    DrawBound();
    ExpectPixel(32, 32, 0x0000FF);

    // After Unbind the fixed pipeline draws the square's own colour.
    DrawSquare();
    ExpectPixel(32, 32, 0xFFFFFF);
    EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 1u);
}

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

TEST_F(ShaderDX81Test, BrokenShaderFailsCleanly)
{
    const std::string broken[] = {"ps.1.1\nmov r0, q9\n",  // no such register
                                  "ps.9.9\nmov r0, v0\n",  // no such version
                                  "mov r0, v0\n",          // no version
                                  ""};
    for (const std::string& text : broken) {
        ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.psh"), RES_OK);
        EXPECT_EQ(LoadText(text, u"broken.psh"), RES_FAIL) << text;
        EXPECT_EQ(shader->GetHandle(), 0u);
        EXPECT_EQ(std::u16string(shader->GetName()), u"broken.psh");
        EXPECT_EQ(D3D8InspectDevice(Device()).pixelShaders, 0u);
        DrawBound();  // Bind and Unbind do nothing: the fixed pipeline draws
        ExpectPixel(32, 32, 0xFFFFFF);
    }
    RecordingTarget target;
    shader->Apply(&target, &target);
    EXPECT_TRUE(target.calls.empty());

    // A failed shader's Unbind leaves another shader's binding alone.
    C3DShader* other = Engine()->CreateShader(0, 0);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(LoadText(other, ConstantShader("0.0, 1.0, 0.0, 1.0"), u"green.psh"), RES_OK);
    other->Bind(nullptr, nullptr, nullptr);
    shader->Unbind();
    EXPECT_NE(BoundShader(), 0u);
    other->Unbind();
    EXPECT_EQ(Engine()->DestroyShader(other), RES_OK);

    // A good source loads again on the same shader.
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), nullptr), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"broken.psh");
    DrawBound();
    ExpectPixel(32, 32, 0xFF0000);
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
