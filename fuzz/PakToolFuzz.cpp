// The pak tool's list and extraction: nothing is written outside the extraction folder, and
// every file written there holds the data of an entry named by its path.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "tools/PakIndex.h"
#include "tools/PakTool.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string EntryData(const std::string& pak, const PakIndexEntry& entry)
{
    return pak.substr(entry.dataOffset, entry.size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path sandbox = fs::path(FuzzFolder()) / "tool";
    fs::remove_all(sandbox);
    const fs::path folder = sandbox / "out" / "here";
    fs::create_directories(folder);
    const std::string pakPath = WriteFuzzFile("tool/in.pak", data, size);
    std::string listing;
    std::string error;
    IgnoreResult(ListPak(pakPath, &listing, &error));
    IgnoreResult(ExtractPak(pakPath, folder.string(), {}, &error));

    std::vector<PakIndexEntry> entries;
    IgnoreResult(ReadPakIndex(pakPath, 0, &entries, &error));
    const std::string pak(reinterpret_cast<const char*>(data), size);
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(sandbox)) {
        if (file.path() == pakPath || file.is_directory())
            continue;
        const fs::path inside = file.path().lexically_relative(folder);
        FUZZ_CHECK(!inside.empty() && *inside.begin() != "..");
        const std::string bytes = ReadAll(file.path());
        bool named = false;
        for (const PakIndexEntry& entry : entries) {
            std::string name = entry.name;
            std::replace(name.begin(), name.end(), '\\', '/');
            named = named || ((folder / name).lexically_normal() == file.path() && EntryData(pak, entry) == bytes);
        }
        FUZZ_CHECK(named);
    }
    return 0;
}
