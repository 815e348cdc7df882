#include "game/ProfileProgress.h"
#include "tests/levels/LevelFixture.h"

namespace {

TEST_F(LevelBaseTest, TheWorldStartsLevelsAndSavesAndReloadsThemWithTheirObjects)
{
    CLevelModel model = TwoPartLevel();
    model.records[0].startPopup = {3, 0, 0, 0};
    CLevelUnderTest& level = MakeLevel(model);
    CTooltipModel tooltipModel;
    tooltipModel.scene.parts.resize(1);
    tooltipModel.steps = {{0, 0, 1, -1}};
    CLevelTooltip& tooltip = MakeTooltip(tooltipModel);
    CTimerModel timerModel;
    CSceneTestStream timerDescription(TimerBody(timerModel));
    ASSERT_EQ(m_timer->LoadDescription(&timerDescription), RES_OK);

    m_world.RegisterLevelSections();
    tooltip.SetSlideState(kTooltipShown);
    m_world.SwitchToNextScene(0);
    EXPECT_EQ(level.GetSceneState(), kSceneStateFresh);
    EXPECT_EQ(level.PeekPopup(), 3) << "started fresh";
    EXPECT_EQ(tooltip.GetSlideState(), kTooltipFolded);
    tooltip.OnObjectEvent(0, 1);
    m_timer->SetSeconds(20.0f);

    CProfileProgress record{};
    ASSERT_EQ(PrepareProgressRecord(record, 2), RES_OK);
    CSceneTestStream saved;
    ASSERT_EQ(m_world.WriteProfile(saved, record), RES_OK);
    level.PopPopup();
    tooltip.GetPart(0)->flags = 0;
    m_timer->SetSeconds(1.0f);
    CSceneTestStream load(saved.Bytes());
    ASSERT_EQ(m_world.LoadProfile(load, record, true, true), RES_OK);
    EXPECT_EQ(level.PeekPopup(), 3);
    EXPECT_EQ(tooltip.GetPart(0)->flags, kPartDrawn | kPartWaiting);
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 600.0f);
    CSceneTestStream again;
    ASSERT_EQ(m_world.WriteProfile(again, record), RES_OK);
    EXPECT_EQ(again.Bytes(), saved.Bytes());
}

} // namespace
