// The game's processor time in its static main menu, full screen on an X server of its own of
// 1280 x 1024 (the 1024 x 768 picture shown scaled), against a minimal SDL and OpenGL program
// presenting the same picture, taken from the screen, at the same rate (the refresh rate the game's
// frames are paced to: a frame equal to the last is shown again without a swap, so the game's
// swaps count only the frames it drew); then the game's processor time while minimised (another
// window takes the focus: a full-screen game minimises itself). Both run with the frame-count
// probe preloaded. Prints each round and the medians: processor share of one core, frames per
// second (swaps) and the ratio of the menu's shares.
// Usage: bench_menu_cpu GAME_DIRECTORY GAME MINIMAL PROBE [SECONDS] [ROUNDS]
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/PrivateDisplay.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11Desktop.h"
#include "tests/support/Median.h"

extern char** environ;

namespace {

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

void Pause(double seconds)
{
    timespec wait{static_cast<time_t>(seconds), static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    nanosleep(&wait, nullptr);
}

// A program started in a folder with extra NAME=value settings, ended with the object.
class CProgram {
public:
    CProgram(const std::string& folder, const std::string& path, const std::vector<std::string>& arguments,
             const std::vector<std::string>& extra)
    {
        std::vector<std::string> settings = extra;
        for (char** entry = environ; *entry; ++entry)
            settings.emplace_back(*entry);
        std::vector<char*> environment;
        for (std::string& setting : settings)
            environment.push_back(setting.data());
        environment.push_back(nullptr);
        std::vector<std::string> words = {path};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), environment.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CProgram()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

// Processor seconds the process used so far, all its threads.
double ProcessorSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t after = text.rfind(')');
    if (after == std::string::npos)
        return 0.0;
    std::vector<std::string> fields;
    size_t start = after + 2;
    for (size_t space; (space = text.find(' ', start)) != std::string::npos; start = space + 1)
        fields.push_back(text.substr(start, space - start));
    // utime and stime are the 14th and 15th fields, the 12th and 13th after the name.
    return fields.size() > 12 ? (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / sysconf(_SC_CLK_TCK) : 0.0;
}

long long Frames(const std::string& file)
{
    std::ifstream count(file);
    long long frames = 0;
    count >> frames;
    return frames;
}

struct CShare {
    double percent;
    double framesPerSecond;
};

CShare Measure(pid_t pid, const std::string& frameFile, double seconds)
{
    const double startTime = Now();
    const double startCpu = ProcessorSeconds(pid);
    const long long startFrames = Frames(frameFile);
    Pause(seconds);
    const double elapsed = Now() - startTime;
    return CShare{100.0 * (ProcessorSeconds(pid) - startCpu) / elapsed, (Frames(frameFile) - startFrames) / elapsed};
}

// The screen once it stays unchanged for longer than a logo is shown (the main menu, shown and
// still); false when it does not.
bool SettledScreen(const std::string& display, ScreenImage* screen)
{
    constexpr int kStillSeconds = 4;
    ScreenImage last;
    int still = 0;
    for (int tries = 0; tries < 120; ++tries) {
        Pause(1.0);
        if (!GrabScreen(screen, display))
            return false;
        const bool shows = std::any_of(screen->pixels.begin(), screen->pixels.end(), [](uint32_t p) { return p != 0; });
        still = shows && screen->pixels == last.pixels ? still + 1 : 0;
        if (still >= kStillSeconds)
            return true;
        last = *screen;
    }
    return false;
}

bool WritePicture(const ScreenImage& screen, const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6 " << screen.width << " " << screen.height << " 255\n";
    for (uint32_t pixel : screen.pixels) {
        const char rgb[3] = {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8), static_cast<char>(pixel)};
        file.write(rgb, 3);
    }
    return static_cast<bool>(file);
}

// A window of another program takes the focus.
struct CFocusThief {
    explicit CFocusThief(const std::string& name) : display(XOpenDisplay(name.c_str()))
    {
        if (!display)
            return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 100, 0, 0, 0);
        XMapRaised(display, window);
        XSync(display, False);
        Pause(0.5);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    ~CFocusThief()
    {
        if (display)
            XCloseDisplay(display);
    }
    Display* display;
    Window window = 0;
};

// A path as seen from anywhere: programs start in other folders.
std::string Absolute(const char* path)
{
    char* resolved = realpath(path, nullptr);
    std::string absolute = resolved ? resolved : path;
    free(resolved);
    return absolute;
}

// The rate the game's frames are paced to where the display gives no refresh rate (Xvfb).
constexpr int kRefreshRate = 60;

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s GAME_DIRECTORY GAME MINIMAL PROBE [SECONDS] [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string folder = Absolute(argv[1]), gamePath = Absolute(argv[2]), minimalPath = Absolute(argv[3]),
                      probe = Absolute(argv[4]);
    const double seconds = argc > 5 ? std::max(1.0, std::atof(argv[5])) : 10.0;
    const int rounds = argc > 6 ? std::max(1, std::atoi(argv[6])) : 5;
    std::vector<double> game, minimal, ratio, minimised, gameRate, minimalRate;
    for (int round = 0; round < rounds; ++round) {
        PrivateDisplay display("1280x1024");
        TempDir dir;
        if (display.Name().empty())
            return 1;
        const std::vector<std::string> common = {"DISPLAY=" + display.Name(), "SDL_AUDIODRIVER=dummy",
                                                 "LIBGL_ALWAYS_SOFTWARE=1", "LD_PRELOAD=" + probe};
        std::vector<std::string> gameSettings = common;
        gameSettings.push_back("XDG_DATA_HOME=" + dir.File("data"));
        gameSettings.push_back("FRAME_COUNT_FILE=" + dir.File("game-frames"));
        CProgram running(folder, gamePath, {}, gameSettings);
        MovePointer(1279, 1023, display.Name());
        ScreenImage screen;
        if (running.Pid() <= 0 || !SettledScreen(display.Name(), &screen) || !WritePicture(screen, dir.File("menu.ppm"))) {
            std::fprintf(stderr, "the game showed no settled menu\n");
            return 1;
        }
        const CShare menu = Measure(running.Pid(), dir.File("game-frames"), seconds);
        CShare reference{};
        {
            std::vector<std::string> settings = common;
            settings.push_back("FRAME_COUNT_FILE=" + dir.File("minimal-frames"));
            CFocusThief cover(display.Name());  // the minimal program covers the game meanwhile
            CProgram other(dir.Path(), minimalPath, {dir.File("menu.ppm"), std::to_string(kRefreshRate)}, settings);
            Pause(2.0);
            reference = Measure(other.Pid(), dir.File("minimal-frames"), seconds);
            // The game, its focus taken, is minimised while this one runs: its own share then.
            minimised.push_back(Measure(running.Pid(), dir.File("game-frames"), seconds).percent);
        }
        game.push_back(menu.percent);
        minimal.push_back(reference.percent);
        ratio.push_back(menu.percent / reference.percent);
        gameRate.push_back(menu.framesPerSecond);
        minimalRate.push_back(reference.framesPerSecond);
        std::printf("round %d: menu %.1f %% (%.1f drawn frames a second), minimal %.1f %% at %.1f fps, ratio %.2f; "
                    "minimised %.2f %%\n",
                    round + 1, menu.percent, menu.framesPerSecond, reference.percent, reference.framesPerSecond,
                    ratio.back(), minimised.back());
        std::fflush(stdout);
    }
    std::printf("medians of %d rounds of %.0f s: static main menu %.1f %% of a core (%.1f drawn frames a second); "
                "minimal SDL + OpenGL "
                "%.1f %% at %.1f fps; ratio %.2f; minimised %.2f %%\n",
                rounds, seconds, Median(game), Median(gameRate), Median(minimal), Median(minimalRate), Median(ratio),
                Median(minimised));
    return 0;
}
