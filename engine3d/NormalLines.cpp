#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/ObjectMerge.h"
#include "engine3d/ObjectPrivate.h"

Result C3DObjectPrivate::CreateNormalLines(C3DObject** sources, uint32_t count, float length, uint32_t colour)
{
    CMath3D* math = m_pWorldData->math;
    if (!math || !UsableSources(this, sources, count, false))
        return RES_FAIL;
    uint64_t total = 0;
    for (uint32_t s = 0; s < count; ++s)
        total += sources[s]->GetVertexCount();
    if (2 * total > UINT32_MAX)
        return RES_FAIL;
    const uint32_t n = static_cast<uint32_t>(2 * total);
    if (Failed(Release()))
        return RES_FAIL;
    m_flagsA &= ~(kFlatNormalsPending | kSmoothNormalsPending);
    if (Failed(Create(1, n, n)))
        return RES_FAIL;
    IgnoreResult(Lock());
    ResetIndices();

    uint32_t next = 0;
    for (uint32_t s = 0; s < count; ++s) {
        C3DObject& source = *sources[s];
        IgnoreResult(source.Lock());
        for (uint32_t v = 0; v < source.GetVertexCount(); ++v) {
            Vector3 position{}, normal{};
            source.GetVertex(v, &position, nullptr, nullptr, &normal, nullptr);
            const Vector3 p = PlacedPosition(*math, source, position);
            SetVertex(next++, p.x, p.y, p.z, colour, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
            SetVertex(next++, p.x + length * normal.x, p.y + length * normal.y, p.z + length * normal.z, colour, 0.0f,
                      0.0f, 0.0f, 0.0f, 0.0f, 0);
        }
        IgnoreResult(source.Unlock(0));
    }
    IgnoreResult(SetPrimitiveGroup(0, 0, n, 0, n, n / 2, kPrimitiveLineList, kCullNone, kPartNumberId));
    return Failed(Unlock(1)) ? RES_FAIL : RES_OK;
}
