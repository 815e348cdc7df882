#include "game/Construction.h"

#include <cstring>
#include <new>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/StreamValues.h"

namespace {

const char16_t kInvalidConstruction[] = u"Invalid construction,\na new construction must be made";
const char16_t kRawVersionChanged[] = u"The raw version files changed,\na new construction must be made";

void SetErrorDetail(CWorldData* data, const char16_t* text)
{
    WStrCopy(data->errorDetail, kMaxPathUnits, text);
}

// The build string's length n, then its bytes: RES_OK when it is this application's, RES_FAIL
// (no detail) for another or a cut one, RES_UNKNOWN_KIND for a length or bytes no build writes.
Result CheckBuildString(CStream& stream, const char* appName)
{
    uint16_t version = 0;
    uint32_t length = 0;
    if (!ReadValue(stream, version))
        return RES_FAIL;
    if (version != kRawVersion)
        return RES_UNKNOWN_KIND;
    if (!ReadValue(stream, length))
        return RES_FAIL;
    if (length == 0 || length > kRawBuildStringBytes)
        return RES_UNKNOWN_KIND;
    char build[kRawBuildStringBytes];
    if (!stream.Read(build, 1, length))
        return RES_FAIL;
    if (!memchr(build, 0, length))
        return RES_UNKNOWN_KIND;
    return strcmp(build, appName) == 0 ? RES_OK : RES_FAIL;
}

} // namespace

std::unique_ptr<CStream> CheckConstruction(CWorldData* data, const char16_t* name, bool headerCheck, CPackerFile* pak)
{
    CPackerFile* record = pak ? pak : &data->pak;
    std::unique_ptr<CStream> stream;
    if (data->pakLookup && Succeeded(data->pakLookup(name, record)))
        stream.reset(new (std::nothrow) CStreamStdio(kStreamRead, &record->file, record->foundSize));
    if (!stream) {
        SetErrorDetail(data, kInvalidConstruction);
        return nullptr;
    }
    if (Failed(stream->Open()))
        return nullptr;
    if (!headerCheck)
        return stream;
    const char* appName = data->gameData ? data->gameData->m_szAppNameA : "";
    Result build = CheckBuildString(*stream, appName);
    if (build == RES_UNKNOWN_KIND)
        SetErrorDetail(data, kRawVersionChanged);
    if (Failed(build))
        return nullptr;
    return stream;
}
