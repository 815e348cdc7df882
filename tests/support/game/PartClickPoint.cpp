#include "tests/support/game/PartClickPoint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/SceneGameData.h"
#include "engine3d/SceneObject3D.h"

namespace {

struct CTriangle {
    float area;
    Vector2 centre;
};

struct CPlacedPart {
    std::vector<CTriangle> triangles;
    float box[4];  // left, top, right, bottom
};

// The part's collision triangles as the hit test places them.
bool PlaceTriangles(CSceneObject3D& scene, uint32_t part, const CWorldData& data, CPlacedPart* placed)
{
    C3DObject* collision = scene.GetCollisionObject();
    const ScenePart* scenePart = scene.GetPart(part);
    const CSceneGameData* game = GetSceneGameData(&data);
    if (!collision || !scenePart || !game || !data.math || Failed(collision->Lock()))
        return false;
    const Matrix4& view = game->m_matView[(scenePart->flags & kPartSecondView) ? 1 : 0];
    C3DPrimitiveGroup record{};
    placed->box[0] = placed->box[1] = INFINITY;
    placed->box[2] = placed->box[3] = -INFINITY;
    if (Succeeded(collision->GetPrimitiveGroup(part, &record))) {
        const uint64_t end = uint64_t{record.firstIndex} + record.indexCount;
        for (uint64_t i = record.firstIndex; i + 3 <= end; i += 3) {
            Vector3 corners[3];
            bool valid = true;
            for (uint32_t c = 0; c < 3 && valid; ++c) {
                const uint64_t vertex = uint64_t{collision->GetIndex(static_cast<uint32_t>(i + c))} + record.firstVertex;
                valid = vertex < collision->GetVertexCount();
                Vector3 position{};
                if (valid && collision->GetPosition(&position, static_cast<uint32_t>(vertex)))
                    data.math->TransformPoint(&corners[c], &position, &view);
            }
            if (!valid)
                continue;
            const float area = std::fabs((corners[1].x - corners[0].x) * (corners[2].y - corners[0].y) -
                                         (corners[2].x - corners[0].x) * (corners[1].y - corners[0].y));
            placed->triangles.push_back({area, {(corners[0].x + corners[1].x + corners[2].x) / 3.0f,
                                                (corners[0].y + corners[1].y + corners[2].y) / 3.0f}});
            for (const Vector3& corner : corners) {
                placed->box[0] = std::min(placed->box[0], corner.x);
                placed->box[1] = std::min(placed->box[1], corner.y);
                placed->box[2] = std::max(placed->box[2], corner.x);
                placed->box[3] = std::max(placed->box[3], corner.y);
            }
        }
    }
    IgnoreResult(collision->Unlock(0));  // read only: nothing to write back
    std::stable_sort(placed->triangles.begin(), placed->triangles.end(),
                     [](const CTriangle& a, const CTriangle& b) { return a.area > b.area; });
    return !placed->triangles.empty();
}

} // namespace

bool FindPartClickPoint(CSceneObject3D& scene, uint32_t part, const CClickRules& rules, CPartClickPoint* out)
{
    CPlacedPart placed;
    const CWorldData* data = scene.GetWorldData();
    if (!data || !PlaceTriangles(scene, part, *data, &placed))
        return false;
    for (const CTriangle& triangle : placed.triangles) {
        const Vector2 c = triangle.centre;
        const Vector2 at = rules.reached(c.x + rules.offset.x, c.y + rules.offset.y);
        const bool onScreen = at.x >= 0.0f && at.y >= 0.0f && at.x < data->workingWidth && at.y < data->workingHeight;
        if (!onScreen || Failed(scene.HitTestPart(part, at.x - rules.offset.x, at.y - rules.offset.y)) ||
            !rules.accept(at.x, at.y))
            continue;
        const float halfWidth = std::max(0.0f, std::min(c.x - placed.box[0], placed.box[2] - c.x));
        const float halfHeight = std::max(0.0f, std::min(c.y - placed.box[1], placed.box[3] - c.y));
        const float x = c.x + rules.offset.x, y = c.y + rules.offset.y;
        *out = {{x, y}, {x - halfWidth, y - halfHeight, 2 * halfWidth, 2 * halfHeight}};
        return true;
    }
    return false;
}
