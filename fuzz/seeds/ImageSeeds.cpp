// Seeds of the image harnesses: files of the test fixtures' encoders (libpng, libjpeg), the
// engine's own PNG writer, and TGA files laid out by hand.

#include <cstdio>
#include <vector>

#include "engine3d/ImageDecoders.h"
#include "fuzz/seeds/Seeds.h"
#include "tests/support/ImageFixtures.h"
#include "tools/ByteWriter.h"

namespace {

std::vector<uint8_t> Gradient(size_t bytes)
{
    std::vector<uint8_t> pixels(bytes);
    for (size_t i = 0; i < bytes; ++i)
        pixels[i] = static_cast<uint8_t>(i * 7);
    return pixels;
}

std::string Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, const std::string& pixels)
{
    CByteWriter out;
    out.Fill(2, '\0');
    out.U8(type);
    out.Fill(9, '\0');
    out.U16(width);
    out.U16(height);
    out.U8(bits);
    out.U8(0);
    out.Text(pixels);
    return out.Bytes();
}

// The engine's PNG writer, through a temporary file.
std::string WrittenPng(uint16_t width, uint16_t height, uint8_t bits)
{
    std::vector<uint8_t> pixels = Gradient(size_t{width} * height * bits / 8);
    FILE* file = tmpfile();
    CDecodeError error;
    std::string bytes;
    if (file && WritePng(file, width, height, bits, pixels.data(), error) == RES_OK) {
        rewind(file);
        for (int c = fgetc(file); c != EOF; c = fgetc(file))
            bytes += static_cast<char>(c);
    }
    if (file)
        fclose(file);
    return bytes;
}

std::string Png(int colorType, int bitDepth, uint32_t width, uint32_t height, size_t rowBytes, bool interlaced)
{
    PngFixture png;
    png.width = width;
    png.height = height;
    png.colorType = colorType;
    png.bitDepth = bitDepth;
    png.interlaced = interlaced;
    png.rows = Gradient(rowBytes * height);
    if (colorType == 3) {
        png.palette = Gradient(3 * 4);
        png.paletteAlpha = {0, 128};
    }
    return EncodePng(png);
}

} // namespace

FUZZ_SEEDS(Tga)
{
    return {{"true-colour.tga", Tga(2, 2, 2, 24, std::string(12, '\x40'))},
            {"alpha.tga", Tga(2, 2, 1, 32, "\x01\x02\x03\x04\x05\x06\x07\x08")},
            {"run-length.tga", Tga(10, 4, 2, 32, "\x82\x10\x20\x30\x40" "\x04\x01\x02\x03\x04\x05\x06\x07\x08"
                                                 "\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13\x14")}};
}

FUZZ_SEEDS(Png)
{
    return {{"written-rgba.png", WrittenPng(8, 4, 32)},
            {"written-grey.png", WrittenPng(3, 5, 8)},
            {"rgb.png", Png(2, 8, 4, 4, 12, false)},
            {"palette.png", Png(3, 2, 8, 2, 2, false)},
            {"grey16-interlaced.png", Png(0, 16, 5, 5, 10, true)},
            {"grey-alpha.png", Png(4, 8, 3, 3, 6, false)}};
}

FUZZ_SEEDS(Jpeg)
{
    return {{"grey.jpg", EncodeJpeg(8, 8, 1, Gradient(64), false)},
            {"rgb-progressive.jpg", EncodeJpeg(16, 16, 3, Gradient(768), true, 75)},
            {"cmyk.jpg", EncodeJpeg(8, 8, 4, Gradient(256), false)},
            {"arithmetic.jpg", EncodeJpeg(16, 8, 3, Gradient(384), false, 90, true)}};
}

FUZZ_SEEDS(RawImage)
{
    const std::vector<uint8_t> pixels = Gradient(256 * 256 * 3);
    return {{"gradient.raw", std::string(pixels.begin(), pixels.end())}, {"short.raw", "abc"}};
}
