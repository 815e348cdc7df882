#include "backends/audio/AudioModule.h"

#include "backends/audio/AudioEngineDS8.h"

#include <new>

CBaseObject* CreateAudioDX81(CWorldData* data)
{
    return new (std::nothrow) CAudioEngineDS8(data);
}
