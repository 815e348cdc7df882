#pragma once

class CVadadiDazidevWorld;
class CWorld;

// Fills the world's component and level-object factories with the program's makers.
void FillWorldFactories(CVadadiDazidevWorld* world);

// The program's world: a new game world, or null when memory runs out.
CWorld* CreateGameWorld();
