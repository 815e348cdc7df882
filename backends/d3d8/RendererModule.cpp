#include "backends/d3d8/RendererModule.h"

#include <new>

#include "backends/d3d8/EngineDX81.h"

CBaseObject* CreateRendererDX81(CWorldData* data)
{
    return new (std::nothrow) C3DEngineDX81(data);
}
