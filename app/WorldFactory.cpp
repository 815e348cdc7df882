#include "app/WorldFactory.h"

#include <new>

#include "game/GameComponents.h"
#include "game/VadadiDazidevWorld.h"

namespace {

// The toolbar, the hint, the menu dialog and the web score client are still to come; until then
// each kind is the plain component, which loads nothing and draws nothing.
CBaseObject* MakePlainComponent(CWorldData*, C3DEngine*, uint32_t)
{
    return new (std::nothrow) CWorldComponent();
}

// Their construction files are accepted unread.
Result AcceptConstruction(CBaseObject*, CStream*)
{
    return RES_OK;
}

// So are the level labels and the timer: until then each is the plain scene object, which reads
// its description.
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
    factory.SetMaker(kComponentToolbar, MakePlainComponent);
    factory.SetMaker(kComponentHint, MakePlainComponent, AcceptConstruction);
    factory.SetMaker(kComponentMenuDialog, MakePlainComponent, AcceptConstruction);
    factory.SetMaker(kComponentWebScores, MakePlainComponent);
    world->GetLevelFactory().SetObjectMaker(kSceneTypeLabels, MakePlainSceneObject);
    world->GetLevelFactory().SetObjectMaker(kSceneTypeTimer, MakePlainSceneObject);
}
