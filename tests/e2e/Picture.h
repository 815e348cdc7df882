#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/StateReport.h"

// An RGBA picture, rows top-down, each pixel r | g << 8 | b << 16 | a << 24.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, uint32_t fill = 0xFF000000u);

    // A PNG (or any picture the engine decodes) from a file or from its bytes; empty when it does
    // not decode.
    static Picture Load(const std::string& path);
    static Picture Decode(const std::string& bytes);
    // Written as a PNG, with alpha unless every pixel is opaque; false when it cannot be.
    bool Save(const std::string& path) const;

    bool Empty() const { return m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t At(int x, int y) const { return m_pixels[size_t(y) * m_width + x]; }
    void Set(int x, int y, uint32_t pixel) { m_pixels[size_t(y) * m_width + x] = pixel; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // The part inside rect (clipped to the picture).
    Picture Cropped(const ReportRect& rect) const;
    // Drawn over width x height as a texture is sampled: bilinear between texel centres, edges
    // clamped.
    Picture Scaled(int width, int height) const;
    // The picture drawn at (x, y) over this one with its alpha.
    void Draw(const Picture& top, int x, int y);
    // Every alpha 255 (a frame read back keeps whatever alpha the drawing left).
    Picture& MakeOpaque();

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

uint32_t Channel(uint32_t pixel, int channel);
uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255);
// The largest difference of the three colour channels.
uint32_t ColourDistance(uint32_t a, uint32_t b);

// Per pixel of two pictures of one size, how far each colour channel of one lies outside the
// range of the other's 3 x 3 neighbourhood, both ways, the largest (the renderers place edges
// half a pixel apart); empty when the sizes differ.
std::vector<uint8_t> NeighbourhoodGaps(const Picture& a, const Picture& b);
