#include "game/widgets/ScreenQuads.h"

#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kQuadVertices = 4;

} // namespace

ScreenQuad CentredSquare(float side, float u0, float v0, float u1, float v1)
{
    const float h = side * 0.5f;
    return {-h, -h, h, h, u0, v0, u1, v1};
}

C3DObject* CreateScreenQuads(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, const ScreenQuad* quads,
                             uint32_t count)
{
    C3DObject* object = engine ? engine->CreateObject(flagsA, flagsB) : nullptr;
    if (!object)
        return nullptr;
    if (Failed(object->Create(count, count * kQuadVertices, count * kQuadVertices))) {
        engine->DestroyObject(object);
        return nullptr;
    }
    object->Lock();
    for (uint32_t part = 0; part < count; ++part) {
        const ScreenQuad& q = quads[part];
        const uint32_t first = part * kQuadVertices;
        object->SetPrimitiveGroup(part, first, kQuadVertices, first, kQuadVertices, 2, kPrimitiveTriangleStrip,
                                  kCullNone, kPartNumberId);
        object->FillIndexRange(first, kQuadVertices);
        object->SetVertex(first, q.left, q.bottom, 0.0f, kWhite, q.u0, q.v1, 0.0f, 0.0f, 0.0f, 0);
        object->SetVertex(first + 1, q.right, q.bottom, 0.0f, kWhite, q.u1, q.v1, 0.0f, 0.0f, 0.0f, 0);
        object->SetVertex(first + 2, q.left, q.top, 0.0f, kWhite, q.u0, q.v0, 0.0f, 0.0f, 0.0f, 0);
        object->SetVertex(first + 3, q.right, q.top, 0.0f, kWhite, q.u1, q.v0, 0.0f, 0.0f, 0.0f, 0);
    }
    object->Unlock(1);
    return object;
}

void DestroyScreenObject(C3DEngine* engine, C3DObject*& object)
{
    if (object && engine)
        engine->DestroyObject(object);
    object = nullptr;
}
