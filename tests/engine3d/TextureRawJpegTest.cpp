#include "core/PackerFile.h"
#include "base/Result.h"
#include "base/WideString.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

constexpr int kTolerance = 6;

// Smooth top-down test picture of the given components.
std::vector<uint8_t> Gradient(uint32_t width, uint32_t height, int components)
{
    std::vector<uint8_t> pixels;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c)
                pixels.push_back(static_cast<uint8_t>(40 + x * 3 + y * (c + 1)));
        }
    }
    return pixels;
}

int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size())
        return 256;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}

class TextureRawJpegTest : public ImageTest {
protected:
    // Opens a file holding junk, the JPEG bytes and more junk, and points a pak record at the
    // JPEG bytes with the given size.
    FILE* OpenEntry(const std::string& jpeg, uint32_t size, const char16_t* name)
    {
        std::string junk(100, '\xFF');
        std::string path = m_dir.Write("entry.bin", junk + jpeg + junk);
        FILE* file = fopen(path.c_str(), "rb");
        fseek(file, static_cast<long>(junk.size()), SEEK_SET);
        m_pak.file = file;
        m_pak.foundSize = size;
        WStrCopy(m_pak.foundName, kMaxPathUnits, name);
        return file;
    }

    TempDir m_dir;
    CPackerFile m_pak{};
};

} // namespace

TEST_F(TextureRawJpegTest, BaselineProgressiveAndGreyDecodeBottomUp)
{
    struct Case {
        int components;
        bool progressive;
    };
    for (Case c : {Case{3, false}, Case{3, true}, Case{1, false}, Case{1, true}}) {
        SCOPED_TRACE(testing::Message() << c.components << (c.progressive ? " progressive" : " baseline"));
        std::vector<uint8_t> picture = Gradient(33, 17, c.components);
        std::string file = EncodeJpeg(33, 17, c.components, picture, c.progressive, 98);
        ScopedRaw raw(m_data.get());
        ASSERT_EQ(raw.Load(file, u"photo.JPG"), RES_OK);
        EXPECT_EQ(raw.GetBits(), c.components * 8);
        EXPECT_EQ(raw.GetWidth(), 33);
        EXPECT_EQ(raw.GetHeight(), 17);
        EXPECT_LE(MaxDifference(raw.Pixels(), FlipRows(picture, 33 * c.components)), kTolerance);

        // The file source gives the same pixels.
        FILE* entry = OpenEntry(file, static_cast<uint32_t>(file.size()), u"photo.jpg");
        ScopedRaw fromPak(m_data.get());
        EXPECT_EQ(fromPak.LoadFromPacker(&m_pak), RES_OK);
        EXPECT_EQ(fromPak.Pixels(), raw.Pixels());
        fclose(entry);
    }
}

TEST_F(TextureRawJpegTest, ByteLimitEndsTheImageThere)
{
    std::vector<uint8_t> picture = Gradient(64, 64, 3);
    std::string file = EncodeJpeg(64, 64, 3, picture, false, 90);
    ScopedRaw full(m_data.get());
    ASSERT_EQ(full.Load(file, u"a.jpg"), RES_OK);

    uint32_t limit = static_cast<uint32_t>(file.size() * 2 / 3);
    FILE* entry = OpenEntry(file, limit, u"a.jpg");
    ScopedRaw cut(m_data.get());
    ASSERT_EQ(cut.LoadFromPacker(&m_pak), RES_OK);
    EXPECT_LE(ftell(entry), 100 + long(limit));
    fclose(entry);
    ASSERT_EQ(cut.GetWidth(), 64);
    ASSERT_EQ(cut.GetHeight(), 64);
    // The first rows of the picture (last in memory) were before the limit.
    size_t topRows = 8 * 64 * 3;
    std::vector<uint8_t> fullPixels = full.Pixels();
    std::vector<uint8_t> cutPixels = cut.Pixels();
    EXPECT_TRUE(std::equal(fullPixels.end() - topRows, fullPixels.end(), cutPixels.end() - topRows));
}

TEST_F(TextureRawJpegTest, LibraryErrorsFailWithoutEndingTheProgram)
{
    std::string good = EncodeJpeg(16, 16, 3, Gradient(16, 16, 3), false);
    std::string headerOnly = good.substr(0, 20);
    std::string notJpeg = "GIF89a and more bytes";
    const char16_t* names[] = {u"empty.jpg", u"header.jpg", u"gif.jpg"};
    const std::string files[] = {std::string(), headerOnly, notJpeg};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ScopedRaw raw(m_data.get());
        EXPECT_EQ(raw.Load(files[i], names[i]), RES_FAIL);
        EXPECT_EQ(raw.GetPixels(), nullptr);
        FILE* entry = OpenEntry(files[i], static_cast<uint32_t>(files[i].size()), names[i]);
        EXPECT_EQ(raw.LoadFromPacker(&m_pak), RES_FAIL);
        fclose(entry);
    }
    EXPECT_NE(LogText().find(u"\"gif.jpg\": libjpeg: Not a JPEG file"), std::u16string::npos);

    // Every cut and every damaged byte either decodes or fails, never more.
    for (size_t at = 0; at < good.size(); ++at) {
        std::string corrupt = good;
        corrupt[at] = static_cast<char>(corrupt[at] ^ 0x33);
        for (const std::string& bytes : {good.substr(0, at), corrupt}) {
            ScopedRaw raw(m_data.get());
            Result result = raw.Load(bytes, u"bad.jpg");
            ASSERT_TRUE(result == RES_OK || result == RES_FAIL) << at;
        }
    }
}

TEST_F(TextureRawJpegTest, UnsupportedOrOversizedImagesFail)
{
    std::string cmyk = EncodeJpeg(8, 8, 4, std::vector<uint8_t>(8 * 8 * 4, 100), false);
    ScopedRaw raw(m_data.get());
    EXPECT_EQ(raw.Load(cmyk, u"cmyk.jpg"), RES_FAIL);

    // The frame header claims 65000 x 65000 for data of a few hundred bytes.
    std::string huge = EncodeJpeg(8, 8, 3, Gradient(8, 8, 3), false);
    size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    const char size[4] = {'\xFD', '\xE8', '\xFD', '\xE8'};
    huge.replace(frame + 5, 4, size, 4);
    EXPECT_EQ(raw.Load(huge, u"huge.jpg"), RES_FAIL);
    EXPECT_NE(LogText().find(u"larger than"), std::u16string::npos);
}
