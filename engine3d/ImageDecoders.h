#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "base/Result.h"

class CImageSource;

struct CFreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};
using PixelBuffer = std::unique_ptr<uint8_t[], CFreeDeleter>;

// A picture as a decoder leaves it: rows bottom-up, no padding.
struct CDecodedImage {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t bits = 0;
    PixelBuffer pixels;
};

// Why a decode failed, kept for the log line.
class CDecodeError {
public:
    // Records the reason (printf format) and returns result.
    Result Fail(Result result, const char* format, ...) __attribute__((format(printf, 3, 4)));
    const char* Text() const { return m_text; }

private:
    char m_text[256] = "";
};

// The largest texture side the Direct3D 8 device creates; no decoder makes a larger image.
constexpr uint32_t kMaxImageSide = 4096;

// Allocates width x height x bits/8 bytes for image; fails on a zero size or a side beyond
// kMaxImageSide.
Result AllocatePixels(CDecodedImage& image, uint64_t width, uint64_t height, uint32_t bits, CDecodeError& error);

bool IsPowerOfTwo(uint64_t value);

// 8, 16, 24 or 32 bits per pixel.
bool IsPixelLayout(uint32_t bits);

// Each decoder reads its format from source into image. Results: RES_OK, RES_FAIL for bad or
// short data, RES_OUT_OF_MEMORY.
Result DecodeTga(CImageSource& source, CDecodedImage& image, CDecodeError& error);
Result DecodePng(CImageSource& source, CDecodedImage& image, CDecodeError& error);
Result DecodeJpeg(CImageSource& source, CDecodedImage& image, CDecodeError& error);
Result DecodeRaw(CImageSource& source, CDecodedImage& image, CDecodeError& error);

// Writes rows in memory order (memory row 0 becomes the file's first row) as an 8-bit PNG;
// the size is non-zero and bits a pixel layout.
Result WritePng(FILE* file, uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels, CDecodeError& error);
