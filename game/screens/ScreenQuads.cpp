#include "game/screens/ScreenQuads.h"

#include "engine3d/Engine.h"
#include "engine3d/Object.h"

namespace {

constexpr uint32_t kCorners = 4;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

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

C3DObject* MakeQuadObject(C3DEngine* engine, const CScreenQuad* quads, uint32_t count)
{
    C3DObject* object = engine ? engine->CreateObject(kDisplayObjectFlagsA, kDisplayObjectFlagsB) : nullptr;
    if (!object)
        return nullptr;
    const uint32_t vertices = count * kCorners;
    if (Failed(object->Create(count, vertices, vertices)) || Failed(object->Lock())) {
        engine->DestroyObject(object);
        return nullptr;
    }
    for (uint32_t p = 0; p < count; ++p) {
        const uint32_t first = p * kCorners;
        for (uint32_t c = 0; c < kCorners; ++c) {
            const Vector2& at = quads[p].corners[c];
            const Vector2& uv = quads[p].uvs[c];
            object->SetVertex(first + c, at.x, at.y, 0.0f, kWhite, uv.x, uv.y, 0.0f, 0.0f, -1.0f, 0);
        }
        object->FillIndexRange(first, kCorners);
        object->SetPrimitiveGroup(p, first, kCorners, first, kCorners, 2, kPrimitiveTriangleStrip, kCullNone,
                                  kPartNumberId);
    }
    object->Unlock(1);
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
    object->SetTextureAll(nullptr, 0);
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
