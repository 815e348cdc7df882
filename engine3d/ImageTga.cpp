#include "engine3d/ImageDecoders.h"
#include "engine3d/ImageSource.h"

#include <cstring>
#include <utility>

namespace {

constexpr size_t kTgaTemplateBytes = 12;
constexpr size_t kTgaHeaderBytes = 18;
constexpr uint8_t kTgaTrueColor = 2;
constexpr uint8_t kTgaTrueColorRle = 10;
constexpr uint32_t kRlePacketMaxPixels = 128;

struct TgaHeader {
    uint8_t type;
    uint16_t width;
    uint16_t height;
    uint8_t bits;
};

// All of the first 12 bytes are zero but the image type, which is 2 or 10.
bool ParseHeader(const uint8_t* bytes, TgaHeader& header)
{
    for (size_t i = 0; i < kTgaTemplateBytes; ++i) {
        if (i != 2 && bytes[i] != 0)
            return false;
    }
    header.type = bytes[2];
    header.width = static_cast<uint16_t>(bytes[12] | (bytes[13] << 8));
    header.height = static_cast<uint16_t>(bytes[14] | (bytes[15] << 8));
    header.bits = bytes[16];
    return header.type == kTgaTrueColor || header.type == kTgaTrueColorRle;
}

void SwapRedBlue(uint8_t* pixels, uint64_t count, uint32_t pixelBytes)
{
    for (uint64_t i = 0; i < count; ++i, pixels += pixelBytes)
        std::swap(pixels[0], pixels[2]);
}

Result DecodeUncompressed(CImageSource& source, CDecodedImage& image, uint32_t pixelBytes, CDecodeError& error)
{
    uint64_t count = uint64_t(image.width) * image.height;
    if (!source.Read(image.pixels.get(), count * pixelBytes))
        return error.Fail(RES_FAIL, "short read in pixel data");
    SwapRedBlue(image.pixels.get(), count, pixelBytes);
    return RES_OK;
}

Result DecodeRunLength(CImageSource& source, CDecodedImage& image, uint32_t pixelBytes, CDecodeError& error)
{
    uint64_t total = uint64_t(image.width) * image.height;
    uint8_t* out = image.pixels.get();
    for (uint64_t stored = 0; stored < total;) {
        uint8_t head;
        if (!source.Read(&head, 1))
            return error.Fail(RES_FAIL, "short read at pixel %llu", static_cast<unsigned long long>(stored));
        uint32_t count = head >= 128 ? head - 127u : head + 1u;
        if (count > total - stored)
            return error.Fail(RES_FAIL, "run-length packet crosses the end of the image");
        uint8_t* first = out + stored * pixelBytes;
        bool repeat = head >= 128;
        if (!source.Read(first, repeat ? pixelBytes : size_t(count) * pixelBytes))
            return error.Fail(RES_FAIL, "short read in packet data");
        SwapRedBlue(first, repeat ? 1 : count, pixelBytes);
        for (uint32_t i = 1; repeat && i < count; ++i)
            std::memcpy(first + size_t(i) * pixelBytes, first, pixelBytes);
        stored += count;
    }
    return RES_OK;
}

} // namespace

Result DecodeTga(CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    uint8_t bytes[kTgaHeaderBytes];
    TgaHeader header{};
    if (!source.Read(bytes, kTgaHeaderBytes))
        return error.Fail(RES_FAIL, "TGA header is short");
    if (!ParseHeader(bytes, header))
        return error.Fail(RES_FAIL, "not an uncompressed or run-length true-colour TGA without ID, colour map or origin");
    if (header.width == 0 || header.height == 0 || (header.bits != 24 && header.bits != 32))
        return error.Fail(RES_FAIL, "TGA of %ux%u at %u bits", header.width, header.height, header.bits);

    uint32_t pixelBytes = header.bits / 8u;
    uint64_t count = uint64_t(header.width) * header.height;
    // Each byte of pixel data holds one channel; a run-length packet of 1 + pixelBytes bytes
    // holds at most 128 pixels.
    uint64_t available = source.Remaining();
    bool fits = header.type == kTgaTrueColor
                    ? count * pixelBytes <= available
                    : (count + kRlePacketMaxPixels - 1) / kRlePacketMaxPixels * (1 + pixelBytes) <= available;
    if (!fits)
        return error.Fail(RES_FAIL, "TGA of %ux%u needs more than the %llu bytes left", header.width, header.height,
                          static_cast<unsigned long long>(available));

    Result result = AllocatePixels(image, header.width, header.height, header.bits, error);
    if (Failed(result))
        return result;
    return header.type == kTgaTrueColor ? DecodeUncompressed(source, image, pixelBytes, error)
                                        : DecodeRunLength(source, image, pixelBytes, error);
}
