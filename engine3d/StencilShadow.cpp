#include "engine3d/StencilShadow.h"

#include <new>

#include "core/ParamsReader.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"

namespace {

constexpr Matrix4 kIdentity{{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                             1.0f}};

void FreeBuffers(C3DShadowCaster& caster)
{
    caster.sideVertices.reset();
    caster.capVertices.reset();
    caster.capacity = 0;
    caster.sideCount = 0;
    caster.capCount = 0;
}

} // namespace

C3DStencilShadow::C3DStencilShadow(CWorldData* data) : m_pWorldData(data), m_placement(kIdentity) {}

Result C3DStencilShadow::Create(uint32_t casterCount, uint32_t colour)
{
    m_casters.reset();
    m_casterCount = 0;
    if (casterCount != 0) {
        m_casters.reset(new (std::nothrow) C3DShadowCaster[casterCount]);
        if (!m_casters)
            return RES_OUT_OF_MEMORY;
    }
    m_casterCount = casterCount;
    const CParamsReader* params = m_pWorldData->engineParams;
    m_showConstruct = params ? params->GetBool(u"STENCIL_SHADOW", u"SHOW_CONSTRUCT", 0) : 0;
    m_colour = colour;
    m_placement = kIdentity;
    return RES_OK;
}

Result C3DStencilShadow::Release()
{
    for (uint32_t i = 0; i < m_casterCount; ++i)
        FreeBuffers(m_casters[i]);
    return RES_OK;
}

Result C3DStencilShadow::SetCaster(uint32_t index, C3DObject* object, Matrix4* matrix, const Vector3& minimum,
                                   const Vector3& maximum)
{
    if (index >= m_casterCount)
        return RES_FAIL;
    C3DShadowCaster& caster = m_casters[index];
    FreeBuffers(caster);
    caster.object = object;
    caster.matrix = matrix;
    caster.minimum = minimum;
    caster.maximum = maximum;
    if (!object || object->GetVertexCount() == 0)
        return RES_OK;
    const uint64_t capacity = uint64_t{object->GetVertexCount()} * kShadowPointsPerVertex;
    if (capacity > UINT32_MAX)
        return RES_OUT_OF_MEMORY;
    caster.sideVertices.reset(new (std::nothrow) Vector3[capacity]);
    caster.capVertices.reset(new (std::nothrow) Vector3[capacity]);
    if (!caster.sideVertices || !caster.capVertices) {
        FreeBuffers(caster);
        return RES_OUT_OF_MEMORY;
    }
    caster.capacity = static_cast<uint32_t>(capacity);
    return RES_OK;
}

Result C3DStencilShadow::BuildVolumes(uint32_t index)
{
    if (index >= m_casterCount)
        return RES_FAIL;
    const float* position = m_pWorldData->lights[0].position;
    const Vector3 light{position[0], position[1], position[2]};
    return BuildShadowVolume(&m_casters[index], light, m_pWorldData->math);
}

Result C3DStencilShadow::Render(uint32_t) { return RES_OK; }

const C3DShadowCaster* C3DStencilShadow::GetCaster(uint32_t index) const
{
    return index < m_casterCount ? &m_casters[index] : nullptr;
}
