#include "tests/support/OpenGLShaderShadowScene.h"

#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/Texture.h"

namespace {

struct Corner {
    float x, y;
};

// An object that could not be set up: destroyed, and nothing to hand out.
C3DObject* Discard(C3DEngine* engine, C3DObject* object)
{
    IgnoreResult(engine->DestroyObject(object));
    return nullptr;
}

// Four corners as a strip: first, second, third, fourth.
C3DObject* MakeStrip(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, const Corner (&corners)[4], float z,
                     uint32_t colour)
{
    C3DObject* object = engine->CreateObject(flagsA, flagsB);
    if (!object)
        return nullptr;
    if (Failed(object->Create(1, 4, 4)) || Failed(object->Lock()))
        return Discard(engine, object);
    for (uint32_t i = 0; i < 4; ++i)
        object->SetVertex(i, corners[i].x, corners[i].y, z, colour, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0);
    object->FillIndexRange(0, 4);
    const Result grouped =
        object->SetPrimitiveGroup(0, 0, 4, 0, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId);
    if (Failed(object->Unlock(1)) || Failed(grouped))
        return Discard(engine, object);
    object->SetColor(colour);
    return object;
}

} // namespace

C3DObject* MakeScreenSquare(C3DEngine* engine, float size, uint32_t colour)
{
    const Corner corners[4] = {{0.0f, 0.0f}, {size, 0.0f}, {0.0f, size}, {size, size}};
    return MakeStrip(engine, kFormatColorTex, kObjectStateBlock, corners, 0.0f, colour);
}

C3DObject* MakeWorldRectangle(C3DEngine* engine, float left, float bottom, float right, float top, float z,
                              uint32_t colour)
{
    const Corner corners[4] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    const uint32_t flagsB = kObjectStateBlock | kObjectDepthTest | kObjectDepthWrite;
    return MakeStrip(engine, kFormatNormalTex, flagsB, corners, z, colour);
}

C3DObject* MakeTriangleMesh(C3DEngine* engine, const std::vector<Vector3>& positions,
                            const std::vector<uint32_t>& indices)
{
    C3DObject* object = engine->CreateObject(kFormatNormalTex, kObjectStateBlock);
    if (!object)
        return nullptr;
    const uint32_t vertexCount = static_cast<uint32_t>(positions.size());
    const uint32_t indexCount = static_cast<uint32_t>(indices.size());
    if (Failed(object->Create(1, vertexCount, indexCount)) || Failed(object->Lock()))
        return Discard(engine, object);
    for (uint32_t i = 0; i < vertexCount; ++i)
        object->SetVertex(i, positions[i].x, positions[i].y, positions[i].z, 0xFFFFFFFF, 0.0f, 0.0f, 0.0f, 0.0f,
                          -1.0f, 0);
    for (uint32_t i = 0; i < indexCount; ++i)
        object->SetIndex(i, indices[i]);
    const Result grouped = object->SetPrimitiveGroup(0, 0, vertexCount, 0, indexCount, indexCount / 3,
                                                     kPrimitiveTriangleList, kCullNone, kPartNumberId);
    if (Failed(object->Unlock(0)) || Failed(grouped))
        return Discard(engine, object);
    return object;
}

C3DTexture* MakeTexelTexture(C3DEngine* engine, uint32_t colour)
{
    C3DTexture* texture = engine->CreateTexture(0, 0x0B);
    if (!texture)
        return nullptr;
    const uint8_t pixel[4] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                              static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 24)};
    if (Failed(texture->Create(1, 1, 32, pixel, nullptr))) {
        IgnoreResult(engine->DestroyTexture(texture));
        return nullptr;
    }
    return texture;
}
