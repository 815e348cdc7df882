#pragma once
#include "base/BaseObject.h"
#include "base/Result.h"

// What the engine's shader list holds: shaders and stencil shadows, released and deleted
// there without knowing which of the two an entry is.
class C3DShaderListEntry : public CBaseObject {
public:
    ~C3DShaderListEntry() override = default;
    virtual Result Release() = 0;
};
