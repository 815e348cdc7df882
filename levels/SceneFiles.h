#pragma once
#include "base/Result.h"

class CSceneObject3D;

// The 3D files of a level or level object: "<raw folder>_<kind>_<id>.obj.3dx" into the display
// object and, with collision, ".col.3dx" into the collision object. RES_FAIL when one is missing.
Result LoadSceneFiles(CSceneObject3D& object, const char16_t* kind, bool collision);
// Both objects give their data back.
Result UnloadSceneFiles(CSceneObject3D& object);
