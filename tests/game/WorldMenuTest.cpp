#include <filesystem>
#include <fstream>

#include "backends/network/NetworkEngineWin32.h"
#include "engine3d/Container.h"
#include "game/menus/MenuDialog.h"
#include "game/scores/WebScoring.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/support/ScoreTestServer.h"

namespace {

constexpr uint32_t kClose = 24;
constexpr uint32_t kNext = 25;

HttpTestServer::Reply Answer(const std::string& body)
{
    HttpTestServer::Reply reply;
    reply.body = body;
    return reply;
}

// The sample data with web scores switched on, the real score client against the loopback
// server, and the world in its main menu with the fade over.
class WorldMenuTest : public GameLoadTest {
protected:
    void SetUp() override
    {
        GameLoadTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(m_server.Listening());
        std::filesystem::create_directories(m_dir.File("disk"));
        std::ofstream(m_dir.File("disk/prefetch.params"), std::ios::binary) << std::string("\x02\x00\x01\x01\x00\x01", 6);
        WStrCopy(Data()->dataFolder, kMaxPathUnits, Wide(m_dir.File("disk") + "/").c_str());
        ChooseTestModule(Data(), kModuleNetwork, [](CWorldData* d) -> CBaseObject* { return new CNetworkEngineWin32(d); });
        ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
        ASSERT_NE(m_world.m_pMenuDialog, nullptr);
        ASSERT_NE(m_world.GetWebScoring(), nullptr);
        CGameData& game = Game();
        WStrCopy(game.m_szWebScoringServerUrl, kUrlUnits, m_server.BaseUrl().c_str());
        game.m_bEnableTimeAttack = game.m_bEnableLegals = game.m_bEnableMoreGames = game.m_bLanguageAvailable[3] = 1;
        Data()->hasFocus = 1;
        m_world.m_pScreenshot->StopFade();
        m_world.SetState(GS_MAIN_MENU, 0);
    }

    CGameData& Game() { return *m_world.GetGameData(); }
    CMenuDialog& Dialog() { return *m_world.m_pMenuDialog; }
    uint32_t Page() { return Dialog().GetPage(); }
    // A frame with the left button released over the line or navigation button id (close is
    // always the navigation button).
    void Click(uint32_t id)
    {
        C3DContainer* node = id == kClose ? nullptr : Dialog().GetPageContainer()->FindById(id);
        node = node ? node : Dialog().GetNavLayer()->FindById(id);
        ASSERT_NE(node, nullptr) << "page " << Page() << " id " << id;
        Vector3 at{};
        node->GetPosition(&at);
        Data()->pressX = Data()->pointerX = at.x;
        Data()->pressY = Data()->pointerY = at.y;
        Data()->mouseReleased[0] = 1;
        Frame();
        Data()->mouseReleased[0] = 0;
    }
    // Clicks in turn, noting the page after each.
    std::vector<uint32_t> Walk(std::initializer_list<uint32_t> ids)
    {
        std::vector<uint32_t> pages;
        for (uint32_t id : ids) {
            Click(id);
            pages.push_back(Page());
        }
        return pages;
    }
    void Type(const std::u16string& text)
    {
        for (char16_t unit : text) {
            Data()->lastChar = unit;
            Frame();
        }
        Data()->lastChar = 0;
    }
    // The account pages from the main menu up to the server's answer; the page it shows.
    uint32_t EnterAccount(const std::u16string& login)
    {
        EXPECT_EQ(Walk({3, 66}), (std::vector<uint32_t>{15, 12}));
        Type(login);
        Click(31);
        Type(u"pw");
        EXPECT_EQ(Walk({32, 1013}), (std::vector<uint32_t>{14, 13}));
        Type(u"pw");
        Click(32);
        EXPECT_EQ(Page(), 14u);
        Type(u"bob@example.org");
        Click(33);
        EXPECT_EQ(Page(), 20u);
        for (int frame = 0; frame < 4 && Page() == 20; ++frame)
            Frame();
        return Page();
    }
    CProfileProgress& Finish(uint32_t mode, uint32_t slot)
    {
        CProfileProgress& record = Game().Progress(mode, slot);
        record.m_bInUse = record.m_bFinished = record.m_bDateSet = 1;
        record.m_nYear = 2026, record.m_nMonth = 12, record.m_nDay = 9;
        return record;
    }

    ScoreTestServer m_server;
};

} // namespace

TEST_F(WorldMenuTest, EveryPageIsWalkedWithTheMouseInTheMainMenu)
{
    EXPECT_EQ(Page(), 0u) << "shown by Load";
    Finish(0, 0);
    Finish(1, 0);
    // Play, its confirmations, the profiles and the erase confirmation; close goes back.
    EXPECT_EQ(Walk({2, 56, 65, 57, 65, 2108, 65, 2109, 65, 6, 1107, 65, 2, kClose}),
              (std::vector<uint32_t>{1, 8, 1, 9, 1, 6, 1, 7, 1, 4, 5, 4, 1, 0}));
    // Quit, options and languages.
    EXPECT_EQ(Walk({9, 65, 7, 42, 68, kClose}), (std::vector<uint32_t>{2, 0, 3, 32, 3, 0}));
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});

    // The account: created, then the finished records sent one by one (the sample game has no
    // level whose time the server could check: it takes them as they come).
    EXPECT_EQ(EnterAccount(u"bob"), 23u);
    Finish(0, 1);
    m_server.SetFault(Answer("1"));
    EXPECT_EQ(Walk({kClose, 66}), (std::vector<uint32_t>{16, 19}));
    for (int frame = 0; frame < 8 && Page() == 19; ++frame)
        Frame();
    EXPECT_EQ(Page(), 21u);
    EXPECT_EQ(m_server.Requests().size(), 4u) << "set_user, then one set_score per record";
    EXPECT_TRUE(Game().Progress(0, 0).m_bSent && Game().Progress(0, 1).m_bSent && Game().Progress(1, 0).m_bSent);
    // The account page, forgetting the account; then each answer of the server to a new one.
    m_server.SetFault(std::nullopt);
    EXPECT_EQ(Walk({kClose, 3, 3107, 64}), (std::vector<uint32_t>{0, 18, 17, 0}));
    EXPECT_EQ(Game().m_bAccount, 0);
    const std::pair<std::string, uint32_t> answers[] = {{"2", 24}, {"-1", 25}, {"-2", 26}, {"x", 27}};
    for (const auto& [body, page] : answers) {
        m_server.SetFault(Answer(body));
        EXPECT_EQ(EnterAccount(u"eve"), page) << body;
        Game().m_bAccount = 0;
        for (int back = 0; back < 2 && Page() != 0; ++back)
            Click(kClose);
    }
    // A refused score.
    m_server.SetFault(Answer("-2"));
    Game().m_bAccount = 1;
    Game().Progress(0, 0).m_bSent = 0;
    EXPECT_EQ(Walk({3, 22, 66}), (std::vector<uint32_t>{18, 16, 19}));
    for (int frame = 0; frame < 8 && Page() == 19; ++frame)
        Frame();
    EXPECT_EQ(Page(), 22u);
}

TEST_F(WorldMenuTest, TheActionCodesLeadOnFromTheMainMenu)
{
    Finish(0, 0).m_bFinished = 0;
    const std::pair<std::vector<uint32_t>, uint32_t> moves[] = {
        {{8}, GS_LOAD_MORE_GAMES}, {{7, 43}, GS_LOAD_CREDITS}, {{7, 44}, GS_LOAD_LEGALS}, {{2, 16}, GS_GAME_FINISHED}};
    for (const auto& [ids, state] : moves) {
        m_world.SetState(GS_MAIN_MENU, 0);
        Dialog().SetPage(0);
        for (uint32_t id : ids)
            Click(id);
        EXPECT_EQ(m_world.GetState(), state) << ids.back();
    }
    // Credits: built, then closed once the fade is over, freeing the text and the logos.
    m_world.SetState(GS_LOAD_CREDITS, 0);
    m_world.m_pScreenshot->StopFade();
    Frame();
    ASSERT_EQ(m_world.GetState(), uint32_t{GS_CREDITS});
    EXPECT_NE(Dialog().GetCreditsContainer(), nullptr);
    m_world.m_pScreenshot->StopFade();
    Click(kClose);
    EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});
    EXPECT_EQ(Dialog().GetCreditsContainer(), nullptr);

    // A new time-attack game: the mode is chosen and the first level queued.
    Dialog().SetPage(0);
    Walk({2, 14});
    EXPECT_EQ(Game().m_nMode, 1u);
    EXPECT_EQ(m_world.m_nNextScene, 0u);
}

TEST_F(WorldMenuTest, ALinkAsksToQuitAndReleaseSavesTheGameInTheSaveFolder)
{
    Game().m_bWebLinks = 1;
    WStrCopy(Game().m_szFacebookUrl, kUrlUnits, u"https://example.org/f");
    Click(31);
    EXPECT_EQ(std::u16string(Game().m_szPendingUrl), u"https://example.org/f");
    EXPECT_EQ(Page(), 2u) << "the quit confirmation";

    Dialog().SetPage(1);
    Click(12);
    EXPECT_EQ(Game().m_nMode, 0u);
    Game().Progress(0, 0).m_bInUse = 1;
    const std::string folder = m_dir.File("appdata") + "/Kvo Adventure/VadadiDazidev/";
    std::filesystem::remove(folder + "VadadiDazidev.v1.profile_normal_full_0.sav");
    ASSERT_EQ(m_world.Release(), RES_OK);
    EXPECT_TRUE(std::filesystem::exists(folder + "VadadiDazidev.v1.profile_normal_full_0.sav"));
    EXPECT_TRUE(std::filesystem::exists(folder + "VadadiDazidev.v1.options.sav"));
}

TEST_F(WorldMenuTest, TheNavigationButtonsEndTheExcursionsAndTheOutroMenu)
{
    // The outro menu's continue button: the account page without an account, else the scores.
    for (uint8_t account : {0, 1}) {
        Game().m_bAccount = account;
        Game().m_nMode = 0;
        Finish(0, 0);
        m_world.SetState(GS_OUTRO_MENU, 0);
        Frame();
        Click(kClose);
        EXPECT_EQ(Page(), account ? 16u : 15u);
        EXPECT_EQ(m_world.GetState(), uint32_t{GS_FADE_TO_LOADING});
    }
    // The level message and the in-game menu end on next.
    for (uint32_t state : {GS_LEVEL_MESSAGE, GS_INGAME_MENU}) {
        m_world.SetState(state, 0);
        Frame();
        Click(kNext);
        EXPECT_EQ(m_world.GetState(), uint32_t{GS_IN_GAME}) << state;
    }
    // A pop-up answered with close leads on and is cleared.
    for (auto [state, next] : {std::pair{GS_INGAME_POPUP, GS_IN_GAME}, std::pair{GS_END_TEXT, GS_OUTRO_SCREEN_IN}}) {
        m_world.m_pPopupIngame->SetText(1, kGameTable);
        m_world.m_pPopupIngame->OnTextNext();
        m_world.SetState(state, 0);
        Frame();
        Click(kClose);
        EXPECT_EQ(m_world.GetState(), uint32_t{next}) << state;
        EXPECT_FALSE(m_world.m_pPopupIngame->HoldsText());
    }
}
