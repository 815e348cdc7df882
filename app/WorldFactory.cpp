#include "app/WorldFactory.h"

#include <new>

#include "game/VadadiDazidevWorld.h"

CWorld* CreateGameWorld()
{
    return new (std::nothrow) CVadadiDazidevWorld();
}
