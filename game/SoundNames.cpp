#include "game/SoundNames.h"

#include <new>

#include "core/Stream.h"
#include "game/StreamValues.h"

namespace {

constexpr uint8_t kUnitBytes = 2;

bool ReadCount(CStream& stream, uint32_t& count)
{
    uint8_t size = 0;
    return ReadValue(stream, size) && size == kUnitBytes && ReadValue(stream, count);
}

bool IsName(const char16_t* units, uint32_t unitCount, uint16_t offset)
{
    for (uint32_t i = offset; i < unitCount && i - offset <= kMaxSoundNameUnits; ++i) {
        if (units[i] == 0)
            return true;
    }
    return false;
}

} // namespace

Result ReadSoundNames(CStream& stream, CSoundNames& names)
{
    uint32_t unitCount = 0;
    uint32_t nameCount = 0;
    if (!ReadCount(stream, unitCount) || !ReadCount(stream, nameCount) || nameCount > kMaxSoundNames ||
        (uint64_t{unitCount} + nameCount) * kUnitBytes > stream.BytesLeft())
        return RES_FAIL;
    std::unique_ptr<char16_t[]> units(new (std::nothrow) char16_t[unitCount ? unitCount : 1]);
    std::unique_ptr<uint16_t[]> offsets(new (std::nothrow) uint16_t[nameCount ? nameCount : 1]);
    if (!units || !offsets)
        return RES_OUT_OF_MEMORY;
    if (!stream.Read(units.get(), kUnitBytes, unitCount) || !stream.Read(offsets.get(), kUnitBytes, nameCount))
        return RES_FAIL;
    for (uint32_t i = 0; i < nameCount; ++i) {
        if (!IsName(units.get(), unitCount, offsets[i]))
            return RES_FAIL;
    }
    names.units = std::move(units);
    names.offsets = std::move(offsets);
    names.count = static_cast<uint16_t>(nameCount);
    return RES_OK;
}
