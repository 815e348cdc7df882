#include <filesystem>
#include <fstream>

#include "backends/network/NetworkEngineWin32.h"
#include "engine3d/Container.h"
#include "game/menus/MoreGamesPage.h"
#include "game/scores/WebScoring.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/support/ScoreTestServer.h"

namespace {

constexpr uint32_t kClose = kMenuCloseButton;
constexpr uint32_t kNext = kNavNext;
using Pages = std::vector<uint32_t>;

// The sample data with web scores switched on, the real score client against the loopback
// server, and the world in its main menu with the fade over.
class WorldMenuTest : public GameLoadTest {
protected:
    void SetUp() override
    {
        GameLoadTest::SetUp();
        if (IsSkipped())
            return;
        std::filesystem::create_directories(m_dir.File("disk"));
        std::ofstream(m_dir.File("disk/prefetch.params")) << std::string("\x02\x00\x01\x01\x00\x01", 6);
        WStrCopy(Data()->dataFolder, kMaxPathUnits, Wide(m_dir.File("disk") + "/").c_str());
        ChooseTestModule(Data(), kModuleNetwork, [](CWorldData* d) -> CBaseObject* { return new CNetworkEngineWin32(d); });
        ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
        ASSERT_TRUE(m_world.m_pMenuDialog && m_world.GetWebScoring() && m_server.Listening());
        CGameData& game = Game();
        WStrCopy(game.m_szWebScoringServerUrl, kUrlUnits, m_server.BaseUrl().c_str());
        game.m_bEnableTimeAttack = game.m_bEnableLegals = game.m_bEnableMoreGames = game.m_bLanguageAvailable[3] = 1;
        Data()->hasFocus = 1;
        m_world.m_pScreenshot->StopFade();
        m_world.SetState(GS_MAIN_MENU, 0);
    }

    // Typed into the entry page, then its OK button.
    void Enter(const std::u16string& text, uint32_t ok)
    {
        for (char16_t unit : text) {
            Data()->lastChar = unit;
            Frame();
        }
        Data()->lastChar = 0;
        Walk({ok});
    }
    // Frames while the page stays (the exchange with the server); the page then.
    uint32_t Await(uint32_t page)
    {
        for (int frame = 0; frame < 8 && Page() == page; ++frame)
            Frame();
        return Page();
    }
    // The account pages from the main menu up to the server's answer; the page it shows. A field
    // that shows the stored login or e-mail is taken as it stands, also after the previous-field
    // buttons.
    uint32_t EnterAccount()
    {
        EXPECT_EQ(Walk({kLineWebScores, kLineWebYes}), (Pages{kPageCreateAccount, kPageLogin}));
        Enter(Data()->gameData->m_szLogin[0] ? u"" : u"bob", kLineLoginOk);
        Enter(u"pw", kLinePasswordOk);
        EXPECT_EQ(Walk({PreviousFieldId(kPageEmail), PreviousFieldId(kPagePassword)}), (Pages{kPagePassword, kPageLogin}))
            << "the previous fields";
        EXPECT_EQ(Walk({kLineLoginOk}), Pages{kPagePassword}) << "the shown login";
        EXPECT_EQ(std::u16string(Game().m_szLogin), u"bob");
        Enter(u"pw", kLinePasswordOk);
        Enter(Data()->gameData->m_szEmail[0] ? u"" : u"bob@example.org", kLineEmailOk);
        return Await(kPageSendingAccount);
    }
    CProfileProgress& Finish(uint32_t mode, uint32_t slot)
    {
        CProfileProgress& record = Game().Progress(mode, slot);
        record.m_bInUse = record.m_bFinished = record.m_bDateSet = 1;
        return record;
    }

    ScoreTestServer m_server;
};

} // namespace

TEST_F(WorldMenuTest, EveryPageIsWalkedWithTheMouseInTheMainMenu)
{
    EXPECT_EQ(Page(), uint32_t{kPageMain}) << "shown by Load";
    Finish(0, 0);
    Finish(1, 0);
    const uint32_t forgetStory = SideButtonId(kSideForgetMode, 1), forgetTimed = SideButtonId(kSideForgetMode, 2);
    EXPECT_EQ(Walk({kLinePlay, kLineRestartStory, kLineNo, kLineRestartTimed, kLineNo, forgetStory, kLineNo,
                    forgetTimed, kLineNo, kLineProfiles, SideButtonId(kSideEraseProfile, 0), kLineNo, kLinePlay,
                    kClose, kLineQuit, kLineNo, kLineOptions, kLineLanguages, LanguageLine(0), kClose}),
              (Pages{kPagePlay, kPageRestartStory, kPagePlay, kPageRestartTimed, kPagePlay, kPageForgetStory,
                     kPagePlay, kPageForgetTimed, kPagePlay, kPageProfiles, kPageEraseProfile, kPageProfiles,
                     kPagePlay, kPageMain, kPageQuit, kPageMain, kPageOptions, kPageLanguages, kPageOptions,
                     kPageMain}));

    // An account made, then the finished records sent one by one through the dialog's exchange
    // (the sample game has no level time the server could check: it takes them as they come).
    EXPECT_EQ(EnterAccount(), uint32_t{kPageAccountCreated});
    Finish(0, 1);
    m_server.SetFault(ScoreAnswer("1"));
    EXPECT_EQ(Walk({kClose, kLineWebYes}), (Pages{kPageSendScores, kPageSendingScores}));
    EXPECT_EQ(Await(kPageSendingScores), uint32_t{kPageScoresSent});
    EXPECT_EQ(m_server.Requests().size(), 4u) << "set_user, then one set_score per record";
    EXPECT_TRUE(Game().Progress(0, 0).m_bSent && Game().Progress(0, 1).m_bSent && Game().Progress(1, 0).m_bSent);
    // The account forgotten; every other answer of the server.
    EXPECT_EQ(Walk({kClose, kLineWebScores, SideButtonId(kSideForgetAccount, 0), kLineYes}),
              (Pages{kPageMain, kPageWebMenu, kPageForgetAccount, kPageMain}));
    for (const auto& [body, page] : {std::pair{"2", kPageAccountKnown}, {"-1", kPageLoginTaken},
                                     {"-2", kPageBadEmail}, {"x", kPageNoAnswer}}) {
        m_server.SetFault(ScoreAnswer(body));
        EXPECT_EQ(EnterAccount(), uint32_t{page}) << body;
        Game().m_bAccount = 0;
        for (int back = 0; back < 2 && Page() != kPageMain; ++back)
            Walk({kClose});
    }
    m_server.SetFault(ScoreAnswer("-2"));
    Game().m_bAccount = 1;
    Game().Progress(0, 0).m_bSent = 0;
    EXPECT_EQ(Walk({kLineWebScores, kLineSendScores, kLineWebYes}),
              (Pages{kPageWebMenu, kPageSendScores, kPageSendingScores}));
    EXPECT_EQ(Await(kPageSendingScores), uint32_t{kPageScoreRefused}) << "refused";
}

TEST_F(WorldMenuTest, TheActionCodesLeadOnAndReleaseSavesTheGame)
{
    Finish(0, 0).m_bFinished = 0;
    for (const auto& [ids, state] :
         {std::pair{Pages{kLineMoreGames}, GS_LOAD_MORE_GAMES}, {Pages{kLineOptions, kLineShowCredits}, GS_LOAD_CREDITS},
          {Pages{kLineOptions, kLineShowLegals}, GS_LOAD_LEGALS}, {Pages{kLinePlay, kLineEndOfStory}, GS_GAME_FINISHED}}) {
        m_world.SetState(GS_MAIN_MENU, 0);
        Dialog().SetPage(kPageMain);
        for (uint32_t id : ids)
            Walk({id});
        EXPECT_EQ(m_world.GetState(), state) << ids.back();
    }
    // The credits are built, and freed when closed once the fade is over.
    m_world.SetState(GS_LOAD_CREDITS, 0);
    m_world.m_pScreenshot->StopFade();
    Frame();
    ASSERT_NE(Dialog().GetCreditsContainer(), nullptr);
    m_world.m_pScreenshot->StopFade();
    Walk({kClose});
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});
    EXPECT_EQ(Dialog().GetCreditsContainer(), nullptr);
    // The more-games page is built on entering, with its own close button back to the menu.
    m_world.SetState(GS_MAIN_MENU, 0);
    Dialog().SetPage(kPageMain);
    Walk({kLineMoreGames});
    m_world.m_pScreenshot->StopFade();
    Frame();
    ASSERT_NE(m_world.m_pMoreGames, nullptr);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MORE_GAMES});
    EXPECT_GT(m_world.m_pMoreGames->GetListedCount(), 0u);
    m_world.m_pScreenshot->StopFade();
    Frame();
    Walk({kClose});
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});
    EXPECT_EQ(m_world.m_pMoreGames, nullptr);

    // A link is kept for the quit, which is asked; a new time-attack game queues the first level
    // and Release saves its record.
    WStrCopy(Game().m_szFacebookUrl, kUrlUnits, u"https://example.org/f");
    Dialog().SetPage(kPageMain);
    EXPECT_EQ(Walk({kNavFacebook, kLineNo, kLinePlay, kLineNewTimed}), (Pages{kPageQuit, kPageMain, kPagePlay, kPagePlay}));
    EXPECT_EQ(std::u16string(Game().m_szPendingUrl), u"https://example.org/f");
    EXPECT_EQ(Game().m_nMode, 1u);
    EXPECT_EQ(m_world.m_nNextScene, 0u);
    Game().Progress(1, 0).m_bInUse = 1;
    ASSERT_EQ(m_world.Release(), RES_OK);
    const std::string folder = m_dir.File("appdata") + "/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.";
    EXPECT_TRUE(std::filesystem::exists(folder + "profile_timed_full_0.sav"));
    EXPECT_TRUE(std::filesystem::exists(folder + "options.sav"));
}

TEST_F(WorldMenuTest, TheNavigationButtonsEndTheExcursionsAndTheOutroMenu)
{
    // The outro menu's continue button: the account page without an account, else the scores.
    Game().m_nMode = 0;
    Finish(0, 0);
    for (uint8_t account : {0, 1}) {
        Game().m_bAccount = account;
        m_world.SetState(GS_OUTRO_MENU, 0);
        Frame();
        EXPECT_EQ(Walk({kClose}), Pages{account ? kPageSendScores : kPageCreateAccount});
        EXPECT_EQ(m_world.GetState(), uint32_t{GS_FADE_TO_LOADING});
    }
    // The level message and the in-game menu end on next; a pop-up answered with close leads on.
    for (auto [state, button, next] : {std::tuple{GS_LEVEL_MESSAGE, kNext, GS_IN_GAME}, {GS_INGAME_MENU, kNext, GS_IN_GAME},
                                       {GS_INGAME_POPUP, kClose, GS_IN_GAME}, {GS_END_TEXT, kClose, GS_OUTRO_SCREEN_IN}}) {
        m_world.m_pPopupIngame->SetText(1, kGameTable);
        m_world.m_pPopupIngame->OnTextNext();
        m_world.SetState(state, 0);
        Frame();
        Walk({button});
        EXPECT_EQ(m_world.GetState(), uint32_t{next}) << state;
    }
    EXPECT_FALSE(m_world.m_pPopupIngame->HoldsText());
}

TEST_F(WorldMenuTest, TheTimerBadgeAnswersAReleaseOverItOnly)
{
    // Shown at the timer's alpha (clamped); only a release over the badge answers RES_OK.
    EXPECT_EQ(m_world.RenderTimerBadge(Dialog(), 2.0f), RES_FAIL);
    C3DContainer* badge = Dialog().GetNavLayer()->FindById(28);
    ASSERT_NE(badge, nullptr);
    Vector3 at{};
    badge->GetPosition(&at);
    Data()->mouseReleased[0] = 1;
    Data()->pressX = Data()->pointerX = at.x + 400.0f;
    Data()->pressY = Data()->pointerY = at.y + 300.0f;
    EXPECT_EQ(m_world.RenderTimerBadge(Dialog(), 0.5f), RES_FAIL);
    Data()->pressX = Data()->pointerX = at.x;
    Data()->pressY = Data()->pointerY = at.y;
    EXPECT_EQ(m_world.RenderTimerBadge(Dialog(), 0.5f), RES_OK);
}
