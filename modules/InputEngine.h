#pragma once
#include "base/BaseObject.h"
#include "base/Result.h"
#include "core/WorldData.h"

// The input module's interface as the world drives it. No input module is registered on this
// platform: keys and buttons come from the window's messages (CWorld::OnMessage).
class CInputEngine : public CBaseObject {
public:
    virtual Result Load(WindowHandle window) = 0;
    virtual Result Unload() = 0;
};
