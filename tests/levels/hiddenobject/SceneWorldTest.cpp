#include "app/WorldFactory.h"
#include "game/GameStates.h"
#include "tests/levels/hiddenobject/HiddenObjectFixture.h"

namespace {

// A scene written with the level writer, made by the program's level factory and played in the
// world's in-game state from its fresh entry to the end of the game: two hidden objects, a
// collection object, the quiz, then the arrow whose target ends the game.
class SceneWorldTest : public HiddenObjectTest {
protected:
    static CHiddenObjectLevelModel WrittenScene()
    {
        CHiddenObjectRecordModel r;
        r.states[1].nextState = 2, r.states[2].nextState = kStateQuiz, r.quizQuestion = 0, r.answers[0].text = 1;
        r.answers[0].outcomes[1].popupId = 2;
        CHiddenObjectLevelModel model = Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 1, 200, 100),
                                               Part(2, kLive, 2, 300, 100), Part(kPhaseArrows, kLive, kNoItem, 900, 600)},
                                              r);
        model.level.pairs = {{3, 3}};
        return model;
    }
    // A click at the scene point where the world's scene view shows it.
    Result Click(CLevelVadadiDazidev& level, float x, float y)
    {
        const Vector3 point{x, y, 0.0f};
        Vector3 screen{};
        m_world.GetData()->math->TransformPoint(&screen, &point, &Data().m_matView[0]);
        return level.OnClick(screen.x, screen.y);
    }
    // World frames until the scene reaches the state, at most 300.
    void FramesUntil(const CLevelVadadiDazidev& level, uint32_t state)
    {
        for (int n = 0; n < 300 && level.GetSceneState() != state; ++n) {
            ASSERT_EQ(m_world.Update(), RES_OK);
            ASSERT_EQ(m_world.Render(), RES_OK);
        }
    }
};

TEST_P(SceneWorldTest, AWrittenScenePlaysFromItsFreshEntryToTheEndOfTheGame)
{
    FillWorldFactories(&m_world);
    std::unique_ptr<CGameLevel> made =
        m_world.GetLevelFactory().MakeLevel(kLevelTypeHiddenObject, m_world.GetData(), m_engine, 0);
    auto* level = dynamic_cast<CLevelVadadiDazidev*>(made.get());
    ASSERT_NE(level, nullptr);
    Describe(*level, WrittenScene());
    m_world.m_pScenes[0] = std::move(made);
    m_world.SetState(GS_IN_GAME, 0);
    m_world.GetData()->hasFocus = 1;
    Data().m_nMode = 0, Data().m_nSlot = 0;
    Data().Progress(0, 0).m_FirstVisit[0] = 1;  // no first-visit tutorial

    EXPECT_EQ(level->AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(level->GetSceneState(), 1u);
    EXPECT_EQ(m_world.Update(), RES_OK);
    EXPECT_EQ(Click(*level, 100, 100), RES_OK);
    EXPECT_EQ(Click(*level, 200, 100), RES_OK);
    FramesUntil(*level, 2);
    ASSERT_EQ(level->GetSceneState(), 2u);
    EXPECT_EQ(Click(*level, 300, 100), RES_OK);
    FramesUntil(*level, kStateQuiz);
    ASSERT_EQ(level->GetSceneState(), kStateQuiz);
    EXPECT_TRUE(level->IsSceneOptionSet());
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(m_world.Update(), RES_OK);
    EXPECT_FLOAT_EQ(level->GetQuizFade(), 1.0f);

    // The draw pass's quiz step: the one answer stands in place 2 of two columns, a quarter
    // across and 0.671875 down; a release there chooses it.
    SetPointer(256, 530, 256, 530);
    m_world.GetData()->mouseReleased[0] = 1;
    EXPECT_EQ(m_world.Render(), RES_OK);
    EXPECT_EQ(level->GetChosenAnswer(), 0);
    ASSERT_EQ(level->AnswerQuiz(), RES_OK);
    EXPECT_EQ(level->GetSceneState(), kStateArrows) << "an outcome without target or argument leads on";
    EXPECT_EQ(level->PeekPopup(), 2);
    EXPECT_EQ(Click(*level, 900, 600), RES_OK);
    EXPECT_EQ(m_world.GetPendingState(), static_cast<uint32_t>(GS_GAME_FINISHED));
}

INSTANTIATE_TEST_SUITE_P(FixtureFont, SceneWorldTest, ::testing::Values(0u));

} // namespace
