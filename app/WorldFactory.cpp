#include "app/WorldFactory.h"

#include <new>

#include "game/GameComponents.h"
#include "game/VadadiDazidevWorld.h"

namespace {

// The menu dialog and the web score client have no maker yet: the world goes without them. The
// level labels and the timer are still to come; until then each is the plain scene object,
// which reads its description.
CSceneObject3D* MakePlainSceneObject(CWorldData* data, C3DEngine* engine, uint32_t id)
{
    return new (std::nothrow) CSceneObject3D(data, engine, id);
}

} // namespace

CWorld* CreateGameWorld()
{
    auto* world = new (std::nothrow) CVadadiDazidevWorld();
    if (world)
        FillWorldFactories(world);
    return world;
}

void FillWorldFactories(CVadadiDazidevWorld* world)
{
    CWorldComponentFactory& factory = world->GetComponentFactory();
    RegisterGameComponents(factory);
    world->GetLevelFactory().SetObjectMaker(kSceneTypeLabels, MakePlainSceneObject);
    world->GetLevelFactory().SetObjectMaker(kSceneTypeTimer, MakePlainSceneObject);
}
