#include "app/ModuleRegistrations.h"

#include "backends/audio/AudioModule.h"
#include "backends/d3d8/RendererModule.h"
#include "backends/network/NetworkModule.h"
#include "backends/opengl/RendererModule.h"
#include "world/ModuleRegistry.h"

Result RegisterModuleDX81(CWorld* world)
{
    return RegisterModule(world, kModule3D, kModuleId3DDX81, CreateRendererDX81);
}

Result RegisterModuleOpenGL(CWorld* world)
{
    return RegisterModule(world, kModule3D, kModuleId3DOpenGL, CreateRendererOpenGL);
}

Result RegisterModuleDirectSound(CWorld* world)
{
    return RegisterModule(world, kModuleAudio, kModuleIdAudioDX81, CreateAudioDX81);
}

Result RegisterModuleNetworkOS(CWorld* world)
{
    return RegisterModule(world, kModuleNetwork, kModuleIdNetworkOS, CreateNetworkOS);
}
