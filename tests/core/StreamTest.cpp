#include "core/Stream.h"
#include "base/WideString.h"
#include "tests/support/PakTestFile.h"
#include "tools/PakWriter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(StreamMemory, ReadsCountedElementsUpToItsEnd)
{
    const uint8_t block[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    CStreamMemory stream(kStreamRead, block, sizeof block);
    ASSERT_EQ(stream.Open(), RES_OK);
    uint32_t words[2] = {};
    EXPECT_TRUE(stream.Read(words, 4, 2));
    EXPECT_EQ(words[0], 0x04030201u);
    EXPECT_EQ(stream.BytesLeft(), 2u);

    uint32_t one = 0xAAAAAAAAu;
    EXPECT_FALSE(stream.Read(&one, 4, 1));
    EXPECT_EQ(one, 0xAAAAAAAAu) << "nothing copied";
    EXPECT_EQ(stream.BytesLeft(), 2u);
    EXPECT_FALSE(stream.Read(&one, 0x10000, 0x10000)) << "the size product must not wrap to 0";
    EXPECT_EQ(stream.BytesLeft(), 2u);

    uint8_t last[2] = {};
    EXPECT_TRUE(stream.Read(last, 1, 2));
    EXPECT_EQ(last[1], 10);
    EXPECT_EQ(stream.BytesLeft(), 0u);
    EXPECT_TRUE(stream.Read(last, 1, 0));
    EXPECT_EQ(stream.Close(), RES_OK);
    EXPECT_FALSE(stream.Read(last, 1, 1));
}

TEST(StreamMemory, OpenRefusesWritingAndEmptyBlocks)
{
    const uint8_t block[4] = {};
    EXPECT_EQ(CStreamMemory(kStreamWrite, block, 4).Open(), RES_FAIL);
    EXPECT_EQ(CStreamMemory(kStreamRead, nullptr, 4).Open(), RES_FAIL);
    EXPECT_EQ(CStreamMemory(kStreamRead, block, 0).Open(), RES_FAIL);
    CStreamMemory stream(kStreamRead, nullptr, 4);
    uint8_t byte = 0;
    EXPECT_FALSE(stream.Read(&byte, 1, 1));
    EXPECT_FALSE(stream.Write(block, 1, 1));
    EXPECT_FALSE(stream.Seek(0, kStreamSeekStart));
    EXPECT_EQ(stream.Tell(), 0u);
}

TEST(StreamMemory, SwapFlagReversesTwoAndFourByteElements)
{
    const uint8_t block[6] = {0x01, 0x02, 0x11, 0x22, 0x33, 0x44};
    CStreamMemory stream(kStreamRead | kStreamSwapOnRead, block, sizeof block);
    ASSERT_EQ(stream.Open(), RES_OK);
    uint16_t half = 0;
    uint32_t word = 0;
    EXPECT_TRUE(stream.Read(&half, 2, 1));
    EXPECT_TRUE(stream.Read(&word, 4, 1));
    EXPECT_EQ(half, 0x0102);
    EXPECT_EQ(word, 0x11223344u);
}

TEST(Stream, SwapElementsNeedsTheFlagAndASizeOfTwoOrFour)
{
    uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint8_t original[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CStreamMemory plain(kStreamRead, bytes, 8);
    EXPECT_FALSE(plain.SwapElements(bytes, 2, 4));
    CStreamMemory swapping(kStreamRead | kStreamSwapOnRead, bytes, 8);
    EXPECT_FALSE(swapping.SwapElements(bytes, 8, 1));
    EXPECT_FALSE(swapping.SwapElements(bytes, 3, 2));
    EXPECT_EQ(0, memcmp(bytes, original, 8));
    EXPECT_TRUE(swapping.SwapElements(bytes, 4, 0));
    EXPECT_TRUE(swapping.SwapElements(bytes, 2, 4));
    const uint8_t swapped[8] = {2, 1, 4, 3, 6, 5, 8, 7};
    EXPECT_EQ(0, memcmp(bytes, swapped, 8));
}

TEST(StreamStdio, ReadsThePakEntryFoundLast)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("numbers.bin", std::string("\x01\x00\x00\x00\x02\x00\x00\x00", 8)), RES_OK);
    PakTestFile pak(writer.Bytes());
    ASSERT_EQ(FindPackerEntry(u"numbers.bin", pak.Record()), RES_OK);

    CStreamStdio stream(kStreamRead, &pak.Record()->file);
    uint32_t values[2] = {};
    EXPECT_FALSE(stream.Read(values, 4, 2)) << "not opened yet";
    ASSERT_EQ(stream.Open(), RES_OK);
    EXPECT_TRUE(stream.Read(values, 4, 2));
    EXPECT_EQ(values[1], 2u);
    EXPECT_FALSE(stream.Read(values, 4, 1)) << "past the end of the file";
    EXPECT_EQ(stream.Close(), RES_OK);
    EXPECT_NE(pak.Record()->file, nullptr) << "the pak stays open";
    EXPECT_EQ(FindPackerEntry(u"numbers.bin", pak.Record()), RES_OK);
    EXPECT_FALSE(stream.Read(values, 4, 1)) << "closed";
}

TEST(StreamStdio, AnEntrySizedStreamStopsAtTheEntrysEnd)
{
    PakTestFile pak(PakEntryBytes("first", "abc") + PakEntryBytes("second", "defg"));
    ASSERT_EQ(FindPackerEntry(u"first", pak.Record()), RES_OK);
    CStreamStdio stream(kStreamRead, &pak.Record()->file, pak.Record()->foundSize);
    ASSERT_EQ(stream.Open(), RES_OK);
    char bytes[4] = {};
    EXPECT_FALSE(stream.Read(bytes, 1, 4)) << "the next entry is not this one's";
    EXPECT_EQ(stream.BytesLeft(), 3u);
    EXPECT_TRUE(stream.Read(bytes, 1, 2));
    EXPECT_EQ(stream.BytesLeft(), 1u);
    EXPECT_EQ(CStreamStdio(kStreamRead, &pak.Record()->file).BytesLeft(), kStreamUnbounded);
}

TEST(StreamStdio, OpenRefusesWritingAndMissingFiles)
{
    FILE* none = nullptr;
    EXPECT_EQ(CStreamStdio(kStreamRead, nullptr).Open(), RES_FAIL);
    EXPECT_EQ(CStreamStdio(kStreamRead, &none).Open(), RES_FAIL);
    PakTestFile pak(PakEntryBytes("a", "b"));
    CStreamStdio writing(kStreamWrite, &pak.Record()->file);
    EXPECT_EQ(writing.Open(), RES_FAIL);
    char byte = 0;
    EXPECT_FALSE(writing.Read(&byte, 1, 1));
}

class StreamFileTest : public ::testing::Test {
protected:
    std::u16string Wide(const std::string& name) const { return m_dir.WideFile(name); }
    TempDir m_dir;
};

TEST_F(StreamFileTest, OpenModesFollowTheFlags)
{
    EXPECT_EQ(CStreamFile(kStreamRead | kStreamWrite, Wide("missing.bin").c_str()).Open(), RES_FAIL);
    EXPECT_EQ(CStreamFile(0, Wide("missing.bin").c_str()).Open(), RES_FAIL);

    m_dir.Write("data.bin", "abcdef");
    CStreamFile update(kStreamRead | kStreamWrite, Wide("data.bin").c_str());
    ASSERT_EQ(update.Open(), RES_OK);
    EXPECT_TRUE(update.Seek(2, kStreamSeekStart));
    EXPECT_TRUE(update.Write("XY", 1, 2));
    EXPECT_EQ(update.Tell(), 4u);
    EXPECT_TRUE(update.Seek(-1, kStreamSeekEnd));
    char last = 0;
    EXPECT_TRUE(update.Read(&last, 1, 1));
    EXPECT_EQ(last, 'f');
    EXPECT_FALSE(update.Seek(0, 7));
    EXPECT_EQ(update.Close(), RES_OK);
    EXPECT_EQ(TempDir::Read(m_dir.File("data.bin")), "abXYef");

    CStreamFile create(kStreamWrite, Wide("data.bin").c_str());
    ASSERT_EQ(create.Open(), RES_OK);
    EXPECT_TRUE(create.Write("z", 1, 1));
    EXPECT_EQ(create.Close(), RES_OK);
    EXPECT_EQ(TempDir::Read(m_dir.File("data.bin")), "z") << "truncated";
}

TEST_F(StreamFileTest, ReadFailsShortAndAfterClose)
{
    m_dir.Write("three.bin", "abc");
    CStreamFile stream(kStreamRead, Wide("three.bin").c_str());
    char buffer[4] = {};
    EXPECT_FALSE(stream.Read(buffer, 1, 1)) << "not opened";
    ASSERT_EQ(stream.Open(), RES_OK);
    EXPECT_FALSE(stream.Read(buffer, 2, 2));
    EXPECT_EQ(std::string(buffer, 2), "ab") << "what was read stays";
    EXPECT_EQ(stream.Close(), RES_OK);
    EXPECT_FALSE(stream.Read(buffer, 1, 1));
    EXPECT_FALSE(stream.Write(buffer, 1, 1));
}

TEST_F(StreamFileTest, SwappedWriteNeedsBothFlagsAndKeepsTheCallersBuffer)
{
    const uint8_t original[4] = {0x11, 0x22, 0x33, 0x44};
    uint8_t word[4] = {0x11, 0x22, 0x33, 0x44};
    {
        CStreamFile stream(kStreamWrite | kStreamSwapOnWrite, Wide("plain.bin").c_str());
        ASSERT_EQ(stream.Open(), RES_OK);
        EXPECT_TRUE(stream.Write(word, 4, 1));
        EXPECT_EQ(stream.Close(), RES_OK);
    }
    {
        CStreamFile stream(kStreamWrite | kStreamSwapOnWrite | kStreamSwapOnRead, Wide("swapped.bin").c_str());
        ASSERT_EQ(stream.Open(), RES_OK);
        EXPECT_TRUE(stream.Write(word, 4, 1));
        EXPECT_TRUE(stream.Write("abc", 1, 3)) << "single bytes are written as they are";
        EXPECT_EQ(stream.Close(), RES_OK);
    }
    EXPECT_EQ(0, memcmp(word, original, 4));
    EXPECT_EQ(TempDir::Read(m_dir.File("plain.bin")), "\x11\x22\x33\x44");
    EXPECT_EQ(TempDir::Read(m_dir.File("swapped.bin")), "\x44\x33\x22\x11" "abc");
}

TEST_F(StreamFileTest, DestructorClosesAFileLeftOpen)
{
    {
        CStreamFile stream(kStreamWrite, Wide("left.bin").c_str());
        ASSERT_EQ(stream.Open(), RES_OK);
        EXPECT_TRUE(stream.Write("kept", 1, 4));
    }
    EXPECT_EQ(TempDir::Read(m_dir.File("left.bin")), "kept");
}

} // namespace
