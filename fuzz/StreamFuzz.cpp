// Streams: a script of reads gives the same bytes, answers and bytes left from a block in memory,
// from a pak's open file bounded to an entry (with more bytes behind it), and from a disk file,
// and each answer is the plain model's: a read succeeds when its bytes are left, takes them in
// order, swapped with kStreamSwapOnRead. The disk file is compared up to its first failed read.
// Input: u8 header (bit 7 swap, bits 0-4 the number of script bytes), the script, the payload.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/Stream.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr uint32_t kElementSizes[8] = {1, 2, 3, 4, 8, 0, 16, 2};

std::string Expected(const std::string& payload, size_t at, uint32_t elementSize, uint32_t count, bool swap)
{
    std::string bytes = payload.substr(at, size_t{elementSize} * count);
    for (size_t i = 0; swap && (elementSize == 2 || elementSize == 4) && i < bytes.size(); i += elementSize)
        std::reverse(bytes.begin() + i, bytes.begin() + i + elementSize);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool swap = data[0] & 0x80;
    const size_t scriptBytes = std::min<size_t>(data[0] & 0x1F, size - 1);
    const std::string script(reinterpret_cast<const char*>(data) + 1, scriptBytes);
    const std::string payload(reinterpret_cast<const char*>(data) + 1 + scriptBytes, size - 1 - scriptBytes);
    const uint8_t flags = kStreamRead | (swap ? kStreamSwapOnRead : 0);

    std::string behind = payload + "trailing bytes of the next entry";
    FILE* file = fmemopen(behind.data(), behind.size(), "rb");
    FUZZ_CHECK(file);
    CStreamMemory memory(flags, payload.data(), static_cast<uint32_t>(payload.size()));
    CStreamStdio entry(flags, &file, static_cast<uint32_t>(payload.size()));
    const std::string path = WriteFuzzFile("stream.bin", reinterpret_cast<const uint8_t*>(payload.data()), payload.size());
    CStreamFile disk(flags, Utf8ToUtf16(path).c_str());
    FUZZ_CHECK(memory.Open() == RES_OK);
    FUZZ_CHECK(entry.Open() == RES_OK && disk.Open() == RES_OK);

    size_t at = 0;
    bool diskAgrees = true;
    for (unsigned char op : script) {
        const uint32_t elementSize = kElementSizes[op & 7];
        const uint32_t count = op >> 3;
        const size_t total = size_t{elementSize} * count;
        const bool fits = total <= payload.size() - at;
        std::vector<char> a(total + 1), b(total + 1), c(total + 1);
        FUZZ_CHECK(memory.Read(a.data(), elementSize, count) == fits);
        FUZZ_CHECK(entry.Read(b.data(), elementSize, count) == fits);
        if (diskAgrees)
            diskAgrees = disk.Read(c.data(), elementSize, count) == fits && fits;
        if (fits) {
            const std::string expected = Expected(payload, at, elementSize, count, swap);
            FUZZ_CHECK(memcmp(a.data(), expected.data(), total) == 0 && memcmp(b.data(), expected.data(), total) == 0);
            FUZZ_CHECK(!diskAgrees || memcmp(c.data(), expected.data(), total) == 0);
            at += total;
        }
        FUZZ_CHECK(memory.BytesLeft() == payload.size() - at && entry.BytesLeft() == payload.size() - at);
    }
    FUZZ_CHECK(disk.Close() == RES_OK);
    fclose(file);
    return 0;
}
