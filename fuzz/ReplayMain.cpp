// The harness's main where libFuzzer is not linked (GCC builds): runs the harness once on every
// file named, and on every file below every folder named, in name order. Arguments starting
// with '-' (libFuzzer's options) are ignored, so a replay command serves both kinds of build.
// An input running longer than kReplaySeconds stops the replay; so does replaying nothing.

#include <algorithm>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/FuzzSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kReplaySeconds = 10;
const char* g_current = "";

void OnAlarm(int)
{
    const char text[] = "replay: an input ran too long: ";
    (void)!write(2, text, sizeof text - 1);
    (void)!write(2, g_current, strlen(g_current));
    _exit(1);
}

std::vector<std::string> Inputs(int argc, char** argv)
{
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code ignored;
        if (argv[i][0] == '-')
            continue;
        if (!fs::is_directory(argv[i], ignored)) {
            if (fs::is_regular_file(argv[i], ignored))
                inputs.push_back(argv[i]);
            continue;
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argv[i], ignored)) {
            if (entry.is_regular_file(ignored))
                inputs.push_back(entry.path().string());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    signal(SIGALRM, OnAlarm);
    const std::vector<std::string> inputs = Inputs(argc, argv);
    for (const std::string& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        // A block of exactly the input's size, so that a read past its end is caught.
        std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), block.get());
        g_current = input.c_str();
        alarm(kReplaySeconds);
        LLVMFuzzerTestOneInput(block.get(), bytes.size());
        alarm(0);
    }
    printf("replayed %zu inputs\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
