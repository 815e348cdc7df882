#include "levels/Level.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"
#include "tools/LevelFileWriter.h"

namespace {

const std::string kZeros(260, '\0');

// A record with empty actions worked out by hand: 1, 2, 1 0 1 0, 0x0C, 1.5, sound 5, intro pop-up
// {7, 0, 9, 0}, "bg.jpg", start pop-up {-1, 1, 0, 0}, six empty actions, pop-up 3 none, no sound,
// leave pop-up {3, 0, 0, 1}, seven empty actions, effects {30, 60, 2, loop} and {0, 0, none, 0}.
const std::string kPlainRecord = std::string(
    "\x01" "\x02\x00\x00\x00" "\x01\x00\x01\x00" "\x0C\x00\x00\x00" "\x00\x00\xC0\x3F" "\x05\x00"
    "\x07\x00\x00\x00\x00\x09\x00\x00\x00\x00" "bg.jpg", 35) + kZeros.substr(6) + std::string(
    "\xFF\xFF\xFF\xFF\x01\x00\x00\x00\x00\x00" "\x00\x00\x00\x00\x00\x00"
    "\xFF\xFF\xFF\xFF\x00\x00\x00\x00\x00\x00" "\xFF\xFF" "\x03\x00\x00\x00\x00\x00\x00\x00\x00\x01"
    "\x00\x00\x00\x00\x00\x00\x00" "\x00\x00\xF0\x41\x00\x00\x70\x42\x02\x00\x01"
    "\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xFF\x00", 67);

CLevelRecordModel PlainRecordModel()
{
    CLevelRecordModel r;
    r.clickPenaltyFree = 1, r.cameraMode = 2, r.dragEnabled = 1, r.toolbarHidden = 1, r.value0C = 0x0C;
    r.zoom = 1.5f, r.introSound = 5, r.introPopup = {7, 0, 9, 0}, r.backgroundName = "bg.jpg";
    r.startPopup = {-1, 1, 0, 0}, r.leavePopup = {3, 0, 0, 1};
    r.effects[0] = {30.0f, 60.0f, 2, 1};
    return r;
}

// The same record with two click targets: start actions show {0x8102, 0x0003} and hide tooltips
// {4}; leave actions show tooltips {1, 2} and record switch {0x0201}; pair sounds 9 and none.
std::string TargetRecordBytes()
{
    std::string bytes = kPlainRecord;
    bytes.replace(299, 6, std::string("\x02\x02\x81\x03\x00" "\x00\x00\x00" "\x01\x04" "\x00", 11));
    bytes.replace(332, 7, std::string("\x00" "\x02\x01\x02" "\x01\x01\x02" "\x00\x00\x00\x00", 11));
    return bytes + std::string("\x09\x00\xFF\xFF", 4);
}

CLevelModel TargetLevelModel()
{
    CLevelModel level;
    level.scene.parts.resize(2);
    level.pairs = {{0, 1}, {1, 3}};
    CLevelRecordModel r = PlainRecordModel();
    r.startActions[0] = {0x8102, 0x0003};
    r.startActions[4] = {4};
    r.leaveActions[1] = {1, 2};
    r.leaveActions[2] = {0x0201};
    r.pairSounds = {9, kNoSound};
    level.records = {PlainRecordModel(), r};
    level.startRecord = 1;
    return level;
}

class LevelTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        m_world.m_nSceneCount = 3;
    }

    Result Describe(const std::string& bytes)
    {
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(stream.Open(), RES_OK);
        return m_level.LoadDescription(&stream);
    }

    CTestLevel m_level{m_world.GetData(), nullptr, 0, kLevelTypeHiddenObject};
};

TEST_F(LevelTest, HandWorkedRecordsAreWhatTheWriterMakesAndTheReaderReads)
{
    CLevelModel level = TargetLevelModel();
    const std::string bytes = LevelBody(level);
    ASSERT_EQ(kPlainRecord.size(), kLevelRecordBytes);
    const std::string records = kPlainRecord + "\xFF\xFF\xFF\xFF" + TargetRecordBytes();  // no pair sounds given
    EXPECT_EQ(bytes.substr(bytes.size() - records.size()), records);

    ASSERT_EQ(Describe(bytes), RES_OK);
    EXPECT_EQ(m_level.GetRecordCount(), 2u);
    EXPECT_EQ(m_level.GetDescriptionWord(), 2u);
    EXPECT_EQ(m_level.GetCurrentRecord(), 1u);
    ASSERT_EQ(m_level.GetPairCount(), 2u);
    EXPECT_EQ(m_level.GetPair(1)->targetScene, 3u) << "the scene count itself ends the game";
    const CLevelRecord* r = m_level.GetRecord(1);
    EXPECT_EQ(r->cameraMode, 2u);
    EXPECT_FLOAT_EQ(r->zoom, 1.5f);
    EXPECT_EQ(r->introPopup.value, 9u);
    EXPECT_STREQ(r->backgroundName, "bg.jpg");
    EXPECT_EQ(r->startPopup.popupId, -1);
    EXPECT_EQ(r->leavePopup.shown, 1);
    EXPECT_EQ(r->effects[0].soundId, 2);
    EXPECT_EQ(r->effects[1].soundId, kNoSound);
    EXPECT_EQ(r->startActions[0]->GetElement(0), 0x8102);
    EXPECT_EQ(r->startActions[4]->GetElement(0), 4);
    EXPECT_EQ(r->leaveActions[1]->GetCount(), 2);
    EXPECT_EQ(r->leaveActions[2]->GetElement(0), 0x0201);
    EXPECT_EQ(r->pairSounds[0], 9);
    EXPECT_EQ(m_level.GetRecord(0)->pairSounds[1], kNoSound);
    EXPECT_EQ(Data().m_nElementTotal, 2u);
    EXPECT_EQ(Data().m_nParamTotal, 2u);
}

TEST_F(LevelTest, RecordQueriesFollowTheCurrentRecordAndFallBackWithoutOne)
{
    EXPECT_FLOAT_EQ(m_level.GetRecordZoom(), 1.0f);
    EXPECT_FALSE(m_level.IsToolbarHidden());
    EXPECT_FALSE(m_level.IsPlayerHelpLocked());
    m_level.m_nSceneState = kSceneStateClickTargets;
    EXPECT_TRUE(m_level.IsPlayerHelpLocked());
    m_level.m_nSceneState = kSceneStateFresh;
    EXPECT_FLOAT_EQ(m_level.GetZoomRatio(), 0.0f);

    CLevelModel level;
    level.records = {PlainRecordModel()};
    ASSERT_EQ(Describe(LevelBody(level)), RES_OK);
    EXPECT_EQ(m_level.GetCameraMode(), 2u);
    EXPECT_TRUE(m_level.IsClickPenaltyFree());
    EXPECT_TRUE(m_level.IsDragEnabled());
    EXPECT_FALSE(m_level.IsCameraDraggable());
    EXPECT_TRUE(m_level.IsToolbarHidden());
    EXPECT_TRUE(m_level.IsHintRechargePaused());
    EXPECT_TRUE(m_level.IsPlayerHelpLocked());
    EXPECT_FALSE(m_level.IsToolbarHeightIgnored());
    EXPECT_FLOAT_EQ(m_level.GetRecordZoom(), 1.5f);
}

TEST_F(LevelTest, ACutInRecordKKeepsTheRecordsBeforeAndCountsTheTotals)
{
    // Records longer than the least a record takes, so that the cut file passes the count check.
    CLevelModel level;
    level.scene.parts.resize(3);
    CLevelRecordModel record = PlainRecordModel();
    record.startActions[0].assign(60, 0x0101);
    level.records = {record, record, record};
    const std::string bytes = LevelBody(level);
    ASSERT_EQ(Describe(bytes.substr(0, bytes.size() - 10)), RES_FAIL);
    EXPECT_EQ(m_level.GetRecordCount(), 2u);
    EXPECT_EQ(m_level.GetRecord(1)->startActions[0]->GetCount(), 60);
    EXPECT_EQ(m_level.GetRecord(2), nullptr);
    EXPECT_EQ(Data().m_nElementTotal, 3u);
    EXPECT_EQ(Data().m_nParamTotal, 3u);
}

TEST_F(LevelTest, ACutBeforeTheStartRecordLeavesAKeptRecordCurrent)
{
    CLevelModel level;
    CLevelRecordModel record = PlainRecordModel();
    record.startActions[0].assign(60, 0x0101);
    level.records = {record, record, record};
    level.startRecord = 2;
    const std::string bytes = LevelBody(level);
    ASSERT_EQ(Describe(bytes.substr(0, bytes.size() - 10)), RES_FAIL);
    EXPECT_EQ(m_level.GetRecordCount(), 2u);
    EXPECT_EQ(m_level.GetCurrentRecord(), 0u);
}

TEST_F(LevelTest, DescriptionsTheGameCannotUseAreRefused)
{
    auto refused = [&](const CLevelModel& level) {
        CTestLevel fresh{m_world.GetData(), nullptr, 0, kLevelTypeHiddenObject};
        const std::string bytes = LevelBody(level);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(stream.Open(), RES_OK);
        return fresh.LoadDescription(&stream) == RES_FAIL;
    };
    CLevelModel level = TargetLevelModel();
    level.startRecord = 2;
    EXPECT_TRUE(refused(level)) << "start record past R";
    level = TargetLevelModel();
    level.pairs[0].part = 2;
    EXPECT_TRUE(refused(level)) << "target part past the parts";
    level = TargetLevelModel();
    level.pairs[0].targetScene = 4;
    EXPECT_TRUE(refused(level)) << "target scene past the scene count";
    level.pairs.clear();
    level.records.clear();
    level.startRecord = 9;
    EXPECT_FALSE(refused(level)) << "without records any start record stands";

    CByteWriter huge;  // no parts, then R, start, P
    WriteSceneBlock(huge, CSceneBlockModel{});
    for (uint32_t word : {0x10000000u, 0u, 0u})
        huge.U32(word);
    EXPECT_EQ(Describe(huge.Bytes()), RES_FAIL) << "R records past the stream's end";
    CByteWriter pairs;
    WriteSceneBlock(pairs, CSceneBlockModel{});
    for (uint32_t word : {0u, 0u, 0x20000000u})
        pairs.U32(word);
    EXPECT_EQ(Describe(pairs.Bytes()), RES_FAIL) << "P pairs past the stream's end";
    EXPECT_EQ(m_level.GetPairCount(), 0u);
}

TEST_F(LevelTest, PopupQueueAndRecordPopups)
{
    EXPECT_EQ(m_level.PeekPopup(), kNoPopup);
    m_level.PopPopup();
    m_level.PushPopup(4);
    m_level.PushPopup(8);
    EXPECT_EQ(m_level.PeekPopup(), 4);
    m_level.PopPopup();
    EXPECT_EQ(m_level.PeekPopup(), 8);
    m_level.PopPopup();
    EXPECT_EQ(m_level.GetPopupQueueCount(), 0u);

    CLevelModel level;
    level.records = {PlainRecordModel(), PlainRecordModel()};
    level.records[1].introPopup = {12, 1, 0, 0};
    ASSERT_EQ(Describe(LevelBody(level)), RES_OK);
    EXPECT_EQ(m_level.TakeRecordPopup(kTakeCurrentRecord), 7);
    EXPECT_EQ(m_level.GetRecord(0)->introPopup.shown, 1) << "repeat 0: taken once";
    EXPECT_EQ(m_level.TakeRecordPopup(1), 12);
    EXPECT_EQ(m_level.GetRecord(1)->introPopup.shown, 0) << "repeat 1: offered again";
    EXPECT_EQ(m_level.TakeRecordPopup(5), 12) << "no record: the last pop-up stays";
}

} // namespace
