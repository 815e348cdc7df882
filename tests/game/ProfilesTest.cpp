#include "base/WideString.h"
#include "tests/game/GameWorldFixture.h"

namespace {

// A section that stands for a component: writes one byte of its own and checks it on reading.
class CStubSection : public CProfileSection {
public:
    Result SaveToProfile(CStream& stream) override { return stream.Write(&m_mark, 1, 1) ? RES_OK : RES_FAIL; }
    Result LoadFromProfile(CStream& stream, uint16_t version) override
    {
        uint8_t byte = 0;
        ++m_loads;
        return stream.Read(&byte, 1, 1) && byte == m_mark && version == 63 ? RES_OK : RES_FAIL;
    }

    uint8_t m_mark = 0;
    int m_loads = 0;
};

// The frame for 2 levels and 1 tooltip with the stub sections, worked out by hand; the first
// section stands at 45 + 6 x 2 + 37.
const std::string kKnownProfile = std::string(
    "\x3F\x00" "\x02\x00\x00\x00" "\x01\x00\x00\x00" "\x07\x00\x00\x00" "\x05\x00\x00\x00"  // version, counts
    "\x01\x01\x00" "\x00\x00\xC9\x42" "\x03\x01" "\x00\x00\x48\x43" "\x04\x02"  // flags, 100.5, 1:03, 200.0, 2:04
    "\x0C\x22\x38" "\xDB\x07" "\x05\x11\x01" "\x01\x00\x01\x00"                 // 12:34:56, 17 May 2011, visits
    "\x00\x00\x20\x41\x01\x00" "\xFF\xFF\x7F\x7F\xFF\xFF"                       // level times: 10.0 0:01, none
    "\x01\x00\x00\x00" "\xFF\xFF\xFF\xFF" "\x02\x00\x00\x00" "\x00\x00\xF0\x41" "\x02"  // levels, abuse 30.0, 2
    "\x00\x00\xC0\x3F" "\x00\x00\x20\xC1" "\x00\x00\xA0\x41" "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"  // 1.5, -10, 20
    "\xA0\xA1\xA2\xA3\xA4\xA5", 100);

// Where each group of the record and of the world's state ends in the file.
const size_t kGroupEnds[] = {18, 21, 25, 27, 31, 33, 36, 38, 41, 45, 57, 69, 73, 74, 86};

class ProfilesTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        m_world.m_nSceneCount = 2;
        m_world.m_nTooltipCount = 1;
        Data().m_nElementTotal = 7;
        Data().m_nParamTotal = 5;
        for (uint32_t slot = 0; slot < kProfileSectionCount; ++slot) {
            m_sections[slot].m_mark = static_cast<uint8_t>(0xA0 + slot);
            m_world.SetProfileSection(static_cast<ProfileSectionSlot>(slot), &m_sections[slot]);
        }
        ASSERT_EQ(m_world.LoadProfiles(), RES_OK);  // no files: every record is prepared with no time
    }

    // Loads bytes into a fresh record of mode 0, slot 0 and a world state of none; what the
    // record and the world then write.
    std::string LoadAndWrite(const std::string& bytes, Result expected, bool withGame = true, bool force = false)
    {
        m_world.m_nCurrentScene = m_world.m_nSceneArgument = kNoIndex;
        m_world.m_fZoom = m_world.m_fAbuseTimer = 0.0f;
        m_world.m_nMisses = 0;
        m_world.m_vCamera = {};
        Record() = CProfileProgress{};
        EXPECT_EQ(PrepareProgressRecord(Record(), 2), RES_OK);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(m_world.LoadProfile(stream, Record(), withGame, force), expected);
        CStringStream out;
        EXPECT_EQ(m_world.WriteProfile(out, Record()), RES_OK);
        return out.m_bytes;
    }
    CProfileProgress& Record() { return Data().Progress(0, 0); }

    CStubSection m_sections[kProfileSectionCount];
};

} // namespace

TEST_F(ProfilesTest, TheFrameIsReadAndWrittenAsTheHandWorkedBytes)
{
    EXPECT_EQ(LoadAndWrite(kKnownProfile, RES_OK), kKnownProfile);
    EXPECT_EQ(m_sections[kProfileSectionScenes].m_loads, 1);
    // Without the game state, or a record not in use, only the record is read; without a current
    // level there is no scene section.
    const std::string blank = LoadAndWrite("", RES_FAIL);
    EXPECT_EQ(blank.size(), 99u);
    const std::string record = kKnownProfile.substr(0, 57);
    EXPECT_EQ(LoadAndWrite(record, RES_OK, false), record + blank.substr(57));
    std::string idle = std::string(kKnownProfile).replace(18, 1, std::string(1, '\0'));
    EXPECT_EQ(LoadAndWrite(idle.substr(0, 57), RES_OK), idle.substr(0, 57) + blank.substr(57));
    idle.replace(57, 4, "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(LoadAndWrite(idle.substr(0, 99), RES_OK, true, true), idle.substr(0, 99));
    EXPECT_EQ(m_sections[kProfileSectionScenes].m_loads, 1);
    EXPECT_EQ(m_sections[kProfileSectionLevels].m_loads, 2);
}

TEST_F(ProfilesTest, AnotherVersionConstructionOrLevelIsRefusedBeforeAnythingIsStored)
{
    const std::string blank = LoadAndWrite("", RES_FAIL);
    const std::tuple<size_t, std::string, const char16_t*> cases[] = {
        {0, "\x3E", u"SAVE profile files version has changed"},
        {2, "\x03", u"SAVE profile levels count has changed"},
        {6, std::string(1, '\0'), u"SAVE profile tooltips count has changed"},
        {10, "\x08", u"SAVE profile element count has changed"},
        {14, "\x04", u"SAVE profile param count has changed"},
        {57, "\x02", u"SAVE profile level index is out of range"},  // current level 2 of 2
        {61, "\x05", u"SAVE profile level index is out of range"},  // next level
    };
    for (const auto& [offset, bytes, line] : cases) {
        s_log.clear();
        EXPECT_EQ(LoadAndWrite(std::string(kKnownProfile).replace(offset, bytes.size(), bytes), RES_FAIL), blank);
        EXPECT_EQ(s_log, u"# CVadadiDazidevWorld::LoadProfile failed! " + std::u16string(line) + u" !!!\n");
    }
}

TEST_F(ProfilesTest, AFileCutAnywhereKeepsWhatWasReadBeforeTheCut)
{
    const std::string blank = LoadAndWrite("", RES_FAIL);
    for (size_t cut = 18; cut < kKnownProfile.size(); ++cut) {
        std::string expected = kKnownProfile.substr(0, 18);
        for (size_t i = 1; i < std::size(kGroupEnds); ++i) {
            size_t start = kGroupEnds[i - 1], length = kGroupEnds[i] - start;
            expected += (kGroupEnds[i] <= cut ? kKnownProfile : blank).substr(start, length);
        }
        expected += (cut >= 69 ? kKnownProfile : blank).substr(86);  // the scene section needs a current level
        EXPECT_EQ(LoadAndWrite(kKnownProfile.substr(0, cut), RES_FAIL), expected) << cut;
    }
}

TEST_F(ProfilesTest, SlotFilesAreSavedLoadedAndResetToAnEmptyFileThatIsRefused)
{
    LoadAndWrite(kKnownProfile, RES_OK);
    std::swap(Record().m_pLevelTimes, Data().Progress(1, 2).m_pLevelTimes);
    static_cast<CProgressFields&>(Data().Progress(1, 2)) = Record();
    ASSERT_EQ(m_world.SaveProfile(2, 1), RES_OK);
    EXPECT_EQ(TempDir::Read(SaveFile("profile_timed_full_2.sav")), kKnownProfile);
    ASSERT_EQ(m_world.LoadProfiles(), RES_OK);
    CProfileProgress& timed = Data().Progress(1, 2);
    EXPECT_EQ(timed.m_pLevelTimes[0].m_fUnits, 10.0f);

    WStrCopy(Data().m_szProfileNames[2], kProfileNameUnits, u"Eve");
    ASSERT_EQ(m_world.ResetProfileSlot(1, 2, true), RES_OK);
    EXPECT_EQ(TempDir::Read(SaveFile("profile_timed_full_2.sav")), "");
    EXPECT_EQ(Data().m_szProfileNames[2][0], 0);
    EXPECT_EQ(timed.m_bInUse + timed.m_bDateSet + timed.m_FirstVisit[0], 0);
    EXPECT_EQ(timed.m_nPlayHours + timed.m_pLevelTimes[0].m_nHours, 510);  // no time
    EXPECT_EQ(timed.m_nBestMinutes, 4);  // the best time stays
    s_log.clear();
    EXPECT_EQ(m_world.LoadProfileSlot(1, 2, false), RES_FAIL);
    EXPECT_EQ(s_log, u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile files version has changed !!!\n");
    EXPECT_EQ(m_world.SaveProfileSlot(0, 3), RES_FAIL);
}

TEST_F(ProfilesTest, PlayTimeCarriesAndTheBestTimeKeepsTheShorter)
{
    CProfileProgress& r = Record();
    r.m_fPlayUnits = 1799.0f, r.m_nPlayMinutes = 59, r.m_nPlayHours = 0;
    r.m_pLevelTimes[1] = {1799.0f, 0, 0};
    m_world.GetData()->frameFactor = 2.0;
    m_world.AddPlayTime(0, 0);  // no current level: the record only
    EXPECT_EQ(r.m_fPlayUnits + r.m_nPlayMinutes, 61.0f);  // 60 minutes wait for the next one
    m_world.m_nCurrentScene = 1;
    m_world.GetData()->frameFactor = 1800.0;
    m_world.AddPlayTime(0, 0);
    EXPECT_EQ(r.m_nPlayHours * 100 + r.m_nPlayMinutes, 101);
    EXPECT_EQ(r.m_pLevelTimes[1].m_fUnits + r.m_pLevelTimes[1].m_nMinutes, 1800.0f);
    EXPECT_EQ(r.m_pLevelTimes[0].m_fUnits, kNoTimeUnits);  // no time is never added to
    r.m_bFinished = 1;
    m_world.AddPlayTime(0, 0);
    EXPECT_EQ(r.m_nPlayHours * 100 + r.m_nPlayMinutes, 101) << "a finished game's clock stands";
    EXPECT_EQ(r.m_pLevelTimes[1].m_fUnits + r.m_pLevelTimes[1].m_nMinutes, 1800.0f);
    r.m_bFinished = 0;

    float units = 1799.0f;
    uint8_t minutes = 60, hours = 254;
    AddToTime(units, minutes, hours, 1.0);
    EXPECT_EQ(units, 1800.0f);  // exactly one minute waits for the next step
    AddToTime(units, minutes, hours, 3600.0);
    EXPECT_EQ(hours * 100 + minutes, 25402);  // hours stop at 254

    r.m_fPlayUnits = 10.0f, r.m_nPlayMinutes = 5, r.m_nPlayHours = 1;
    EXPECT_TRUE(UpdateBestTime(r));  // over no best time
    EXPECT_TRUE(UpdateBestTime(r));  // an equal time
    r.m_fPlayUnits = 10.5f;
    EXPECT_FALSE(UpdateBestTime(r));
    Data().m_nMode = kModeNone;
    m_world.MarkGameFinished();
    EXPECT_EQ(r.m_bFinished, 0);
    Data().m_nMode = 0;
    r.m_nPlayMinutes = 4;
    m_world.MarkGameFinished();
    EXPECT_EQ(r.m_bFinished + r.m_bDateSet, 2);
    EXPECT_EQ(r.m_nBestMinutes, 4);
}
