#include "app/WorldFactory.h"

#include <new>

#include "game/GameComponents.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/scores/WebScoring.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "levels/minigames/LevelJigsaw.h"
#include "levels/minigames/LevelShoot.h"
#include "levels/minigames/LevelSliding.h"
#include "levels/objects/LevelLabels.h"
#include "levels/objects/LevelTimer.h"
#include "levels/objects/LevelTooltip.h"

namespace {

CVadadiDazidevWorld* GameWorldOf(CWorldData* data)
{
    return data && data->gameData ? dynamic_cast<CVadadiDazidevWorld*>(data->world) : nullptr;
}

// The score client of the world; it finds the network module through the world.
CBaseObject* MakeWebScoring(CWorldData* data, C3DEngine*, uint32_t)
{
    CVadadiDazidevWorld* world = GameWorldOf(data);
    return world ? new (std::nothrow) CWebScoring(world) : nullptr;
}

// The dialog over the world and its score client (made earlier, when there is one), which
// shows its answers on the dialog's pages.
CBaseObject* MakeMenuDialog(CWorldData* data, C3DEngine*, uint32_t)
{
    CVadadiDazidevWorld* world = GameWorldOf(data);
    if (!world)
        return nullptr;
    CWebScoring* web = world->GetWebScoring();
    auto* dialog = new (std::nothrow) CMenuDialog(data, world, web);
    if (dialog && web)
        web->SetPages(dialog);
    return dialog;
}

Result ReadMenuDialog(CBaseObject* dialog, CStream* stream)
{
    return stream ? static_cast<CMenuDialog*>(dialog)->ReadConstruction(*stream) : RES_FAIL;
}

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
    factory.SetMaker(kComponentWebScores, MakeWebScoring);
    factory.SetMaker(kComponentMenuDialog, MakeMenuDialog, ReadMenuDialog);
    CLevelFactory& levels = world->GetLevelFactory();
    levels.SetLevelMaker(kLevelTypeHiddenObject, MakeLevel<CLevelVadadiDazidev>);
    levels.SetLevelMaker(kLevelTypeJigsaw, MakeLevel<CLevelJigsaw>);
    levels.SetLevelMaker(kLevelTypeShoot, MakeLevel<CLevelShoot>);
    levels.SetLevelMaker(kLevelTypeSliding, MakeLevel<CLevelSliding>);
    levels.SetObjectMaker(kSceneTypeTimer, MakeLevelObject<CLevelTimer>);
    levels.SetObjectMaker(kSceneTypeLabels, MakeLevelObject<CLevelLabels>);
    levels.SetObjectMaker(kSceneTypeTooltip, MakeLevelObject<CLevelTooltip>);
    world->RegisterLevelSections();
}
