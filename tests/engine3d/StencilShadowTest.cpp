#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>

#include "core/ParamsReader.h"
#include "engine3d/Object.h"
#include "tests/support/ShadowFixture.h"

namespace {

const std::vector<Vector3> kTriangle{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};

} // namespace

using StencilShadowTest = ShadowFixture;

TEST_F(StencilShadowTest, CreateMakesEmptyCastersAndReadsTheSwitch)
{
    const char settings[] = "[STENCIL_SHADOW]\nSHOW_CONSTRUCT = 1\n";
    CParamsText params(settings, static_cast<uint32_t>(strlen(settings)));
    C3DStencilShadow* plain = engine->CreateStencilShadow(3, 0x40302010u);
    renderer.Data()->engineParams = &params;
    C3DStencilShadow* wired = engine->CreateStencilShadow(1, 0);
    renderer.Data()->engineParams = nullptr;

    EXPECT_FALSE(plain->ShowsConstruct());
    EXPECT_TRUE(wired->ShowsConstruct());
    EXPECT_EQ(plain->GetColour(), 0x40302010u);
    ASSERT_EQ(plain->GetCasterCount(), 3u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(plain->GetPlacement().m[i], i % 5 == 0 ? 1.0f : 0.0f);
    const C3DShadowCaster* c = plain->GetCaster(2);
    EXPECT_EQ(c->object, nullptr);
    EXPECT_EQ(c->minimum.x, FLT_MAX);
    EXPECT_EQ(c->maximum.z, -FLT_MAX);
    EXPECT_EQ(c->sideVertices, nullptr);
    EXPECT_EQ(c->capacity, 0u);
    EXPECT_EQ(plain->GetCaster(3), nullptr);
    EXPECT_EQ(engine->DestroyStencilShadow(plain), RES_OK);
    EXPECT_EQ(engine->DestroyStencilShadow(wired), RES_OK);
}

TEST_F(StencilShadowTest, SetCasterMakesRoomPerVertexAndReplacesTheRecord)
{
    C3DObject* triangle = Mesh(kTriangle, {0, 1, 2});
    const Vector3 lo{-1, -2, -3};
    const Vector3 hi{1, 2, 3};
    ASSERT_EQ(Shadow(2)->SetCaster(1, triangle, &placement, lo, hi), RES_OK);
    const C3DShadowCaster* c = shadow->GetCaster(1);
    EXPECT_EQ(c->capacity, 600u);
    EXPECT_NE(c->sideVertices, nullptr);
    EXPECT_NE(c->capVertices, nullptr);
    EXPECT_EQ(c->matrix, &placement);
    EXPECT_EQ(c->minimum.y, -2.0f);
    EXPECT_EQ(c->maximum.z, 3.0f);
    EXPECT_EQ(shadow->SetCaster(2, triangle, &placement, lo, hi), RES_FAIL);

    // Set again, the record drops its buffers: no object, or one without vertices, gets none.
    C3DObject* empty = engine->CreateObject(kFormatNormalTex, 0);
    objects.push_back(empty);
    for (C3DObject* object : {static_cast<C3DObject*>(nullptr), empty}) {
        ASSERT_EQ(shadow->SetCaster(1, object, &placement, lo, hi), RES_OK);
        EXPECT_EQ(c->capacity, 0u);
        EXPECT_EQ(c->sideVertices, nullptr);
        EXPECT_EQ(shadow->BuildVolumes(1), RES_OK);
        EXPECT_EQ(c->sideCount, 0u);
    }
}

TEST_F(StencilShadowTest, VolumesFollowLightZeroAndReleaseDropsThem)
{
    C3DObject* triangle = Mesh(kTriangle, {0, 1, 2});
    EXPECT_EQ(Edges(Cast(triangle, {0, 0, 1})), 3u);
    EXPECT_EQ(shadow->Render(0), RES_OK);
    renderer.Data()->lights[0].position[2] = -1.0f;
    EXPECT_EQ(shadow->BuildVolumes(0), RES_OK);
    EXPECT_EQ(shadow->Render(0), RES_OK);
    ASSERT_EQ(shadow->Draws().size(), 1u);  // the turned-away build draws nothing
    EXPECT_EQ(shadow->Draws()[0].sidePoints, 18u);
    EXPECT_EQ(shadow->Draws()[0].capPoints, 18u);

    Cast(triangle, {0, 0, 1});
    EXPECT_EQ(shadow->Release(), RES_OK);
    const C3DShadowCaster* c = shadow->GetCaster(0);
    EXPECT_EQ(c->sideVertices, nullptr);
    EXPECT_EQ(c->capVertices, nullptr);
    EXPECT_EQ(c->sideCount + c->capCount + c->capacity, 0u);
    EXPECT_EQ(shadow->Render(0), RES_OK);
    EXPECT_EQ(shadow->Draws().size(), 1u);
}
