#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/support/DisplayInput.h"
#include "tests/support/PrivateDisplay.h"

// The program under faults, driven as a player meets them: a score server that answers slowly,
// not at all or cut off, a saved game that cannot be read, a save folder that cannot be made, and
// a second copy on the same save folder. Each asserts what is kept and what the player is told,
// on the page the report gives and in the picture on screen.

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSeed = 4903;
constexpr int kWidth = 1024, kHeight = 768;
const auto kSlowAnswer = std::chrono::milliseconds(3000);

std::string SaveFile(const std::string& appData, const std::string& name)
{
    return appData + "/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1." + name;
}

class FaultsRunTest : public GameRunTest {
protected:
    // The save folder as the game's writers leave it after change, in a window of its size.
    void SeedSaves(const std::function<void(SavedGame&)>& change)
    {
        SavedGame saved(DataFolder(), AppData());
        ASSERT_TRUE(saved.Loaded());
        saved.World().GetData()->fullscreen = 0;
        change(saved);
        ASSERT_TRUE(saved.WriteTo(AppData()));
    }
    // A finished story of the slot, ready to be sent.
    static void Finish(CGameData& game, uint32_t slot)
    {
        CProfileProgress& record = game.Progress(0, slot);
        record.m_bInUse = record.m_bFinished = record.m_bDateSet = 1;
        record.m_nYear = 2026, record.m_nMonth = 12, record.m_nDay = 9;
        for (uint32_t level = 0; level < 4; ++level)
            record.m_pLevelTimes[level] = {600.0f, 1, 0};
    }
    // Waits in another thread until the server has had one more request, then does act (while the
    // program waits for the answer).
    void WhileTheRequestWaits(const std::function<void()>& act)
    {
        const size_t before = m_server.Requests().size();
        m_user = std::thread([this, before, act] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (m_server.Requests().size() == before && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::this_thread::sleep_for(kSlowAnswer / 3);
            act();
        });
    }
    void TearDown() override
    {
        if (m_user.joinable())
            m_user.join();
        GameRunTest::TearDown();
    }

    std::thread m_user;
};

} // namespace

// Scores sent to a slow server: "Sending the scores..." is on screen while the request waits, and
// a click made meanwhile is dropped; the answer to the second score is cut off, which the page of
// an absent answer tells. Sent again, a close asked for while the request waits ends the game
// once the answer is in, with the score and the options saved.
TEST_F(FaultsRunTest, AScoreRequestShowsItsPageFirstDropsClicksAndHonoursAClose)
{
    PrivateDisplay display;
    if (display.Name().empty())
        GTEST_SKIP() << "needs Xvfb";
    m_server.AddAccount("ada", {"pw", "ada@example.org"});
    SeedSaves([](SavedGame& saved) {
        CGameData& game = saved.Game();
        game.m_bAccount = 1;
        WStrCopy(game.m_szLogin, kLoginUnits, u"ada");
        WStrCopy(game.m_szPassword, kPasswordUnits, u"pw");
        WStrCopy(game.m_szEmail, kEmailUnits, u"ada@example.org");
        Finish(game, 0);
        Finish(game, 1);
    });
    ASSERT_FALSE(HasFatalFailure());
    auto program = Launch(kOpenGL, kSeed, {"DISPLAY=" + display.Name()});
    ASSERT_TRUE(program);
    GameScript play(*program, m_dir.Path());
    ASSERT_TRUE(play.ReachMainMenu());
    int originX = 0, originY = 0;
    ASSERT_TRUE(FindWindowOrigin(display.Name(), kWidth, kHeight, &originX, &originY));
    ASSERT_TRUE(play.ShowPage(kLineWebScores, kPageWebMenu));
    ASSERT_TRUE(play.ShowPage(kLineSendScores, kPageSendScores));
    const auto close = play.Report().Find("button", kMenuClose);
    ASSERT_TRUE(close);
    const ReportRect closeRect = StateReport::RectAt(*close, 1);

    HttpTestServer::Reply slow = ScoreAnswer("1");
    slow.delay = kSlowAnswer;
    HttpTestServer::Reply cut = ScoreAnswer("1");
    cut.contentLength = 9;
    m_server.SetFault(slow);
    WhileTheRequestWaits([&] {
        m_server.SetFault(cut);
        EXPECT_TRUE(ClickOnScreen(display.Name(), originX + closeRect.CentreX(), originY + closeRect.CentreY()));
    });
    ASSERT_TRUE(play.ShowPage(kLineWebYes, kPageNoAnswer));
    m_user.join();
    for (int frame = 0; frame < 30; ++frame)
        ASSERT_TRUE(program->Step());
    EXPECT_EQ(program->State().Int("page"), kPageNoAnswer) << "the click made while waiting is not replayed";
    EXPECT_TRUE(play.Picture("no-answer"));
    EXPECT_EQ(m_server.Requests().size(), 2u) << "the first score, then the second";

    // Sent again: the frame that shows "Sending the scores..." is what the screen holds while the
    // request waits, and Alt+F4 pressed meanwhile ends the game after the answer.
    ASSERT_TRUE(play.ShowPage(kMenuClose, kPageMain));
    ASSERT_TRUE(play.ShowPage(kLineWebScores, kPageWebMenu));
    ASSERT_TRUE(play.ShowPage(kLineSendScores, kPageSendScores));
    const auto yes = play.Report().Find("button", kLineWebYes);
    ASSERT_TRUE(yes);
    m_server.SetFault(slow);
    const std::string waiting = m_dir.File("waiting.png"), sending = m_dir.File("sending.png");
    WhileTheRequestWaits([&] {
        EXPECT_TRUE(CaptureScreen(display.Name(), originX, originY, kWidth, kHeight, waiting));
        EXPECT_TRUE(PressKeysOn(display.Name(), {"Alt_L", "F4"}));
    });
    ASSERT_TRUE(program->Click(StateReport::RectAt(*yes, 1)));
    EXPECT_EQ(program->State().Int("page"), kPageSendingScores);
    ASSERT_TRUE(program->Shot(sending));
    const int exitCode = program->AwaitExit();
    m_user.join();
    EXPECT_TRUE(EndedCleanly(exitCode));
    EXPECT_TRUE(PicturesAgree(waiting, sending, 8, 0.99)) << "the sending page is on screen while the request waits";
    EXPECT_GT(DifferingPixels(waiting, m_dir.File("no-answer.png"), {0, 0, kWidth, kHeight}), 1000u);
    SavedGame after(DataFolder(), AppData());
    ASSERT_TRUE(after.Loaded());
    EXPECT_TRUE(after.Game().Progress(0, 0).m_bSent && after.Game().Progress(0, 1).m_bSent);
    EXPECT_EQ(std::u16string(after.Game().m_szLogin), u"ada");
}

// A saved game damaged in its sections: its continue line leads to the notice, shown on screen,
// a copy of the file is kept, and the play page then starts a new story.
TEST_F(FaultsRunTest, ASavedGameThatCannotBeReadIsToldOnScreenAndANewGameStarts)
{
    SeedSaves([](SavedGame& saved) {
        WStrCopy(saved.Game().m_szProfileNames[0], kProfileNameUnits, u"Ada");
        ASSERT_EQ(saved.World().StartNewGame(0), RES_OK);
        saved.Game().Progress(0, 0).m_bInUse = 1;
    });
    ASSERT_FALSE(HasFatalFailure());
    const std::string profile = SaveFile(AppData(), "profile_normal_full_0.sav");
    const std::string whole = TempDir::Read(profile);
    ASSERT_GT(whole.size(), 200u);
    const std::string damaged = whole.substr(0, whole.size() / 2);
    m_dir.Write(profile.substr(m_dir.Path().size() + 1), damaged);

    auto program = Launch(kOpenGL, kSeed);
    ASSERT_TRUE(program);
    GameScript play(*program, m_dir.Path());
    ASSERT_TRUE(play.ReachMainMenu());
    ASSERT_TRUE(play.ShowPage(kLinePlay, kPagePlay));
    ASSERT_TRUE(play.Picture("play"));
    ASSERT_TRUE(play.ShowPage(kLineContinueStory, kPageGameUnreadable));
    const auto line = play.Report().Find("line", kLineGameUnreadable);
    ASSERT_TRUE(line) << play.Report().Line();
    EXPECT_EQ(line->back(), "The saved game could not be read. A copy of it was kept.");
    ASSERT_TRUE(play.Picture("unreadable"));
    EXPECT_GT(DifferingPixels(m_dir.File("play.png"), m_dir.File("unreadable.png"), StateReport::RectAt(*line, 1)), 200u)
        << "the notice's text is drawn where its line stands";
    EXPECT_EQ(TempDir::Read(profile + ".damaged"), damaged);

    ASSERT_TRUE(play.ShowPage(kMenuClose, kPagePlay));
    ASSERT_TRUE(play.StartStory());
    ASSERT_TRUE(play.Settle());
    program.reset();  // the scene switch has saved the new story
    SavedGame after(DataFolder(), AppData());
    ASSERT_TRUE(after.Loaded());
    EXPECT_EQ(std::u16string(after.Game().m_szProfileNames[0]), u"Ada");
    EXPECT_TRUE(after.Game().Progress(0, 0).m_bInUse) << "the new story is saved in the slot";
}

// A save folder that cannot be made: the main menu first shows that nothing can be saved, the
// log says why, and the game plays on.
TEST_F(FaultsRunTest, ASaveFolderThatCannotBeMadeIsToldOnScreen)
{
    PrivateDisplay display;
    if (display.Name().empty())
        GTEST_SKIP() << "needs Xvfb";
    fs::remove_all(AppData());
    m_dir.Write("appdata", "a file in the way");
    auto program = Launch(kOpenGL, kSeed, {"DISPLAY=" + display.Name()});
    ASSERT_TRUE(program);
    const StateReport told = program->StepUntil(
        [](const StateReport& r) { return r.Int("state") == GS_MAIN_MENU && r.Int("page") == kPageNotSaved && r.Int("pending") <= 0; },
        3000);
    ASSERT_EQ(told.Int("page"), kPageNotSaved) << told.Line();
    const auto line = told.Find("line", kLineNotSaved);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->back(), "Your progress could not be saved.");
    GameScript play(*program, m_dir.Path());
    for (int frame = 0; frame < 60; ++frame)
        ASSERT_TRUE(program->Step());
    ASSERT_TRUE(play.Picture("not-saved"));
    ASSERT_TRUE(play.ShowPage(kMenuClose, kPageMain));
    ASSERT_TRUE(play.Picture("main"));
    EXPECT_GT(DifferingPixels(m_dir.File("main.png"), m_dir.File("not-saved.png"), StateReport::RectAt(*line, 1)), 200u);
    int exitCode = -1;
    ASSERT_TRUE(play.Quit(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(TempDir::Read(m_dir.File("game/stderr.txt")).find("cannot be made"), std::string::npos);
    EXPECT_EQ(TempDir::Read(AppData()), "a file in the way");
}

// A second copy started on the save folder of a running one says why it ends, on standard error
// and in the log, and leaves the first copy's files as they are.
TEST_F(FaultsRunTest, ASecondCopyOnTheSaveFolderEndsTouchingNothing)
{
    SeedSaves([](SavedGame& saved) { WStrCopy(saved.Game().m_szProfileNames[1], kProfileNameUnits, u"Cy"); });
    ASSERT_FALSE(HasFatalFailure());
    auto first = Launch(kOpenGL, kSeed);
    ASSERT_TRUE(first);
    GameScript play(*first, m_dir.Path());
    ASSERT_TRUE(play.ReachMainMenu());
    std::map<std::string, std::string> before;
    for (const auto& entry : fs::recursive_directory_iterator(AppData()))
        before[entry.path().string()] = entry.is_regular_file() ? TempDir::Read(entry.path().string()) : "";

    TempDir other;
    GameRunFolder second(other.Path(), getenv("VD_BINARY_DIR"));
    ASSERT_EQ(second.Prepare(getenv("VD_SOURCE_DIR"), Utf16ToUtf8(m_server.BaseUrl())), "");
    fs::remove_all(second.AppData());
    fs::create_directory_symlink(AppData(), second.AppData());
    std::string error;
    auto copy = second.Launch(kOpenGL, kSeed, &error);
    ASSERT_TRUE(copy) << error;
    EXPECT_NE(copy->AwaitExit(), 0);
    const std::string errors = TempDir::Read(second.Game() + "/stderr.txt");
    EXPECT_NE(errors.find("# Another copy of the game is using the save folder \""), std::string::npos) << errors;
    EXPECT_NE(errors.find("(Another copy of the game is using the save folder)"), std::string::npos) << "the error box";
    EXPECT_NE(TempDir::Read(second.Game() + "/VadadiDazidev.log").find("Another copy of the game"), std::string::npos);

    std::map<std::string, std::string> after;
    for (const auto& entry : fs::recursive_directory_iterator(AppData()))
        after[entry.path().string()] = entry.is_regular_file() ? TempDir::Read(entry.path().string()) : "";
    EXPECT_EQ(after, before);
    ASSERT_TRUE(first->Step()) << "the first copy plays on";
    int exitCode = -1;
    ASSERT_TRUE(play.Quit(&exitCode));
    EXPECT_TRUE(EndedCleanly(exitCode));
}
