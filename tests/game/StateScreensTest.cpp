#include <functional>
#include <set>
#include <utility>

#include "game/GameStates.h"
#include "game/states/StateScreens.h"
#include "tests/game/GameLoadFixture.h"

namespace {

// The objects and parts a drawing step drew.
using Drawn = std::set<std::pair<const C3DObject*, uint32_t>>;

struct Widget {
    const char* name;
    std::function<void()> draw;
};

// The sample loaded on the memory renderer, the fade over, with focus.
class StateScreensTest : public GameLoadTest {
protected:
    void SetUp() override
    {
        GameLoadTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
        Data()->hasFocus = 1;
        m_world.m_pScreenshot->StopFade();
    }

    CMemoryEngine& Engine() { return *static_cast<CMemoryEngine*>(m_world.Get3DEngine()); }
    Drawn Drawing(const std::function<void()>& step)
    {
        Engine().ClearDraws();
        step();
        Drawn drawn;
        for (const MemoryDraw& draw : Engine().Draws())
            drawn.insert({draw.object, draw.part});
        return drawn;
    }
    // Each widget drawn alone draws something, and all of it is drawn by the draw pass of state.
    void ExpectEveryWidgetDrawn(uint32_t state, std::initializer_list<Widget> widgets)
    {
        for (const Widget& widget : widgets) {
            m_world.SetState(state, 0);
            const Drawn frame = Drawing([this] { EXPECT_EQ(m_world.Render(), RES_OK); });
            m_world.SetState(state, 0);
            const Drawn alone = Drawing(widget.draw);
            EXPECT_FALSE(alone.empty()) << "state " << state << ": " << widget.name << " draws nothing";
            size_t missing = 0;
            for (const auto& draw : alone)
                missing += frame.count(draw) == 0;
            EXPECT_EQ(missing, 0u) << "state " << state << ": " << widget.name << " left out";
        }
    }
    // The frames from the logos into the main menu.
    void EnterMainMenu()
    {
        for (int frame = 0; frame < 400 && m_world.GetState() != GS_MAIN_MENU; ++frame) {
            Data()->frameFactor = 1.0;
            Frame();
        }
        ASSERT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});
        m_world.m_pScreenshot->StopFade();
    }
    // A new story game played up to its first level.
    void EnterFirstLevel()
    {
        ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
        for (int frame = 0; frame < 600 && !m_world.GetCurrentLevel(); ++frame) {
            Frame();
            m_world.m_pScreenshot->StopFade();
        }
        ASSERT_NE(m_world.GetCurrentLevel(), nullptr);
    }

    Widget Backdrop() { return {"backdrop", [this] { EXPECT_EQ(m_world.m_pScreenshot->Show(), RES_OK); }}; }
    Widget Background()
    {
        return {"background", [this] { EXPECT_EQ(m_world.GetBackground()->DrawBackground(255), RES_OK); }};
    }
    Widget Dialog() { return {"dialog", [this] { EXPECT_EQ(m_world.m_pMenuDialog->Render(), RES_OK); }}; }
    Widget NavButtons() { return {"navigation buttons", [this] { m_world.m_pMenuDialog->RenderNavButtons(); }}; }
};

} // namespace

TEST(StateScreens, EveryStateButTheIdleOnesHasAScreen)
{
    CVadadiDazidevWorld world;
    CStateScreens screens(world);
    for (uint32_t state = 0; state <= CStateScreens::kStateCount; ++state) {
        const bool idle = state == GS_NONE || state == 7 || state == CStateScreens::kStateCount;
        EXPECT_EQ(screens.ScreenOf(state) == nullptr, idle) << state;
    }
    EXPECT_EQ(screens.ScreenOf(0xFFFFFFFF), nullptr);
    EXPECT_EQ(screens.ScreenOf(GS_SCENE_INTRO_TEXT), screens.ScreenOf(GS_SCENE_CHANGE))
        << "the intro text pages where the level switches";
}

TEST_F(StateScreensTest, TheMenuScreensDrawEveryWidget)
{
    EnterMainMenu();
    CScreenLayeredMenu* menu = m_world.m_pMenuCurrent;
    ASSERT_NE(menu, nullptr);
    ExpectEveryWidgetDrawn(GS_MAIN_MENU,
                           {{"layered menu", [menu] { EXPECT_EQ(menu->DrawIdle(true, false), RES_OK); }}, Dialog(),
                            NavButtons()});
    ExpectEveryWidgetDrawn(GS_FADE_TO_LOADING,
                           {Backdrop(),
                            {"loading", [this] { EXPECT_EQ(m_world.GetBackground()->DrawLoadingBig(), RES_OK); }}});
    ExpectEveryWidgetDrawn(GS_OUTRO_MENU,
                           {{"layered menu", [menu] { EXPECT_EQ(menu->DrawIdle(false, false), RES_OK); }},
                            NavButtons()});

    m_world.SetState(GS_LOAD_CREDITS, 0);
    EXPECT_EQ(m_world.Render(), RES_OK);
    ASSERT_EQ(m_world.GetState(), uint32_t{GS_CREDITS});
    ExpectEveryWidgetDrawn(GS_CREDITS,
                           {{"layered menu", [menu] { EXPECT_EQ(menu->DrawIdle(true, true), RES_OK); }}, Background(),
                            {"credits page", [this] { m_world.m_pMenuDialog->RenderCredits(); }}, NavButtons()});
}

TEST_F(StateScreensTest, TheGameScreensDrawEveryWidget)
{
    EnterFirstLevel();
    CGameLevel& level = *m_world.GetCurrentLevel();
    ASSERT_FALSE(level.IsToolbarHidden());
    CToolbar& toolbar = *m_world.GetToolbar();
    ASSERT_GT(m_world.GetTooltipCount(), 0u);
    m_world.ShowTooltip(0);
    ExpectEveryWidgetDrawn(GS_IN_GAME, {{"level", [&level] { level.Render(); }},
                                        {"toolbar strip", [&toolbar] { toolbar.RenderToolbarStrip(); }},
                                        {"menubar", [&toolbar] { toolbar.RenderMenubar(); }},
                                        {"hint", [this] { m_world.GetHint()->RenderAt(0.0f); }},
                                        {"tooltips", [this] { m_world.DrawTooltips(); }}});
    ExpectEveryWidgetDrawn(GS_LEVEL_MESSAGE, {Backdrop(), Background(), NavButtons()});
    ExpectEveryWidgetDrawn(GS_ABUSE_PENALTY,
                           {Backdrop(),
                            {"abuse flash", [this] { EXPECT_EQ(m_world.GetBackground()->DrawAbuseFlash(), RES_OK); }}});
    ExpectEveryWidgetDrawn(GS_INGAME_MENU, {Background(), Dialog(), NavButtons()});

    CPopupText& popup = *m_world.GetIngamePopup();
    popup.SetText(1, kGameTable);
    popup.OnTextNext();
    ExpectEveryWidgetDrawn(GS_INGAME_POPUP,
                           {{"pop-up", [&popup] { EXPECT_EQ(popup.Render(), RES_OK); }}, NavButtons()});
}
