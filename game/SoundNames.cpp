#include "game/SoundNames.h"

#include "game/StringFile.h"

namespace {

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
    CStringFile file;
    const Result result = ReadStringFile(stream, file);
    if (Failed(result))
        return result;
    if (file.count > kMaxSoundNames)
        return RES_FAIL;
    for (uint32_t i = 0; i < file.count; ++i) {
        if (!IsName(file.units.get(), file.unitCount, file.offsets[i]))
            return RES_FAIL;
    }
    names.units = std::move(file.units);
    names.offsets = std::move(file.offsets);
    names.count = static_cast<uint16_t>(file.count);
    return RES_OK;
}
