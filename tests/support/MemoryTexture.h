#pragma once
#include <cstdint>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Texture.h"

class CMemoryEngine;

// The memory renderer's texture: pixels kept in system memory as given (rows bottom-up).
// Its loaders do not decode unless the engine is set to: a load then only checks that the
// source exists (memory block, pak record, file) and makes a 1 x 1 white 32-bit image
// named after it. Apply and Bind put it on the engine's device stage.
class CMemoryTexture : public C3DTexture {
public:
    CMemoryTexture(CWorldData* data, CMemoryEngine* engine, uint32_t flags, uint32_t parameter);

    Result Release() override;
    void Apply(uint32_t objectFlags, uint32_t stage) override;
    void Bind(uint32_t stage) override;
    Result CopyFrom(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level) override;
    // Direct3D reading: row y counted from the top of the image; the texel is clamped inside.
    uint32_t GetPixel(float u, float v) override;
    Result Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, const char16_t* name) override;
    Result MakeTextureFromAddress(const uint8_t* data, uint32_t size, const char16_t* name) override;
    Result LoadTextureFromPacker(CPackerFile* pak) override;
    Result LoadTextureFromFile(const char16_t* path) override;

    const std::vector<uint8_t>& Pixels() const { return m_pixels; }
    uint32_t SourceSize() const { return m_sourceSize; }
    uint32_t ApplyCount() const { return m_applies; }
    uint32_t CopyCount() const { return m_copies; }

private:
    Result LoadPlaceholder(uint32_t sourceSize, const char16_t* name);

    CMemoryEngine* m_pMemoryEngine;
    std::vector<uint8_t> m_pixels;
    uint32_t m_sourceSize = 0;
    uint32_t m_applies = 0;
    uint32_t m_copies = 0;
};

// Camera state as the memory renderer records it.
struct MemoryCameraState {
    uint32_t projections = 0;
    uint32_t screenProjections = 0;
    uint32_t gammaSets = 0;
    int32_t viewport[4] = {0, 0, 0, 0};  // x, y, width, height
    bool scissorEnabled = false;
    int32_t scissor[4] = {0, 0, 0, 0};
};

class CMemoryCamera : public C3DCamera {
public:
    explicit CMemoryCamera(CWorldData* data) : C3DCamera(data) {}

    Result ApplyProjection() override;
    Result ApplyScreenProjection() override;
    Result SetGamma() override;
    Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height) override;
    Result DisableScissor() override;
    Result SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height) override;

    const MemoryCameraState& State() const { return m_state; }

private:
    MemoryCameraState m_state;
};
