#include "game/Construction.h"

#include <cstring>

#include "base/WideString.h"
#include "tests/game/GameWorldFixture.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"

namespace {

const char16_t kInvalid[] = u"Invalid construction,\na new construction must be made";
const char16_t kRawVersion[] = u"The raw version files changed,\na new construction must be made";

// A main pak with one entry "f.raw" of the given bytes, for the application "Demo".
class ConstructionTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        strcpy(Data().m_szAppNameA, "Demo");
    }

    std::unique_ptr<CStream> Open(const std::string& entry, bool headerCheck = true)
    {
        CPakWriter pak;
        EXPECT_EQ(pak.Add("f.raw", entry), RES_OK);
        const std::string path = m_dir.File("main.pak");
        EXPECT_EQ(pak.Write(path), RES_OK);
        EXPECT_EQ(
            m_world.SetParameters(nullptr, &m_game, nullptr, Utf8ToUtf16(path).c_str(), 0, FindPackerEntry, nullptr),
            RES_OK);
        WStrCopy(m_world.GetData()->errorDetail, kMaxPathUnits, u"");
        return CheckConstruction(m_world.GetData(), u"f.raw", headerCheck);
    }
    std::u16string Detail() { return m_world.GetData()->errorDetail; }
};

TEST_F(ConstructionTest, TheHeaderIsTheVersionTheLengthAndTheBuildString)
{
    EXPECT_EQ(RawHeaderBytes("Demo"), std::string("\x77\x00\x05\x00\x00\x00" "Demo\x00", 11));
    std::unique_ptr<CStream> stream = Open(RawFileBytes("Demo", std::string("\x2A\x00", 2)));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->BytesLeft(), 2u) << "positioned after the header, bounded by the entry";
    uint16_t value = 0;
    EXPECT_TRUE(stream->Read(&value, 2, 1));
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(stream->Read(&value, 1, 1)) << "nothing past the entry";
    EXPECT_EQ(Detail(), u"");

    stream = Open(RawFileBytes("Other", "x"), false);
    ASSERT_NE(stream, nullptr) << "without the check any entry opens";
    EXPECT_EQ(stream->BytesLeft(), 13u);
}

TEST_F(ConstructionTest, ForeignDamagedAndMissingHeadersAreRefused)
{
    const struct {
        std::string entry;
        const char16_t* detail;
    } cases[] = {
        {std::string("\x78\x00\x05\x00\x00\x00" "Demo\x00", 11), kRawVersion},
        {RawHeaderBytes("Dema"), u""},
        {std::string("\x77\x00\x00\x00\x00\x00", 6), kRawVersion},
        {std::string("\x77\x00\xFD\x00\x00\x00", 6) + std::string(253, '\0'), kRawVersion},
        {std::string("\x77\x00\x05\x00\x00\x00" "Demo!", 11), kRawVersion},
        {std::string("\x77\x00\x05\x00\x00\x00" "De", 8), u""},
        {std::string("\x77\x00\x05\x00", 4), u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Open(c.entry), nullptr) << c.entry.size();
        EXPECT_EQ(Detail(), c.detail) << c.entry.size();
    }
    Open(RawHeaderBytes("Demo"));
    EXPECT_EQ(CheckConstruction(m_world.GetData(), u"g.raw", true), nullptr);
    EXPECT_EQ(Detail(), kInvalid);
}

TEST_F(ConstructionTest, TheExternalPakIsSearchedWithTheMainLookup)
{
    Open(RawHeaderBytes("Demo"));
    CPakWriter external;
    ASSERT_EQ(external.Add("e.raw", RawFileBytes("Demo", "\x01")), RES_OK);
    ASSERT_EQ(external.Write(m_dir.File("external.pak")), RES_OK);
    ASSERT_EQ(OpenPackerFile(&Data().m_ExternalPak, m_dir.WideFile("external.pak").c_str(), 0), RES_OK);
    std::unique_ptr<CStream> stream = CheckConstruction(m_world.GetData(), u"e.raw", true, &Data().m_ExternalPak);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->BytesLeft(), 1u);
    EXPECT_EQ(CheckConstruction(m_world.GetData(), u"e.raw", true), nullptr) << "not in the main pak";
}

} // namespace
