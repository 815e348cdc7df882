#include <cmath>
#include <limits>
#include <vector>

#include "backends/d3d8/CameraDX81.h"
#include "backends/d3d8/TextureDX81.h"
#include "core/WorldData.h"
#include "engine3d/ObjectTypes.h"
#include "platform/d3d8/D3DX8.h"
#include "tests/backends/d3d8/DX81Fixture.h"

namespace {

class TextureDX81Test : public DX81LoadedFixture {
protected:
    C3DTextureDX81* Make(uint16_t width, uint16_t height, uint8_t bits, const std::vector<uint8_t>& pixels,
                         uint32_t sampling = 0, uint32_t flags = 0)
    {
        auto* texture = static_cast<C3DTextureDX81*>(Engine()->CreateTexture(flags, sampling));
        EXPECT_EQ(texture->Create(width, height, bits, pixels.data(), nullptr), RES_OK);
        return texture;
    }

    D3DFORMAT Format(C3DTextureDX81* texture)
    {
        D3DSURFACE_DESC desc{};
        texture->GetDeviceTexture()->GetLevelDesc(0, &desc);
        return desc.Format;
    }

    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type) { return D3D8InspectState(Device()).Stage(stage, type); }
    DWORD Render(D3DRENDERSTATETYPE state) { return D3D8InspectState(Device()).Render(state); }
};

class CameraDX81Test : public DX81LoadedFixture {
protected:
    C3DCameraDX81* Camera() { return static_cast<C3DCameraDX81*>(Engine()->GetCamera()); }
};

std::vector<uint8_t> Repeat(std::vector<uint8_t> pixel, size_t count)
{
    std::vector<uint8_t> pixels;
    for (size_t i = 0; i < count; ++i)
        pixels.insert(pixels.end(), pixel.begin(), pixel.end());
    return pixels;
}

} // namespace

// ---- Textures ------------------------------------------------------------------------------

TEST_F(TextureDX81Test, EachDepthBecomesItsDeviceFormatWithRowsTopDown)
{
    std::vector<uint8_t> rows = Repeat({255, 0, 0}, 4);
    const std::vector<uint8_t> blue = Repeat({0, 0, 255}, 4);
    rows.insert(rows.end(), blue.begin(), blue.end());
    C3DTextureDX81* rgb = Make(4, 2, 24, rows);
    EXPECT_EQ(Format(rgb), D3DFMT_X8R8G8B8);
    EXPECT_EQ(rgb->GetPixel(0.1f, 0.1f), 0xFF0000FFu);
    EXPECT_EQ(rgb->GetPixel(0.9f, 0.6f), 0xFFFF0000u);

    C3DTextureDX81* alpha = Make(1, 1, 8, {0x80}, DX81Sampling::kAlpha);
    EXPECT_EQ(Format(alpha), D3DFMT_A8L8);
    EXPECT_EQ(alpha->GetPixel(0.0f, 0.0f), 0xFF808080u);

    C3DTextureDX81* grey = Make(1, 1, 16, {0x60, 0x20});
    EXPECT_EQ(Format(grey), D3DFMT_A8L8);
    EXPECT_EQ(grey->GetPixel(0.0f, 0.0f), 0x20606060u);

    C3DTextureDX81* argb = Make(1, 1, 32, {0x10, 0x20, 0x30, 0x40});
    EXPECT_EQ(Format(argb), D3DFMT_A8R8G8B8);
    EXPECT_EQ(argb->GetPixel(0.0f, 0.0f), 0x40102030u);

    // Three texels a row: rows are found by the pitch.
    std::vector<uint8_t> odd = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    C3DTextureDX81* narrow = Make(3, 2, 24, odd);
    EXPECT_EQ(narrow->GetPixel(0.9f, 0.1f), 0xFF101112u);
    EXPECT_EQ(narrow->GetPixel(0.4f, 0.9f), 0xFF040506u);

    auto* refused = Engine()->CreateTexture(0, 0);
    EXPECT_EQ(refused->Create(1, 1, 15, odd.data(), nullptr), RES_FAIL);
    EXPECT_EQ(refused->Create(1, 1, 32, nullptr, nullptr), RES_FAIL);
    EXPECT_EQ(refused->GetPixel(0.0f, 0.0f), 0u);
}

TEST_F(TextureDX81Test, GetPixelReadsTheTexelCountedFromTheTopAndRejectsCoordinatesOutside)
{
    std::vector<uint8_t> pixels(256 * 256 * 4, 0);
    const size_t marked = (size_t{255 - 128} * 256 + 128) * 4;  // texel (128, 128) from the top
    pixels[marked] = 0x11;
    pixels[marked + 1] = 0x22;
    pixels[marked + 2] = 0x33;
    pixels[marked + 3] = 0x44;
    pixels[3] = 0x99;  // the last texel of the bottom row: (0, 255) from the top
    C3DTextureDX81* texture = Make(256, 256, 32, pixels);
    EXPECT_EQ(texture->GetPixel(0.5f, 0.5f), 0x44112233u);
    EXPECT_EQ(texture->GetPixel(0.0f, 0.999f), 0x99000000u);
    EXPECT_EQ(texture->GetPixel(1.0f, 0.5f), 0u);
    EXPECT_EQ(texture->GetPixel(0.5f, 1.0f), 0u);
    EXPECT_EQ(texture->GetPixel(-0.1f, 0.5f), 0u);
    EXPECT_EQ(texture->GetPixel(std::numeric_limits<float>::quiet_NaN(), 0.5f), 0u);
    EXPECT_EQ(texture->GetPixel(0.5f, std::numeric_limits<float>::infinity()), 0u);
}

TEST_F(TextureDX81Test, ApplySetsAlphaCombinersAddressingAndFilters)
{
    C3DTextureDX81* texture = Make(1, 1, 32, {1, 2, 3, 4}, 0x52, kTextureRepeatU | kTextureRepeatV);
    texture->Apply(kObjectAlphaBlend, 1);
    EXPECT_EQ(Render(D3DRS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(Stage(1, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(Stage(1, D3DTSS_COLORARG1), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(1, D3DTSS_ALPHAARG2), D3DTA_DIFFUSE);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(Render(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(Stage(1, D3DTSS_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_WRAP));
    EXPECT_EQ(Stage(1, D3DTSS_ADDRESSV), static_cast<DWORD>(D3DTADDRESS_WRAP));
    EXPECT_EQ(Stage(1, D3DTSS_MINFILTER), static_cast<DWORD>(D3DTEXF_LINEAR));
    EXPECT_EQ(Stage(1, D3DTSS_MAGFILTER), static_cast<DWORD>(D3DTEXF_LINEAR));
    EXPECT_EQ(D3D8InspectState(Device()).textures[1], texture->GetDeviceTexture());

    // The world's alpha switch off: no blending whatever the flags say.
    Data()->alphaBlending[0] = 0;
    texture->Apply(kObjectAlphaBlend, 0);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(Stage(0, D3DTSS_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_WRAP));

    C3DTextureDX81* additive = Make(1, 1, 32, {1, 2, 3, 4}, 0x80 | 0x09);
    additive->Apply(0, 0);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(Render(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(Stage(0, D3DTSS_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_CLAMP));
    EXPECT_EQ(Stage(0, D3DTSS_MINFILTER), static_cast<DWORD>(D3DTEXF_POINT));
    EXPECT_EQ(Stage(0, D3DTSS_MAGFILTER), static_cast<DWORD>(D3DTEXF_POINT));
    EXPECT_EQ(Stage(0, D3DTSS_MIPFILTER), static_cast<DWORD>(D3DTEXF_POINT));
    additive->Apply(kObjectTextureFactor, 0);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(Render(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_MODULATE2X));
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG2), D3DTA_TFACTOR);

    C3DTextureDX81* interpolated = Make(1, 1, 32, {1, 2, 3, 4}, 0x200 | 0x20);
    interpolated->Apply(0, 0);
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_MULTIPLYADD));
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG2), D3DTA_DIFFUSE | D3DTA_COMPLEMENT);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_DISABLE));
    EXPECT_EQ(Stage(0, D3DTSS_MAGFILTER), static_cast<DWORD>(D3DTEXF_ANISOTROPIC));
    EXPECT_EQ(Stage(0, D3DTSS_MIPFILTER), 3u);

    C3DTextureDX81* projected = Make(1, 1, 32, {1, 2, 3, 4}, 0x100 | 0x200 | 0x400 | 0x20);
    projected->Apply(0, 0);
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(Stage(0, D3DTSS_MAGFILTER), static_cast<DWORD>(D3DTEXF_LINEAR));
}

TEST_F(TextureDX81Test, CopyFromTakesTheWholeRenderTarget)
{
    C3DTextureDX81* texture = Make(64, 64, 32, std::vector<uint8_t>(64 * 64 * 4, 0));
    Data()->clearColor = 0x00336699;
    Engine()->Clear();
    D3D8TraceStart();
    ASSERT_EQ(texture->CopyFrom(1, 1, 1, 3), RES_OK);
    D3D8TraceStop();
    const std::vector<CD3D8TraceCall> copies = Calls("D3DXLoadSurfaceFromSurface");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].args[2], static_cast<uint64_t>(D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER));
    EXPECT_EQ(copies[0].args[3], 0u);
    EXPECT_EQ(texture->GetPixel(0.5f, 0.5f) & 0xFFFFFFu, 0x336699u);

    auto* empty = Engine()->CreateTexture(0, 0);
    EXPECT_EQ(empty->CopyFrom(0, 0, 0, 0), RES_FAIL);
    EXPECT_EQ(texture->Release(), RES_OK);
    EXPECT_EQ(texture->GetDeviceTexture(), nullptr);
    EXPECT_EQ(texture->GetPixel(0.5f, 0.5f), 0u);
}

// ---- Camera --------------------------------------------------------------------------------

TEST_F(CameraDX81Test, ProjectionsLoadTheDataBlocksMatrices)
{
    Data()->matrices[kMatrixProjection].m[0] = 2.0f;
    Data()->matrices[kMatrixView].m[5] = 3.0f;
    Data()->matrices[kMatrixScreen].m[0] = 4.0f;
    Data()->screenView.m[12] = 5.0f;
    ASSERT_EQ(Camera()->ApplyProjection(), RES_OK);
    EXPECT_EQ(D3D8InspectState(Device()).projection.m[0][0], 2.0f);
    EXPECT_EQ(D3D8InspectState(Device()).view.m[1][1], 3.0f);
    ASSERT_EQ(Camera()->ApplyScreenProjection(), RES_OK);
    EXPECT_EQ(D3D8InspectState(Device()).projection.m[0][0], 4.0f);
    EXPECT_EQ(D3D8InspectState(Device()).view.m[3][0], 5.0f);
}

TEST_F(CameraDX81Test, TheViewportKeepsItsDepthRangeWithinZeroAndOne)
{
    ASSERT_EQ(Camera()->SetViewport(4, 8, 32, 16), RES_OK);
    D3DVIEWPORT8 viewport = D3D8InspectState(Device()).viewport;
    EXPECT_EQ(viewport.X, 4u);
    EXPECT_EQ(viewport.Y, 8u);
    EXPECT_EQ(viewport.Width, 32u);
    EXPECT_EQ(viewport.Height, 16u);
    EXPECT_EQ(viewport.MinZ, 0.0f);  // the view distances 1 and 20000 lie outside
    EXPECT_EQ(viewport.MaxZ, 1.0f);

    Data()->viewNear = 0.25f;
    Data()->viewFar = 0.75f;
    ASSERT_EQ(Camera()->SetViewport(0, 0, 64, 64), RES_OK);
    viewport = D3D8InspectState(Device()).viewport;
    EXPECT_EQ(viewport.MinZ, 0.25f);
    EXPECT_EQ(viewport.MaxZ, 0.75f);

    EXPECT_EQ(Camera()->SetViewport(0, 0, 65, 64), RES_FAIL);
    EXPECT_EQ(Camera()->SetViewport(-1, 0, 8, 8), RES_FAIL);
    EXPECT_EQ(D3D8InspectState(Device()).viewport.Width, 64u);
}

TEST_F(CameraDX81Test, ScissorBoxesAreRefusedWithoutAnyDeviceCall)
{
    D3D8TraceStart();
    EXPECT_EQ(Camera()->SetScissor(0, 0, 10, 10), RES_FAIL);
    EXPECT_EQ(Camera()->DisableScissor(), RES_OK);
    EXPECT_TRUE(D3D8TraceCalls().empty());
}

TEST_F(CameraDX81Test, TheGammaRampFollowsTheSettingsAndStaysWithinSixteenBits)
{
    Data()->gammaInitial = 128;
    ASSERT_EQ(Camera()->SetGamma(), RES_OK);
    D3DGAMMARAMP ramp{};
    Device()->GetGammaRamp(&ramp);
    EXPECT_EQ(ramp.red[0], 0);
    EXPECT_EQ(ramp.green[255], 65535);
    for (int i = 1; i < 255; ++i) {
        EXPECT_GT(ramp.blue[i], i * 257) << i;
        EXPECT_GE(ramp.red[i], ramp.red[i - 1]);
    }
    const double exponent = std::log(128.0 / 255.0) / std::log(0.5);
    EXPECT_EQ(ramp.red[64], static_cast<WORD>(65535.0 * std::pow(64 / 255.0, exponent)));

    Data()->gammaRed = 0xFFFFFFFFu;  // 128 - 1: slightly below the identity
    Data()->gammaGreen = 200;        // above 255: the curve would pass 16 bits
    Data()->gammaBlue = 0xFFFFFF80u; // 128 - 128: no light at all
    ASSERT_EQ(Camera()->SetGamma(), RES_OK);
    Device()->GetGammaRamp(&ramp);
    for (int i = 1; i < 255; ++i) {
        EXPECT_LT(ramp.red[i], i * 257) << i;
        EXPECT_EQ(ramp.green[i], 65535) << i;
        EXPECT_EQ(ramp.blue[i], 0) << i;
    }
    EXPECT_EQ(ramp.green[0], 65535);
    EXPECT_EQ(ramp.blue[255], 65535);
    EXPECT_EQ(Camera()->GetGammaRamp().red[100], ramp.red[100]);
}
