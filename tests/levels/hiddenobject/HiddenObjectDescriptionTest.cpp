#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include <gtest/gtest.h>

#include "tests/game/GameWorldFixture.h"
#include "tools/LevelFileWriter.h"

namespace {

// A record that fills every kind of field: actions everywhere, a quiz with a first outcome.
CHiddenObjectRecordModel FullExtension()
{
    CHiddenObjectRecordModel r;
    r.maxShownItems = 5, r.maxPickedItems = 3, r.initialState = 2, r.switchObjects = {0x0003};
    r.switchRecord = 1, r.switchNextState = kSceneStateFresh, r.switchPopup = {9, 1, 2, 0}, r.markObjects = {0x0001};
    r.states[2].hideTooltips = {4, 5}, r.states[2].showTooltips = {6}, r.states[2].nextState = kStateQuiz;
    r.states[2].randomPick = 1, r.states[2].extraSeconds = 30, r.states[3].endTargetScene = 2;
    r.ghostSound = 3, r.quizQuestion = 1, r.quizLayout = 1;
    r.answers[1].text = 2, r.answers[1].firstOutcome = 1, r.answers[1].outcomes[0].actions[0] = {0x0102};
    r.answers[1].outcomes[0].actions[5] = {0x0001}, r.answers[1].outcomes[1].actions[3] = {0x0004};
    r.answers[1].outcomes[0].targetScene = 1, r.answers[2].text = 3, r.answers[2].outcomes[1].soundId = 7;
    r.hitSounds = {1, 2, kNoSound, 4}, r.itemsDoneSounds = {kNoSound, 5, 6, kNoSound};
    return r;
}

class HiddenObjectDescriptionTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        m_world.m_nSceneCount = 3;
        m_model.level.scene.parts.resize(2);
        m_model.level.records.resize(2);
        m_model.extensions = {CHiddenObjectRecordModel{}, FullExtension()};
    }
    Result Describe(CLevelVadadiDazidev& level, const std::string& bytes)
    {
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(stream.Open(), RES_OK);
        const Result result = level.LoadDescription(&stream);
        m_left = stream.BytesLeft();
        return result;
    }
    Result Describe(const std::string& bytes) { return Describe(m_level, bytes); }
    CHiddenObjectRecord& Record(uint32_t n) { return *static_cast<CHiddenObjectRecord*>(m_level.GetRecord(n)); }

    CHiddenObjectLevelModel m_model;
    CLevelVadadiDazidev m_level{m_world.GetData(), nullptr, 0};
    uint32_t m_left = 0;
};

TEST_F(HiddenObjectDescriptionTest, TheMinimalExtensionIs378BytesAndEveryFieldReadsBack)
{
    const std::string base = LevelBody(m_model.level);
    const std::string bytes = HiddenObjectLevelBody(m_model);
    CByteWriter minimal;
    WriteHiddenObjectFields(minimal, CHiddenObjectRecordModel{});
    EXPECT_EQ(minimal.Bytes().size(), 378u);
    EXPECT_EQ(bytes.substr(base.size(), 378), minimal.Bytes()) << "extensions follow all base records";

    ASSERT_EQ(Describe(bytes), RES_OK);
    EXPECT_EQ(m_left, 0u);
    const CHiddenObjectRecord& plain = Record(0);
    EXPECT_FALSE(plain.HasQuiz());
    EXPECT_FALSE(plain.answers[0].IsPresent()) << "absent answers are still stored";
    EXPECT_EQ(plain.answers[0].outcomes[0].actions[0], nullptr) << "firstOutcome 0 stores no first actions";
    EXPECT_NE(plain.answers[0].outcomes[1].actions[5], nullptr);
    const CHiddenObjectRecord& full = Record(1);
    EXPECT_EQ(full.switchPopup.value, 2u);
    EXPECT_EQ(full.states[2].extraSeconds, 30u);
    EXPECT_EQ(full.switchNextState, kSceneStateFresh);
    EXPECT_EQ(full.states[2].hideTooltipsAction->GetElementBytes(), 1) << "tooltip indexes take one byte";
    EXPECT_EQ(full.states[2].hideTooltipsAction->GetElement(1), 5);
    EXPECT_EQ(full.states[3].endTargetScene, 2);
    EXPECT_EQ(full.answers[1].outcomes[0].actions[0]->GetElement(0), 0x0102);
    EXPECT_EQ(full.answers[1].Chosen().targetScene, 1);
    EXPECT_EQ(full.answers[2].Chosen().soundId, 7);
    EXPECT_EQ(full.itemsDoneSounds[2], 6);
}

TEST_F(HiddenObjectDescriptionTest, AStreamCutAtAnyFieldFailsAndReleaseFreesWhatWasRead)
{
    const std::string bytes = HiddenObjectLevelBody(m_model);
    const size_t base = LevelBody(m_model.level).size();
    for (size_t cut = base; cut < bytes.size(); ++cut) {
        CLevelVadadiDazidev level(m_world.GetData(), nullptr, 0);
        ASSERT_EQ(Describe(level, bytes.substr(0, cut)), RES_FAIL) << "cut at " << cut;
        EXPECT_EQ(level.Release(), RES_OK);
    }
}

TEST_F(HiddenObjectDescriptionTest, StatesAndQuizzesTheSceneCannotPlayAreRefused)
{
    auto refused = [&](CHiddenObjectLevelModel model) {
        CLevelVadadiDazidev level(m_world.GetData(), nullptr, 0);
        return Describe(level, HiddenObjectLevelBody(model)) == RES_FAIL;
    };
    CHiddenObjectLevelModel model = m_model;
    model.extensions[1].initialState = 8;
    EXPECT_TRUE(refused(model)) << "initial state past 7";
    model = m_model;
    model.extensions[1].states[0].nextState = 9;
    EXPECT_TRUE(refused(model)) << "next state neither 0 to 7 nor 14";
    model = m_model;
    model.extensions[1].switchNextState = 15;
    EXPECT_TRUE(refused(model));
    model = m_model;
    model.extensions[0].quizQuestion = 4;
    EXPECT_TRUE(refused(model)) << "a question without a present answer";
    model = m_model;
    model.level.scene.order = {0, 2};
    EXPECT_TRUE(refused(model)) << "a part order entry past the parts";
    model = m_model;
    model.extensions[1].states[1].nextState = kSceneStateFresh;
    EXPECT_FALSE(refused(model));
}

} // namespace
