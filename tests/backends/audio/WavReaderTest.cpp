#include "backends/audio/WavReader.h"
#include "base/WideString.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFixture.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wavfixture;

namespace {

class WavReaderTest : public ::testing::Test {
protected:
    Result OpenBytes(const std::string& bytes)
    {
        std::string path = m_dir.Write("sound.wav", bytes);
        return m_reader.Open(Utf8ToUtf16(path).c_str());
    }

    std::string ReadAll(uint32_t piece)
    {
        std::string all;
        std::vector<uint8_t> buffer(piece);
        for (;;) {
            uint32_t count = 99;
            EXPECT_EQ(m_reader.Read(buffer.data(), piece, &count), RES_OK);
            if (count == 0)
                return all;
            all.append(reinterpret_cast<char*>(buffer.data()), count);
        }
    }

    TempDir m_dir;
    CWavReader m_reader{nullptr};
};

std::string Bytes(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 13 + 5);
    return bytes;
}

}  // namespace

TEST_F(WavReaderTest, PcmFilesOfEveryLayoutOpenWithAnEighteenByteFormat)
{
    struct Case {
        uint16_t channels, bits;
    } cases[] = {{1, 8}, {2, 8}, {1, 16}, {2, 16}};
    for (const Case& c : cases) {
        std::string samples = Bytes(40);
        ASSERT_EQ(OpenBytes(PcmWav(c.channels, 22050, c.bits, samples)), RES_OK) << c.channels << "x" << c.bits;
        const WAVEFORMATEX* format = m_reader.GetFormat();
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(format->nChannels, c.channels);
        EXPECT_EQ(format->wBitsPerSample, c.bits);
        EXPECT_EQ(format->nSamplesPerSec, 22050u);
        EXPECT_EQ(format->nBlockAlign, c.channels * c.bits / 8);
        EXPECT_EQ(format->cbSize, 0);
        EXPECT_EQ(m_reader.GetSize(), 40u);
        EXPECT_EQ(ReadAll(7), samples);
    }

    // An 18-byte PCM "fmt " chunk with a stray extra size still gives no extra bytes.
    std::string fmt = FormatBody(1, 1, 8000, 8) + Le16(12);
    ASSERT_EQ(OpenBytes(Riff(Chunk("fmt ", fmt) + Chunk("data", "abc"))), RES_OK);
    EXPECT_EQ(m_reader.GetFormat()->cbSize, 0);
    EXPECT_EQ(ReadAll(16), "abc");
}

TEST_F(WavReaderTest, NonPcmFormatsKeepTheirExtraBytesOnlyWhenTheChunkHoldsThem)
{
    std::string extra = Bytes(32);
    std::string fmt = FormatBody(2, 1, 22050, 4) + Le16(32) + extra;
    ASSERT_EQ(OpenBytes(Riff(Chunk("fmt ", fmt) + Chunk("data", "xy"))), RES_OK);
    const WAVEFORMATEX* format = m_reader.GetFormat();
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->wFormatTag, 2);
    EXPECT_EQ(format->cbSize, 32);
    EXPECT_EQ(memcmp(reinterpret_cast<const uint8_t*>(format) + sizeof(WAVEFORMATEX), extra.data(), 32), 0);

    // A 16-byte chunk has no extra-size field: nothing is read past it.
    ASSERT_EQ(OpenBytes(Riff(Chunk("fmt ", FormatBody(3, 1, 22050, 32)) + Chunk("data", "wxyz"))), RES_OK);
    EXPECT_EQ(m_reader.GetFormat()->cbSize, 0);
    EXPECT_EQ(ReadAll(8), "wxyz");

    // An extra size larger than the chunk is refused, as is a chunk cut short inside the extra bytes.
    std::string overlong = FormatBody(2, 1, 22050, 4) + Le16(40) + Bytes(32);
    EXPECT_EQ(OpenBytes(Riff(Chunk("fmt ", overlong) + Chunk("data", "xy"))), RES_FAIL);
    EXPECT_EQ(m_reader.GetFormat(), nullptr);
    std::string whole = Riff(Chunk("fmt ", fmt) + Chunk("data", "xy"));
    EXPECT_EQ(OpenBytes(whole.substr(0, 12 + 8 + 18 + 10)), RES_FAIL);
    EXPECT_EQ(m_reader.GetFormat(), nullptr);
}

TEST_F(WavReaderTest, OtherChunksAndOddSizesAreSkipped)
{
    std::string chunks = Chunk("junk", "123") + Chunk("fmt ", FormatBody(1, 2, 44100, 16)) +
                         Chunk("LIST", "INFOISFT\x05\0\0\0tool\0") + Chunk("data", Bytes(1001));
    ASSERT_EQ(OpenBytes(Riff(chunks)), RES_OK);
    EXPECT_EQ(m_reader.GetSize(), 1001u);
    EXPECT_EQ(ReadAll(100), Bytes(1001));
}

TEST_F(WavReaderTest, ReadingPastTheEndDeliversTheRestThenNothing)
{
    ASSERT_EQ(OpenBytes(PcmWav(1, 8000, 8, "abcdef")), RES_OK);
    uint8_t buffer[16];
    uint32_t count = 0;
    ASSERT_EQ(m_reader.Read(buffer, 4, &count), RES_OK);
    EXPECT_EQ(count, 4u);
    ASSERT_EQ(m_reader.Read(buffer, 16, &count), RES_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 2), "ef");
    ASSERT_EQ(m_reader.Read(buffer, 16, &count), RES_OK);
    EXPECT_EQ(count, 0u);

    ASSERT_EQ(m_reader.ResetFile(), RES_OK);
    ASSERT_EQ(m_reader.Read(buffer, 16, &count), RES_OK);
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(m_reader.Read(nullptr, 16, &count), RES_FAIL);
    EXPECT_EQ(m_reader.Read(buffer, 16, nullptr), RES_FAIL);
    EXPECT_EQ(m_reader.Close(), RES_OK);
    EXPECT_EQ(m_reader.GetFormat(), nullptr);
    EXPECT_EQ(m_reader.Read(buffer, 16, &count), RES_FAIL);
}

TEST_F(WavReaderTest, DataLargerThanTheBufferComesThroughInPieces)
{
    std::string samples = Bytes(3 * MMIO_DEFAULTBUFFER + 77);
    ASSERT_EQ(OpenBytes(PcmWav(2, 44100, 16, samples)), RES_OK);
    EXPECT_EQ(ReadAll(5000), samples);
}

TEST_F(WavReaderTest, BrokenFilesAreRefused)
{
    std::string fmt = Chunk("fmt ", FormatBody(1, 1, 8000, 8));
    EXPECT_EQ(m_reader.Open(m_dir.WideFile("missing.wav").c_str()), RES_FAIL);
    EXPECT_EQ(OpenBytes(Chunk("RIFX", "WAVE" + fmt + Chunk("data", "ab"))), RES_FAIL);
    EXPECT_EQ(OpenBytes(Riff(fmt + Chunk("data", "ab"), "AVI ")), RES_FAIL);
    EXPECT_EQ(OpenBytes(Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8).substr(0, 14)) + Chunk("data", "ab"))),
              RES_FAIL);
    EXPECT_EQ(OpenBytes(Riff(fmt)), RES_FAIL);                      // no data chunk
    EXPECT_EQ(OpenBytes(Riff(fmt + Chunk("data", ""))), RES_FAIL);  // empty data
    EXPECT_EQ(OpenBytes(Riff(Chunk("data", "ab") + Chunk("LIST", "INFO"))), RES_FAIL);  // no format
    std::string whole = PcmWav(1, 8000, 8, "abcdef");
    EXPECT_EQ(OpenBytes(whole.substr(0, 30)), RES_FAIL);  // cut inside the format
    EXPECT_EQ(OpenBytes(whole.substr(0, 44)), RES_FAIL);  // cut after the data header
    EXPECT_EQ(m_reader.GetFormat(), nullptr);
}

TEST_F(WavReaderTest, ATruncatedDataChunkIsCutToWhatTheFileHolds)
{
    std::string file = Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + ChunkWithSize("data", 0x7FFFFFF0, "abcd"));
    ASSERT_EQ(OpenBytes(file), RES_OK);
    EXPECT_EQ(m_reader.GetSize(), 4u);
    EXPECT_EQ(ReadAll(64), "abcd");
}

TEST_F(WavReaderTest, MemoryModeReadsTheBlockOnwardsWithoutAFormat)
{
    const uint8_t block[] = {1, 2, 3, 4, 5};
    ASSERT_EQ(m_reader.OpenMemory(block, sizeof(block)), RES_OK);
    EXPECT_EQ(m_reader.GetFormat(), nullptr);
    uint8_t out[4];
    uint32_t count = 0;
    ASSERT_EQ(m_reader.Read(out, 3, &count), RES_OK);
    EXPECT_EQ(count, 3u);
    ASSERT_EQ(m_reader.Read(out, 4, &count), RES_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(out[0], 4);
    ASSERT_EQ(m_reader.ResetFile(), RES_OK);
    ASSERT_EQ(m_reader.Read(out, 1, &count), RES_OK);
    EXPECT_EQ(out[0], 1);
    ASSERT_EQ(m_reader.OpenMemory(nullptr, 10), RES_OK);
    EXPECT_EQ(m_reader.Read(out, 1, &count), RES_FAIL);
}
