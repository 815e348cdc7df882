#include "tests/e2e/Picture.h"

#include <algorithm>
#include <cmath>

#include "base/WideString.h"
#include "engine3d/TextureRaw.h"

namespace {

// The engine's image, rows bottom-up, as a picture; empty for a layout it does not hold.
Picture FromRaw(C3DTextureRaw& raw, Result loaded)
{
    const int bits = raw.GetBits();
    if (Failed(loaded) || !raw.GetPixels() || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        IgnoreResult(raw.Release());
        return Picture();
    }
    Picture picture(raw.GetWidth(), raw.GetHeight());
    const size_t stride = size_t(bits) / 8;
    const uint8_t* bytes = raw.GetPixels();
    for (int y = picture.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.Width(); ++x, bytes += stride) {
            const bool grey = stride <= 2;
            const uint32_t alpha = stride == 2 ? bytes[1] : stride == 4 ? bytes[3] : 255;
            picture.Set(x, y, grey ? Rgba(bytes[0], bytes[0], bytes[0], alpha) : Rgba(bytes[0], bytes[1], bytes[2], alpha));
        }
    }
    IgnoreResult(raw.Release());
    return picture;
}

} // namespace

uint32_t Channel(uint32_t pixel, int channel)
{
    return pixel >> (8 * channel) & 0xFF;
}

uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | g << 8 | b << 16 | a << 24;
}

uint32_t ColourDistance(uint32_t a, uint32_t b)
{
    uint32_t largest = 0;
    for (int c = 0; c < 3; ++c)
        largest = std::max(largest, uint32_t(std::abs(int(Channel(a, c)) - int(Channel(b, c)))));
    return largest;
}

Picture::Picture(int width, int height, uint32_t fill)
    : m_width(width), m_height(height), m_pixels(size_t(width) * height, fill)
{
}

Picture Picture::Load(const std::string& path)
{
    C3DTextureRaw raw(nullptr);
    return FromRaw(raw, raw.LoadFromFile(Utf8ToUtf16(path).c_str()));
}

Picture Picture::Decode(const std::string& bytes)
{
    C3DTextureRaw raw(nullptr);
    return FromRaw(raw, raw.LoadFromAddress(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            static_cast<uint32_t>(bytes.size()), u"picture.png"));
}

bool Picture::Save(const std::string& path) const
{
    if (Empty() || m_width > 0xFFFF || m_height > 0xFFFF)
        return false;
    // The writer stores the rows in memory order, the top one first; without alpha when all is
    // opaque.
    const bool opaque = std::all_of(m_pixels.begin(), m_pixels.end(), [](uint32_t p) { return Channel(p, 3) == 255; });
    const int channels = opaque ? 3 : 4;
    std::vector<uint8_t> bytes;
    bytes.reserve(m_pixels.size() * channels);
    for (uint32_t pixel : m_pixels)
        for (int c = 0; c < channels; ++c)
            bytes.push_back(static_cast<uint8_t>(Channel(pixel, c)));
    C3DTextureRaw raw(nullptr);
    const bool saved = Succeeded(raw.CreateFromPixels(uint16_t(m_width), uint16_t(m_height), uint8_t(channels * 8),
                                                      bytes.data())) &&
                       Succeeded(raw.SaveToFile(Utf8ToUtf16(path).c_str()));
    IgnoreResult(raw.Release());
    return saved;
}

Picture Picture::Cropped(const ReportRect& rect) const
{
    const int left = std::clamp(rect.x, 0, m_width), top = std::clamp(rect.y, 0, m_height);
    const int right = std::clamp(rect.x + rect.w, left, m_width), bottom = std::clamp(rect.y + rect.h, top, m_height);
    Picture part(right - left, bottom - top);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            part.Set(x - left, y - top, At(x, y));
    return part;
}

Picture Picture::Scaled(int width, int height) const
{
    Picture scaled(width, height);
    if (Empty())
        return scaled;
    auto sample = [&](float u, float v, int c) {
        const float tx = std::clamp(u * m_width - 0.5f, 0.0f, float(m_width - 1));
        const float ty = std::clamp(v * m_height - 0.5f, 0.0f, float(m_height - 1));
        const int x0 = int(tx), y0 = int(ty);
        const int x1 = std::min(x0 + 1, m_width - 1), y1 = std::min(y0 + 1, m_height - 1);
        const float fx = tx - x0, fy = ty - y0;
        const float top = Channel(At(x0, y0), c) * (1 - fx) + Channel(At(x1, y0), c) * fx;
        const float bottom = Channel(At(x0, y1), c) * (1 - fx) + Channel(At(x1, y1), c) * fx;
        return uint32_t(std::lround(top * (1 - fy) + bottom * fy));
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = (x + 0.5f) / width, v = (y + 0.5f) / height;
            scaled.Set(x, y, Rgba(sample(u, v, 0), sample(u, v, 1), sample(u, v, 2), sample(u, v, 3)));
        }
    }
    return scaled;
}

void Picture::Draw(const Picture& top, int x, int y)
{
    for (int ty = 0; ty < top.Height(); ++ty) {
        for (int tx = 0; tx < top.Width(); ++tx) {
            if (!Contains(x + tx, y + ty))
                continue;
            const uint32_t over = top.At(tx, ty), under = At(x + tx, y + ty);
            const uint32_t alpha = Channel(over, 3);
            uint32_t blended[3];
            for (int c = 0; c < 3; ++c)
                blended[c] = (Channel(over, c) * alpha + Channel(under, c) * (255 - alpha) + 127) / 255;
            Set(x + tx, y + ty, Rgba(blended[0], blended[1], blended[2], std::max(alpha, Channel(under, 3))));
        }
    }
}

Picture& Picture::MakeOpaque()
{
    for (uint32_t& pixel : m_pixels)
        pixel |= 0xFF000000u;
    return *this;
}

namespace {

// Per pixel and colour channel, the lowest and highest value of its 3 x 3 neighbourhood (clipped
// at the edges), rows then columns.
struct NeighbourhoodRange {
    std::vector<uint8_t> low, high;  // three channels a pixel

    explicit NeighbourhoodRange(const Picture& picture)
    {
        const int width = picture.Width(), height = picture.Height();
        const size_t count = size_t(width) * height * 3;
        std::vector<uint8_t> rowLow(count), rowHigh(count);
        low.resize(count), high.resize(count);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c) {
                    uint8_t l = 255, h = 0;
                    for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx) {
                        const uint8_t v = uint8_t(Channel(picture.At(nx, y), c));
                        l = std::min(l, v), h = std::max(h, v);
                    }
                    const size_t i = (size_t(y) * width + x) * 3 + c;
                    rowLow[i] = l, rowHigh[i] = h;
                }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c) {
                    uint8_t l = 255, h = 0;
                    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, height - 1); ++ny) {
                        const size_t i = (size_t(ny) * width + x) * 3 + c;
                        l = std::min(l, rowLow[i]), h = std::max(h, rowHigh[i]);
                    }
                    const size_t i = (size_t(y) * width + x) * 3 + c;
                    low[i] = l, high[i] = h;
                }
    }
};

} // namespace

std::vector<uint8_t> NeighbourhoodGaps(const Picture& a, const Picture& b)
{
    const int width = a.Width(), height = a.Height();
    std::vector<uint8_t> gaps;
    if (width != b.Width() || height != b.Height())
        return gaps;
    gaps.resize(size_t(width) * height);
    const NeighbourhoodRange aRange(a), bRange(b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int largest = 0;
            const size_t pixel = size_t(y) * width + x;
            for (int c = 0; c < 3; ++c) {
                const size_t i = pixel * 3 + c;
                const int va = int(Channel(a.At(x, y), c)), vb = int(Channel(b.At(x, y), c));
                largest = std::max({largest, bRange.low[i] - va, va - bRange.high[i], aRange.low[i] - vb,
                                    vb - aRange.high[i]});
            }
            gaps[pixel] = uint8_t(largest);
        }
    return gaps;
}
