#include <cstring>
#include <utility>
#include <vector>

#include "backends/d3d8/StencilShadowDX81.h"
#include "tests/backends/d3d8/DX81Fixture.h"
#include "tests/support/ShadowSceneTests.h"

class ShadowDX81Test : public ShadowSceneFixture<DX81LoadedFixture, C3DStencilShadowDX81> {
protected:
    // The shadowed pixels are multiplied by the shadow colour; its alpha byte plays no part.
    static uint32_t ShadowColour(uint8_t level) { return 0x01010101u * level; }
    static std::vector<std::pair<uint32_t, uint32_t>> StrengthCases()
    {
        return {{0xFF000000, 0x000000}, {0x00FFFFFF, 0xFFFFFF}, {0x00FF8040, 0xFF8040}};
    }

    void WatchDevice() { D3D8TraceStart(); }
    void ExpectUntouched()
    {
        D3D8TraceStop();
        EXPECT_TRUE(D3D8TraceCalls().empty());
    }
    void ExpectSolidFill() { EXPECT_EQ(RenderState(D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_SOLID)); }

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

INSTANTIATE_TYPED_TEST_SUITE_P(DX81, ShadowSceneTest, ::testing::Types<ShadowDX81Test>);

TEST_F(ShadowDX81Test, TheDarkeningQuadIsAManagedBufferReleasedWithTheVolumes)
{
    C3DStencilShadowDX81* shadow = Shadow(0x80808080, {UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
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

TEST_F(ShadowDX81Test, TheVolumesAreCountedUpAndDownAndTheStatesPutBack)
{
    C3DStencilShadowDX81* shadow = Shadow(0x80808080, {UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
    DrawReceiver();
    D3D8TraceStart();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    D3D8TraceStop();

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
