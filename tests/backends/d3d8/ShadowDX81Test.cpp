#include <cstring>
#include <string>
#include <vector>

#include "backends/d3d8/StencilShadowDX81.h"
#include "core/ParamsReader.h"
#include "tests/backends/d3d8/DX81Fixture.h"
#include "tests/support/ShadowSceneFixture.h"

namespace {

class ShadowDX81Test : public ShadowSceneFixture<DX81LoadedFixture, C3DStencilShadowDX81> {
protected:
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
