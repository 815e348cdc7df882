#include "core/PackerFile.h"
#include "base/FileSystem.h"
#include "core/ParamsReader.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "world/WorldParameters.h"
#include "tests/support/PakTestFile.h"
#include "tools/PakWriter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string TwoEntryPak()
{
    CPakWriter writer;
    EXPECT_EQ(writer.Add("Data/Room.PNG", "png"), RES_OK);
    EXPECT_EQ(writer.Add("readme.txt", "hello"), RES_OK);
    return writer.Bytes();
}

TEST(PackerFile, FindsAnEntryInAnyLetterCaseAndStandsAtItsData)
{
    PakTestFile pak(TwoEntryPak());
    ASSERT_NE(pak.Record()->file, nullptr);
    ASSERT_EQ(FindPackerEntry(u"data/room.png", pak.Record()), RES_OK);
    EXPECT_EQ(pak.Record()->foundSize, 3u);
    EXPECT_EQ(std::u16string(pak.Record()->foundName), u"data/room.png");
    EXPECT_EQ(pak.ReadHere(3), "png");

    ASSERT_EQ(FindPackerEntry(u"README.TXT", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(5), "hello");
    ASSERT_EQ(FindPackerEntry(u"Data/Room.PNG", pak.Record()), RES_OK) << "every lookup starts from the chain's start";
    EXPECT_EQ(pak.ReadHere(3), "png");
}

TEST(PackerFile, WantedNameIsAPrefixAndTheEarlierEntryWins)
{
    PakTestFile pak(PakEntryBytes("abcd.png", "first") + PakEntryBytes("ab", "second") + PakEntryBytes("x", "third"));
    ASSERT_EQ(FindPackerEntry(u"ab", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(5), "first");
    ASSERT_EQ(FindPackerEntry(u"X", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(5), "third");
    EXPECT_EQ(FindPackerEntry(u"abcd.png.bak", pak.Record()), RES_FAIL) << "longer than every stored name";
}

TEST(PackerFile, NotFoundCasesFailWithoutTouchingTheRecord)
{
    PakTestFile pak(TwoEntryPak());
    ASSERT_EQ(FindPackerEntry(u"readme", pak.Record()), RES_OK);
    EXPECT_EQ(FindPackerEntry(u"missing.txt", pak.Record()), RES_FAIL);
    EXPECT_EQ(FindPackerEntry(u"", pak.Record()), RES_FAIL);
    EXPECT_EQ(FindPackerEntry(nullptr, pak.Record()), RES_FAIL);
    EXPECT_EQ(FindPackerEntry(std::u16string(kPakMaxWantedName + 1, u'a').c_str(), pak.Record()), RES_FAIL);
    EXPECT_EQ(FindPackerEntry(u"readme", nullptr), RES_FAIL);
    EXPECT_EQ(pak.Record()->foundSize, 5u);
    EXPECT_EQ(std::u16string(pak.Record()->foundName), u"readme");

    CPackerFile closed{};
    EXPECT_EQ(FindPackerEntry(u"readme", &closed), RES_FAIL);
    PakTestFile empty("");
    EXPECT_EQ(FindPackerEntry(u"readme", empty.Record()), RES_FAIL);
}

TEST(PackerFile, EmptyEntryIsFound)
{
    PakTestFile pak(PakEntryBytes("empty.txt", "") + PakEntryBytes("next.txt", "n"));
    ASSERT_EQ(FindPackerEntry(u"empty.txt", pak.Record()), RES_OK);
    EXPECT_EQ(pak.Record()->foundSize, 0u);
    ASSERT_EQ(FindPackerEntry(u"next.txt", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(1), "n");
}

TEST(PackerFile, TruncatedAndCorruptChainsFail)
{
    std::string whole = TwoEntryPak();
    PakTestFile cutData(whole.substr(0, whole.size() - 2));
    EXPECT_EQ(FindPackerEntry(u"Data/Room.PNG", cutData.Record()), RES_OK);
    EXPECT_EQ(FindPackerEntry(u"readme.txt", cutData.Record()), RES_FAIL) << "its data runs past the end";

    std::string firstEntry = PakEntryBytes("Data/Room.PNG", "png");
    PakTestFile cutName(firstEntry + whole.substr(firstEntry.size(), 12));
    EXPECT_EQ(FindPackerEntry(u"readme.txt", cutName.Record()), RES_FAIL);
    PakTestFile cutHeader(whole.substr(0, 6));
    EXPECT_EQ(FindPackerEntry(u"Data", cutHeader.Record()), RES_FAIL);

    PakTestFile hugeSize(PakEntryBytes(0xFFFFFFFFu, 4, "huge", "tiny"));
    EXPECT_EQ(FindPackerEntry(u"huge", hugeSize.Record()), RES_FAIL);
    PakTestFile hugeName(PakEntryBytes(1, 0xFFFFFFF0u, "n", "d"));
    EXPECT_EQ(FindPackerEntry(u"n", hugeName.Record()), RES_FAIL);
}

TEST(PackerFile, OverlongStoredNameIsSkippedBySize)
{
    std::string longName(kPakMaxStoredName + 1, 'a');
    PakTestFile pak(PakEntryBytes(longName, "long") + PakEntryBytes("aaa", "short"));
    ASSERT_EQ(FindPackerEntry(u"aaa", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(5), "short");
}

TEST(PackerFile, ChainBeginsAtTheStartOffset)
{
    PakTestFile pak(std::string(16, '\x7f') + TwoEntryPak(), 16);
    ASSERT_EQ(FindPackerEntry(u"readme.txt", pak.Record()), RES_OK);
    EXPECT_EQ(pak.ReadHere(5), "hello");
}

TEST(PackerFile, ScramblingUsesTheKeyBytesLeastSignificantFirst)
{
    uint8_t bytes[6] = {0, 0, 0, 0, 0, 0};
    ScramblePakName(bytes, sizeof bytes);
    const uint8_t expected[6] = {0x21, 0x8E, 0x3C, 0x5A, 0x21, 0x8E};
    EXPECT_EQ(0, memcmp(bytes, expected, sizeof bytes));
}

class WorldParametersTest : public ::testing::Test {
protected:
    void TearDown() override { ClosePackerFile(&m_data->pak); }
    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
    TempDir m_dir;
};

TEST_F(WorldParametersTest, StoresEverythingAndRunsWithoutAPak)
{
    CParamsText engine(nullptr, 0);
    CParamsText game(nullptr, 0);
    std::u16string log = m_dir.WideFile("App.log");
    EXPECT_EQ(SetWorldParameters(m_data.get(), &engine, &game, nullptr, nullptr, 0, FindPackerEntry, log.c_str()), RES_OK);
    EXPECT_EQ(m_data->engineParams, &engine);
    EXPECT_EQ(m_data->gameParams, &game);
    EXPECT_EQ(m_data->pakLookup, &FindPackerEntry);
    EXPECT_EQ(std::u16string(m_data->logPath), log);
    EXPECT_EQ(m_data->pak.file, nullptr);

    std::u16string missing = m_dir.WideFile("none.pak");
    EXPECT_EQ(SetWorldParameters(m_data.get(), &engine, &game, nullptr, missing.c_str(), 0, nullptr, nullptr), RES_OK)
        << "without a lookup the world runs without a pak";
    EXPECT_EQ(m_data->pak.file, nullptr);
    EXPECT_EQ(std::u16string(m_data->logPath), log) << "a null log path keeps the old one";
}

TEST_F(WorldParametersTest, OpensTheMainPak)
{
    std::string path = m_dir.Write("Data_full_Win32/App_full_Win32.pak", TwoEntryPak());
    std::u16string wide = Utf8ToUtf16(path);
    ASSERT_EQ(SetWorldParameters(m_data.get(), nullptr, nullptr, nullptr, wide.c_str(), 0, FindPackerEntry, nullptr), RES_OK);
    ASSERT_NE(m_data->pak.file, nullptr);
    EXPECT_EQ(std::u16string(m_data->pak.path), wide);
    EXPECT_EQ(m_data->pakLookup(u"readme", &m_data->pak), RES_OK);
    EXPECT_EQ(m_data->pak.foundSize, 5u);
}

TEST_F(WorldParametersTest, MissingPakSetsTheDetailAndWritesNoLog)
{
    std::u16string log = m_dir.WideFile("App.log");
    std::u16string missing = m_dir.WideFile("Data_full_Win32/App_full_Win32.pak");
    Result result = SetWorldParameters(m_data.get(), nullptr, nullptr, nullptr, missing.c_str(), 0, FindPackerEntry, log.c_str());
    EXPECT_EQ(result, RES_PAK_NOT_OPENED);
    EXPECT_EQ(m_data->lastError, RES_PAK_NOT_OPENED);
    EXPECT_EQ(std::u16string(m_data->errorDetail), u"Missing file: " + missing);
    EXPECT_EQ(m_data->pak.file, nullptr);
    EXPECT_FALSE(FileExists(log.c_str()));
    EXPECT_EQ(FindPackerEntry(u"readme", &m_data->pak), RES_FAIL);
}

} // namespace
