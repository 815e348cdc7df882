#include "app/WorldFactory.h"

#include <new>

#include "game/GameComponents.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/scores/WebScoring.h"
#include "levels/LevelTypes.h"

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
    RegisterLevelTypes(world->GetLevelFactory());
    world->RegisterLevelSections();
}
