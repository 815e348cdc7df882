#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/e2e/ProfileSections.h"

// The story left in the middle of each level type, the window closed, the program started again
// on the same save folder and the game continued: it stands where it was left.

namespace {

constexpr uint32_t kSeed = 4611;
// The sample's levels, and the cells of their boards (SHOOT: its six places).
const std::vector<SavedLevelKind> kLevels = {SavedLevelKind::HiddenObject, SavedLevelKind::Jigsaw,
                                             SavedLevelKind::Shoot, SavedLevelKind::Sliding};
const uint32_t kBoardCells[] = {0, 3 * 3, 6, 4 * 4};
// What the report shows of the game as it was left, in every state; the charge is compared apart.
const char* const kKeptEverywhere[] = {"scene", "scenestate", "scenerecord", "level", "hints"};
// The charge in the report's hundredths: the frame in which the close request arrives still
// runs, and may add its frame unit.
constexpr long kFrameCharge = 100;
// What it shows of the level in game: the listed objects, what a click takes, the boards, the
// selection, the help buttons, the score and the targets.
const char* const kKeptInGame[] = {"item", "part", "board", "selected", "button", "goal", "target", "key", "exit"};

// A player's part of one run, from the first frame in game to where the run is left.
using Play = std::function<GameScript::Step(GameScript&)>;

struct Visit {
    const char* left;  // where the game is left
    Play play;
};

// The values of a key; of the buttons only the levels' own (the navigation layer's follow the
// pages and pop-ups).
std::vector<StateReport::Fields> ValuesOf(const StateReport& report, const char* key)
{
    std::vector<StateReport::Fields> values = report.All(key);
    if (std::string(key) == "button")
        values.erase(std::remove_if(values.begin(), values.end(),
                                    [](const StateReport::Fields& f) { return StateReport::Number(f[0]) < 2000; }),
                     values.end());
    return values;
}

::testing::AssertionResult SameValues(const StateReport& before, const StateReport& after, const char* const* keys,
                                      size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (ValuesOf(before, keys[i]) != ValuesOf(after, keys[i]))
            return ::testing::AssertionFailure() << keys[i] << " was " << before.Value(keys[i]) << ", is "
                                                 << after.Value(keys[i]) << "\nbefore: " << before.Line()
                                                 << "\nafter: " << after.Line();
    }
    return ::testing::AssertionSuccess();
}

class ContinueTest : public GameRunTest {
protected:
    std::string ProfileFile() const
    {
        return AppData() + "/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.profile_normal_full_0.sav";
    }

    std::vector<SavedSection> Sections(const std::string& file, const std::string& when)
    {
        std::string error;
        const int64_t level = SavedCurrentLevel(file);
        const CProfileShape shape{kLevels, level >= 0 && level < 4 ? kBoardCells[level] : 0};
        std::vector<SavedSection> sections = SplitProfile(file, shape, &error);
        EXPECT_FALSE(sections.empty()) << "the profile " << when << ": " << error;
        return sections;
    }

    // The profile as the continued game saved it at its scene switch, section by section against
    // the one the left game saved; each section's size is printed. The stars of a level that
    // shows none are placed anew when its files load.
    void CompareSections(const std::string& before, const std::string& after, const char* left)
    {
        const std::vector<SavedSection> saved = Sections(before, "left"), continued = Sections(after, "continued");
        ASSERT_EQ(saved.size(), continued.size()) << left;
        printf("profile sections, %s (bytes before / after the continue):", left);
        for (size_t i = 0; i < saved.size(); ++i) {
            const SavedSection& a = saved[i];
            const SavedSection& b = continued[i];
            printf(" %s %zu/%zu;", a.name.c_str(), a.bytes.size(), b.bytes.size());
            ASSERT_EQ(a.name, b.name);
            const bool idleStars = a.name == "scene stars" && a.bytes.size() >= 4 && a.bytes.substr(2, 2) == "\xFF\xFF";
            if (!idleStars) {
                EXPECT_EQ(a.bytes, b.bytes) << a.name << ", " << left;
            }
        }
        printf("\n");
    }
};

} // namespace

TEST_F(ContinueTest, EveryLevelTypeContinuesWhereItWasLeft)
{
    const char* binary = getenv("VD_BINARY_DIR");
    const std::string pictures = std::string(binary ? binary : ".") + "/e2e/Continue";
    std::filesystem::remove_all(pictures);
    std::filesystem::create_directories(pictures);
    const Visit visits[] = {
        {"in the study with three of its six objects found",
         [](GameScript& p) {
             const GameScript::Step found = p.FindObjects(3);
             return found ? p.Settle() : found;
         }},
        {"in the study with its next step's story pop-up on screen",
         [](GameScript& p) {
             const GameScript::Step found = p.FindObjects(3);
             return found ? p.AwaitState(GS_INGAME_POPUP) : found;
         }},
        {"in the jigsaw with two pieces swapped",
         [](GameScript& p) {
             const GameScript::Step played = p.PlayScene();
             return played ? p.SolveJigsaw(4) : played;
         }},
        {"in the middle of a SHOOT round",
         [](GameScript& p) {
             const GameScript::Step solved = p.SolveJigsaw();
             return solved ? p.ShootToGoal(3) : solved;
         }},
        {"in the middle of the sliding board",
         [](GameScript& p) {
             const GameScript::Step won = p.ShootToGoal();
             return won ? p.SolveSliding(1) : won;
         }},
    };
    StateReport left;
    std::string saved;
    for (size_t visit = 0; visit <= std::size(visits); ++visit) {
        auto program = Launch(kOpenGL, kSeed);
        ASSERT_TRUE(program);
        GameScript play(*program, pictures);
        ASSERT_TRUE(play.ReachMainMenu());
        if (visit == 0) {
            ASSERT_TRUE(play.UseWindow());
            ASSERT_TRUE(play.StartStory());
        } else {
            const char* where = visits[visit - 1].left;
            ASSERT_TRUE(play.ResumeStory()) << where;
            const StateReport back = play.Report();
            EXPECT_TRUE(play.Picture("back" + std::to_string(visit)));
            EXPECT_TRUE(SameValues(left, back, kKeptEverywhere, std::size(kKeptEverywhere))) << where;
            EXPECT_GE(back.Int("charge"), left.Int("charge")) << where;
            EXPECT_LE(back.Int("charge"), left.Int("charge") + kFrameCharge) << where;
            CompareSections(saved, TempDir::Read(ProfileFile()), where);
            // The toolbar lays its row out, and a pending pop-up shows, in the first frame.
            ASSERT_TRUE(program->Step());
            const StateReport next = program->State();
            if (left.Int("state") == GS_INGAME_POPUP) {
                EXPECT_EQ(next.Int("state"), GS_INGAME_POPUP) << where;
                EXPECT_EQ(next.Value("popuptext"), left.Value("popuptext")) << where;
            } else {
                const StateReport& inGame = next.Int("state") == left.Int("state") ? next : back;
                EXPECT_TRUE(SameValues(left, inGame, kKeptInGame, std::size(kKeptInGame))) << where;
            }
            if (visit == std::size(visits)) {
                int exitCode = -1;
                ASSERT_TRUE(play.Close(&exitCode));
                EXPECT_TRUE(EndedCleanly(exitCode));
                break;
            }
        }
        ASSERT_TRUE(visits[visit].play(play)) << visits[visit].left;
        left = play.Report();
        ASSERT_TRUE(left.Valid());
        ASSERT_TRUE(play.Picture("left" + std::to_string(visit)));
        printf("left %s: level %s, scene state %ld, %ld hints, charge %.2f\n", visits[visit].left,
               left.Value("level").c_str(), left.Int("scenestate"), left.Int("hints"), left.Int("charge") / 100.0);
        int exitCode = -1;
        ASSERT_TRUE(play.Close(&exitCode)) << visits[visit].left;
        EXPECT_TRUE(EndedCleanly(exitCode)) << visits[visit].left;
        saved = TempDir::Read(ProfileFile());
        ASSERT_FALSE(saved.empty()) << visits[visit].left;
    }
}
