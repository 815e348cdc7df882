#include "backends/d3d8/RendererModule.h"

#include "core/Result.h"
#include "core/WideFormat.h"
#include "core/WorldData.h"

CBaseObject* CreateRendererDX81(CWorldData* data)
{
    if (data) {
        WFormat(data->errorDetail, kMaxPathUnits, u"No compatible %s was found", u"DirectX 8.1");
        data->lastError = RES_NO_DEVICE;
    }
    return nullptr;
}
