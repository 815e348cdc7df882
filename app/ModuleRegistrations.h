#pragma once
#include "base/Result.h"

class CWorld;

// Registration of this program's four modules, in the order start-up calls them.
Result RegisterModuleDX81(CWorld* world);
Result RegisterModuleOpenGL(CWorld* world);
Result RegisterModuleDirectSound(CWorld* world);
Result RegisterModuleNetworkOS(CWorld* world);
