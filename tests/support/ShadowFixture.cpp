#include "tests/support/ShadowFixture.h"

#include "engine3d/Object.h"
#include "tests/support/MemoryObject.h"

void ShadowFixture::TearDown()
{
    if (shadow) {
        EXPECT_EQ(engine->DestroyStencilShadow(shadow), RES_OK);
    }
    for (C3DObject* object : objects)
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_TRUE(engine->Misuses().empty()) << engine->Misuses().front();
    EXPECT_EQ(renderer.Unload(), 0u);
}

C3DObject* ShadowFixture::Mesh(const std::vector<Vector3>& positions, const std::vector<uint32_t>& indices,
                               uint32_t type)
{
    C3DObject* object = engine->CreateObject(kFormatNormalTex, 0);
    objects.push_back(object);
    const auto vertices = static_cast<uint32_t>(positions.size());
    const auto count = static_cast<uint32_t>(indices.size());
    EXPECT_EQ(object->Create(1, vertices, count), RES_OK);
    EXPECT_EQ(object->Lock(), RES_OK);
    for (uint32_t v = 0; v < vertices; ++v)
        object->SetPosition(v, &positions[v]);
    for (uint32_t i = 0; i < count; ++i)
        object->SetIndex(i, indices[i]);
    const uint32_t primitives = type == kPrimitiveTriangleList ? count / 3 : (count > 2 ? count - 2 : 0);
    EXPECT_EQ(object->SetPrimitiveGroup(0, 0, vertices, 0, count, primitives, type, kCullNone, kPartNumberId), RES_OK);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    return object;
}

C3DObject* ShadowFixture::Shape(uint32_t kind, void* params)
{
    C3DObject* object = engine->CreateObject(kFormatNormalTex, 0);
    objects.push_back(object);
    EXPECT_EQ(object->CreatePrimitive(kind, params), RES_OK);
    return object;
}

CMemoryStencilShadow* ShadowFixture::Shadow(uint32_t casters)
{
    if (!shadow)
        shadow = static_cast<CMemoryStencilShadow*>(engine->CreateStencilShadow(casters, 0x80000000u));
    return shadow;
}

const C3DShadowCaster* ShadowFixture::Cast(C3DObject* object, const Vector3& light, Result* result)
{
    const Vector3 lo{-1, -1, -1};
    const Vector3 hi{1, 1, 1};
    EXPECT_EQ(Shadow()->SetCaster(0, object, &placement, lo, hi), RES_OK);
    float* position = renderer.Data()->lights[0].position;
    position[0] = light.x;
    position[1] = light.y;
    position[2] = light.z;
    const Result built = shadow->BuildVolumes(0);
    if (result)
        *result = built;
    else
        EXPECT_EQ(built, RES_OK);
    EXPECT_FALSE(IsLocked(object));
    return shadow->GetCaster(0);
}

bool ShadowFixture::IsLocked(C3DObject* object) const { return static_cast<CMemoryObject*>(object)->IsLocked(); }
