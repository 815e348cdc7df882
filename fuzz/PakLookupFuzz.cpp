// Pak lookups: for the names the pak holds and their halves, the lookup finds the first entry
// that the pak tool's index lists with that beginning, and stands at its data.

#include <cstdio>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/PackerFile.h"
#include "fuzz/FuzzSupport.h"
#include "tools/PakIndex.h"

namespace {

constexpr size_t kMaxWanted = 16;

bool Begins(const std::string& name, const std::string& wanted)
{
    if (name.size() > kPakMaxStoredName || name.size() < wanted.size())
        return false;
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (toupper(static_cast<unsigned char>(name[i])) != toupper(static_cast<unsigned char>(wanted[i])))
            return false;
    }
    return true;
}

void Look(CPackerFile& pak, const std::vector<PakIndexEntry>& entries, std::string wanted)
{
    wanted = wanted.substr(0, wanted.find('\0'));
    std::u16string wide;
    for (char c : wanted)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    const Result result = FindPackerEntry(wide.c_str(), &pak);
    const PakIndexEntry* first = nullptr;
    for (const PakIndexEntry& entry : entries) {
        if (Begins(entry.name, wanted)) {
            first = &entry;
            break;
        }
    }
    if (wanted.empty() || wanted.size() > kPakMaxWantedName || !first) {
        FUZZ_CHECK(result == RES_FAIL);
        return;
    }
    FUZZ_CHECK(result == RES_OK);
    FUZZ_CHECK(pak.foundSize == first->size);
    FUZZ_CHECK(static_cast<uint64_t>(ftell(pak.file)) == first->dataOffset);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzFile("lookup.pak", data, size);
    std::vector<PakIndexEntry> entries;
    std::string error;
    IgnoreResult(ReadPakIndex(path, 0, &entries, &error));
    CPackerFile pak{};
    FUZZ_CHECK(OpenPackerFile(&pak, Utf8ToUtf16(path).c_str(), 0) == RES_OK);
    for (size_t i = 0; i < entries.size() && i < kMaxWanted; ++i) {
        Look(pak, entries, entries[i].name);
        Look(pak, entries, entries[i].name.substr(0, (entries[i].name.size() + 1) / 2));
    }
    Look(pak, entries, "~none");
    ClosePackerFile(&pak);
    return 0;
}
