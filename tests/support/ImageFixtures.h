#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/WorldData.h"
#include "engine3d/TextureRaw.h"

// A PNG to encode: rows top-down as the file stores them (packed below 8 bits, 16-bit samples
// big-endian), with an optional palette (RGB triples), palette alphas or colour key.
struct PngFixture {
    uint32_t width = 0;
    uint32_t height = 0;
    int colorType = 0;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> palette;
    std::vector<uint8_t> paletteAlpha;
    std::vector<uint16_t> colorKey;  // one grey or three RGB values
};

// Encoded with libpng; empty on failure.
std::string EncodePng(const PngFixture& fixture);

// Encoded with libjpeg from top-down pixels of 1 (grey), 3 (RGB) or 4 (CMYK) components,
// Huffman- or arithmetic-coded.
std::string EncodeJpeg(uint32_t width, uint32_t height, int components, const std::vector<uint8_t>& pixels,
                       bool progressive, int quality = 95, bool arithmetic = false);

// The rows of an image in reverse order.
std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& pixels, size_t rowBytes);

// An image object that frees its pixels when it goes.
class ScopedRaw : public C3DTextureRaw {
public:
    using C3DTextureRaw::C3DTextureRaw;
    ~ScopedRaw() override { EXPECT_EQ(Release(), RES_OK); }

    std::vector<uint8_t> Pixels() const;
    Result Load(const std::string& bytes, const char16_t* name)
    {
        return LoadFromAddress(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                               name);
    }
};

// A fresh engine data block per test; the lines written to the log are collected.
class ImageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static const std::u16string& LogText();

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
};
