// Frames per second of the sample game at 1024 x 768 on the main menu and in each level kind, on
// both renderers (needs an X display and the build's sample data). The test build of the program
// is driven through its socket as in the end-to-end tests: a first start chooses the window and
// names a profile, the second walks to each place and times frames there. Each frame is one
// lockstep "step" round trip (run, present, answer). Usage: bench_sample_frames [FRAMES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "base/WideString.h"
#include "tests/e2e/GameRunFolder.h"
#include "tests/e2e/GameScript.h"
#include "tests/support/ScoreTestServer.h"
#include "tests/support/TempDir.h"

namespace {

using Step = GameScript::Step;

constexpr uint32_t kSeed = 1209;
constexpr int kBlock = 100;

// A place of the play-through: how the script gets there from the previous one, and the level
// the report names there ("" on the main menu).
struct Place {
    const char* name;
    const char* level;
    std::function<Step(GameScript&)> reach;
};

Step Settled(GameScript& play, const Step& step)
{
    return step ? play.Settle() : step;
}

const std::vector<Place>& Places()
{
    static const std::vector<Place> places = {
        {"main menu", "", [](GameScript& play) { return play.ReachMainMenu(); }},
        {"hidden-object scene", "hiddenobject",
         [](GameScript& play) {
             const Step menu = play.ShowPage(kLinePlay, kPagePlay);
             return Settled(play, menu ? play.StartStory() : menu);
         }},
        {"jigsaw", "jigsaw", [](GameScript& play) { return Settled(play, play.PlayScene()); }},
        {"shoot", "shoot", [](GameScript& play) { return Settled(play, play.SolveJigsaw()); }},
        {"sliding", "sliding", [](GameScript& play) { return Settled(play, play.ShootToGoal()); }},
    };
    return places;
}

// The median rate of blocks of kBlock frames; 0 when a step is not answered.
double MedianRate(DrivenProgram& program, int blocks)
{
    std::vector<double> rates;
    for (int block = 0; block < blocks; ++block) {
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < kBlock; ++frame)
            if (!program.Step())
                return 0.0;
        rates.push_back(kBlock / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

// The first start: the game in a window, a profile named, quit.
Step SetUpProfile(DrivenProgram& program, const std::string& pictures)
{
    GameScript play(program, pictures);
    Step step = play.ReachMainMenu();
    step = step ? play.UseWindow() : step;
    step = step ? play.NameProfile("Ada") : step;
    step = step ? play.ShowPage(kMenuClose, kPageMain) : step;
    int exitCode = -1;
    return step ? play.Quit(&exitCode) : step;
}

// Times every place on one renderer; false when the run broke off.
bool BenchRenderer(int renderer, const char* rendererName, int blocks, const std::string& scoreUrl)
{
    TempDir dir;
    const GameRunFolder folder(dir.Path(), VD_BENCH_BINARY_DIR);
    std::string error = folder.Prepare(VD_BENCH_SOURCE_DIR, scoreUrl);
    auto first = error.empty() ? folder.Launch(renderer, kSeed, &error) : nullptr;
    Step step = first ? SetUpProfile(*first, dir.Path()) : ::testing::AssertionFailure() << error;
    first.reset();
    auto program = step ? folder.Launch(renderer, kSeed, &error) : nullptr;
    step = step && !program ? ::testing::AssertionFailure() << error : step;
    if (!step) {
        fprintf(stderr, "%s: %s\n%s", rendererName, step.message(), TempDir::Read(folder.Game() + "/stderr.txt").c_str());
        return false;
    }
    GameScript play(*program, dir.Path());
    for (const Place& place : Places()) {
        step = place.reach(play);
        const StateReport& report = play.Report();
        if (step && (*place.level ? report.Value("level") != place.level : report.Int("state") != GS_MAIN_MENU))
            step = ::testing::AssertionFailure() << "not in the " << place.name << ": " << report.Line();
        if (!step) {
            fprintf(stderr, "%s, %s: %s\n", rendererName, place.name, step.message());
            return false;
        }
        printf("%-20s %-10s %7.1f fps\n", place.name, rendererName, MedianRate(*program, blocks));
        fflush(stdout);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 300;
    const int blocks = std::max(1, frames / kBlock);
    ScoreTestServer server("/score", std::chrono::minutes(10));
    if (!server.Listening()) {
        fprintf(stderr, "the score server does not listen\n");
        return 1;
    }
    printf("Frames per second at 1024 x 768, the median rate of %d blocks of %d frames per place; each frame is one\n"
           "lockstep \"step\" round trip through the drive socket (the frame run and presented, then answered).\n",
           blocks, kBlock);
    bool ran = true;
    for (const auto& [renderer, name] : {std::pair{kDirect3D8, "Direct3D8"}, std::pair{kOpenGL, "OpenGL"}})
        ran = BenchRenderer(renderer, name, blocks, Utf16ToUtf8(server.BaseUrl())) && ran;
    return ran ? 0 : 1;
}
