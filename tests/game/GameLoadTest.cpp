#include <vector>

#include "game/GameTooltip.h"
#include "game/PopupText.h"
#include "game/menus/MenuDialog.h"
#include "game/widgets/Hint.h"
#include "game/screens/Stars.h"
#include "tests/support/platform/TestSwitches.h"
#include "game/CharsetRemap.h"
#include "tests/game/GameLoadFixture.h"

namespace {

const char16_t kLoadFailed[] = u"# CVadadiDazidevWorld::Load failed!";

// A pop-up whose release fails, counting the releases of all three.
class CFailingPopup : public CPopupText {
public:
    using CPopupText::CPopupText;
    Result Release() override
    {
        ++s_releases;
        IgnoreResult(CPopupText::Release());
        return RES_FAIL;
    }
    static inline int s_releases = 0;
};

class CFailingComponent : public CWorldComponent {
public:
    Result Load() override { return RES_FAIL; }
};

CBaseObject* MakeNothing(CWorldData*, C3DEngine*, uint32_t)
{
    return nullptr;
}

CBaseObject* MakeFailingComponent(CWorldData*, C3DEngine*, uint32_t)
{
    return new CFailingComponent();
}

CBaseObject* MakePlain(CWorldData*, C3DEngine*, uint32_t)
{
    return new CWorldComponent();
}

// A hint and a menu dialog whose loading answers result, without textures.
template <Result result>
class CStubHint : public CHint {
public:
    using CHint::CHint;
    Result Load() override { return result; }
};

template <Result result>
class CStubMenuDialog : public CMenuDialog {
public:
    explicit CStubMenuDialog(CWorldData* data) : CMenuDialog(data, nullptr, nullptr) {}
    Result Load() override { return result; }
};

CBaseObject* MakeLoadedHint(CWorldData* data, C3DEngine*, uint32_t)
{
    return new CStubHint<RES_OK>(data);
}

template <Result result>
CBaseObject* MakeStubMenuDialog(CWorldData* data, C3DEngine*, uint32_t)
{
    return new CStubMenuDialog<result>(data);
}

CBaseObject* MakeScreenStars(CWorldData* data, C3DEngine* engine, uint32_t)
{
    return new CStars(data, engine);
}

Result RefuseConstruction(CBaseObject*, CStream*)
{
    return RES_FAIL;
}

struct CStepFailure {
    ComponentKind kind;
    ComponentMaker maker;
    ConstructionReader reader;
    const char16_t* line;
};

} // namespace

TEST_F(GameLoadTest, TheSampleDataLoadsToItsFirstLogoAndReleasesEverything)
{
    ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
    EXPECT_EQ(Count(kLoadFailed), 0u);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_LOGO_1});
    EXPECT_EQ(m_world.GetGameData()->m_nLanguage, 0u);
    EXPECT_EQ(m_world.GetGameData()->m_Progress[5].m_nBestHours, 255) << "every record has its times";
    char16_t title[32];
    EXPECT_EQ(m_world.GetTitle(u"", u"", title, 32), RES_OK);
    EXPECT_EQ(std::u16string(title), u"Vadadi Dazidev");
    EXPECT_EQ(m_world.Release(), RES_OK);
    EXPECT_EQ(m_world.GetGameData()->m_pMainFont, nullptr);
    EXPECT_EQ(m_world.GetGameData()->m_ExternalPak.file, nullptr);
}

TEST_F(GameLoadTest, AKindWithoutAMakerIsLeftOut)
{
    m_world.GetComponentFactory().SetMaker(kComponentToolbar, nullptr);
    ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
    EXPECT_EQ(m_world.m_pToolbar, nullptr);
    EXPECT_NE(m_world.m_pHint, nullptr);
    EXPECT_NE(m_world.m_pMenuDialog, nullptr);
    EXPECT_EQ(m_world.GetToolbarSize().x, 0.0f);
    EXPECT_EQ(m_world.Release(), RES_OK);
}

TEST_F(GameLoadTest, EachFailingStepLogsExactlyItsLine)
{
    const CStepFailure failures[] = {
        {kComponentFont, MakeNothing, nullptr, u"CVarnFont error"},
        {kComponentToolbar, MakeFailingComponent, nullptr, u"CToolbar error"},
        {kComponentHint, MakeNothing, nullptr, u"CHint error"},
        {kComponentHint, MakePlain, nullptr, u"CHint error"},
        {kComponentHint, MakeLoadedHint, RefuseConstruction, u"m_pHint error"},
        {kComponentStars, MakeNothing, nullptr, u"CStars error"},
        {kComponentStars, MakeScreenStars, RefuseConstruction, u"m_pStars error"},
        {kComponentBackground, MakeNothing, nullptr, u"CKvoBackground error"},
        {kComponentFader, MakeNothing, nullptr, u"CKvoScreenshot error"},
        {kComponentTouchMarkers, MakeNothing, nullptr, u"m_pTouchScreen error"},
        {kComponentInertia, MakeNothing, nullptr, u"CInertiaPosition credits error"},
        {kComponentLayeredMenu, MakeNothing, nullptr, u"CScreenLayeredMenu intro error"},
        {kComponentMenuDialog, MakeStubMenuDialog<RES_OK>, RefuseConstruction, u"m_pMenuDialog error"},
        {kComponentMenuDialog, MakeStubMenuDialog<RES_FAIL>, [](CBaseObject*, CStream*) { return RES_OK; },
         u"CMenuDialog error"},
        {kComponentPopup, MakeNothing, nullptr, u"CPopupText waiting error"},
    };
    for (const CStepFailure& failure : failures) {
        SCOPED_TRACE(std::string(failure.line, failure.line + std::char_traits<char16_t>::length(failure.line)));
        CLoadWorld world;
        ASSERT_EQ(world.SetParameters(nullptr, &m_game, nullptr, Data()->pak.path, 0, FindPackerEntry, nullptr),
                  RES_OK);
        ASSERT_EQ(world.GetDataFolder(), RES_OK);
        WStrCopy(world.GetData()->dataFolder, kMaxPathUnits, Data()->dataFolder);
        world.GetGameData()->m_bForceCharsetFont = 1;
        FillWorldFactories(&world);
        world.GetComponentFactory().SetMaker(failure.kind, failure.maker, failure.reader);
        ChooseTestModule(world.GetData(), kModule3D, [](CWorldData* d) -> CBaseObject* { return new CMemoryEngine(d); });
        s_log.clear();
        EXPECT_EQ(world.Load(MemoryRenderer::Window(), 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0), RES_FAIL);
        EXPECT_EQ(Count(kLoadFailed), 1u);
        EXPECT_EQ(Count(failure.line), 1u) << std::string(s_log.begin(), s_log.end());
        EXPECT_EQ(world.Release(), RES_OK);
    }
}

TEST_F(GameLoadTest, ReleaseGoesOnAfterAFailingPopupAndReportsIt)
{
    CFailingPopup::s_releases = 0;
    m_world.GetComponentFactory().SetMaker(kComponentPopup, [](CWorldData* d, C3DEngine*, uint32_t) -> CBaseObject* {
        return new CFailingPopup(d);
    });
    ASSERT_EQ(Load(), RES_OK);
    EXPECT_EQ(m_world.Release(), RES_FAIL);
    EXPECT_EQ(CFailingPopup::s_releases, 3);
    EXPECT_EQ(m_world.GetGameData()->m_ExternalPak.file, nullptr);
    EXPECT_EQ(m_world.GetGameData()->m_pExternalParams, nullptr);
}

TEST_F(GameLoadTest, DeferredStatesLandAtTheEndOfTheSamePassAndTheLaterWins)
{
    ASSERT_EQ(Load(), RES_OK);
    Data()->hasFocus = 1;
    m_world.SetState(GS_NONE, 0);  // idle: the pass does only its end
    m_world.SetState(GS_LOAD_CREDITS, 1);
    m_world.SetState(GS_LOAD_LEGALS, 1);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_NONE});
    EXPECT_EQ(m_world.Render(), RES_OK);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_LOAD_LEGALS});
    EXPECT_EQ(m_world.GetPendingState(), 0u);
    EXPECT_EQ(m_world.m_nPreviousState, uint32_t{GS_NONE});

    m_world.GetGameData()->m_bDebugKeys = 1;
    SetTestKeyDown(VK_CONTROL, true);
    m_world.SetState(GS_MAIN_MENU, 1);
    SetTestKeyDown(VK_CONTROL, false);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU}) << "Ctrl with the developer switch: at once";
    EXPECT_EQ(m_world.GetPendingState(), 0u);
}

TEST_F(GameLoadTest, TheGameRunsFromItsLogosThroughTheLoadingScreenIntoTheMainMenu)
{
    ASSERT_EQ(Load(), RES_OK);
    Data()->hasFocus = 1;
    std::vector<uint32_t> states;
    for (int frame = 0; frame < 400 && m_world.GetState() != GS_MAIN_MENU; ++frame) {
        Data()->frameFactor = 1.0;
        Frame();
        if (states.empty() || states.back() != m_world.GetState())
            states.push_back(m_world.GetState());
    }
    EXPECT_EQ(states, (std::vector<uint32_t>{GS_LOGO_1, GS_LOGO_2, GS_FADE_TO_LOADING, GS_LOAD_INTRO_SCREEN,
                                             GS_INTRO_SCREEN_IN, GS_INTRO_SCREEN_LEAVE, GS_MAIN_MENU}));
    Data()->hasFocus = 0;
    const Vector3 pointer = m_world.GetGameData()->m_vPointerOffset;
    Data()->pointerX = 0.0f;
    Frame();
    EXPECT_EQ(m_world.GetGameData()->m_vPointerOffset.x, pointer.x) << "without focus nothing advances";
}

TEST_F(GameLoadTest, TheFinishedStoryShowsItsEndTextBeforeTheOutro)
{
    ASSERT_EQ(Load(), RES_OK);
    Data()->hasFocus = 1;
    CGameData& game = *m_world.GetGameData();
    ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
    m_world.m_nNextScene = kNoIndex;
    ASSERT_EQ(m_world.GetTooltipCount(), 2u);
    CGameTooltip* farewell = m_world.GetTooltip(1);
    for (uint32_t scene = 0; scene < m_world.m_nSceneCount; ++scene) {
        m_world.m_nCurrentScene = scene;
        // The level's own start checks the tooltips; a mini-game whose files are not loaded here
        // fails its part after that (the sliding puzzle has no pieces).
        IgnoreResult(m_world.m_pScenes[scene]->Start(14));
        if (scene + 1 < m_world.m_nSceneCount)
            m_world.m_pScenes[scene]->Stop();
        EXPECT_FALSE(farewell->IsDone()) << "not yet in scene " << scene;
    }
    game.Progress(0, game.m_nSlot).m_bFinished = 1;
    m_world.SetState(GS_LOAD_OUTRO_SCREEN, 0);
    Frame();
    EXPECT_TRUE(farewell->IsDone());
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_END_TEXT});
    std::u16string page = m_world.GetIngamePopup()->GetPage();
    UnmapCharsetText(page.data(), Data());
    EXPECT_EQ(page.substr(0, 11), u"The red key");
}
