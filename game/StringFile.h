#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"

class CStream;

// A string file: u8 unit size (2), u32 unit count U, u8 offset size (2), u32 string count N, the
// U UTF-16 units (the strings one after another, each ended by a 0 unit), then N u16 offsets,
// string i beginning at unit offsets[i].
struct CStringFile {
    std::unique_ptr<char16_t[]> units;  // the U units and a terminator
    std::unique_ptr<uint16_t[]> offsets;
    uint32_t unitCount = 0;
    uint32_t count = 0;

    const char16_t* String(uint32_t i) const { return &units[offsets[i]]; }
};

// One count of the header: a size byte that must be 2, then the u32 count.
bool ReadStringCount(CStream& stream, uint32_t& count);

// Reads a whole string file. RES_FAIL, the file untouched, for a size byte other than 2, counts
// past the stream's end, a short read or an offset not below U; RES_OUT_OF_MEMORY when the
// buffers cannot be had.
Result ReadStringFile(CStream& stream, CStringFile& file);
