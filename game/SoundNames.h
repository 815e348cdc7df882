#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"

class CStream;

// The sound-name table: the names of the sound bank's WAV files, each zero-terminated in one
// block of UTF-16 units, and the unit at which each name begins.
struct CSoundNames {
    std::unique_ptr<char16_t[]> units;
    std::unique_ptr<uint16_t[]> offsets;
    uint16_t count = 0;
};

constexpr uint32_t kMaxSoundNames = 0xFFFF;
constexpr uint32_t kMaxSoundNameUnits = 259;  // a name and its terminator fit 260 units

// Reads the table: u8 unit size (2), u32 unit count U, u8 unit size (2), u32 name count N, the U
// units, then the N u16 offsets. Refused (RES_FAIL, names untouched) for another unit size, more
// than kMaxSoundNames names, counts past the stream's end, a short read, or a name that does not
// start below U, end within U, or fit kMaxSoundNameUnits.
Result ReadSoundNames(CStream& stream, CSoundNames& names);
