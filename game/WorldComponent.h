#pragma once
#include "base/BaseObject.h"
#include "base/Result.h"

// What the game's menus and widgets share. The world owns each component (std::unique_ptr),
// loads it, runs Process from its Update and Render from its draw pass, and releases it. A
// widget whose loader takes arguments has it in an operation of its own. The defaults do
// nothing and return 0.
class CWorldComponent : public CBaseObject {
public:
    ~CWorldComponent() override = default;

    // Reads the component's own parameter section and textures.
    virtual Result Load() { return RES_OK; }
    virtual Result Release() { return RES_OK; }
    // The per-frame step.
    virtual Result Process() { return RES_OK; }
    virtual Result Render() { return RES_OK; }
};
