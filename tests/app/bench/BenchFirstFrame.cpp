// Starts the game and a minimal SDL and OpenGL program in turn, each with the first-frame probe
// preloaded, and prints the median time from start to the first presented frame of each and their
// ratio. Usage: bench_first_frame GAME_DIRECTORY GAME MINIMAL PROBE [ROUNDS]
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/Median.h"

extern char** environ;

namespace {

long long Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Milliseconds from the start of the program to its first frame; negative when it showed none.
double FirstFrame(const std::string& directory, const std::string& program, const std::string& probe)
{
    std::string mark = "/tmp/first-frame-" + std::to_string(getpid());
    std::remove(mark.c_str());
    std::vector<std::string> settings = {"LD_PRELOAD=" + probe, "FIRST_FRAME_FILE=" + mark};
    for (char** entry = environ; *entry; ++entry)
        settings.emplace_back(*entry);
    std::vector<char*> environment;
    for (std::string& setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);
    std::string path = program;
    char* arguments[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    long long start = Now();
    pid_t child = 0;
    int failed = posix_spawn(&child, path.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return -1.0;
    int status = 0;
    waitpid(child, &status, 0);
    long long shown = 0;
    std::ifstream file(mark);
    if (!(file >> shown))
        return -1.0;
    std::remove(mark.c_str());
    return static_cast<double>(shown - start) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s GAME_DIRECTORY GAME MINIMAL PROBE [ROUNDS]\n", argv[0]);
        return 2;
    }
    int rounds = argc > 5 ? std::max(1, std::atoi(argv[5])) : 11;
    std::vector<double> game;
    std::vector<double> minimal;
    for (int round = 0; round < rounds; ++round) {
        double g = FirstFrame(argv[1], argv[2], argv[4]);
        double m = FirstFrame(argv[1], argv[3], argv[4]);
        if (g < 0.0 || m < 0.0) {
            std::fprintf(stderr, "a program ended without presenting a frame\n");
            return 1;
        }
        game.push_back(g);
        minimal.push_back(m);
        std::printf("round %d: game %.1f ms, minimal %.1f ms\n", round + 1, g, m);
    }
    std::printf("start to first presented frame, medians of %d rounds: game %.1f ms, minimal SDL + OpenGL %.1f ms, "
                "ratio %.2f\n",
                rounds, Median(game), Median(minimal), Median(game) / Median(minimal));
    return 0;
}
