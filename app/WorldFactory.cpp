#include "app/WorldFactory.h"

#include <new>

#include "game/GameComponents.h"
#include "game/VadadiDazidevWorld.h"
#include "levels/minigames/LevelJigsaw.h"
#include "levels/minigames/LevelShoot.h"
#include "levels/minigames/LevelSliding.h"
#include "levels/objects/LevelLabels.h"
#include "levels/objects/LevelTimer.h"
#include "levels/objects/LevelTooltip.h"

namespace {

// The menu dialog and the web score client have no maker yet: the world goes without them.
template <typename Object>
CSceneObject3D* MakeLevelObject(CWorldData* data, C3DEngine* engine, uint32_t id)
{
    return new (std::nothrow) Object(data, engine, id);
}

template <typename Level>
CGameLevel* MakeLevel(CWorldData* data, C3DEngine* engine, uint32_t id)
{
    return new (std::nothrow) Level(data, engine, id);
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
    CLevelFactory& levels = world->GetLevelFactory();
    levels.SetObjectMaker(kSceneTypeTimer, MakeLevelObject<CLevelTimer>);
    levels.SetObjectMaker(kSceneTypeLabels, MakeLevelObject<CLevelLabels>);
    levels.SetObjectMaker(kSceneTypeTooltip, MakeLevelObject<CLevelTooltip>);
    levels.SetLevelMaker(kLevelTypeJigsaw, MakeLevel<CLevelJigsaw>);
    levels.SetLevelMaker(kLevelTypeShoot, MakeLevel<CLevelShoot>);
    levels.SetLevelMaker(kLevelTypeSliding, MakeLevel<CLevelSliding>);
    world->RegisterLevelSections();
}
