#include "world/WorldParameters.h"

#include "core/Log.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/WorldData.h"

Result SetWorldParameters(CWorldData* data, CParamsReader* engineParams, CParamsReader* gameParams,
                          MemoryLookup memoryLookup, const char16_t* pakPath, uint32_t pakStartOffset,
                          PackerLookup pakLookup, const char16_t* logPath)
{
    if (!data)
        return RES_FAIL;
    data->engineParams = engineParams;
    data->gameParams = gameParams;
    data->memoryLookup = memoryLookup;
    data->pakLookup = pakLookup;
    if (logPath)
        WStrCopy(data->logPath, kMaxPathUnits, logPath);
    if (!pakPath || !pakLookup)
        return RES_OK;

    if (Succeeded(OpenPackerFile(&data->pak, pakPath, pakStartOffset)))
        return RES_OK;
    LogPrintf(data->logPath, 0, u"# CWorld::SetParameters failed! (\"%s\")\n", pakPath);
    WFormat(data->errorDetail, kMaxPathUnits, u"Missing file: %s", pakPath);
    data->lastError = RES_PAK_NOT_OPENED;
    return RES_PAK_NOT_OPENED;
}
