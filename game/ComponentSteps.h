#pragma once
#include <memory>

#include "core/Log.h"
#include "core/WorldData.h"
#include "game/WorldComponentFactory.h"

// The world's two steps for each of its components: made by the factory and loaded, or
// released and deleted.

// A failure logs "# CVadadiDazidevWorld::Load failed! <name> error" and answers RES_FAIL; what
// was made stays for the release.
template <class Component>
Result MakeComponent(const CWorldComponentFactory& factory, ComponentKind kind, CWorldData* data, C3DEngine* engine,
                     std::unique_ptr<Component>& component, const char16_t* name)
{
    component = factory.Make<Component>(kind, data, engine);
    if (component && Succeeded(component->Load()))
        return RES_OK;
    LogPrintf(data->logPath, 1, u"# CVadadiDazidevWorld::Load failed! %s error\n", name);
    return RES_FAIL;
}

template <class Component>
void ReleaseComponent(std::unique_ptr<Component>& component)
{
    if (component)
        IgnoreResult(component->Release());
    component.reset();
}
