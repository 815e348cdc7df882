// Writes the seed corpus of every harness: OUT/<harness>/<seed> for each registered maker.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "fuzz/seeds/Seeds.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, FuzzSeedMaker>& Makers()
{
    static std::map<std::string, FuzzSeedMaker> makers;
    return makers;
}

bool HasSuffix(std::string name, const std::vector<std::string>& suffixes)
{
    for (char& c : name)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    for (const std::string& suffix : suffixes) {
        if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return true;
    }
    return false;
}

} // namespace

CSeedRegistration::CSeedRegistration(const char* harness, FuzzSeedMaker maker)
{
    Makers()[harness] = maker;
}

FuzzSeeds SystemSamples(const std::string& folder, const std::vector<std::string>& suffixes, size_t maxBytes)
{
    FuzzSeeds seeds;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(ignored) || entry.file_size(ignored) > maxBytes || !HasSuffix(name, suffixes))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(name, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    return seeds;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fputs("usage: fuzz_seeds OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    for (const auto& [harness, maker] : Makers()) {
        const fs::path folder = fs::path(argv[1]) / harness;
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const auto& [name, bytes] : maker())
            std::ofstream(folder / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
