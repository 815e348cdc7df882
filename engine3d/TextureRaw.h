#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;
struct CPackerFile;
class CImageSource;

// A decoded image in system memory: 8 (luminance), 16 (luminance, alpha), 24 (RGB) or
// 32 (RGBA) bits per pixel, rows bottom-up without padding. Reads TGA, PNG, JPEG and raw
// images, fits them to the device's texture limits and writes PNG files.
//
// The pixel buffer comes from malloc. Release frees it; the destructor does not, so a buffer
// handed over with Attach may stay with its owner when the object is deleted.
class C3DTextureRaw : public CBaseObject {
public:
    explicit C3DTextureRaw(CWorldData* data);
    C3DTextureRaw(const C3DTextureRaw&) = delete;
    C3DTextureRaw& operator=(const C3DTextureRaw&) = delete;
    ~C3DTextureRaw() override = default;

    virtual Result Init();
    virtual Result Release();
    virtual Result CreateFromPixels(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels);
    virtual Result Attach(uint16_t width, uint16_t height, uint8_t bits, uint8_t* pixels);
    virtual Result LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name);
    virtual Result LoadFromPacker(CPackerFile* pak);
    virtual Result LoadFromFile(const char16_t* path);
    virtual Result SaveToFile(const char16_t* path);

    // Shrinks a power-of-two image by the quality shift and to the device's maximum size.
    Result FitToDevice(const char16_t* name);

    uint8_t GetBits() const { return m_bits; }
    uint16_t GetWidth() const { return m_width; }
    uint16_t GetHeight() const { return m_height; }
    const uint8_t* GetPixels() const { return m_pixels; }
    uint8_t* GetPixels() { return m_pixels; }

private:
    Result Load(CImageSource& source, const char16_t* name, Result notPowerOfTwo);
    void SetLastError(Result result);
    const char16_t* LogPath() const;
    void LogFailure(const char16_t* name, const char* reason);

    CWorldData* m_pData;
    uint8_t m_bits = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    uint8_t* m_pixels = nullptr;
};
