#include "levels/LevelTypes.h"

#include "game/LevelFactory.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/objects/LevelLabels.h"
#include "levels/objects/LevelTimer.h"
#include "levels/objects/LevelTooltip.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"

void RegisterLevelTypes(CLevelFactory& factory)
{
    factory.AddLevel<CLevelVadadiDazidev>(kLevelTypeHiddenObject);
    factory.AddLevel<CLevelJigsaw>(kLevelTypeJigsaw);
    factory.AddLevel<CLevelShoot>(kLevelTypeShoot);
    factory.AddLevel<CLevelSliding>(kLevelTypeSliding);

    factory.AddObject<CLevelTimer>(kSceneTypeTimer);
    factory.AddObject<CLevelLabels>(kSceneTypeLabels);
    factory.AddObject<CLevelTooltip>(kSceneTypeTooltip);
}
