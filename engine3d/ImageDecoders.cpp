#include "engine3d/ImageDecoders.h"

#include "engine3d/ImageSource.h"

#include "base/LargeMemory.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr uint32_t kRawSide = 256;
constexpr uint32_t kRawBytes = kRawSide * kRawSide * 3;

} // namespace

Result CDecodeError::Fail(Result result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(m_text, sizeof(m_text), format, args);
    va_end(args);
    return result;
}

Result AllocatePixels(CDecodedImage& image, uint64_t width, uint64_t height, uint32_t bits, CDecodeError& error)
{
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide)
        return error.Fail(RES_FAIL, "unsupported size %llux%llu", static_cast<unsigned long long>(width),
                          static_cast<unsigned long long>(height));
    uint64_t bytes = width * height * (bits / 8);
    image.pixels.reset(static_cast<uint8_t*>(AllocateLarge(static_cast<size_t>(bytes))));
    if (!image.pixels)
        return error.Fail(RES_OUT_OF_MEMORY, "out of memory for %llu bytes", static_cast<unsigned long long>(bytes));
    image.width = static_cast<uint16_t>(width);
    image.height = static_cast<uint16_t>(height);
    image.bits = static_cast<uint8_t>(bits);
    return RES_OK;
}

bool IsPowerOfTwo(uint64_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

bool IsPixelLayout(uint32_t bits)
{
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

Result DecodeRaw(CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    if (source.Size() != kRawBytes)
        return error.Fail(RES_FAIL, "raw image of %u bytes, expected %u", source.Size(), kRawBytes);
    Result result = AllocatePixels(image, kRawSide, kRawSide, 24, error);
    if (Failed(result))
        return result;
    if (!source.Read(image.pixels.get(), kRawBytes))
        return error.Fail(RES_FAIL, "short read");
    return RES_OK;
}
