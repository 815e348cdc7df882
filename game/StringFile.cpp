#include "game/StringFile.h"

#include <new>

#include "core/Stream.h"
#include "game/StreamValues.h"

namespace {

constexpr uint8_t kUnitBytes = 2;

} // namespace

bool ReadStringCount(CStream& stream, uint32_t& count)
{
    uint8_t size = 0;
    return ReadValue(stream, size) && size == kUnitBytes && ReadValue(stream, count);
}

Result ReadStringFile(CStream& stream, CStringFile& file)
{
    uint32_t unitCount = 0;
    uint32_t count = 0;
    if (!ReadStringCount(stream, unitCount) || !ReadStringCount(stream, count) ||
        (uint64_t{unitCount} + count) * kUnitBytes > stream.BytesLeft())
        return RES_FAIL;
    std::unique_ptr<char16_t[]> units(new (std::nothrow) char16_t[uint64_t{unitCount} + 1]());
    std::unique_ptr<uint16_t[]> offsets(new (std::nothrow) uint16_t[count ? count : 1]);
    if (!units || !offsets)
        return RES_OUT_OF_MEMORY;
    if (!stream.Read(units.get(), kUnitBytes, unitCount) || !stream.Read(offsets.get(), kUnitBytes, count))
        return RES_FAIL;
    for (uint32_t i = 0; i < count; ++i) {
        if (offsets[i] >= unitCount)
            return RES_FAIL;
    }
    file.units = std::move(units);
    file.offsets = std::move(offsets);
    file.unitCount = unitCount;
    file.count = count;
    return RES_OK;
}
