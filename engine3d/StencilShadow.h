#pragma once
#include <cstdint>

#include "core/Result.h"
#include "engine3d/ShaderListEntry.h"

struct CWorldData;

// Renderer-neutral stencil shadow: a table of casters and the shadow colour; the renderers
// draw the volumes. The engines list shadows with the shaders.
class C3DStencilShadow : public C3DShaderListEntry {
public:
    explicit C3DStencilShadow(CWorldData* data) : m_pWorldData(data) {}
    C3DStencilShadow(const C3DStencilShadow&) = delete;
    C3DStencilShadow& operator=(const C3DStencilShadow&) = delete;
    ~C3DStencilShadow() override = default;

    // Keeps the caster count and the ARGB shadow colour.
    virtual Result Create(uint32_t casterCount, uint32_t colour);
    Result Release() override;

    uint32_t GetColour() const { return m_colour; }
    uint32_t GetCasterCount() const { return m_casterCount; }

protected:
    CWorldData* m_pWorldData;
    uint32_t m_colour = 0;
    uint32_t m_casterCount = 0;
};
