#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/ShaderListEntry.h"
#include "engine3d/ShadowVolume.h"

struct CWorldData;
class C3DObject;

// Renderer-neutral stencil shadow: a table of casters, each an object placed by a matrix, and
// per caster a shadow volume built from the object's silhouette as seen from light 0. The
// renderers draw the volumes into the stencil buffer and darken what they cover (Render). The
// engines list shadows with the shaders. Calling order: Create, one SetCaster per caster, then
// per frame BuildVolumes(i) when the caster or the light moved and Render(i) after the scene.
class C3DStencilShadow : public C3DShaderListEntry {
public:
    explicit C3DStencilShadow(CWorldData* data);
    C3DStencilShadow(const C3DStencilShadow&) = delete;
    C3DStencilShadow& operator=(const C3DStencilShadow&) = delete;
    ~C3DStencilShadow() override = default;

    // A table of empty casters (a previous one is dropped), the ARGB shadow colour, the placement
    // matrix set to the identity and [STENCIL_SHADOW] SHOW_CONSTRUCT read. RES_OUT_OF_MEMORY
    // when the table cannot be made.
    virtual Result Create(uint32_t casterCount, uint32_t colour);
    // Frees the volume buffers of every caster; their counts and capacity drop to 0.
    Result Release() override;
    // Makes caster index a fresh record of the object, its placing matrix (kept, not copied) and
    // the two corners, with buffers of 200 points per object vertex (none for no object or no
    // vertices). RES_FAIL for an index past the table, RES_OUT_OF_MEMORY when the buffers cannot
    // be made (the record then has none).
    virtual Result SetCaster(uint32_t index, C3DObject* object, Matrix4* matrix, const Vector3& minimum,
                             const Vector3& maximum);
    // BuildShadowVolume for caster index and light 0's position; RES_FAIL for an index past the table.
    virtual Result BuildVolumes(uint32_t index);
    // Draws caster index's volume and the darkening: nothing in the base.
    virtual Result Render(uint32_t index);

    uint32_t GetColour() const { return m_colour; }
    uint32_t GetCasterCount() const { return m_casterCount; }
    // Null past the table.
    const C3DShadowCaster* GetCaster(uint32_t index) const;
    // World transform of the volumes (the identity).
    const Matrix4& GetPlacement() const { return m_placement; }
    // Also draw every volume as a wireframe.
    bool ShowsConstruct() const { return m_showConstruct != 0; }

protected:
    CWorldData* m_pWorldData;
    uint32_t m_colour = 0;
    Matrix4 m_placement;
    uint8_t m_showConstruct = 0;
    std::unique_ptr<C3DShadowCaster[]> m_casters;
    uint32_t m_casterCount = 0;
};
