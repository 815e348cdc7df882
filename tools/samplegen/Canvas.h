#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

struct CRgba {
    uint8_t r, g, b, a;
};

// Mixes two colours channel by channel, t from 0 (a) to 1 (b).
CRgba Mix(CRgba a, CRgba b, float t);
// The colour with each channel scaled (alpha kept).
CRgba Shade(CRgba colour, float factor);

struct CBox {
    float left, top, right, bottom;
};

// An RGBA picture drawn top row first, blended "over" with 4 x 4 samples per pixel at edges.
class CCanvas {
public:
    using Inside = std::function<bool(float x, float y)>;
    using Paint = std::function<CRgba(float x, float y)>;

    CCanvas(uint32_t width, uint32_t height);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    CRgba At(uint32_t x, uint32_t y) const;

    void Fill(CRgba colour);
    // Paints the points of box for which inside holds, each pixel by its covered share.
    void FillWhere(const CBox& box, const Inside& inside, const Paint& paint);
    void FillWhere(const CBox& box, const Inside& inside, CRgba colour);
    void FillRect(const CBox& box, CRgba colour);
    void FillRoundRect(const CBox& box, float radius, CRgba colour);
    void FillDisc(float x, float y, float radius, CRgba colour);
    void FillRing(float x, float y, float inner, float outer, CRgba colour);
    void FillPolygon(const std::vector<float>& xy, CRgba colour);
    void VerticalGradient(const CBox& box, CRgba top, CRgba bottom);
    // A rounded, shaded button face with a darker rim, lighter at the top.
    void Button(const CBox& box, CRgba colour);
    // Copies another canvas with its top left corner at (x, y), blended over.
    void Draw(const CCanvas& picture, int x, int y);

    // Writes the picture as a PNG file through the engine's image writer.
    Result SavePng(const std::string& path) const;

private:
    void Blend(uint32_t x, uint32_t y, CRgba colour, float share);

    uint32_t m_width;
    uint32_t m_height;
    std::vector<CRgba> m_pixels;
};

// The smallest box holding the points of xy pairs.
CBox BoundingBox(const std::vector<float>& xy);
// True when (x, y) lies inside the closed polygon of xy pairs (even-odd rule).
bool InsidePolygon(const std::vector<float>& xy, float x, float y);
