#include "tests/support/ImageFixtures.h"

#include "core/Log.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

std::u16string g_logText;

void CollectLog(const char16_t* text)
{
    g_logText += text;
}

void AppendToString(png_structp png, png_bytep data, size_t size)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), size);
}

void NoFlush(png_structp) {}

void SetChunks(png_structp png, png_infop info, const PngFixture& f)
{
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < f.palette.size(); i += 3)
        palette.push_back({f.palette[i], f.palette[i + 1], f.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 key{};
    if (f.colorKey.size() == 1)
        key.gray = f.colorKey[0];
    if (f.colorKey.size() == 3) {
        key.red = f.colorKey[0];
        key.green = f.colorKey[1];
        key.blue = f.colorKey[2];
    }
    if (!f.paletteAlpha.empty() || !f.colorKey.empty())
        png_set_tRNS(png, info, f.paletteAlpha.empty() ? nullptr : f.paletteAlpha.data(),
                     static_cast<int>(f.paletteAlpha.size()), f.colorKey.empty() ? nullptr : &key);
}

bool WritePngTo(std::string& out, const PngFixture& f, png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, AppendToString, NoFlush);
    png_set_IHDR(png, info, f.width, f.height, f.bitDepth, f.colorType,
                 f.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    SetChunks(png, info, f);
    png_write_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < f.height; ++y)
        rows.push_back(const_cast<png_bytep>(f.rows.data() + y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

} // namespace

std::string EncodePng(const PngFixture& fixture)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool ok = WritePngTo(out, fixture, png, info);
    png_destroy_write_struct(&png, &info);
    return ok ? out : std::string();
}

std::string EncodeJpeg(uint32_t width, uint32_t height, int components, const std::vector<uint8_t>& pixels,
                       bool progressive, int quality, bool arithmetic)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.arith_code = arithmetic ? TRUE : FALSE;
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + size_t(cinfo.next_scanline) * width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    free(buffer);
    return out;
}

std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& pixels, size_t rowBytes)
{
    std::vector<uint8_t> flipped;
    for (size_t row = pixels.size() / rowBytes; row-- > 0;)
        flipped.insert(flipped.end(), pixels.begin() + row * rowBytes, pixels.begin() + (row + 1) * rowBytes);
    return flipped;
}

std::vector<uint8_t> ScopedRaw::Pixels() const
{
    const uint8_t* pixels = GetPixels();
    return pixels ? std::vector<uint8_t>(pixels, pixels + size_t(GetWidth()) * GetHeight() * (GetBits() / 8))
                  : std::vector<uint8_t>();
}

void ImageTest::SetUp()
{
    g_logText.clear();
    SetLogDebugHook(CollectLog);
}

void ImageTest::TearDown()
{
    SetLogDebugHook(nullptr);
}

const std::u16string& ImageTest::LogText()
{
    return g_logText;
}
