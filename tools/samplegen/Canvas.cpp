#include "tools/samplegen/Canvas.h"

#include <algorithm>
#include <cmath>

#include "base/WideString.h"
#include "engine3d/TextureRaw.h"

namespace {

constexpr int kSamples = 4;

uint8_t Channel(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

} // namespace

CRgba Mix(CRgba a, CRgba b, float t)
{
    auto mix = [t](uint8_t x, uint8_t y) { return Channel(x + (y - x) * t); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

CRgba Shade(CRgba colour, float factor)
{
    return {Channel(colour.r * factor), Channel(colour.g * factor), Channel(colour.b * factor), colour.a};
}

CBox BoundingBox(const std::vector<float>& xy)
{
    CBox box{1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        box = {std::min(box.left, xy[i]), std::min(box.top, xy[i + 1]), std::max(box.right, xy[i]),
               std::max(box.bottom, xy[i + 1])};
    return box;
}

bool InsidePolygon(const std::vector<float>& xy, float x, float y)
{
    bool inside = false;
    const size_t count = xy.size() / 2;
    for (size_t i = 0, j = count - 1; i < count; j = i++) {
        const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

CCanvas::CCanvas(uint32_t width, uint32_t height)
    : m_width(width), m_height(height), m_pixels(size_t(width) * height, CRgba{0, 0, 0, 0})
{
}

CRgba CCanvas::At(uint32_t x, uint32_t y) const
{
    return m_pixels[size_t(y) * m_width + x];
}

void CCanvas::Fill(CRgba colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colour);
}

void CCanvas::Blend(uint32_t x, uint32_t y, CRgba colour, float share)
{
    CRgba& to = m_pixels[size_t(y) * m_width + x];
    const float a = share * colour.a / 255.0f;
    const float kept = to.a / 255.0f * (1.0f - a);
    const float alpha = a + kept;
    if (alpha <= 0.0f)
        return;
    auto over = [&](uint8_t src, uint8_t dst) { return Channel((src * a + dst * kept) / alpha); };
    to = {over(colour.r, to.r), over(colour.g, to.g), over(colour.b, to.b), Channel(alpha * 255.0f)};
}

void CCanvas::FillWhere(const CBox& box, const Inside& inside, const Paint& paint)
{
    const int x0 = std::max(0, static_cast<int>(std::floor(box.left)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.top)));
    const int x1 = std::min(static_cast<int>(m_width), static_cast<int>(std::ceil(box.right)));
    const int y1 = std::min(static_cast<int>(m_height), static_cast<int>(std::ceil(box.bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int covered = 0;
            for (int s = 0; s < kSamples * kSamples; ++s)
                covered += inside(x + (s % kSamples + 0.5f) / kSamples, y + (s / kSamples + 0.5f) / kSamples);
            if (covered > 0)
                Blend(x, y, paint(x + 0.5f, y + 0.5f), covered / float(kSamples * kSamples));
        }
    }
}

void CCanvas::FillWhere(const CBox& box, const Inside& inside, CRgba colour)
{
    FillWhere(box, inside, [colour](float, float) { return colour; });
}

void CCanvas::FillRect(const CBox& box, CRgba colour)
{
    FillWhere(box, [&](float x, float y) { return x >= box.left && x < box.right && y >= box.top && y < box.bottom; },
              colour);
}

void CCanvas::FillRoundRect(const CBox& box, float radius, CRgba colour)
{
    FillWhere(box, [&](float x, float y) {
        const float dx = std::max({box.left + radius - x, x - (box.right - radius), 0.0f});
        const float dy = std::max({box.top + radius - y, y - (box.bottom - radius), 0.0f});
        return x >= box.left && x < box.right && y >= box.top && y < box.bottom && dx * dx + dy * dy <= radius * radius;
    }, colour);
}

void CCanvas::FillDisc(float x, float y, float radius, CRgba colour)
{
    FillRing(x, y, -1.0f, radius, colour);
}

void CCanvas::FillRing(float x, float y, float inner, float outer, CRgba colour)
{
    const float in2 = inner < 0.0f ? -1.0f : inner * inner;
    FillWhere({x - outer, y - outer, x + outer, y + outer}, [=](float px, float py) {
        const float d = (px - x) * (px - x) + (py - y) * (py - y);
        return d <= outer * outer && d > in2;
    }, colour);
}

void CCanvas::FillPolygon(const std::vector<float>& xy, CRgba colour)
{
    FillWhere(BoundingBox(xy), [&](float x, float y) { return InsidePolygon(xy, x, y); }, colour);
}

void CCanvas::VerticalGradient(const CBox& box, CRgba top, CRgba bottom)
{
    const float height = std::max(box.bottom - box.top, 1.0f);
    FillWhere(box, [&](float x, float y) { return x >= box.left && x < box.right && y >= box.top && y < box.bottom; },
              [&](float, float y) { return Mix(top, bottom, (y - box.top) / height); });
}

void CCanvas::Button(const CBox& box, CRgba colour)
{
    const float radius = std::min(box.right - box.left, box.bottom - box.top) * 0.25f;
    FillRoundRect(box, radius, Shade(colour, 0.45f));
    const float rim = std::max(2.0f, radius * 0.25f);
    const CBox face{box.left + rim, box.top + rim, box.right - rim, box.bottom - rim};
    const float height = face.bottom - face.top;
    const float inner = std::max(radius - rim, 1.0f);
    FillWhere(face, [&](float x, float y) {
        const float dx = std::max({face.left + inner - x, x - (face.right - inner), 0.0f});
        const float dy = std::max({face.top + inner - y, y - (face.bottom - inner), 0.0f});
        return dx * dx + dy * dy <= inner * inner;
    }, [&](float, float y) { return Mix(Shade(colour, 1.35f), Shade(colour, 0.8f), (y - face.top) / height); });
}

void CCanvas::Draw(const CCanvas& picture, int x, int y)
{
    for (uint32_t py = 0; py < picture.m_height; ++py) {
        for (uint32_t px = 0; px < picture.m_width; ++px) {
            const int tx = x + static_cast<int>(px), ty = y + static_cast<int>(py);
            if (tx >= 0 && ty >= 0 && tx < static_cast<int>(m_width) && ty < static_cast<int>(m_height))
                Blend(tx, ty, picture.At(px, py), 1.0f);
        }
    }
}

Result CCanvas::SavePng(const std::string& path) const
{
    C3DTextureRaw raw(nullptr);
    Result result = raw.CreateFromPixels(static_cast<uint16_t>(m_width), static_cast<uint16_t>(m_height), 32,
                                         reinterpret_cast<const uint8_t*>(m_pixels.data()));
    if (Succeeded(result))
        result = raw.SaveToFile(Utf8ToUtf16(path).c_str());
    IgnoreResult(raw.Release());
    return result;
}
