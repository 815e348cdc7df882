#pragma once
#include <cstdint>

#include "engine3d/Texture.h"
#include "platform/d3d8/D3D8.h"

// Sampling and blending flags (the second texture word) the Direct3D 8 texture reads.
namespace DX81Sampling {
constexpr uint32_t kNearestMin = 0x001;
constexpr uint32_t kNearestMag = 0x008;
constexpr uint32_t kLinearMag = 0x010;
constexpr uint32_t kAnisotropic = 0x020;
constexpr uint32_t kAlpha = 0x040;
constexpr uint32_t kAdditive = 0x080;
constexpr uint32_t kModulate = 0x100;
constexpr uint32_t kMultiplyAdd = 0x200;
constexpr uint32_t kProjected = 0x400;
} // namespace DX81Sampling

// A managed Direct3D 8 texture of one level behind C3DTexture: 8-bit images become luminance
// with alpha 255, 16-bit luminance and alpha, 24-bit opaque and 32-bit ARGB, stored top-down.
class C3DTextureDX81 : public C3DTexture {
public:
    C3DTextureDX81(CWorldData* data, uint32_t flags, uint32_t parameter) : C3DTexture(data, flags, parameter) {}
    // Releases the device texture.
    ~C3DTextureDX81() override;

    // The base release, then the device texture.
    Result Release() override;
    // Alpha states, stage combiners, blending, addressing and filters for an object with these
    // flags B, then the texture on the stage.
    void Apply(uint32_t objectFlags, uint32_t stage) override;
    void Bind(uint32_t stage) override;
    // Copies the whole render target into level 0; the arguments are not used.
    Result CopyFrom(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level) override;
    // 0xAARRGGBB of the texel at (u, v), v from the top; 0 for u or v outside [0, 1) or a failure.
    uint32_t GetPixel(float u, float v) override;
    // Fails for a size the device cannot hold or a format it would change.
    Result Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, const char16_t* name) override;

    IDirect3DTexture8* GetDeviceTexture() const { return m_pTexture; }

private:
    void ReleaseDeviceTexture();
    Result FillLevel(const uint8_t* pixels);
    void SetCombiners(IDirect3DDevice8* device, uint32_t objectFlags, DWORD stage) const;
    void SetBlending(IDirect3DDevice8* device, uint32_t objectFlags, DWORD stage) const;
    void SetSampling(IDirect3DDevice8* device, DWORD stage) const;

    IDirect3DTexture8* m_pTexture = nullptr;
};
