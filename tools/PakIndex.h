#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

// One entry of a pak's chain as it stands in the file.
struct PakIndexEntry {
    std::string name;     // descrambled
    uint64_t dataOffset;  // from the start of the file
    uint32_t size;
};

// Walks the whole chain of the pak at path from startOffset. A header, name or data that runs past
// the end of the file is a truncated pak: RES_FAIL with *error set, entries holding those before it.
Result ReadPakIndex(const std::string& path, uint32_t startOffset, std::vector<PakIndexEntry>* entries,
                    std::string* error);
