#include "levels/objects/LevelLabels.h"
#include "levels/objects/LevelTimer.h"
#include "levels/objects/LevelTooltip.h"

#include "levels/actions/LevelActions.h"
#include "tests/levels/LevelFixture.h"

namespace {

std::u16string TimeText(const CLevelTimer& timer)
{
    char16_t text[16];
    timer.FormatTime(text, 16);
    return text;
}

TEST_F(LevelBaseTest, TheTimerCountsWhileShownAndRunsOutOnEveryFrame)
{
    CTimerModel model;
    model.scene.parts.resize(1);
    CSceneTestStream description(TimerBody(model));
    ASSERT_EQ(m_timer->LoadDescription(&description), RES_OK);
    m_timer->SetSeconds(90.0f);
    EXPECT_EQ(TimeText(*m_timer), u"01:30");
    m_timer->AddSeconds(3510.0f);
    EXPECT_EQ(TimeText(*m_timer), u"60:00");
    EXPECT_EQ(m_timer->GetTextColour() >> 24, 1u) << "a transparent timer still draws";
    EXPECT_EQ(m_timer->GetSlideState(), kTimerAppearing);

    m_timer->SetSeconds(0.0f);
    m_timer->AddSeconds(5.0f);
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 150.0f);
    for (int frame = 0; frame < 150; ++frame)
        EXPECT_EQ(m_timer->Update(), RES_OK) << "the last frame lands on 0.0 and still counts: " << frame;
    EXPECT_EQ(m_timer->Update(), kTimerRanOut);
    EXPECT_EQ(m_timer->Update(), kTimerRanOut);
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 0.0f);
    m_timer->Hide();
    m_timer->AddSeconds(1.0f);
    for (int frame = 0; frame < 20; ++frame)
        EXPECT_EQ(m_timer->Update(), RES_OK);
    EXPECT_EQ(m_timer->GetSlideState(), kTimerHidden);
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 30.0f) << "not counted while disappearing";
    EXPECT_FLOAT_EQ(m_timer->GetAlpha(), 0.0f);

    const std::string saved = Saved(*m_timer, &CSceneObject3D::SaveObjects);
    CLevelTimer copy(Data(), Engine(), 0);
    CSceneTestStream load(saved), cut(saved.substr(0, saved.size() - 2));
    CSceneTestStream again(TimerBody(model));
    ASSERT_EQ(copy.LoadDescription(&again), RES_OK);
    ASSERT_EQ(copy.LoadObjects(&load, 63), RES_OK);
    EXPECT_EQ(Saved(copy, &CSceneObject3D::SaveObjects), saved);
    EXPECT_EQ(copy.LoadObjects(&cut, 63), RES_FAIL);
}

// One step on tooltip part 0 completed by part 1 of level 0, a final page, and completion
// actions that show part 1 of scene 0 and switch its record.
CTooltipModel OneStepTooltip()
{
    CTooltipModel model;
    model.scene.parts.resize(2);
    model.scene.parts[1].flags = kPartClickable;
    model.offsetX = 100.0f;
    model.steps = {{0, 0, 1, 8}};
    model.finalPage = 9;
    model.actions[0] = {0x0001};
    model.actions[1] = {0x0001};
    return model;
}

TEST_F(LevelBaseTest, ATooltipStepDoneByItsObjectFinishesTheTooltipOnce)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    level.GetPart(1)->flags = 0;
    CLevelTooltip& tooltip = MakeTooltip(OneStepTooltip());
    EXPECT_FALSE(tooltip.AllStepsDone());
    EXPECT_FALSE(tooltip.OnObjectEvent(0, 0));
    EXPECT_TRUE(tooltip.OnObjectEvent(0, 1));
    EXPECT_EQ(tooltip.GetPart(0)->flags, kPartDrawn | kPartWaiting);
    EXPECT_EQ(tooltip.GetPendingPage(), 8);
    EXPECT_EQ(tooltip.GetSlideState(), kTooltipUnfolding);
    EXPECT_EQ(tooltip.Update(), 3);

    EXPECT_TRUE(tooltip.AllStepsDone());
    EXPECT_TRUE(tooltip.IsDone());
    EXPECT_EQ(tooltip.GetPendingPage(), 9);
    EXPECT_TRUE(level.GetPart(1)->flags & kPartDrawn);
    EXPECT_EQ(level.GetCurrentRecord(), 1u);
    EXPECT_EQ(m_world.TakeTooltipPage(), 9);
    EXPECT_EQ(m_world.TakeTooltipPage(), kNoPopupPage);

    CTooltipModel empty;
    empty.finalPage = 4;
    CLevelTooltip& none = MakeTooltip(empty);
    EXPECT_TRUE(none.AllStepsDone()) << "no steps: done at once";
    EXPECT_EQ(none.GetPendingPage(), 4);
}

TEST_F(LevelBaseTest, ATooltipSlidesOnClicksUnlessHiddenAndKeepsItsState)
{
    CLevelTooltip& tooltip = MakeTooltip(OneStepTooltip());
    EXPECT_EQ(tooltip.OnClick(120, 120), RES_OK) << "part 1 is clickable";
    EXPECT_EQ(tooltip.GetSlideState(), kTooltipUnfolding);
    int sliding = 0;
    while (tooltip.Update() == 3 && sliding < 20)
        ++sliding;
    EXPECT_GE(sliding, 9);
    EXPECT_LE(sliding, 10);
    EXPECT_EQ(tooltip.GetSlideState(), kTooltipShown);
    EXPECT_FLOAT_EQ(tooltip.GetDisplayObject()->GetMatrix()->m[12], 100.0f) << "the offset, scaled by 1";
    EXPECT_EQ(tooltip.OnClick(190, 190), RES_FAIL);
    m_world.HideTooltip(0);
    EXPECT_TRUE(tooltip.IsHidden());
    EXPECT_EQ(tooltip.GetSlideState(), kTooltipFolding);
    EXPECT_EQ(tooltip.OnClick(120, 120), RES_FAIL) << "a hidden tooltip misses";

    const std::string saved = Saved(tooltip, &CSceneObject3D::SaveObjects);
    CLevelTooltip& copy = MakeTooltip(OneStepTooltip());
    CSceneTestStream stream(saved);
    ASSERT_EQ(copy.LoadObjects(&stream, 63), RES_OK);
    EXPECT_EQ(Saved(copy, &CSceneObject3D::SaveObjects), saved);
    m_world.ShowTooltip(0);
    EXPECT_FALSE(copy.IsHidden());
    EXPECT_EQ(copy.GetSlideState(), kTooltipUnfolding);
}

TEST_F(LevelBaseTest, TheTooltipEventWithoutALevelFailsAndBadReferencesAreSkipped)
{
    CLevelTooltip& tooltip = MakeTooltip(OneStepTooltip());
    auto event = MakeLevelAction(LevelActionKind::TooltipEvent, Data());
    CSceneTestStream elements(std::string("\x02\x01\x00\x01\x05", 5));  // tooltip 0 object 1, tooltip 5
    ASSERT_EQ(event->Load(elements), RES_OK);
    EXPECT_EQ(event->Apply(-1), RES_FAIL);
    EXPECT_EQ(tooltip.GetPart(0)->flags, 0u);
    EXPECT_EQ(event->Apply(0), RES_OK);
    EXPECT_EQ(tooltip.GetPart(0)->flags, kPartDrawn | kPartWaiting);
    EXPECT_NE(s_log.find(u"CLevelAction::Apply skipped"), std::u16string::npos);

    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    auto enable = MakeLevelAction(LevelActionKind::EnableObjects, Data());
    CSceneTestStream references(std::string("\x03\x01\x00\x01\x80\x09\x00", 7));  // scene part, tooltip part, part 9
    ASSERT_EQ(enable->Load(references), RES_OK);
    level.GetPart(1)->flags = kPartWaiting;
    tooltip.GetPart(1)->flags = 0;
    EXPECT_EQ(enable->Apply(-1), RES_OK);
    EXPECT_EQ(level.GetPart(1)->flags, kPartClickable) << "a scene part is enabled";
    EXPECT_EQ(tooltip.GetPart(1)->flags, kPartWaiting) << "a tooltip step is done";

    CTooltipModel bad = OneStepTooltip();
    bad.steps[0].part = 2;
    CLevelTooltip refused(Data(), Engine(), 1);
    CSceneTestStream description(TooltipBody(bad));
    EXPECT_EQ(refused.ReadDescription(&description), RES_FAIL);
}

TEST_F(LevelBaseTest, LabelsRefuseAPartPastTheirPartsAndShowOnlyTheirOwn)
{
    CLabelsModel model;
    model.scene.parts.resize(1);
    model.labels = {{0, 2, {1, 2, 3, 4}}};
    CLevelLabels labels(Data(), Engine(), 0);
    ASSERT_EQ(labels.Init(), RES_OK);
    CSceneTestStream good(LabelsBody(model));
    ASSERT_EQ(labels.LoadDescription(&good), RES_OK);
    ASSERT_EQ(labels.GetLabelCount(), 1u);
    EXPECT_EQ(labels.GetLabel(0)->values[3], 4u);
    EXPECT_EQ(labels.GetLabel(1), nullptr);
    labels.ShowLabel(-1);
    labels.ShowLabel(1);
    labels.ShowLabel(0);  // the display object has no part yet
    model.labels[0].part = 1;
    CSceneTestStream bad(LabelsBody(model));
    EXPECT_EQ(labels.LoadDescription(&bad), RES_FAIL);
    EXPECT_EQ(labels.Release(), RES_OK);
}

} // namespace
