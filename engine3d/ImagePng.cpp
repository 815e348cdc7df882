#include "engine3d/ImageDecoders.h"
#include "engine3d/ImageSource.h"

#include <png.h>

#include <csetjmp>

namespace {

// Deflate never expands data by more than this factor.
constexpr uint64_t kMaxInflateRatio = 1032;

void OnPngError(png_structp png, png_const_charp message)
{
    IgnoreResult(static_cast<CDecodeError*>(png_get_error_ptr(png))->Fail(RES_FAIL, "libpng: %s", message));
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromSource(png_structp png, png_bytep out, size_t count)
{
    if (!static_cast<CImageSource*>(png_get_io_ptr(png))->Read(out, count))
        png_error(png, "read past the end of the data");
}

png_bytep* AllocateRows(uint32_t height)
{
    return static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
}

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_bytep* rows = nullptr;

    ~PngReader()
    {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(rows);
    }
};

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_bytep* rows = nullptr;

    ~PngWriter()
    {
        png_destroy_write_struct(&png, &info);
        std::free(rows);
    }
};

void SetReadTransforms(png_structp png, png_infop info)
{
    int depth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_strip_16(png);
    if (depth < 8)
        png_set_packing(png);
    png_set_interlace_handling(png);
}

uint32_t ChannelsOf(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 0;
    }
}

// Library errors jump back into this function; it keeps no state of its own past them.
Result ReadImage(PngReader& reader, CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    png_structp png = reader.png;
    png_infop info = reader.info;
    if (setjmp(png_jmpbuf(png)))
        return RES_FAIL;

    png_set_read_fn(png, &source, ReadFromSource);
    png_set_sig_bytes(png, 1);
    // Ancillary chunks other than tRNS are skipped unread, so a chunk that lies about its size
    // costs no memory and ends the read at the end of the data.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    uint32_t width = png_get_image_width(png, info);
    uint32_t height = png_get_image_height(png, info);
    if (uint64_t(height) * png_get_rowbytes(png, info) > uint64_t(source.Size()) * kMaxInflateRatio)
        return error.Fail(RES_FAIL, "PNG of %ux%u is larger than %u bytes can hold", width, height, source.Size());

    SetReadTransforms(png, info);
    png_read_update_info(png, info);
    uint32_t channels = ChannelsOf(png_get_color_type(png, info));
    if (channels == 0 || png_get_bit_depth(png, info) != 8 || png_get_rowbytes(png, info) != size_t(width) * channels)
        return error.Fail(RES_FAIL, "unsupported PNG pixel layout");

    Result result = AllocatePixels(image, width, height, channels * 8, error);
    if (Failed(result))
        return result;
    reader.rows = AllocateRows(height);
    if (!reader.rows)
        return error.Fail(RES_OUT_OF_MEMORY, "out of memory for the row table");
    size_t stride = size_t(width) * channels;
    for (uint32_t i = 0; i < height; ++i)
        reader.rows[i] = image.pixels.get() + size_t(height - 1 - i) * stride;
    png_read_image(png, reader.rows);
    png_read_end(png, nullptr);
    return RES_OK;
}

Result WriteImage(PngWriter& writer, FILE* file, uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels)
{
    png_structp png = writer.png;
    png_infop info = writer.info;
    if (setjmp(png_jmpbuf(png)))
        return RES_FAIL;

    static const int kColorTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                      PNG_COLOR_TYPE_RGB_ALPHA};
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, kColorTypes[bits / 8 - 1], PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    size_t stride = size_t(width) * (bits / 8);
    for (uint32_t i = 0; i < height; ++i)
        writer.rows[i] = const_cast<png_bytep>(pixels + i * stride);
    png_write_image(png, writer.rows);
    png_write_end(png, info);
    return RES_OK;
}

} // namespace

Result DecodePng(CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    png_byte first;
    if (!source.Read(&first, 1) || png_sig_cmp(&first, 0, 1) != 0)
        return error.Fail(RES_FAIL, "no PNG signature");

    PngReader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    if (reader.png)
        reader.info = png_create_info_struct(reader.png);
    if (!reader.info)
        return error.Fail(RES_OUT_OF_MEMORY, "out of memory for the PNG reader");
    return ReadImage(reader, source, image, error);
}

Result WritePng(FILE* file, uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, CDecodeError& error)
{
    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    if (writer.png)
        writer.info = png_create_info_struct(writer.png);
    writer.rows = AllocateRows(height);
    if (!writer.info || !writer.rows)
        return error.Fail(RES_OUT_OF_MEMORY, "out of memory for the PNG writer");
    return WriteImage(writer, file, width, height, bits, pixels);
}
