#include "engine3d/TextureRaw.h"

#include "base/FileSystem.h"
#include "core/Log.h"
#include "core/PackerFile.h"
#include "base/StringHelpers.h"
#include "core/WorldData.h"
#include "engine3d/ImageDecoders.h"
#include "engine3d/ImageSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using Decoder = Result (*)(CImageSource& source, CDecodedImage& image, CDecodeError& error);

struct DecoderEntry {
    const char16_t* extension;
    Decoder decode;
};

const DecoderEntry kDecoders[] = {
    {u".tga", DecodeTga}, {u".png", DecodePng}, {u".jpg", DecodeJpeg}, {u".raw", DecodeRaw}};

constexpr uint32_t kMaxQualityShift = 15;

Decoder FindDecoder(const char16_t* name)
{
    const char16_t* extension = GetFileExtension(name);
    for (const DecoderEntry& entry : kDecoders) {
        if (EqualNoCase(extension, entry.extension))
            return entry.decode;
    }
    return nullptr;
}

const char16_t* NameOrNone(const char16_t* name)
{
    return name ? name : u"N/A texture name";
}

// Each channel of a new pixel is the mean of the fx x fy source pixels it covers.
void BoxFilter(const uint8_t* source, uint32_t width, uint8_t* target, uint32_t newWidth, uint32_t newHeight,
               uint32_t fx, uint32_t fy, uint32_t pixelBytes)
{
    uint64_t area = uint64_t(fx) * fy;
    for (uint32_t y = 0; y < newHeight; ++y) {
        for (uint32_t x = 0; x < newWidth; ++x) {
            for (uint32_t c = 0; c < pixelBytes; ++c) {
                uint64_t sum = 0;
                for (uint32_t j = 0; j < fy; ++j) {
                    const uint8_t* row = source + (size_t(y) * fy + j) * width * pixelBytes;
                    for (uint32_t i = 0; i < fx; ++i)
                        sum += row[(size_t(x) * fx + i) * pixelBytes + c];
                }
                *target++ = static_cast<uint8_t>(sum / area);
            }
        }
    }
}

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

} // namespace

C3DTextureRaw::C3DTextureRaw(CWorldData* data) : m_pData(data) {}

Result C3DTextureRaw::Init()
{
    return RES_OK;
}

Result C3DTextureRaw::Release()
{
    std::free(m_pixels);
    m_pixels = nullptr;
    m_bits = 0;
    m_width = 0;
    m_height = 0;
    return RES_OK;
}

Result C3DTextureRaw::CreateFromPixels(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels)
{
    if (!pixels || width == 0 || height == 0 || !IsPixelLayout(bits))
        return RES_FAIL;
    size_t bytes = size_t(width) * height * (bits / 8);
    auto* copy = static_cast<uint8_t*>(std::malloc(bytes));
    if (!copy)
        return RES_FAIL;
    std::memcpy(copy, pixels, bytes);
    return Attach(width, height, bits, copy);
}

Result C3DTextureRaw::Attach(uint16_t width, uint16_t height, uint8_t bits, uint8_t* pixels)
{
    if (m_pixels != pixels)
        std::free(m_pixels);
    m_width = width;
    m_height = height;
    m_bits = bits;
    m_pixels = pixels;
    return RES_OK;
}

Result C3DTextureRaw::LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name)
{
    if (!data) {
        LogFailure(name, "no data");
        return RES_FAIL;
    }
    CImageSource source(data, size);
    return Load(source, name, RES_NOT_POW2_FROM_MEMORY);
}

Result C3DTextureRaw::LoadFromPacker(CPackerFile* pak)
{
    if (!pak || !pak->file) {
        LogFailure(pak ? pak->foundName : nullptr, "no open pak");
        return RES_FAIL;
    }
    CImageSource source(pak->file, pak->foundSize);
    return Load(source, pak->foundName, RES_NOT_POW2_FROM_FILE);
}

Result C3DTextureRaw::LoadFromFile(const char16_t* path)
{
    FilePtr file(OpenFile(path, "rb"));
    if (!file) {
        SetLastError(RES_MISSING_FILE);
        return RES_MISSING_FILE;
    }
    long long size = FileSizeOf(file.get());
    if (size < 0 || size > UINT32_MAX) {
        LogFailure(path, "file size out of range");
        return RES_FAIL;
    }
    CImageSource source(file.get(), static_cast<uint32_t>(size));
    return Load(source, path, RES_NOT_POW2_FROM_FILE);
}

Result C3DTextureRaw::SaveToFile(const char16_t* path)
{
    if (!EqualNoCase(GetFileExtension(path), u".png") || !m_pixels || m_width == 0 || m_height == 0 ||
        !IsPixelLayout(m_bits))
        return RES_FAIL;
    FilePtr file(OpenFile(path, "wb"));
    if (!file) {
        SetLastError(RES_PNG_NOT_CREATED);
        return RES_PNG_NOT_CREATED;
    }
    CDecodeError error;
    Result result = WritePng(file.get(), m_width, m_height, m_bits, m_pixels, error);
    if (fclose(file.release()) != 0 && Succeeded(result))
        result = error.Fail(RES_FAIL, "cannot finish writing the file");
    if (Failed(result)) {
        std::remove(ResolvePath(path).c_str());
        LogPrintf(LogPath(), 1, u"# C3DTextureRaw failed to save \"%s\": %S\n", path, error.Text());
        if (result == RES_OUT_OF_MEMORY)
            SetLastError(result);
    }
    return result;
}

Result C3DTextureRaw::FitToDevice(const char16_t* name)
{
    uint32_t maxWidth = m_pData ? m_pData->maxTextureWidth : 0;
    uint32_t maxHeight = m_pData ? m_pData->maxTextureHeight : 0;
    uint32_t pixelBytes = m_bits / 8u;
    if (!m_pixels || pixelBytes == 0 || !IsPowerOfTwo(maxWidth) || !IsPowerOfTwo(maxHeight) ||
        !IsPowerOfTwo(m_width) || !IsPowerOfTwo(m_height))
        return RES_OK;

    uint32_t shift = std::min<uint32_t>(m_pData->textureQualityShift, kMaxQualityShift);
    uint32_t newWidth = std::max<uint32_t>(m_width >> shift, 1);
    uint32_t newHeight = std::max<uint32_t>(m_height >> shift, 1);
    if (newWidth > maxWidth || newHeight > maxHeight) {
        newWidth = std::min(newWidth, maxWidth);
        newHeight = std::min(newHeight, maxHeight);
    }
    uint32_t fx = m_width / newWidth;
    uint32_t fy = m_height / newHeight;
    if (fx == 1 && fy == 1)
        return RES_OK;

    LogPrintf(LogPath(), 0, u"# C3DTextureRaw resized texture from %dx%d to %dx%d : \"%s\"\n", m_width,
              m_height, newWidth, newHeight, NameOrNone(name));
    auto* resized = static_cast<uint8_t*>(std::malloc(size_t(newWidth) * newHeight * pixelBytes));
    if (!resized)
        return RES_FAIL;
    BoxFilter(m_pixels, m_width, resized, newWidth, newHeight, fx, fy, pixelBytes);
    std::free(m_pixels);
    m_pixels = resized;
    m_width = static_cast<uint16_t>(newWidth);
    m_height = static_cast<uint16_t>(newHeight);
    return RES_OK;
}

Result C3DTextureRaw::Load(CImageSource& source, const char16_t* name, Result notPowerOfTwo)
{
    CDecodedImage image;
    CDecodeError error;
    Decoder decode = FindDecoder(name);
    Result result = decode ? decode(source, image, error) : error.Fail(RES_FAIL, "no decoder for this file name");
    if (Failed(result)) {
        if (result == RES_OUT_OF_MEMORY)
            SetLastError(result);
        LogFailure(name, error.Text());
        return result;
    }
    if (m_pData && m_pData->strictPow2 && (!IsPowerOfTwo(image.width) || !IsPowerOfTwo(image.height))) {
        SetLastError(notPowerOfTwo);
        LogFailure(name, "size is not a power of two");
        return notPowerOfTwo;
    }

    // The decoded image replaces the current one only once it has been fitted.
    C3DTextureRaw fitted(m_pData);
    IgnoreResult(fitted.Attach(image.width, image.height, image.bits, image.pixels.release()));
    if (Failed(fitted.FitToDevice(name))) {
        IgnoreResult(fitted.Release());
        LogFailure(name, "out of memory while resizing");
        return RES_FAIL;
    }
    IgnoreResult(Attach(fitted.m_width, fitted.m_height, fitted.m_bits, fitted.m_pixels));
    return result;
}

void C3DTextureRaw::SetLastError(Result result)
{
    if (m_pData)
        m_pData->lastError = result;
}

const char16_t* C3DTextureRaw::LogPath() const
{
    return m_pData && m_pData->logPath[0] ? m_pData->logPath : nullptr;
}

void C3DTextureRaw::LogFailure(const char16_t* name, const char* reason)
{
    LogPrintf(LogPath(), 1, u"# C3DTextureRaw failed to load \"%s\": %S\n", NameOrNone(name), reason);
}
