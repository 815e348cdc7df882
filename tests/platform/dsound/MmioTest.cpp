#include "base/WideString.h"
#include "platform/dsound/Mmio.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFixture.h"

#include <gtest/gtest.h>

using namespace wavfixture;

namespace {

constexpr FOURCC kWave = MakeFourCC('W', 'A', 'V', 'E');

class MmioTest : public ::testing::Test {
protected:
    HMMIO OpenBytes(const std::string& bytes, uint32_t flags = MMIO_ALLOCBUF)
    {
        m_path = m_dir.Write("file.wav", bytes);
        m_handle = mmioOpen(Utf8ToUtf16(m_path).c_str(), flags);
        return m_handle;
    }
    void TearDown() override
    {
        if (m_handle)
            mmioClose(m_handle);
    }

    TempDir m_dir;
    std::string m_path;
    HMMIO m_handle = nullptr;
};

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

}  // namespace

TEST_F(MmioTest, DescendReadsTheRiffHeaderAndFormType)
{
    HMMIO h = OpenBytes(Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + Chunk("data", "ab")));
    ASSERT_NE(h, nullptr);
    MMCKINFO riff = {};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, kWave);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(riff.cksize, 4u + 8 + 16 + 8 + 2);
    EXPECT_EQ(mmioSeek(h, 0, MMIO_SEEK_CUR), 12);
}

TEST_F(MmioTest, FindChunkSkipsOddSizedChunksByTheirPadByte)
{
    std::string chunks = Chunk("odd ", "xyz") + Chunk("LIST", "INFOabcde") + Chunk("data", "12345");
    HMMIO h = OpenBytes(Riff(chunks));
    ASSERT_NE(h, nullptr);
    MMCKINFO riff = {};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    MMCKINFO data = {};
    data.ckid = MakeFourCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 5u);
    EXPECT_EQ(data.dwDataOffset, 12u + 12 + 18 + 8);
    char body[5];
    ASSERT_EQ(mmioRead(h, body, 5), 5);
    EXPECT_EQ(std::string(body, 5), "12345");
    EXPECT_EQ(mmioRead(h, body, 5), 1);  // the pad byte is the last byte of the file
}

TEST_F(MmioTest, AscendLeavesTheChunkPastItsPadByte)
{
    HMMIO h = OpenBytes(Riff(Chunk("odd ", "xyz") + Chunk("next", "ok")));
    ASSERT_NE(h, nullptr);
    MMCKINFO riff = {}, odd = {}, next = {};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioDescend(h, &odd, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(odd.ckid, MakeFourCC('o', 'd', 'd', ' '));
    char first;
    ASSERT_EQ(mmioRead(h, &first, 1), 1);
    ASSERT_EQ(mmioAscend(h, &odd, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioDescend(h, &next, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(next.ckid, MakeFourCC('n', 'e', 'x', 't'));
    EXPECT_EQ(mmioDescend(h, &next, &riff, 0), MMIOERR_CHUNKNOTFOUND);  // end of the parent
}

TEST_F(MmioTest, SearchStaysInsideTheParentAndFailsOnTruncatedHeaders)
{
    // The RIFF chunk claims only the first chunk; "data" lies after its end.
    std::string inner = "WAVE" + Chunk("fmt ", FormatBody(1, 1, 8000, 8));
    std::string file = ChunkWithSize("RIFF", static_cast<uint32_t>(inner.size()), inner) + Chunk("data", "ab");
    HMMIO h = OpenBytes(file);
    ASSERT_NE(h, nullptr);
    MMCKINFO riff = {}, data = {};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    data.ckid = MakeFourCC('d', 'a', 't', 'a');
    EXPECT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);

    mmioClose(m_handle);
    h = OpenBytes(std::string("RIFF\x10\x00", 6));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(mmioDescend(h, &riff, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
}

TEST_F(MmioTest, BufferedInfoAndAdvanceHandOutEveryByteInOrder)
{
    std::string bytes = Pattern(3 * MMIO_DEFAULTBUFFER + 123);
    HMMIO h = OpenBytes(bytes);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(mmioSeek(h, 5, MMIO_SEEK_SET), 5);
    MMIOINFO info = {};
    ASSERT_EQ(mmioGetInfo(h, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.cchBuffer, MMIO_DEFAULTBUFFER);
    std::string seen;
    for (;;) {
        if (info.pchNext == info.pchEndRead) {
            ASSERT_EQ(mmioAdvance(h, &info, MMIO_READ), MMSYSERR_NOERROR);
            if (info.pchNext == info.pchEndRead)
                break;
        }
        seen += static_cast<char>(*info.pchNext++);
    }
    EXPECT_EQ(seen, bytes.substr(5));

    // Handing the state back after part of a buffer continues plain reads from there.
    ASSERT_EQ(mmioSeek(h, 100, MMIO_SEEK_SET), 100);
    ASSERT_EQ(mmioGetInfo(h, &info, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAdvance(h, &info, MMIO_READ), MMSYSERR_NOERROR);
    info.pchNext += 10;
    ASSERT_EQ(mmioSetInfo(h, &info, 0), MMSYSERR_NOERROR);
    char next[4];
    ASSERT_EQ(mmioRead(h, next, 4), 4);
    EXPECT_EQ(std::string(next, 4), bytes.substr(110, 4));

    info.pchNext = info.pchBuffer + MMIO_DEFAULTBUFFER + 1;
    EXPECT_EQ(mmioSetInfo(h, &info, 0), MMIOERR_INVALIDPARAM);
}

TEST_F(MmioTest, SeekReadAndOpenRules)
{
    HMMIO h = OpenBytes("0123456789");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(mmioSeek(h, 0, MMIO_SEEK_END), 10);
    char byte;
    EXPECT_EQ(mmioRead(h, &byte, 1), 0);
    EXPECT_EQ(mmioSeek(h, -11, MMIO_SEEK_END), -1);
    EXPECT_EQ(mmioSeek(h, -3, MMIO_SEEK_CUR), 7);
    ASSERT_EQ(mmioRead(h, &byte, 1), 1);
    EXPECT_EQ(byte, '7');

    EXPECT_EQ(mmioOpen(m_dir.WideFile("missing.wav").c_str(), MMIO_ALLOCBUF), nullptr);
    EXPECT_EQ(mmioOpen(Utf8ToUtf16(m_path).c_str(), 0x0001 /* write */), nullptr);
    std::string wrongCase = m_dir.Path() + "\\FILE.WAV";
    HMMIO other = mmioOpen(Utf8ToUtf16(wrongCase).c_str(), MMIO_READ);
    ASSERT_NE(other, nullptr);
    MMIOINFO info = {};
    EXPECT_EQ(mmioAdvance(other, &info, MMIO_READ), MMIOERR_UNBUFFERED);
    EXPECT_EQ(mmioSeek(other, 2, MMIO_SEEK_SET), 2);
    ASSERT_EQ(mmioRead(other, &byte, 1), 1);
    EXPECT_EQ(byte, '2');
    EXPECT_EQ(mmioClose(other), MMSYSERR_NOERROR);
}
