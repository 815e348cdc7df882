#include <algorithm>
#include <iterator>
#include <utility>

#include "tests/game/WorldInputFixture.h"
#include "tests/game/widgets/WidgetFixture.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

// The world on the memory renderer at 1024 x 768 with a loaded toolbar (menubar 60 wide, strip 45
// high, button 0 at y 505) and hint button (30, 738), in game on a hidden-object level with two
// tooltips; a miss window of 2 s, 2 misses, a 2 s penalty, the window timer at its limit.
class GameWorldInputTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        if (IsSkipped())
            return;
        m_world.m_pToolbar = std::make_unique<CToolbar>(m_world.GetData());
        m_world.m_pHint = std::make_unique<CHint>(m_world.GetData());
        ASSERT_EQ(m_world.m_pToolbar->Load() + m_world.m_pHint->Load(), RES_OK);
        m_level = &PlayInputLevel(m_world, 2, m_log);
        Abuse(2.0f, 2);
        m_world.GetData()->hasFocus = 1;
    }
    void TearDown() override { ResetTestSwitches(), WidgetTest::TearDown(); }

    void Abuse(float seconds, uint8_t clicks)
    {
        Data().m_fIsAbusingUnderSeconds = Data().m_fAbuseSecondsShowed = seconds, Data().m_nAbuseOverClick = clicks;
        m_world.m_fAbuseTimer = seconds * 30.0f, m_world.m_nMisses = 1;
    }
    Result Send(UINT message, int x, int y, WPARAM wParam = 0)
    {
        CWorldMessage record{nullptr, message, wParam, MAKELPARAM(WORD(x), WORD(y)), {0, 0, 0}};
        return m_world.OnMessage(&record);
    }
    std::string Click(int x, int y)
    {
        m_log.clear();
        EXPECT_EQ(Send(WM_LBUTTONDOWN, x, y), RES_OK);
        EXPECT_EQ(Send(WM_LBUTTONUP, x, y), RES_OK);
        return m_log;
    }
    // Misses and window timer, then the pending state (cleared).
    void ExpectCount(uint8_t misses, float timer, uint32_t pending = GS_NONE)
    {
        EXPECT_EQ(m_world.m_nMisses * 1000.0f + m_world.m_fAbuseTimer, misses * 1000.0f + timer);
        EXPECT_EQ(std::exchange(m_world.m_nPendingState, GS_NONE), pending);
    }
    CInputTooltip& Tooltip(uint32_t n) { return static_cast<CInputTooltip&>(*m_world.m_pTooltips[n]); }

    std::string m_log;
    CInputLevel* m_level = nullptr;
};

} // namespace

TEST_P(GameWorldInputTest, ReleasesClickBelowThreeUnitsEndDragsAboveAndNeedATakenPress)
{
    m_level->dragEnabled = true;
    m_world.m_nTooltipCount = 0;
    for (auto [dx, expected] : {std::pair{2.9f, "click 102,100 "}, {3.0f, ""}, {3.1f, "release 103,100 "}}) {
        m_log.clear();
        SetPointer(100, 100, 100 + dx, 100);
        EXPECT_EQ(m_world.OnMouseLeftDown(100, 100, 0), RES_FAIL) << "the reactions answer a failure";
        EXPECT_EQ(m_world.OnMouseLeftUp(100 + dx, 100, 0), RES_FAIL);
        EXPECT_EQ(m_log, expected) << dx;
    }
    m_log.clear();
    m_world.m_bIgnoreMouse = 1;
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 100, 100), RES_OK);  // dropped: the press point is the last one
    m_world.m_bIgnoreMouse = 0;
    EXPECT_EQ(Send(WM_LBUTTONUP, 100, 100), RES_OK);
    m_world.m_nState = GS_MAIN_MENU;
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 100, 100), RES_OK);
    m_world.m_nState = GS_IN_GAME;
    EXPECT_EQ(Send(WM_LBUTTONUP, 100, 100), RES_OK);
    EXPECT_EQ(m_log, "") << "a dropped press, or one taken in the menu, leaves no click";
    Data().m_fMaxZoomRefRatio = 2.0f;
    m_world.m_bIgnoreMouse = 1;
    EXPECT_EQ(Send(WM_MOUSEWHEEL, 0, 0, MAKEWPARAM(0, WORD(-120))), RES_OK);
    EXPECT_EQ(m_world.m_fWheelStep, 0.0f) << "dropped until the next frame";
    EXPECT_EQ(m_world.Update(), RES_OK);
    EXPECT_EQ(Send(WM_MOUSEWHEEL, 0, 0, MAKEWPARAM(0, WORD(-120))), RES_OK);
    EXPECT_EQ(m_world.m_fWheelStep, -0.05f);
}

TEST_P(GameWorldInputTest, AClickGoesToTheFirstTakerInOrder)
{
    m_world.m_pHint->StartHint({0, 0, 0});
    EXPECT_EQ(Click(500, 300), "tooltip0 tooltip1 click 500,300 ") << "the glow fades out and takes nothing";
    EXPECT_EQ(m_world.m_pHint->GetGlowState(), kGlowFadeOut);
    Tooltip(1).slide = kTooltipShown;
    m_level->pageUp = true, m_level->m_nSceneState = kSceneStateQuiz;
    EXPECT_EQ(Click(500, 300) + Click(30, 505), "click 500,300 click 30,505 ") << "the quiz page covers the widgets";
    EXPECT_EQ(Tooltip(1).slide, kTooltipShown);
    EXPECT_EQ(m_world.m_nPendingState, GS_NONE);
    m_level->pageUp = false, m_level->m_nSceneState = 0;
    EXPECT_EQ(Click(500, 300), "step1 ");
    Tooltip(1).clickResult = RES_OK;
    EXPECT_EQ(Click(500, 300), "tooltip0 tooltip1 ") << "panel 1 folding: each tooltip's own click test";
    Tooltip(1).clickResult = RES_FAIL;
    Data().m_bDebugKeys = 1;  // the hint needs no charge
    EXPECT_EQ(Click(30, 738), "tooltip0 tooltip1 hint ");
    m_world.m_nTooltipCount = 0;
    EXPECT_EQ(Click(500, 740) + Click(30, 505), "") << "the strip, then menubar button 0";
    EXPECT_EQ(m_world.m_nPendingState, GS_FADE_TO_LOADING);
}

TEST_P(GameWorldInputTest, MissesInsideTheWindowStartThePenaltyUnlessTheClickCountsNot)
{
    m_world.m_nTooltipCount = 0;
    Click(500, 300), ExpectCount(1, 0.0f);
    Click(500, 300), ExpectCount(2, 0.0f, GS_ABUSE_PENALTY);
    EXPECT_EQ(m_world.m_fPenaltyTime, 60.0f);
    m_world.m_nState = GS_ABUSE_PENALTY;
    m_world.GetData()->frameFactor = 61.0;
    EXPECT_EQ(m_world.Update(), RES_OK);
    ExpectCount(1, 60.0f, GS_IN_GAME);
    m_world.m_nState = GS_IN_GAME;

    Abuse(1.0f, 3);
    Click(500, 300), Click(500, 300), ExpectCount(2, 0.0f);
    m_level->clickResult = RES_OK;
    Click(500, 300), ExpectCount(1, 30.0f);
    m_level->clickResult = RES_FAIL;
    Click(500, 300), ExpectCount(1, 0.0f);  // after a hit a miss only opens a window
    m_level->m_nSceneState = 6;
    Click(500, 300), Click(500, 300), ExpectCount(1, 0.0f);
    m_level->m_nSceneState = 7;
    Click(500, 300), ExpectCount(1, 30.0f);
    m_level->m_nSceneState = 0, m_level->penaltyFree = true;
    Click(500, 300), ExpectCount(1, 30.0f);
    m_level->penaltyFree = false, m_world.m_fAbuseTimer = 0.0f;
    m_world.m_nTooltipCount = 2, Tooltip(0).clickResult = RES_OK, Data().m_bDebugKeys = 1;
    std::string taken = Click(500, 300);  // a tooltip, the hint, a menubar button, the strip
    Tooltip(0).clickResult = RES_FAIL;
    for (auto [x, y] : {std::pair{30, 738}, {30, 575}, {500, 740}})
        taken += Click(x, y);
    EXPECT_EQ(taken.find("click"), std::string::npos) << taken;
    ExpectCount(1, 0.0f);
}

TEST_P(GameWorldInputTest, KeysActOnlyWithTheDeveloperSwitch)
{
    auto key = [this](WPARAM key) { return Send(WM_KEYDOWN, 0, 0, key); };
    EXPECT_EQ(key(VK_ESCAPE) + m_world.m_nPendingState, 0u);
    const auto& pressed = m_world.GetData()->keyPressed;
    EXPECT_EQ(std::count(std::begin(pressed), std::end(pressed), 1), 0) << "not even the recorder";
    EXPECT_EQ(Send(WM_SETFOCUS, 0, 0), RES_FAIL);
    Data().m_bDebugKeys = 1;
    for (auto [state, pending] : {std::pair{1u, 2u}, {4u, 5u}, {29u, 0u}, {10u, 0u}, {30u, 5u}}) {
        m_world.m_nState = state;
        EXPECT_EQ(key(VK_ESCAPE), RES_OK) << state;
        EXPECT_EQ(std::exchange(m_world.m_nPendingState, GS_NONE), pending) << state;
    }
    EXPECT_EQ(key(VK_DOWN), RES_OK);  // quarter turns change nothing
    EXPECT_EQ(key(VK_RIGHT), RES_OK);
    EXPECT_EQ(Send(WM_MOUSEMOVE, 100, 50), RES_OK);
    EXPECT_EQ(m_world.GetData()->pointerX * 1000 + m_world.GetData()->pointerY, 924718.0f) << "a half turn";
    m_world.m_fSpeedFactor = 0.1f;
    EXPECT_EQ(key(VK_SUBTRACT), RES_OK);
    EXPECT_EQ(key(VK_SUBTRACT), RES_OK);
    EXPECT_EQ(m_world.m_fSpeedFactor, 0.0f);
    SetTestKeyDown(VK_CONTROL, true);
    EXPECT_EQ(key(VK_F1 + 3), RES_OK);
    m_world.m_nState = GS_INGAME_POPUP;
    EXPECT_EQ(key(VK_F1 + 3), RES_OK);
    EXPECT_EQ(m_world.m_nState, GS_IN_GAME);
    EXPECT_EQ(m_log, "shortcut+ctrl ");
}

INSTANTIATE_TEST_SUITE_P(PlainFont, GameWorldInputTest, ::testing::Values(0u));
