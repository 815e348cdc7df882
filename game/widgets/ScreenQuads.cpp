#include "game/widgets/ScreenQuads.h"

#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"

namespace {

constexpr uint32_t kCorners = 4;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// An object of count four-vertex parts, locked; null (nothing left with the engine) when it
// cannot be made or locked.
C3DObject* MakeLockedQuads(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, uint32_t count)
{
    C3DObject* object = engine ? engine->CreateObject(flagsA, flagsB) : nullptr;
    if (!object)
        return nullptr;
    const uint32_t vertices = count * kCorners;
    if (Failed(object->Create(count, vertices, vertices)) || Failed(object->Lock())) {
        IgnoreResult(engine->DestroyObject(object));
        return nullptr;
    }
    return object;
}

// The part's strip without culling: its corners white at z 0, with the normal (0, 0, normalZ).
void WriteQuadPart(C3DObject* object, uint32_t part, const CScreenQuad& quad, float normalZ)
{
    const uint32_t first = part * kCorners;
    for (uint32_t c = 0; c < kCorners; ++c) {
        const Vector2& at = quad.corners[c];
        const Vector2& uv = quad.uvs[c];
        object->SetVertex(first + c, at.x, at.y, 0.0f, kWhite, uv.x, uv.y, 0.0f, 0.0f, normalZ, 0);
    }
    object->FillIndexRange(first, kCorners);
    IgnoreResult(object->SetPrimitiveGroup(part, first, kCorners, first, kCorners, 2, kPrimitiveTriangleStrip,
                                           kCullNone, kPartNumberId));
}

// The rectangle's corners left-bottom, right-bottom, left-top, right-top.
CScreenQuad BottomUpQuad(const CScreenRect& r)
{
    return CScreenQuad{{{r.left, r.bottom}, {r.right, r.bottom}, {r.left, r.top}, {r.right, r.top}},
                       {{r.u0, r.v1}, {r.u1, r.v1}, {r.u0, r.v0}, {r.u1, r.v0}}};
}

} // namespace

CScreenQuad CenteredQuad(float x, float y, float width, float height)
{
    const float left = x - width * 0.5f;
    const float top = y - height * 0.5f;
    const float right = x + width * 0.5f;
    const float bottom = y + height * 0.5f;
    return CScreenQuad{{{left, top}, {right, top}, {left, bottom}, {right, bottom}},
                       {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}}};
}

CScreenRect CentredSquare(float side, float u0, float v0, float u1, float v1)
{
    const float h = side * 0.5f;
    return {-h, -h, h, h, u0, v0, u1, v1};
}

C3DObject* MakeQuadObject(C3DEngine* engine, const CScreenQuad* quads, uint32_t count)
{
    C3DObject* object = MakeLockedQuads(engine, kDisplayObjectFlagsA, kDisplayObjectFlagsB, count);
    if (!object)
        return nullptr;
    for (uint32_t p = 0; p < count; ++p)
        WriteQuadPart(object, p, quads[p], -1.0f);
    IgnoreResult(object->Unlock(1));
    return object;
}

C3DObject* CreateScreenQuads(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, const CScreenRect* rects,
                             uint32_t count)
{
    C3DObject* object = MakeLockedQuads(engine, flagsA, flagsB, count);
    if (!object)
        return nullptr;
    for (uint32_t p = 0; p < count; ++p)
        WriteQuadPart(object, p, BottomUpQuad(rects[p]), 0.0f);
    IgnoreResult(object->Unlock(1));
    return object;
}

void SetQuadUVs(C3DObject* object, uint32_t part, const Vector2 uvs[4])
{
    for (uint32_t c = 0; c < kCorners; ++c)
        object->SetUV(part * kCorners + c, &uvs[c]);
}

Result ReleaseQuadObject(C3DEngine* engine, C3DObject*& object)
{
    if (!object)
        return RES_OK;
    IgnoreResult(object->SetTextureAll(nullptr, 0));
    const Result result = engine->DestroyObject(object);
    object = nullptr;
    return result;
}

Result ReleaseScreenTexture(C3DEngine* engine, C3DTexture*& texture)
{
    if (!texture)
        return RES_OK;
    const Result result = engine->DestroyTexture(texture);
    texture = nullptr;
    return result;
}

void DestroyScreenObject(C3DEngine* engine, C3DObject*& object)
{
    if (object && engine)
        IgnoreResult(engine->DestroyObject(object));
    object = nullptr;
}
