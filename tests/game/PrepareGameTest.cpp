#include <map>
#include <random>

#include "base/Clock.h"
#include "base/WideString.h"
#include "game/SoundNames.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"

namespace {

// Two names, worked out by hand: "a.wav" at unit 0, "b" at unit 6.
const std::string kTwoSounds("\x02" "\x08\x00\x00\x00" "\x02" "\x02\x00\x00\x00"
                             "a\x00.\x00w\x00" "a\x00v\x00\x00\x00" "b\x00\x00\x00" "\x00\x00\x06\x00", 30);

// A game of two levels (hidden-object and sliding) and one tooltip, worked out by hand:
// construction 7, tutorial on, ratio 0.5.
const std::string kTwoLevelConstruct("\x07\x00\x00\x00" "\x02\x00\x00\x00" "\x01\x40\x00\x00" "\x04\x40\x00\x00"
                                     "\x01\x00\x00\x00" "\x01" "\x00\x00\x00\x3F", 25);

class PrepareGameTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        RegisterTestLevelMakers(m_world.GetLevelFactory());
        CLevelModel level;
        level.scene.parts.resize(2);
        level.records.resize(3);
        CSceneBlockModel scene;
        scene.parts.resize(1);
        std::array<uint32_t, kTutorialEntries> tutorial{};
        tutorial[49] = 99;
        Raw("_construct.raw", kTwoLevelConstruct);
        Raw("_level_0.raw", LevelBody(level));
        Raw("_level_1.raw", LevelBody(level));
        CTooltipModel tooltip;
        CLabelsModel labels;
        CTimerModel timer;
        tooltip.scene = labels.scene = timer.scene = scene;
        Raw("_tooltip_0.raw", TooltipBody(tooltip));
        Raw("_labels_0.raw", LabelsBody(labels));
        Raw("_timer_0.raw", TimerBody(timer));
        Raw("_menu_tuto.raw", TutorialBody(tutorial));
        m_files["strings/_sounds.ascii.ucs2.raw"] = kTwoSounds;
    }

    void Raw(const std::string& name, const std::string& body)
    {
        m_files["_raw.full.Win32/" + name] = RawFileBytes("VadadiDazidev", body);
    }

    Result Prepare()
    {
        CPakWriter pak;
        for (const auto& [name, bytes] : m_files)
            EXPECT_EQ(pak.Add(name, bytes), RES_OK) << name;
        EXPECT_EQ(pak.Write(m_dir.File("game.pak")), RES_OK);
        EXPECT_EQ(m_world.SetParameters(nullptr, &m_game, nullptr, m_dir.WideFile("game.pak").c_str(), 0,
                                        FindPackerEntry, nullptr),
                  RES_OK);
        return m_world.OnPrepareGame();
    }

    void WithAudio() { m_world.m_pAudioEngine.reset(new CEmptySoundEngine(m_world.GetData())); }
    CTestLevel& Level(uint32_t i) { return static_cast<CTestLevel&>(*m_world.m_pScenes[i]); }
    CTestLevelObject& Object(std::unique_ptr<CSceneObject3D>& object) { return static_cast<CTestLevelObject&>(*object); }

    std::map<std::string, std::string> m_files;
};

TEST_F(PrepareGameTest, AHandWorkedTwoLevelConstructionMakesEveryObject)
{
    CConstructModel construct{7, {kLevelTypeHiddenObject, kLevelTypeSliding}, 1, 1, 0.5f};
    EXPECT_EQ(ConstructBody(construct), kTwoLevelConstruct);
    ASSERT_EQ(Prepare(), RES_OK);
    EXPECT_EQ(Data().m_nConstructionNumber, 7u);
    EXPECT_EQ(Data().m_bTutorial, 1);
    EXPECT_FLOAT_EQ(Data().m_fConstructRatio, 0.5f);
    ASSERT_EQ(m_world.GetSceneCount(), 2u);
    EXPECT_EQ(Level(0).GetType(), kLevelTypeHiddenObject);
    EXPECT_EQ(Level(1).GetType(), kLevelTypeSliding);
    EXPECT_EQ(Level(1).GetId(), 1u);
    EXPECT_EQ(Level(1).m_nInits, 1u);
    EXPECT_EQ(Level(1).GetRecordCount(), 3u);
    ASSERT_EQ(m_world.m_nTooltipCount, 1u);
    EXPECT_EQ(m_world.m_pTooltips[0]->GetType(), kSceneTypeTooltip);
    EXPECT_EQ(Object(m_world.m_pTooltips[0]).m_nFileLoads, 0u);
    EXPECT_EQ(Object(m_world.m_pLabels).m_nFileLoads, 1u);
    EXPECT_EQ(Object(m_world.m_pTimer).m_nInits, 1u);
    EXPECT_EQ(Object(m_world.m_pTimer).m_nFileLoads, 1u);
    EXPECT_EQ(Data().m_TutorialTable[49], 99u);
    EXPECT_EQ(Data().m_nElementTotal, 2u + 2u + 1u + 1u + 1u);
    EXPECT_EQ(Data().m_nParamTotal, 6u);
    EXPECT_EQ(Data().m_nSoundCount, 0u) << "no audio engine: no sound table";
    EXPECT_EQ(m_world.Release(), RES_OK);
    EXPECT_EQ(m_world.m_pScenes, nullptr);
}

TEST_F(PrepareGameTest, NoLevelsGoesOnWithTheTooltips)
{
    Raw("_construct.raw", ConstructBody({1, {}, 1, 0, 1.0f}));
    ASSERT_EQ(Prepare(), RES_OK);
    EXPECT_EQ(m_world.GetSceneCount(), 0u);
    EXPECT_NE(m_world.m_pTooltips[0], nullptr);
    EXPECT_NE(m_world.m_pTimer, nullptr);
}

TEST_F(PrepareGameTest, AnUnknownLevelTypeFailsWithoutALogLine)
{
    Raw("_construct.raw", ConstructBody({1, {kLevelTypeHiddenObject, 0x4005}, 0, 0, 1.0f}));
    EXPECT_EQ(Prepare(), RES_FAIL);
    EXPECT_EQ(s_log, u"");
    EXPECT_NE(m_world.m_pScenes[0], nullptr) << "made before the failure, kept for Release";
}

TEST_F(PrepareGameTest, AMissingFileIsLoggedByItsPath)
{
    m_files.erase("_raw.full.Win32/_level_1.raw");
    EXPECT_EQ(Prepare(), RES_FAIL);
    EXPECT_EQ(s_log, u"# CVadadiDazidevWorld::OnPrepareGame failed! \"_raw.full.Win32/_level_1.raw\" is missing !!!\n");
    EXPECT_EQ(m_world.GetData()->errorDetail, std::u16string(u"Invalid construction,\na new construction must be made"));
}

TEST_F(PrepareGameTest, CountsPastTheConstructionFileAreRefused)
{
    Raw("_construct.raw", ConstructBody({1, {kLevelTypeHiddenObject}, 0, 0, 1.0f}).substr(0, 20));
    EXPECT_EQ(Prepare(), RES_FAIL) << "one level type, but no room for the rest";
    EXPECT_EQ(m_world.GetSceneCount(), 0u);
    Raw("_construct.raw", ConstructBody({1, {}, 257, 0, 1.0f}));
    EXPECT_EQ(Prepare(), RES_FAIL) << "more tooltips than one byte addresses";
}

TEST_F(PrepareGameTest, TheSoundTableGivesTheBankItsEmptySounds)
{
    EXPECT_EQ(StringFileBytes({u"a.wav", u"b"}), kTwoSounds);
    WithAudio();
    ASSERT_EQ(Prepare(), RES_OK);
    ASSERT_EQ(Data().m_nSoundCount, 2u);
    EXPECT_EQ(std::u16string(&Data().m_pSoundNames[Data().m_pSoundNameOffsets[1]]), u"b");
    EXPECT_NE(Data().m_pSounds[1].m_pSound, nullptr);
    EXPECT_EQ(Data().m_pSounds[1].m_nState, 0u);
}

TEST_F(PrepareGameTest, DamagedSoundTablesAreRefused)
{
    std::string unitSize = kTwoSounds, offsetPast = kTwoSounds, tooMany = kTwoSounds, huge = kTwoSounds;
    unitSize[5] = 1;
    offsetPast[28] = 8;
    tooMany[6] = 3;
    huge[8] = 1;  // N = 0x10002
    for (const std::string& table : {unitSize, offsetPast, tooMany, huge, std::string(kTwoSounds, 0, 10) + "a"}) {
        CStreamMemory stream(kStreamRead, table.data(), static_cast<uint32_t>(table.size()));
        ASSERT_EQ(stream.Open(), RES_OK);
        CSoundNames names;
        EXPECT_EQ(ReadSoundNames(stream, names), RES_FAIL);
        EXPECT_EQ(names.units, nullptr);
    }
    std::string unterminated = kTwoSounds;
    unterminated[24] = 'c';
    CStreamMemory stream(kStreamRead, unterminated.data(), static_cast<uint32_t>(unterminated.size()));
    ASSERT_EQ(stream.Open(), RES_OK);
    CSoundNames names;
    EXPECT_EQ(ReadSoundNames(stream, names), RES_FAIL) << "the last name ends past U";

    m_files["strings/_sounds.ascii.ucs2.raw"] = unitSize;
    EXPECT_EQ(Prepare(), RES_OK) << "without an audio engine the table is not read";
    WithAudio();
    EXPECT_EQ(Prepare(), RES_FAIL);
}

TEST_F(PrepareGameTest, TheTickCountSeedsTheTwisterThroughTheStandardGenerator)
{
    SetClockSource([] { return uint64_t{123456789} * 1000000u; });
    ASSERT_EQ(Prepare(), RES_OK);
    SetClockSource(nullptr);
    uint32_t state = 123456789u * 214013u + 2531011u;
    std::mt19937 expected((state >> 16) & 0x7FFF);
    EXPECT_EQ(RandomNext(m_world.GetData()->random), expected());
}

class BlankProfileTest : public PrepareGameTest {};

TEST_F(BlankProfileTest, ANewGameTakesTheBlankProfileAndKeepsTheDate)
{
    CBlankProfileModel blank;
    blank.tooltipCount = 1;
    blank.elementTotal = 7;
    blank.paramTotal = 6;
    blank.levelTimes = {{0.0f, 0, 0}, {5.0f, 1, 0}};
    blank.record.m_fPlayUnits = 3.0f;
    blank.record.m_bDateSet = 0;
    blank.scenes = {kNoIndex, 1, kNoIndex};
    Raw("_profile.full.raw", BlankProfileBody(blank));
    ASSERT_EQ(Prepare(), RES_OK);
    ASSERT_EQ(m_world.LoadProfiles(), RES_OK);
    CProfileProgress& record = Data().Progress(1, 2);
    record.m_bDateSet = 1;
    ASSERT_EQ(m_world.OnLoadVirginProfile(1, 2), RES_OK);
    EXPECT_FLOAT_EQ(record.m_fPlayUnits, 3.0f);
    EXPECT_EQ(record.m_pLevelTimes[1].m_nMinutes, 1);
    EXPECT_EQ(record.m_bDateSet, 1);
    EXPECT_EQ(m_world.m_nNextScene, 1u) << "the world takes the blank game state";

    m_files.erase("_raw.full.Win32/_profile.full.raw");
    ASSERT_EQ(Prepare(), RES_OK);
    s_log.clear();
    EXPECT_EQ(m_world.OnLoadVirginProfile(0, 0), RES_FAIL);
    EXPECT_EQ(s_log, u"# CVadadiDazidevWorld::OnLoadVirginProfile failed! \"_raw.full.Win32/_profile.full.raw\" is "
                     u"missing !!!\n");
}

} // namespace
