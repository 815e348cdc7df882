#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "engine3d/ResourceName.h"

struct CWorldData;
struct CPackerFile;
class C3DTextureRaw;

// Creation flags of a texture (the first CreateTexture word).
constexpr uint32_t kTextureShared = 0x01;
constexpr uint32_t kTextureRepeatU = 0x02;
constexpr uint32_t kTextureRepeatV = 0x04;

// Renderer-neutral texture: size, pixel format, name and the two creation words. The engine's
// CreateTexture makes one of the renderer's class; each renderer overrides the device
// operations. The three loaders decode the image into system memory, release the previous
// image only once decoding succeeded, hand the new one to Create and drop the decoded copy.
class C3DTexture : public CBaseObject {
public:
    C3DTexture(CWorldData* data, uint32_t flags, uint32_t parameter);
    C3DTexture(const C3DTexture&) = delete;
    C3DTexture& operator=(const C3DTexture&) = delete;
    ~C3DTexture() override = default;

    virtual Result Init();
    // Forgets the image: bits, width and height 0.
    virtual Result Release();
    // Puts the texture and its sampling state on a stage for an object with these flags B.
    virtual void Apply(uint32_t objectFlags, uint32_t stage);
    virtual void Bind(uint32_t stage);
    // Fills the texture from the current frame; RES_FAIL in the base.
    virtual Result CopyFrom(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level);
    // 0xAARRGGBB at (u, v); 0 in the base.
    virtual uint32_t GetPixel(float u, float v);
    // Makes the image from bottom-up rows; the base part keeps the name (null keeps the old
    // one) by the resource-name rule.
    virtual Result Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, const char16_t* name);
    // The image is named after name (memory), the pak entry found or the path. Any failure
    // answers RES_FAIL; the decoder leaves its own code as the data block's last error.
    virtual Result MakeTextureFromAddress(const uint8_t* data, uint32_t size, const char16_t* name);
    // The pak record must stand at the wanted entry.
    virtual Result LoadTextureFromPacker(CPackerFile* pak);
    virtual Result LoadTextureFromFile(const char16_t* path);
    virtual bool IsLoaded();

    uint32_t GetFlags() const { return m_flags; }
    uint32_t GetParameter() const { return m_parameter; }
    uint8_t GetBits() const { return m_bits; }
    uint16_t GetWidth() const { return m_width; }
    uint16_t GetHeight() const { return m_height; }
    const char16_t* GetName() const { return m_name.Get(); }
    CWorldData* GetWorldData() const { return m_pWorldData; }

protected:
    // Replaces the image by a decoded one: Release, then Create.
    Result CreateFromRaw(const C3DTextureRaw& image, const char16_t* name);

    CWorldData* m_pWorldData;
    uint32_t m_flags;
    uint32_t m_parameter;
    uint8_t m_bits = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    COwnedText m_name;
};
