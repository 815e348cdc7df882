#include "base/FileSystem.h"
#include "base/Result.h"
#include "base/WideString.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempDir.h"

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

namespace {

struct PngCase {
    const char* label;
    PngFixture fixture;
    uint8_t bits;
    std::vector<uint8_t> topDown;  // what the decoder should produce, top row first
};

std::vector<PngCase> PngCases()
{
    std::vector<PngCase> cases;
    // 3 x 2 RGB, 8 bits.
    std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    cases.push_back({"rgb", {3, 2, PNG_COLOR_TYPE_RGB, 8, false, rgb, {}, {}, {}}, 24, rgb});
    // 2 x 2 RGBA.
    std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 9, 8, 7, 6};
    cases.push_back({"rgba", {2, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, rgba, {}, {}, {}}, 32, rgba});
    // 4 x 1 grey at 2 bits: 0, 1, 2, 3 -> 0, 85, 170, 255.
    cases.push_back({"grey2", {4, 1, PNG_COLOR_TYPE_GRAY, 2, false, {0x1B}, {}, {}, {}}, 8, {0, 85, 170, 255}});
    // 2 x 2 grey at 16 bits keeps the high byte.
    cases.push_back({"grey16", {2, 2, PNG_COLOR_TYPE_GRAY, 16, false, {0x12, 0x34, 0xAB, 0xCD, 0x00, 0xFF, 0xFF, 0x00}, {}, {}, {}},
                     8, {0x12, 0xAB, 0x00, 0xFF}});
    // 2 x 1 RGB at 16 bits.
    cases.push_back({"rgb16", {2, 1, PNG_COLOR_TYPE_RGB, 16, false, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0}, {}, {}, {}},
                     24, {1, 2, 3, 4, 5, 6}});
    // 2 x 2 grey and alpha.
    cases.push_back({"greyAlpha", {2, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {10, 20, 30, 40, 50, 60, 70, 80}, {}, {}, {}},
                     16, {10, 20, 30, 40, 50, 60, 70, 80}});
    // 4 x 1 palette at 4 bits with palette alphas: RGBA.
    cases.push_back({"palette4Alpha", {4, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {0x01, 0x21}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0, 128}, {}},
                     32, {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255, 40, 50, 60, 128}});
    // 2 x 1 palette at 8 bits without alpha: RGB.
    cases.push_back({"palette8", {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {1, 0}, {1, 2, 3, 4, 5, 6}, {}, {}}, 24, {4, 5, 6, 1, 2, 3}});
    // 2 x 1 RGB with a colour key: the keyed pixel turns transparent.
    cases.push_back({"rgbKey", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3, 4, 5, 6}, {}, {}, {4, 5, 6}}, 32,
                     {1, 2, 3, 255, 4, 5, 6, 0}});
    // 9 x 9 interlaced RGBA covers every pass.
    std::vector<uint8_t> big;
    for (int i = 0; i < 9 * 9 * 4; ++i)
        big.push_back(static_cast<uint8_t>(i * 7));
    cases.push_back({"interlaced", {9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, big, {}, {}, {}}, 32, big});
    return cases;
}

class TextureRawPngTest : public ImageTest {};

} // namespace

TEST_F(TextureRawPngTest, DecodesEveryLayoutBottomUp)
{
    for (const PngCase& c : PngCases()) {
        SCOPED_TRACE(c.label);
        std::string file = EncodePng(c.fixture);
        ASSERT_FALSE(file.empty());
        ScopedRaw raw(m_data.get());
        ASSERT_EQ(raw.Load(file, u"pic.png"), RES_OK);
        EXPECT_EQ(raw.GetBits(), c.bits);
        EXPECT_EQ(raw.GetWidth(), c.fixture.width);
        EXPECT_EQ(raw.GetHeight(), c.fixture.height);
        EXPECT_EQ(raw.Pixels(), FlipRows(c.topDown, c.fixture.width * c.bits / 8));
    }
}

TEST_F(TextureRawPngTest, SavesRowsInMemoryOrderAndReloads)
{
    TempDir dir;
    // Two rows of 12 bytes each fit every layout.
    std::vector<uint8_t> pixels;
    for (uint8_t i = 1; i <= 24; ++i)
        pixels.push_back(i);
    for (uint8_t bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        uint16_t width = static_cast<uint16_t>(12 / (bits / 8));
        ScopedRaw raw(m_data.get());
        ASSERT_EQ(raw.CreateFromPixels(width, 2, bits, pixels.data()), RES_OK);
        std::u16string path = dir.WideFile("out.PNG");
        ASSERT_EQ(raw.SaveToFile(path.c_str()), RES_OK);

        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, dir.File("out.PNG").c_str()));
        std::vector<uint8_t> fileRows(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, fileRows.data(), 0, nullptr));
        EXPECT_EQ(fileRows, pixels);

        ScopedRaw back(m_data.get());
        ASSERT_EQ(back.LoadFromFile(path.c_str()), RES_OK);
        EXPECT_EQ(back.GetBits(), bits);
        EXPECT_EQ(back.Pixels(), FlipRows(pixels, 12));
    }
}

TEST_F(TextureRawPngTest, SaveFailures)
{
    TempDir dir;
    ScopedRaw raw(m_data.get());
    uint8_t pixel[3] = {1, 2, 3};
    std::u16string jpg = dir.WideFile("out.jpg");
    std::u16string png = dir.WideFile("out.png");
    EXPECT_EQ(raw.SaveToFile(png.c_str()), RES_FAIL);  // nothing to save
    ASSERT_EQ(raw.CreateFromPixels(1, 1, 24, pixel), RES_OK);
    EXPECT_EQ(raw.SaveToFile(jpg.c_str()), RES_FAIL);
    EXPECT_FALSE(FileExists(jpg.c_str()));
    std::u16string missingFolder = dir.WideFile("no/such/folder/out.png");
    EXPECT_EQ(raw.SaveToFile(missingFolder.c_str()), RES_PNG_NOT_CREATED);
    EXPECT_EQ(m_data->lastError, RES_PNG_NOT_CREATED);
}

TEST_F(TextureRawPngTest, TruncatedAndCorruptFilesFail)
{
    std::vector<uint8_t> rgba(8 * 8 * 4);
    for (size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = static_cast<uint8_t>(i * 13);
    std::string file = EncodePng({8, 8, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, rgba, {}, {}, {}});
    for (size_t cut = 0; cut < file.size(); ++cut) {
        ScopedRaw raw(m_data.get());
        ASSERT_EQ(raw.Load(file.substr(0, cut), u"cut.png"), RES_FAIL) << cut;
    }
    for (size_t at = 0; at < file.size(); ++at) {
        std::string corrupt = file;
        corrupt[at] = static_cast<char>(corrupt[at] ^ 0x5A);
        ScopedRaw raw(m_data.get());
        Result result = raw.Load(corrupt, u"corrupt.png");
        EXPECT_TRUE(result == RES_OK || result == RES_FAIL) << at;
    }
    EXPECT_NE(LogText().find(u"# C3DTextureRaw failed to load \"cut.png\": "), std::u16string::npos);
}

TEST_F(TextureRawPngTest, HeaderLargerThanTheDataFailsBeforeAllocating)
{
    std::string file = EncodePng({1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {1, 2, 3, 4}, {}, {}, {}});
    // IHDR width and height at bytes 16..23; the chunk CRC follows and must match.
    std::string huge = file;
    const uint8_t size[8] = {0, 0, 0x10, 0x00, 0, 0, 0x10, 0x00};
    huge.replace(16, 8, reinterpret_cast<const char*>(size), 8);
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17));
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    ScopedRaw raw(m_data.get());
    EXPECT_EQ(raw.Load(huge, u"huge.png"), RES_FAIL);
    EXPECT_NE(LogText().find(u"larger than"), std::u16string::npos);
}
