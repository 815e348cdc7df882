#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "backends/d3d8/StencilShadowDX81.h"
#include "core/ParamsReader.h"
#include "engine3d/Object.h"
#include "tests/backends/d3d8/DX81Fixture.h"
#include "tests/support/OpenGLShaderShadowScene.h"

namespace {

// The scene of the OpenGL shadow tests: the camera looks along +z from the origin; light 0 at
// (0, 0, -3) pushes every silhouette 30 units further along +z. A white receiver fills the view
// at z = 20. The caster, a triangle at z = 5 up and right of the axis, shadows the receiver
// around the pixel (40, 24); the volume's near end, seen at (55, 9), lies in front of
// unshadowed receiver.
constexpr float kReceiverZ = 20.0f;
constexpr float kCasterZ = 5.0f;
constexpr int kShadowX = 40, kShadowY = 24;
constexpr int kNearEndX = 55, kNearEndY = 9;
constexpr int kClearX = 16, kClearY = 48;

class ShadowDX81Test : public DX81LoadedFixture {
protected:
    void SetUp() override
    {
        DX81LoadedFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const float light[3] = {0.0f, 0.0f, -3.0f};
        for (int i = 0; i < 3; ++i)
            Data()->lights[0].position[i] = light[i];
        receiver = MakeWorldRectangle(Engine(), -10.0f, -10.0f, 10.0f, 10.0f, kReceiverZ, 0xFFFFFFFF);
        ASSERT_NE(receiver, nullptr);
        objects.push_back(receiver);
    }

    void TearDown() override
    {
        if (m_rig) {
            for (C3DObject* object : objects)
                EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
            for (C3DStencilShadow* shadow : shadows)
                EXPECT_EQ(Engine()->DestroyStencilShadow(shadow), RES_OK);
            EXPECT_EQ(m_rig->Unload(), 0u);
        }
        DX81LoadedFixture::TearDown();
    }

    // A triangle at the caster's depth; counter-clockwise as seen by the camera faces the light.
    C3DObject* Triangle(float x0, float y0, float x1, float y1, float x2, float y2)
    {
        C3DObject* object =
            MakeTriangleMesh(Engine(), {{x0, y0, kCasterZ}, {x1, y1, kCasterZ}, {x2, y2, kCasterZ}}, {0, 1, 2});
        EXPECT_NE(object, nullptr);
        objects.push_back(object);
        return object;
    }

    C3DObject* UpperRightTriangle() { return Triangle(1.0f, 1.0f, 4.0f, 1.0f, 1.0f, 4.0f); }
    C3DObject* LowerLeftTriangle() { return Triangle(-1.0f, -1.0f, -4.0f, -1.0f, -1.0f, -4.0f); }

    // A shadow of colour with one caster per object, each volume built.
    C3DStencilShadowDX81* Shadow(uint32_t colour, const std::vector<C3DObject*>& casters)
    {
        C3DStencilShadow* shadow = Engine()->CreateStencilShadow(static_cast<uint32_t>(casters.size()), colour);
        EXPECT_NE(shadow, nullptr);
        if (!shadow)
            return nullptr;
        shadows.push_back(shadow);
        for (uint32_t i = 0; i < casters.size(); ++i) {
            EXPECT_EQ(shadow->SetCaster(i, casters[i], &placement, Vector3{0, 0, 0}, Vector3{0, 0, 0}), RES_OK);
            EXPECT_EQ(shadow->BuildVolumes(i), RES_OK);
        }
        return static_cast<C3DStencilShadowDX81*>(shadow);
    }

    void Destroy(C3DStencilShadow* shadow)
    {
        EXPECT_EQ(Engine()->DestroyStencilShadow(shadow), RES_OK);
        shadows.erase(std::find(shadows.begin(), shadows.end(), shadow));
    }

    void DrawReceiver()
    {
        Data()->clearColor = 0xFF000000;
        ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
        ASSERT_EQ(receiver->Render(), RES_OK);
    }

    DWORD RenderState(D3DRENDERSTATETYPE state)
    {
        DWORD value = 0;
        Device()->GetRenderState(state, &value);
        return value;
    }

    // Pixels of the frame whose three channels are all at least `level`, from one lock.
    int CountAtLeast(uint8_t level)
    {
        IDirect3DSurface8* target = nullptr;
        if (Device()->GetRenderTarget(&target) < 0)
            return -1;
        D3DLOCKED_RECT locked{};
        int count = 0;
        if (target->LockRect(&locked, nullptr, D3DLOCK_READONLY) >= 0) {
            for (int y = 0; y < 64; ++y) {
                const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y;
                for (int x = 0; x < 64; ++x) {
                    const uint8_t* p = row + x * 4;
                    count += (p[0] >= level && p[1] >= level && p[2] >= level) ? 1 : 0;
                }
            }
            target->UnlockRect();
        }
        target->Release();
        return count;
    }

    Matrix4 placement{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    C3DObject* receiver = nullptr;
    std::vector<C3DObject*> objects;
    std::vector<C3DStencilShadow*> shadows;
};

} // namespace

TEST_F(ShadowDX81Test, FactoryListsDX81ShadowsWithTheShaders)
{
    EXPECT_EQ(Engine()->IsStencilShadowSupported(), RES_OK);
    C3DStencilShadowDX81* shadow = Shadow(0x80808080, {UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
    EXPECT_NE(dynamic_cast<C3DStencilShadowDX81*>(static_cast<C3DStencilShadow*>(shadow)), nullptr);
    EXPECT_EQ(Engine()->GetShaderCount(), 1u);
    EXPECT_EQ(Engine()->GetStencilShadowCount(), 0u);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 18u);
    EXPECT_EQ(shadow->GetCaster(0)->capCount, 18u);
    ASSERT_NE(shadow->GetQuad(), nullptr);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_GE(shadow->GetQuad()->GetDesc(&desc), 0);
    EXPECT_EQ(desc.Size, 80u);
    EXPECT_EQ(desc.Usage, static_cast<DWORD>(D3DUSAGE_WRITEONLY));
    EXPECT_EQ(desc.FVF, static_cast<DWORD>(D3DFVF_XYZRHW | D3DFVF_DIFFUSE));
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);

    EXPECT_EQ(shadow->Release(), RES_OK);
    EXPECT_EQ(shadow->GetQuad(), nullptr);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 0u);
    EXPECT_EQ(shadow->Render(0), RES_OK);  // nothing left to draw
}

TEST_F(ShadowDX81Test, ShadowedPointDarkensAndTheRestStays)
{
    C3DStencilShadowDX81* shadow = Shadow(0x80808080, {UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
    DrawReceiver();
    ExpectPixel(kShadowX, kShadowY, 0xFFFFFF);
    D3D8TraceStart();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    D3D8TraceStop();
    ExpectPixel(kShadowX, kShadowY, 0x808080);
    ExpectPixel(kClearX, kClearY, 0xFFFFFF);
    ExpectPixel(kNearEndX, kNearEndY, 0xFFFFFF);  // in front of the volume, behind nothing

    const std::vector<CD3D8TraceCall> volumeDraws = Calls("IDirect3DDevice8::DrawPrimitiveUP");
    ASSERT_EQ(volumeDraws.size(), 4u);  // sides and caps, counted up and down
    for (const CD3D8TraceCall& call : volumeDraws) {
        EXPECT_EQ(call.args[0], static_cast<uint64_t>(D3DPT_TRIANGLELIST));
        EXPECT_EQ(call.args[1], 6u);
        EXPECT_EQ(call.args.back(), 12u);
    }
    EXPECT_EQ(Calls("IDirect3DDevice8::DrawPrimitive").size(), 1u);

    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_STENCILENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_ZWRITEENABLE), 1u);
    EXPECT_EQ(RenderState(D3DRS_COLORWRITEENABLE), 0xFu);
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
    ASSERT_EQ(Engine()->EndFrame(), RES_OK);
}

// The shadowed pixels are multiplied by the shadow colour; its alpha byte plays no part.
TEST_F(ShadowDX81Test, ColourMultipliesTheShadowedPixels)
{
    const struct {
        uint32_t colour;
        uint32_t seen;
    } cases[] = {{0xFF000000, 0x000000}, {0x00FFFFFF, 0xFFFFFF}, {0x00FF8040, 0xFF8040}};
    C3DObject* caster = UpperRightTriangle();
    for (const auto& c : cases) {
        C3DStencilShadowDX81* shadow = Shadow(c.colour, {caster});
        ASSERT_NE(shadow, nullptr);
        DrawReceiver();
        ASSERT_EQ(shadow->Render(0), RES_OK);
        ExpectPixel(kShadowX, kShadowY, c.seen);
        ExpectPixel(kClearX, kClearY, 0xFFFFFF);
        Destroy(shadow);
    }
}

TEST_F(ShadowDX81Test, CasterWithoutSilhouetteDrawsNothing)
{
    C3DObject* away = Triangle(1.0f, 1.0f, 1.0f, 4.0f, 4.0f, 1.0f);  // clockwise: turned from the light
    C3DStencilShadowDX81* shadow = Shadow(0xFF000000, {away, nullptr});
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 0u);
    DrawReceiver();
    D3D8TraceStart();
    EXPECT_EQ(shadow->Render(0), RES_OK);
    EXPECT_EQ(shadow->Render(1), RES_OK);
    EXPECT_EQ(shadow->Render(2), RES_FAIL);
    D3D8TraceStop();
    EXPECT_TRUE(D3D8TraceCalls().empty());  // the device is not touched
    ExpectPixel(kShadowX, kShadowY, 0xFFFFFF);
    ExpectPixel(kClearX, kClearY, 0xFFFFFF);
}

// The stencil buffer is cleared by the frame only: a second caster's darkening also covers the
// first one's shadow again.
TEST_F(ShadowDX81Test, ShadowsOfOneFrameAddUp)
{
    C3DStencilShadowDX81* shadow = Shadow(0x00808080, {UpperRightTriangle(), LowerLeftTriangle()});
    ASSERT_NE(shadow, nullptr);
    DrawReceiver();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    ASSERT_EQ(shadow->Render(1), RES_OK);
    ExpectPixel(kShadowX, kShadowY, 0x404040);
    ExpectPixel(63 - kShadowX, 63 - kShadowY, 0x808080);
    ExpectPixel(kShadowX, 63 - kShadowY, 0xFFFFFF);

    DrawReceiver();  // a new frame starts from a cleared stencil buffer
    ASSERT_EQ(shadow->Render(1), RES_OK);
    ExpectPixel(kShadowX, kShadowY, 0xFFFFFF);
    ExpectPixel(63 - kShadowX, 63 - kShadowY, 0x808080);
}

// The darkening reaches every pixel of the render target, whatever the configured screen size
// and the viewport in force; the caller's viewport is put back.
TEST_F(ShadowDX81Test, DarkeningCoversTheWholeTarget)
{
    Data()->configuredWidth = 16;
    Data()->configuredHeight = 16;
    C3DStencilShadowDX81* shadow = Shadow(0xFF000000, {UpperRightTriangle()});
    Data()->configuredWidth = 64;
    Data()->configuredHeight = 64;
    ASSERT_NE(shadow, nullptr);
    DrawReceiver();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    ExpectPixel(kShadowX, kShadowY, 0x000000);
    ExpectPixel(kClearX, kClearY, 0xFFFFFF);
    D3DVIEWPORT8 viewport{};
    ASSERT_GE(Device()->GetViewport(&viewport), 0);
    EXPECT_EQ(viewport.Width, 64u);
    EXPECT_EQ(viewport.Height, 64u);
}

TEST_F(ShadowDX81Test, ShowConstructAddsTheVolumeWireframe)
{
    const std::string settings = "[STENCIL_SHADOW]\nSHOW_CONSTRUCT=1\n";
    CParamsText params(settings.data(), static_cast<uint32_t>(settings.size()));
    C3DObject* caster = UpperRightTriangle();
    for (bool construct : {false, true}) {
        Data()->engineParams = construct ? &params : nullptr;
        C3DStencilShadowDX81* shadow = Shadow(0xFF000000, {caster});
        ASSERT_NE(shadow, nullptr);
        EXPECT_EQ(shadow->ShowsConstruct(), construct);
        Data()->clearColor = 0xFF000000;
        ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
        ASSERT_EQ(shadow->Render(0), RES_OK);
        EXPECT_EQ(CountAtLeast(0xFF) > 20, construct);
        EXPECT_EQ(CountAtLeast(0x01) == 0, !construct);
        EXPECT_EQ(RenderState(D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_SOLID));
        Destroy(shadow);
    }
    Data()->engineParams = nullptr;
}
