#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/SceneGameData.h"
#include "engine3d/SceneObject3D.h"

namespace {

// The matrix that places a part's collision triangles in the virtual screen; null when there is none.
const Matrix4* PlacingMatrix(uint32_t type, uint32_t flags, C3DObject* collision, const CWorldData* data)
{
    if (type == kSceneTypeTooltip)
        return collision->GetMatrix();
    const CSceneGameData* game = GetSceneGameData(data);
    if (!game)
        return nullptr;
    return &game->m_matView[(flags & kPartSecondView) ? 1 : 0];
}

// Every whole triangle of the record whose vertices exist, until the ray hits one.
bool RayHitsRecord(C3DObject* object, const C3DPrimitiveGroup& record, const Matrix4* matrix, CMath3D* math,
                   const Vector3& origin, const Vector3& direction)
{
    const uint64_t end = uint64_t{record.firstIndex} + record.indexCount;
    const uint32_t vertexCount = object->GetVertexCount();
    for (uint64_t i = record.firstIndex; i + 3 <= end; i += 3) {
        Vector3 corners[3];
        bool valid = true;
        for (uint32_t c = 0; c < 3 && valid; ++c) {
            const uint64_t vertex = uint64_t{object->GetIndex(static_cast<uint32_t>(i + c))} + record.firstVertex;
            valid = vertex < vertexCount;
            if (valid) {
                Vector3 position;
                object->GetPosition(&position, static_cast<uint32_t>(vertex));
                math->TransformPoint(&corners[c], &position, matrix);
            }
        }
        if (valid && math->Intersect(&origin, &direction, &corners[0], &corners[1], &corners[2], nullptr, nullptr) != 0.0f)
            return true;
    }
    return false;
}

} // namespace

Result CSceneObject3D::HitTestPart(uint32_t part, float x, float y)
{
    CMath3D* math = m_pWorldData ? m_pWorldData->math : nullptr;
    if (part >= m_nPartCount || !m_pCollision || !math)
        return RES_FAIL;
    const Matrix4* matrix = PlacingMatrix(m_nType, m_pParts[part].flags, m_pCollision, m_pWorldData);
    if (!matrix)
        return RES_FAIL;
    const Vector3 origin{x, y, 1.0f};
    const Vector3 direction{0.0f, 0.0f, -1.0f};
    if (Failed(m_pCollision->Lock()))
        return RES_FAIL;
    C3DPrimitiveGroup record{};
    const bool hit = Succeeded(m_pCollision->GetPrimitiveGroup(part, &record)) &&
                     RayHitsRecord(m_pCollision, record, matrix, math, origin, direction);
    IgnoreResult(m_pCollision->Unlock(0));
    return hit ? RES_OK : RES_FAIL;
}
