// Decodes one large RGBA PNG through C3DTextureRaw and through libpng's simplified reader,
// and prints the time of each and their ratio.
#include "core/WorldData.h"
#include "engine3d/TextureRaw.h"

#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kSide = 2048;
constexpr int kRounds = 15;

void AppendBytes(png_structp png, png_bytep data, size_t size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void Flush(png_structp) {}

// Smooth gradients with some noise, about what a game picture compresses like.
std::vector<uint8_t> MakePicture()
{
    std::vector<uint8_t> pixels(size_t(kSide) * kSide * 4);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < kSide; ++y) {
        for (uint32_t x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint8_t* p = &pixels[(size_t(y) * kSide + x) * 4];
            p[0] = static_cast<uint8_t>(x / 8 + (noise >> 28));
            p[1] = static_cast<uint8_t>(y / 8 + (noise >> 29));
            p[2] = static_cast<uint8_t>((x + y) / 16);
            p[3] = static_cast<uint8_t>(255 - ((x * y) >> 14));
        }
    }
    return pixels;
}

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& pixels)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, Flush);
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < kSide; ++y)
        png_write_row(png, &pixels[size_t(y) * kSide * 4]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

bool DecodeWithTextureRaw(CWorldData* data, const std::vector<uint8_t>& file)
{
    C3DTextureRaw raw(data);
    bool ok = raw.LoadFromAddress(file.data(), static_cast<uint32_t>(file.size()), u"bench.png") >= 0 &&
              raw.GetWidth() == kSide && raw.GetBits() == 32;
    IgnoreResult(raw.Release());
    return ok;
}

bool DecodeWithLibpng(const std::vector<uint8_t>& file)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    auto* buffer = static_cast<png_bytep>(std::malloc(PNG_IMAGE_SIZE(image)));
    bool ok = buffer && png_image_finish_read(&image, nullptr, buffer, 0, nullptr);
    std::free(buffer);
    png_image_free(&image);
    return ok;
}

} // namespace

int main()
{
    std::vector<uint8_t> file = EncodePng(MakePicture());
    if (file.empty())
        return 1;
    auto data = std::make_unique<CWorldData>();

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < kRounds; ++round) {
        Clock::time_point start = Clock::now();
        if (!DecodeWithTextureRaw(data.get(), file))
            return 1;
        Clock::time_point middle = Clock::now();
        if (!DecodeWithLibpng(file))
            return 1;
        Clock::time_point end = Clock::now();
        ours.push_back(Milliseconds(middle - start));
        theirs.push_back(Milliseconds(end - middle));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    double oursMedian = ours[kRounds / 2];
    double theirsMedian = theirs[kRounds / 2];
    std::printf("PNG %ux%u RGBA, %zu bytes, median of %d rounds\n", kSide, kSide, file.size(), kRounds);
    std::printf("C3DTextureRaw   %8.2f ms\n", oursMedian);
    std::printf("libpng simple   %8.2f ms\n", theirsMedian);
    std::printf("ratio           %8.3f (target <= 1.3)\n", oursMedian / theirsMedian);
    return 0;
}
