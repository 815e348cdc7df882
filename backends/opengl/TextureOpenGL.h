#pragma once
#include <cstdint>

#include "engine3d/Texture.h"

// Sampling and blending flags (the second texture word) the OpenGL texture reads.
constexpr uint32_t kSampleNearestMin = 0x001;
constexpr uint32_t kSampleNoMipmaps = 0x002;
constexpr uint32_t kSampleTrilinear = 0x004;
constexpr uint32_t kSampleNearestMag = 0x008;
constexpr uint32_t kSampleAlpha = 0x040;
constexpr uint32_t kSampleAdditive = 0x080;
constexpr uint32_t kSampleReplace = 0x100;
constexpr uint32_t kSampleInterpolate = 0x200;
constexpr uint32_t kSampleProjected = 0x400;

// An OpenGL texture object behind C3DTexture. Every operation needs the engine's context
// current; the texture name is deleted on Release and on destruction.
class C3DTextureOpenGL : public C3DTexture {
public:
    C3DTextureOpenGL(CWorldData* data, uint32_t flags, uint32_t parameter) : C3DTexture(data, flags, parameter) {}
    ~C3DTextureOpenGL() override;

    Result Release() override;
    // Blending, the stage's texture unit, the binding and the texture environment.
    void Apply(uint32_t objectFlags, uint32_t stage) override;
    void Bind(uint32_t stage) override;
    // CopyFramebuffer.
    Result CopyFrom(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level) override;
    // Mipmapped texture from bottom-up rows of 8, 16, 24 or 32 bits per pixel.
    Result Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, const char16_t* name) override;

    // Copies the bottom-left corner of the frame into a level: wholeScreen takes the window's
    // size, else the texture's, each raised to a power of two.
    Result CopyFramebuffer(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level);
    // The size CopyFramebuffer copies.
    void CopySize(uint8_t wholeScreen, uint32_t* width, uint32_t* height) const;

    uint32_t GetTextureName() const { return m_textureName; }

private:
    void DeleteName();
    void ApplyEnvironment();
    void ApplyProjectedCoordinates();

    uint32_t m_textureName = 0;
};
