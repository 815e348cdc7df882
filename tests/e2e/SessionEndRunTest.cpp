#include <csignal>
#include <string>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kSeed = 53;

std::string SignalName(const ::testing::TestParamInfo<int>& info)
{
    return info.param == SIGTERM ? "SIGTERM" : info.param == SIGINT ? "SIGINT" : "SIGHUP";
}

// The game on a test's own X server, ended from outside as a logout, a system shutdown or a
// terminal ends it.
class SessionEndRunTest : public GameRunTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        if (!PrivateDisplay::ServerInstalled())
            GTEST_SKIP() << "needs Xvfb";
        GameRunTest::SetUp();
        ASSERT_FALSE(m_display.Name().empty());
    }

    PrivateDisplay m_display;
};

} // namespace

// A profile named in the session survives the signal, and a second signal during the shutdown:
// the game shuts down as after a quit, saves, ends with 0 and says why in its log.
TEST_P(SessionEndRunTest, TheProfileNamedInTheSessionSurvivesTheSignal)
{
    auto program = Launch(kDirect3D8, kSeed, {"DISPLAY=" + m_display.Name()});
    ASSERT_TRUE(program);
    GameScript play(*program, m_dir.Path());
    ASSERT_TRUE(play.ReachMainMenu());
    ASSERT_TRUE(play.NameProfile("Grace"));
    ASSERT_TRUE(program->Signal(GetParam()));
    // The next frame's look at the queue ends the loop; the second signal meets the shutdown.
    program->Command("step");
    ASSERT_TRUE(program->Signal(GetParam() == SIGTERM ? SIGINT : SIGTERM));
    EXPECT_TRUE(EndedCleanly(program->AwaitExit()));
    EXPECT_NE(TempDir::Read(m_dir.File("game/VadadiDazidev.log"))
                  .find("# The session ends (signal " + std::to_string(GetParam()) + "): the program shuts down."),
              std::string::npos);

    SavedGame saved(DataFolder(), AppData());
    ASSERT_TRUE(saved.Loaded());
    EXPECT_EQ(std::u16string(saved.Game().m_szProfileNames[0]), u"Grace");
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndRunTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP), SignalName);
