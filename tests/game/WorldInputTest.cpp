#include <algorithm>
#include <iterator>

#include "engine3d/Camera.h"
#include "tests/game/WorldInputFixture.h"
#include "tests/game/widgets/WidgetFixture.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

// The world on the memory renderer at 1024 x 768 with a loaded toolbar (menubar 60 wide, strip 45
// high) and hint button (at 30, 738), in game on a hidden-object level with two folded tooltips;
// a miss window of 2 s, 2 misses, a 2 s penalty, the window timer at its limit.
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
        auto level = std::make_unique<CInputLevel>(m_world.GetData(), kLevelTypeHiddenObject, m_log);
        m_level = level.get();
        PlayInputLevel(m_world, std::move(level), 2, m_log);
        Abuse(2.0f, 2, 2.0f);
        m_world.GetData()->hasFocus = 1;
    }
    void TearDown() override
    {
        ResetTestSwitches();
        WidgetTest::TearDown();
    }

    void Abuse(float window, uint8_t clicks, float shown)
    {
        Data().m_fIsAbusingUnderSeconds = window, Data().m_nAbuseOverClick = clicks, Data().m_fAbuseSecondsShowed = shown;
        m_world.m_fAbuseTimer = window * 30.0f, m_world.m_nMisses = 1;
    }
    std::string Click(int x, int y)
    {
        m_log.clear();
        SendInput(m_world, WM_LBUTTONDOWN, x, y);
        SendInput(m_world, WM_LBUTTONUP, x, y);
        return m_log;
    }
    void ExpectCount(uint8_t misses, float timer, uint32_t pending = GS_NONE)
    {
        EXPECT_EQ(m_world.m_nMisses, misses);
        EXPECT_EQ(m_world.m_fAbuseTimer, timer);
        EXPECT_EQ(m_world.m_nPendingState, pending);
        m_world.m_nPendingState = GS_NONE;
    }
    CInputTooltip& Tooltip(uint32_t n) { return static_cast<CInputTooltip&>(*m_world.m_pTooltips[n]); }
    Result Key(WPARAM key) { return SendInput(m_world, WM_KEYDOWN, 0, 0, key); }

    std::string m_log;
    CInputLevel* m_level = nullptr;
};

} // namespace

TEST_P(GameWorldInputTest, ReleasesClickBelowThreeUnitsEndDragsAboveAndNeedATakenPress)
{
    m_level->dragEnabled = true;
    m_world.m_nTooltipCount = 0;
    for (auto [dx, expected] : {std::pair{2.9f, "press 100,100 click 102,100 "}, {3.0f, "press 100,100 "},
                                {3.1f, "press 100,100 release 103,100 "}}) {
        m_log.clear();
        SetPointer(100, 100, 100 + dx, 100);
        m_world.OnMouseLeftDown(100, 100, 0);
        m_world.OnMouseLeftUp(100 + dx, 100, 0);
        EXPECT_EQ(m_log, expected) << dx;
    }
    m_world.m_bIgnoreMouse = 1;
    EXPECT_EQ(SendInput(m_world, WM_LBUTTONDOWN, 200, 200), RES_OK);
    m_world.m_bIgnoreMouse = 0;
    m_log.clear();
    SendInput(m_world, WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(m_log, "") << "the press was dropped: no click on the stale press point";
    m_world.m_nState = GS_MAIN_MENU;
    SendInput(m_world, WM_LBUTTONDOWN, 100, 100);
    m_world.m_nState = GS_IN_GAME;
    SendInput(m_world, WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(m_log, "") << "pressed in the menu";
}

TEST_P(GameWorldInputTest, AClickGoesToTheFirstTakerInOrder)
{
    m_world.m_pHint->StartHint({0, 0, 0});
    EXPECT_EQ(Click(500, 300), "") << "the glow fades out";
    EXPECT_EQ(m_world.m_pHint->GetGlowState(), kGlowFadeOut);
    Tooltip(1).slide = kTooltipShown;
    EXPECT_EQ(Click(500, 300), "step1 ");
    EXPECT_EQ(Tooltip(1).slide, kTooltipFolding);
    Tooltip(1).clickResult = RES_OK;
    EXPECT_EQ(Click(500, 300), "tooltip0 tooltip1 ");
    Tooltip(1).clickResult = RES_FAIL;
    Data().m_bDebugKeys = 1;  // the hint needs no charge
    EXPECT_EQ(Click(30, 738), "tooltip0 tooltip1 hint ");
    EXPECT_EQ(Click(30, 505), "tooltip0 tooltip1 ") << "menubar button 0";
    EXPECT_EQ(m_world.m_nPendingState, GS_FADE_TO_LOADING);
    m_world.m_nPendingState = GS_NONE;
    EXPECT_EQ(Click(30, 575), "tooltip0 tooltip1 ") << "button 2 takes it";
    EXPECT_EQ(Click(500, 740), "tooltip0 tooltip1 ") << "the toolbar strip swallows it";
    m_world.m_pToolbar.reset();
    EXPECT_EQ(Click(500, 740), "tooltip0 tooltip1 click 500,740 ");
}

TEST_P(GameWorldInputTest, MissesInsideTheWindowStartThePenaltyUnlessTheClickCountsNot)
{
    Click(500, 300);
    ExpectCount(1, 0.0f);
    Click(500, 300);
    ExpectCount(2, 0.0f, GS_ABUSE_PENALTY);
    EXPECT_EQ(m_world.m_fPenaltyTime, 60.0f);
    m_world.m_nState = GS_ABUSE_PENALTY;
    m_world.GetData()->frameFactor = 61.0;
    m_world.Update();
    EXPECT_EQ(m_world.m_nPendingState, GS_IN_GAME);
    m_world.m_nState = GS_IN_GAME;
    ExpectCount(1, 60.0f, GS_IN_GAME);

    Abuse(1.0f, 3, 2.0f);
    for (uint8_t misses : {1, 2}) {
        Click(500, 300);
        ExpectCount(misses, 0.0f);
    }
    m_level->clickResult = RES_OK;
    Click(500, 300);
    ExpectCount(1, 30.0f);
    m_level->clickResult = RES_FAIL;
    Click(500, 300);
    ExpectCount(1, 0.0f);  // after a hit a miss only opens a window
    m_level->m_nSceneState = 6;
    Click(500, 300);
    Click(500, 300);
    ExpectCount(1, 0.0f);
    m_level->m_nSceneState = 7;
    Click(500, 300);
    ExpectCount(1, 30.0f);
    m_level->m_nSceneState = 0, m_level->penaltyFree = true;
    Click(500, 300);
    ExpectCount(1, 30.0f);
    m_level->penaltyFree = false;
    m_world.m_fAbuseTimer = 0.0f, m_world.m_nMisses = 2;
    Tooltip(0).clickResult = RES_OK;
    std::string taken = Click(500, 300);
    Tooltip(0).clickResult = RES_FAIL;
    Data().m_bDebugKeys = 1;
    for (auto [x, y] : {std::pair{30, 738}, {30, 575}, {500, 740}})
        taken += Click(x, y);
    EXPECT_EQ(taken.find("click"), std::string::npos) << taken;
    ExpectCount(2, 0.0f);  // taken by a tooltip, the hint, a button or the strip
}

TEST_P(GameWorldInputTest, PointerMessagesAreClampedTurnedAndDroppedAfterAResync)
{
    CWorldData* data = m_world.GetData();
    SendInput(m_world, WM_LBUTTONDOWN, 300, 300);
    SendInput(m_world, WM_MOUSEMOVE, -20, 900);
    EXPECT_EQ(data->pointerX * 1000 + data->pointerY, 767.0f) << "a captured drag left of and below the window";
    EXPECT_EQ(m_world.m_vCamera.x * 1000 + m_world.m_vCamera.y, -300000.0f + 467.0f);
    SendInput(m_world, WM_LBUTTONUP, 0, 767);
    Data().m_bDebugKeys = 1;
    Key(VK_DOWN);
    EXPECT_EQ(m_engine->Camera()->GetOrientation(), kOrientationHalfTurn);
    SendInput(m_world, WM_MOUSEMOVE, 100, 50);
    EXPECT_EQ(data->pointerX * 1000 + data->pointerY, 924718.0f);
    Key(VK_RIGHT);
    EXPECT_EQ(m_engine->Camera()->GetOrientation(), kOrientationHalfTurn) << "quarter turns change nothing";

    m_world.m_bIgnoreMouse = 1;
    Data().m_fMaxZoomRefRatio = 2.0f;
    SendInput(m_world, WM_MOUSEWHEEL, 0, 0, MAKEWPARAM(0, WORD(-120)));
    SendInput(m_world, WM_LBUTTONDOWN, 1, 2);
    EXPECT_EQ(data->mouseDown[0] + m_world.m_fWheelStep, 0.0f);
    m_world.Update();
    SendInput(m_world, WM_MOUSEWHEEL, 0, 0, MAKEWPARAM(0, WORD(-120)));
    EXPECT_EQ(m_world.m_fWheelStep, -0.05f);
    EXPECT_EQ(SendInput(m_world, WM_SETFOCUS, 0, 0), RES_FAIL);
    EXPECT_EQ(SendInput(m_world, WM_KILLFOCUS, 0, 0), RES_FAIL);
}

TEST_P(GameWorldInputTest, DeveloperKeysActOnlyWithTheDeveloperSwitch)
{
    CWorldData* data = m_world.GetData();
    EXPECT_EQ(Key(VK_ESCAPE), RES_OK);
    EXPECT_EQ(m_world.m_nPendingState, GS_NONE);
    EXPECT_EQ(std::count(std::begin(data->keyPressed), std::end(data->keyPressed), 1), 0) << "not even the recorder";
    Data().m_bDebugKeys = 1;
    for (auto [state, pending] : {std::pair{1u, 2u}, {4u, 5u}, {29u, 0u}, {10u, 0u}, {30u, 5u}}) {
        m_world.m_nState = state;
        Key(VK_ESCAPE);
        EXPECT_EQ(m_world.m_nPendingState, pending) << state;
        m_world.m_nPendingState = GS_NONE;
    }
    m_world.m_fSpeedFactor = 0.1f;
    Key(VK_SUBTRACT), Key(VK_SUBTRACT);
    EXPECT_EQ(m_world.m_fSpeedFactor, 0.0f);
    Key(VK_ADD);
    EXPECT_FLOAT_EQ(m_world.m_fSpeedFactor, 0.2f);
    Key(VK_MULTIPLY);
    EXPECT_EQ(m_world.m_fSpeedFactor, 1.0f);

    m_log.clear();
    SetTestKeyDown(VK_CONTROL, true);
    Key(VK_F1 + 3);
    m_world.m_nState = GS_INGAME_POPUP;
    Key(VK_F1 + 3);
    EXPECT_EQ(m_world.m_nState, GS_IN_GAME);
    EXPECT_EQ(m_log, "shortcut+ctrl ");
}

INSTANTIATE_TEST_SUITE_P(PlainFont, GameWorldInputTest, ::testing::Values(0u));
