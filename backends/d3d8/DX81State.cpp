#include "backends/d3d8/DX81State.h"

#include "core/WorldData.h"

CDX81State* DX81StateOf(const CWorldData* data)
{
    return data ? static_cast<CDX81State*>(data->rendererState) : nullptr;
}

IDirect3DDevice8* DX81DeviceOf(const CWorldData* data)
{
    const CDX81State* state = DX81StateOf(data);
    return state ? state->device : nullptr;
}
