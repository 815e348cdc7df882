#pragma once

class CWorld;

// The program's world: a new game world, or null when memory runs out.
CWorld* CreateGameWorld();
