#include "core/PackerFile.h"
#include "base/Result.h"
#include "base/WideString.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

std::string TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits)
{
    std::string header(18, '\0');
    header[2] = static_cast<char>(type);
    header[12] = static_cast<char>(width & 0xFF);
    header[13] = static_cast<char>(width >> 8);
    header[14] = static_cast<char>(height & 0xFF);
    header[15] = static_cast<char>(height >> 8);
    header[16] = static_cast<char>(bits);
    return header;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// Appends one pak entry and returns the offset of its data.
long AppendPakEntry(std::string& pak, const std::string& name, const std::string& data)
{
    pak += PakEntryBytes(name, data);
    return static_cast<long>(pak.size() - data.size());
}

const std::string kTga24 = TgaHeader(2, 2, 2, 24) + Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

class TextureRawTest : public ImageTest {
protected:
    void SetDevice(uint32_t maxWidth, uint32_t maxHeight, uint8_t qualityShift = 0)
    {
        m_data->maxTextureWidth = maxWidth;
        m_data->maxTextureHeight = maxHeight;
        m_data->textureQualityShift = qualityShift;
    }
    TempDir m_dir;
};

} // namespace

TEST_F(TextureRawTest, TgaTrueColourKeepsFileRowOrderAndSwapsRedAndBlue)
{
    ScopedRaw raw(m_data.get());
    ASSERT_EQ(raw.Load(kTga24, u"pic.TGA"), RES_OK);
    EXPECT_EQ(raw.GetBits(), 24);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));

    std::string tga32 = TgaHeader(2, 1, 2, 32) + Bytes({1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(raw.Load(tga32, u"pic.tga"), RES_OK);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST_F(TextureRawTest, TgaRunLength)
{
    // A run of three, then three literal pixels.
    std::string tga = TgaHeader(10, 3, 2, 32) + Bytes({0x82, 1, 2, 3, 4, 0x02, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    ScopedRaw raw(m_data.get());
    ASSERT_EQ(raw.Load(tga, u"rle.tga"), RES_OK);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14,
                                                  13, 16}));
    for (size_t cut = 0; cut < tga.size(); ++cut)
        EXPECT_EQ(raw.Load(tga.substr(0, cut), u"rle.tga"), RES_FAIL) << cut;

    std::string crossing = TgaHeader(10, 2, 1, 24) + Bytes({0x82, 1, 2, 3});
    EXPECT_EQ(raw.Load(crossing, u"rle.tga"), RES_FAIL);
    EXPECT_NE(LogText().find(u"crosses the end"), std::u16string::npos);
}

TEST_F(TextureRawTest, TgaHeaderFaultsFail)
{
    std::vector<std::string> bad;
    for (int byte : {0, 1, 3, 5, 8, 10}) {  // ID length, colour map type and layout, origin
        std::string tga = kTga24;
        tga[byte] = 1;
        bad.push_back(tga);
    }
    bad.push_back(TgaHeader(2, 2, 2, 16) + std::string(8, '\0'));
    bad.push_back(TgaHeader(3, 2, 2, 24) + std::string(12, '\0'));
    bad.push_back(TgaHeader(2, 0, 2, 24));
    bad.push_back(kTga24.substr(0, kTga24.size() - 1));
    bad.push_back(TgaHeader(10, 65535, 65535, 32) + Bytes({0xFF, 1, 2, 3, 4}));
    bad.push_back(TgaHeader(2, 65535, 65535, 32) + std::string(64, '\0'));
    ScopedRaw raw(m_data.get());
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(raw.Load(bad[i], u"bad.tga"), RES_FAIL) << i;
    EXPECT_EQ(raw.GetPixels(), nullptr);
}

TEST_F(TextureRawTest, RawImagesAreExactly256By256Rgb)
{
    std::string bytes(196608, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 251);
    ScopedRaw raw(m_data.get());
    ASSERT_EQ(raw.Load(bytes, u"sky.raw"), RES_OK);
    EXPECT_EQ(raw.GetWidth(), 256);
    EXPECT_EQ(raw.GetHeight(), 256);
    EXPECT_EQ(raw.GetBits(), 24);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>(bytes.begin(), bytes.end()));

    std::u16string path = Utf8ToUtf16(m_dir.Write("sky.RAW", bytes));
    ScopedRaw fromFile(m_data.get());
    ASSERT_EQ(fromFile.LoadFromFile(path.c_str()), RES_OK);
    EXPECT_EQ(fromFile.Pixels(), raw.Pixels());

    EXPECT_EQ(raw.Load(bytes.substr(1), u"sky.raw"), RES_FAIL);
    EXPECT_EQ(raw.Load(bytes + "x", u"sky.raw"), RES_FAIL);
}

TEST_F(TextureRawTest, DecoderChosenByWholeExtension)
{
    ScopedRaw raw(m_data.get());
    EXPECT_EQ(raw.Load(kTga24, u"pic.tga.bak"), RES_FAIL);
    EXPECT_EQ(raw.Load(kTga24, u"pic"), RES_FAIL);
    EXPECT_EQ(raw.Load(kTga24, nullptr), RES_FAIL);
    EXPECT_EQ(raw.Load(EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 7), false), u"pic.jpeg"), RES_FAIL);
    EXPECT_NE(LogText().find(u"\"N/A texture name\": no decoder"), std::u16string::npos);
    EXPECT_EQ(raw.Load(kTga24, u"dir.v2\\pic.tGa"), RES_OK);
}

TEST_F(TextureRawTest, StrictPowerOfTwo)
{
    m_data->strictPow2 = 1;
    std::string tga3x2 = TgaHeader(2, 3, 2, 24) + std::string(18, '\0');
    ScopedRaw raw(m_data.get());
    EXPECT_EQ(raw.Load(tga3x2, u"a.tga"), RES_NOT_POW2_FROM_MEMORY);
    EXPECT_EQ(m_data->lastError, RES_NOT_POW2_FROM_MEMORY);
    EXPECT_EQ(raw.GetPixels(), nullptr);
    std::u16string path = Utf8ToUtf16(m_dir.Write("a.tga", tga3x2));
    EXPECT_EQ(raw.LoadFromFile(path.c_str()), RES_NOT_POW2_FROM_FILE);
    EXPECT_EQ(m_data->lastError, RES_NOT_POW2_FROM_FILE);
    EXPECT_EQ(raw.Load(kTga24, u"b.tga"), RES_OK);
}

TEST_F(TextureRawTest, FitToDeviceAveragesBoxes)
{
    // 4 x 2 grey on a 2 x 2 device: fx = 2, fy = 1, remainders dropped.
    const uint8_t grey[] = {10, 20, 30, 41, 50, 60, 70, 80};
    SetDevice(2, 2);
    ScopedRaw raw(m_data.get());
    ASSERT_EQ(raw.CreateFromPixels(4, 2, 8, grey), RES_OK);
    ASSERT_EQ(raw.FitToDevice(u"grey"), RES_OK);
    EXPECT_EQ(raw.GetWidth(), 2);
    EXPECT_EQ(raw.GetHeight(), 2);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({15, 35, 55, 75}));

    // Quality shift 1 halves a 2 x 2 RGB image into one pixel; a huge shift stops at 1 x 1.
    const uint8_t rgb[] = {0, 10, 200, 1, 20, 201, 2, 30, 202, 3, 41, 203};
    for (uint8_t shift : {1, 40}) {
        SetDevice(512, 512, shift);
        ASSERT_EQ(raw.CreateFromPixels(2, 2, 24, rgb), RES_OK);
        ASSERT_EQ(raw.FitToDevice(nullptr), RES_OK);
        EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({1, 25, 201})) << int(shift);
    }
    EXPECT_TRUE(LogText().empty());  // the resize line is not written
}

TEST_F(TextureRawTest, FitToDeviceLimits)
{
    std::vector<uint8_t> wide(1024 * 512, 0);
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<uint8_t>(i % 2 ? 100 : 50);
    SetDevice(512, 512);
    ScopedRaw raw(m_data.get());
    ASSERT_EQ(raw.CreateFromPixels(1024, 512, 8, wide.data()), RES_OK);
    ASSERT_EQ(raw.FitToDevice(u"wide"), RES_OK);
    EXPECT_EQ(raw.GetWidth(), 512);
    EXPECT_EQ(raw.GetHeight(), 512);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>(512 * 512, 75));

    struct Case {
        uint16_t width, height;
        uint32_t maxWidth, maxHeight;
    };
    for (Case c : {Case{256, 256, 512, 512}, Case{300, 200, 64, 64}, Case{256, 256, 0, 0}, Case{256, 256, 100, 64}}) {
        SetDevice(c.maxWidth, c.maxHeight);
        std::vector<uint8_t> pixels(size_t(c.width) * c.height, 9);
        ASSERT_EQ(raw.CreateFromPixels(c.width, c.height, 8, pixels.data()), RES_OK);
        const uint8_t* before = raw.GetPixels();
        ASSERT_EQ(raw.FitToDevice(nullptr), RES_OK);
        EXPECT_EQ(raw.GetPixels(), before);
        EXPECT_EQ(raw.GetWidth(), c.width);
    }

    // Loading fits too.
    SetDevice(1, 1);
    ASSERT_EQ(raw.Load(kTga24, u"small.tga"), RES_OK);
    EXPECT_EQ(raw.Pixels(), std::vector<uint8_t>({7, 6, 5}));
}

TEST_F(TextureRawTest, LoadsEntriesFromAPak)
{
    std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::string png = EncodePng({2, 2, PNG_COLOR_TYPE_RGB, 8, false, rgb, {}, {}, {}});
    std::string jpg = EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 90), true);
    std::string pak;
    long offsets[3] = {AppendPakEntry(pak, "pics\\a.png", png), AppendPakEntry(pak, "pics\\b.tga", kTga24),
                       AppendPakEntry(pak, "pics\\c.jpg", jpg)};
    const std::string* data[3] = {&png, &kTga24, &jpg};
    const char16_t* names[3] = {u"PICS\\A.PNG", u"pics\\b.tga", u"pics\\c.jpg"};
    uint8_t bits[3] = {24, 24, 8};

    CPackerFile record{};
    record.file = fopen(m_dir.Write("data.pak", pak).c_str(), "rb");
    ASSERT_NE(record.file, nullptr);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        fseek(record.file, offsets[i], SEEK_SET);
        record.foundSize = static_cast<uint32_t>(data[i]->size());
        WStrCopy(record.foundName, kMaxPathUnits, names[i]);
        ScopedRaw raw(m_data.get());
        ASSERT_EQ(raw.LoadFromPacker(&record), RES_OK);
        EXPECT_EQ(raw.GetBits(), bits[i]);
        EXPECT_LE(ftell(record.file), offsets[i] + long(data[i]->size()));
    }
    fclose(record.file);
}

TEST_F(TextureRawTest, SourcesAndOwnership)
{
    ScopedRaw raw(m_data.get());
    std::u16string missing = m_dir.WideFile("missing.png");
    EXPECT_EQ(raw.LoadFromFile(missing.c_str()), RES_MISSING_FILE);
    EXPECT_EQ(m_data->lastError, RES_MISSING_FILE);
    CPackerFile closed{};
    EXPECT_EQ(raw.LoadFromPacker(&closed), RES_FAIL);
    EXPECT_EQ(raw.LoadFromAddress(nullptr, 10, u"a.tga"), RES_FAIL);

    auto* buffer = static_cast<uint8_t*>(std::malloc(4));
    EXPECT_EQ(raw.Attach(2, 2, 8, buffer), RES_OK);
    EXPECT_EQ(raw.GetPixels(), buffer);
    // A failed load leaves the image as it was; a good one replaces it.
    EXPECT_EQ(raw.Load(kTga24.substr(0, 20), u"cut.tga"), RES_FAIL);
    EXPECT_EQ(raw.GetPixels(), buffer);
    EXPECT_EQ(raw.GetBits(), 8);
    EXPECT_EQ(raw.Load(kTga24, u"ok.tga"), RES_OK);
    EXPECT_EQ(raw.GetBits(), 24);
    EXPECT_EQ(raw.Release(), RES_OK);
    EXPECT_EQ(raw.GetPixels(), nullptr);
    EXPECT_EQ(raw.GetWidth(), 0);
}
