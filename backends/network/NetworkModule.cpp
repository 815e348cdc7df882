#include "backends/network/NetworkModule.h"

#include "backends/network/NetworkEngineWin32.h"

#include <new>

CBaseObject* CreateNetworkOS(CWorldData* data)
{
    return new (std::nothrow) CNetworkEngineWin32(data);
}
