#include "engine3d/ImageDecoders.h"
#include "engine3d/ImageSource.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr uint32_t kNoLimit = 0xFFFFFFFFu;
constexpr size_t kFileBufferBytes = 4096;
constexpr size_t kMarkerBytes = 2;
constexpr uint32_t kRowsPerRead = 4;
const JOCTET kFakeEndOfImage[kMarkerBytes] = {0xFF, JPEG_EOI};

// The data source record shared by the memory and the file source.
struct JpegSource {
    jpeg_source_mgr pub;
    FILE* file;
    uint32_t limit;
    uint32_t consumed;
    JOCTET* buffer;
    uint32_t count;
    uint8_t startOfFile;
};

// Fatal library errors keep their message and jump back to the decoder.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    CDecodeError* error;
};

void OnJpegFatal(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    char message[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, message);
    IgnoreResult(manager->error->Fail(RES_FAIL, "libjpeg: %s", message));
    longjmp(manager->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

JpegSource* SourceOf(j_decompress_ptr cinfo)
{
    return reinterpret_cast<JpegSource*>(cinfo->src);
}

void InitSource(j_decompress_ptr cinfo)
{
    SourceOf(cinfo)->startOfFile = 1;
}

void TermSource(j_decompress_ptr) {}

// Past the end of the data the library is fed an end-of-image marker, with a warning.
boolean FeedEndOfImage(j_decompress_ptr cinfo)
{
    JpegSource* source = SourceOf(cinfo);
    if (source->startOfFile)
        ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kFakeEndOfImage;
    source->pub.bytes_in_buffer = kMarkerBytes;
    return TRUE;
}

// The memory source hands over the whole block once.
boolean FillFromMemory(j_decompress_ptr cinfo)
{
    JpegSource* source = SourceOf(cinfo);
    if (source->consumed >= source->count)
        return FeedEndOfImage(cinfo);
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = source->count;
    source->consumed = source->count;
    source->startOfFile = 0;
    return TRUE;
}

// The file source reads up to 4096 bytes at a time, never past its byte limit.
boolean FillFromFile(j_decompress_ptr cinfo)
{
    JpegSource* source = SourceOf(cinfo);
    size_t wanted = kFileBufferBytes;
    if (source->limit != kNoLimit && source->limit - source->consumed < wanted)
        wanted = source->limit - source->consumed;
    size_t got = wanted ? fread(source->buffer, 1, wanted, source->file) : 0;
    if (got == 0)
        return FeedEndOfImage(cinfo);
    source->count = static_cast<uint32_t>(got);
    source->consumed += source->count;
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
    source->startOfFile = 0;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* pub = cinfo->src;
    while (static_cast<size_t>(count) > pub->bytes_in_buffer) {
        count -= static_cast<long>(pub->bytes_in_buffer);
        pub->fill_input_buffer(cinfo);
    }
    pub->next_input_byte += count;
    pub->bytes_in_buffer -= static_cast<size_t>(count);
}

JpegSource* MakeSource(j_decompress_ptr cinfo, boolean (*fill)(j_decompress_ptr))
{
    auto* source = static_cast<JpegSource*>(
        cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegSource)));
    source->pub.init_source = InitSource;
    source->pub.fill_input_buffer = fill;
    source->pub.skip_input_data = SkipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = TermSource;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
    source->file = nullptr;
    source->limit = kNoLimit;
    source->consumed = 0;
    source->buffer = nullptr;
    source->count = 0;
    source->startOfFile = 0;
    cinfo->src = &source->pub;
    return source;
}

void jpeg_memory_src(j_decompress_ptr cinfo, const uint8_t* data, uint32_t size)
{
    JpegSource* source = MakeSource(cinfo, FillFromMemory);
    source->limit = size;
    source->buffer = const_cast<JOCTET*>(data);
    source->count = size;
}

void jpeg_limited_file_src(j_decompress_ptr cinfo, FILE* file, uint32_t limit)
{
    JpegSource* source = MakeSource(cinfo, FillFromFile);
    source->file = file;
    source->limit = limit;
    source->buffer = static_cast<JOCTET*>(cinfo->mem->alloc_small(reinterpret_cast<j_common_ptr>(cinfo),
                                                                  JPOOL_PERMANENT, kFileBufferBytes + kMarkerBytes));
}

// Every block of a Huffman-coded image costs at least one bit, so an image cannot have more
// MCUs than its data has bits. Arithmetic coding can code flat blocks in less, so a few bytes
// could declare any size; it is held to the same bound, which only nearly blank pictures miss.
bool HeaderFitsData(const jpeg_decompress_struct& cinfo, uint32_t dataBytes)
{
    int maxH = 1;
    int maxV = 1;
    for (int i = 0; i < cinfo.num_components; ++i) {
        maxH = cinfo.comp_info[i].h_samp_factor > maxH ? cinfo.comp_info[i].h_samp_factor : maxH;
        maxV = cinfo.comp_info[i].v_samp_factor > maxV ? cinfo.comp_info[i].v_samp_factor : maxV;
    }
    uint64_t mcuWidth = 8u * maxH;
    uint64_t mcuHeight = 8u * maxV;
    uint64_t mcus = (cinfo.image_width + mcuWidth - 1) / mcuWidth * ((cinfo.image_height + mcuHeight - 1) / mcuHeight);
    return mcus <= uint64_t(dataBytes) * 8;
}

struct JpegReader {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;

    ~JpegReader() { jpeg_destroy_decompress(&cinfo); }
};

// Library errors jump back into this function; it keeps no state of its own past them.
Result ReadImage(JpegReader& reader, CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    j_decompress_ptr cinfo = &reader.cinfo;
    if (setjmp(reader.errors.jump))
        return RES_FAIL;

    jpeg_create_decompress(cinfo);
    if (source.Data())
        jpeg_memory_src(cinfo, source.Data(), source.Size());
    else
        jpeg_limited_file_src(cinfo, source.File(), source.Size());
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->image_width > kMaxImageSide || cinfo->image_height > kMaxImageSide)
        return error.Fail(RES_FAIL, "JPEG of %ux%u is larger than a texture", cinfo->image_width, cinfo->image_height);
    if (!HeaderFitsData(*cinfo, source.Size()))
        return error.Fail(RES_FAIL, "JPEG of %ux%u is larger than %u bytes can hold", cinfo->image_width,
                          cinfo->image_height, source.Size());
    if (cinfo->out_color_space != JCS_GRAYSCALE && cinfo->out_color_space != JCS_RGB)
        return error.Fail(RES_FAIL, "unsupported JPEG colour space %d", cinfo->jpeg_color_space);

    jpeg_start_decompress(cinfo);
    uint32_t components = static_cast<uint32_t>(cinfo->output_components);
    Result result = AllocatePixels(image, cinfo->output_width, cinfo->output_height, components * 8, error);
    if (Failed(result))
        return result;
    size_t stride = size_t(image.width) * components;
    uint8_t* bottom = image.pixels.get();
    uint32_t height = image.height;
    while (cinfo->output_scanline < height) {
        JSAMPROW rows[kRowsPerRead];
        uint32_t done = cinfo->output_scanline;
        uint32_t count = height - done < kRowsPerRead ? height - done : kRowsPerRead;
        for (uint32_t i = 0; i < count; ++i)
            rows[i] = bottom + size_t(height - 1 - done - i) * stride;
        if (jpeg_read_scanlines(cinfo, rows, count) == 0)
            return error.Fail(RES_FAIL, "JPEG decoder stalled");
    }
    jpeg_finish_decompress(cinfo);
    return RES_OK;
}

} // namespace

Result DecodeJpeg(CImageSource& source, CDecodedImage& image, CDecodeError& error)
{
    JpegReader reader;
    reader.cinfo.err = jpeg_std_error(&reader.errors.pub);
    reader.errors.pub.error_exit = OnJpegFatal;
    reader.errors.pub.output_message = OnJpegMessage;
    reader.errors.error = &error;
    reader.cinfo.mem = nullptr;
    return ReadImage(reader, source, image, error);
}
