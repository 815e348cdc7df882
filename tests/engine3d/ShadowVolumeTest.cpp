#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/PrimitiveParams.h"
#include "tests/support/PrimitiveProbe.h"
#include "tests/support/ShadowFixture.h"
#include "tests/support/VectorExpect.h"

namespace {

constexpr float kTol = 1e-5f;

Vector3 Minus(const Vector3& a, const Vector3& b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Normal (c - b) x (b - a) of a triangle, as the shadow takes it.
Vector3 ShadowNormal(const Vector3& a, const Vector3& b, const Vector3& c) { return Cross(Minus(c, b), Minus(b, a)); }

// Edges of the triangles facing the light that no second such triangle shares, counted on vertex
// numbers: the silhouette the volume must be built from.
uint32_t OddEdges(const ObjectSnapshot& s, const Matrix4& m, CMath3D* math, const Vector3& light)
{
    std::map<std::pair<uint32_t, uint32_t>, int> uses;
    for (const Triangle& t : DrawnTriangles(s, s.records.at(0))) {
        Vector3 p[3];
        for (int k = 0; k < 3; ++k)
            math->TransformPoint(&p[k], &s.vertices.at(t[k]).position, &m);
        if (Dot(ShadowNormal(p[0], p[1], p[2]), light) < 0.0f)
            continue;
        for (int k = 0; k < 3; ++k)
            ++uses[std::minmax(t[k], t[(k + 1) % 3])];
    }
    uint32_t odd = 0;
    for (const auto& use : uses)
        odd += use.second % 2;
    return odd;
}

// One triangle whose shadow normal is +z.
const std::vector<Vector3> kTriangle{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};

} // namespace

using ShadowVolumeTest = ShadowFixture;

TEST_F(ShadowVolumeTest, SingleTriangleGivesThreeWallsAndCapsInEdgeOrder)
{
    C3DObject* triangle = Mesh(kTriangle, {0, 1, 2});
    placement.m[12] = 5.0f;  // placed 5 along x
    const C3DShadowCaster* c = Cast(triangle, {0, 0, 1});
    ASSERT_EQ(c->sideCount, 18u);
    ASSERT_EQ(c->capCount, 18u);
    const Vector3 world[3] = {{5, 0, 0}, {5, 1, 0}, {6, 0, 0}};
    for (int e = 0; e < 3; ++e) {
        const Vector3& a = world[e];
        const Vector3& b = world[(e + 1) % 3];
        const Vector3* wall = &c->sideVertices[6 * e];
        EXPECT_VEC3(wall[0], a.x, a.y, a.z);
        EXPECT_VEC3(wall[1], b.x, b.y, b.z);
        EXPECT_VEC3(wall[2], a.x, a.y, -10.0f);
        EXPECT_VEC3(wall[3], b.x, b.y, b.z);
        EXPECT_VEC3(wall[4], b.x, b.y, -10.0f);
        EXPECT_VEC3(wall[5], a.x, a.y, -10.0f);
        const Vector3* cap = &c->capVertices[6 * e];
        EXPECT_VEC3(cap[0], 16.0f / 3, 1.0f / 3, 0.0f);
        EXPECT_VEC3(cap[1], a.x, a.y, a.z);
        EXPECT_VEC3(cap[2], b.x, b.y, b.z);
        EXPECT_VEC3(cap[3], 16.0f / 3, 1.0f / 3, -10.0f);
        EXPECT_VEC3(cap[4], a.x, a.y, -10.0f);
        EXPECT_VEC3(cap[5], b.x, b.y, -10.0f);
    }
}

TEST_F(ShadowVolumeTest, OnlyTrianglesFacingOrAcrossTheLightCast)
{
    C3DObject* triangle = Mesh(kTriangle, {0, 1, 2});
    EXPECT_EQ(Edges(Cast(triangle, {0, 0, -1})), 0u);
    EXPECT_EQ(Edges(Cast(triangle, {1, 0, 0})), 3u);  // edge-on counts as facing
    // Light 0 at the origin: every triangle counts and the walls are flat.
    const C3DShadowCaster* c = Cast(triangle, {0, 0, 0});
    ASSERT_EQ(Edges(c), 3u);
    for (uint32_t i = 0; i < c->sideCount; i += 6) {
        EXPECT_VEC3(c->sideVertices[i + 2], c->sideVertices[i].x, c->sideVertices[i].y, c->sideVertices[i].z);
        EXPECT_VEC3(c->sideVertices[i + 4], c->sideVertices[i + 1].x, c->sideVertices[i + 1].y,
                     c->sideVertices[i + 1].z);
    }
}

TEST_F(ShadowVolumeTest, GridCastsOnlyItsBorder)
{
    PlaneParams grid{4.0f, 4.0f, 3, 2, kAxisXZ, 0xFFFFFFFFu, 0, 1.0f, 1.0f};
    C3DObject* plane = Shape(kShapePlane, &grid);
    const C3DShadowCaster* c = Cast(plane, {0, -1, 0});
    ASSERT_EQ(Edges(c), 2u * (3 + 2));
    for (uint32_t i = 0; i < c->sideCount; i += 6) {
        for (const Vector3& p : {c->sideVertices[i], c->sideVertices[i + 1]})
            EXPECT_TRUE(std::fabs(std::fabs(p.x) - 2.0f) < kTol || std::fabs(std::fabs(p.z) - 2.0f) < kTol);
    }
    EXPECT_EQ(Edges(Cast(plane, {0, 1, 0})), 0u);
}

TEST_F(ShadowVolumeTest, DiscCastsItsRimAndBoxStripsCastNothing)
{
    DiscParams params{2.0f, 12, 0.0f, kAxisXZ, 0, 0xFFFFFFFFu, 0, 1.0f, 1.0f};
    C3DObject* disc = Shape(kShapeDisc, &params);
    const C3DShadowCaster* c = Cast(disc, {0, -1, 0});
    ASSERT_EQ(Edges(c), 12u);
    for (uint32_t i = 0; i < c->sideCount; i += 6)
        EXPECT_NEAR(std::hypot(c->sideVertices[i].x, c->sideVertices[i].z), 1.0f, kTol);
    EXPECT_EQ(Edges(Cast(disc, {0, 1, 0})), 0u);

    BoxParams box{1.0f, 1.0f, 1.0f, 0, 0xFFFFFFFFu, 0, 0.0f, 1.0f};
    C3DObject* cube = Shape(kShapeBox, &box);
    for (const Vector3& light : {Vector3{0, -1, 0}, Vector3{1, 2, 3}, Vector3{0, 0, 0}}) {
        c = Cast(cube, light);
        EXPECT_EQ(c->sideCount, 0u);
        EXPECT_EQ(c->capCount, 0u);
    }
}

// The generator repeats the pole vertex per segment and the seam vertex per ring, so besides the
// equator the lit half keeps 2n pole edges and two seam edges per lit band (n / 2 - 1 bands).
TEST_F(ShadowVolumeTest, SphereLitFromAPoleCastsEquatorPolesAndSeam)
{
    for (uint32_t n : {8u, 16u}) {
        SphereParams params{1.0f, n, 0xFFFFFFFFu, 0};
        C3DObject* sphere = Shape(kShapeSphere, &params);
        EXPECT_EQ(Edges(Cast(sphere, {0, -1, 0})), 4 * n - 2) << n;
        EXPECT_EQ(Edges(Cast(sphere, {0, 1, 0})), 4 * n - 2) << n;
    }
}

TEST_F(ShadowVolumeTest, PlacedSphereCastsTheEdgesLitOnce)
{
    SphereParams params{2.0f, 12, 0xFFFFFFFFu, 0};
    C3DObject* sphere = Shape(kShapeSphere, &params);
    CMath3D* math = renderer.Math();
    math->RotateX(&placement, 0.7f);
    math->RotateZ(&placement, -0.4f);
    math->Translate(&placement, 3.0f, -1.0f, 2.0f);
    const Vector3 light{0.3f, -0.8f, 0.5f};
    const uint32_t expected = OddEdges(TakeSnapshot(sphere), placement, math, light);
    EXPECT_GT(expected, 12u);
    EXPECT_EQ(Edges(Cast(sphere, light)), expected);
}

TEST_F(ShadowVolumeTest, EquatorWallsWindOneWayAndLeaveAwayFromTheLight)
{
    SphereParams params{1.0f, 16, 0xFFFFFFFFu, 0};
    const C3DShadowCaster* c = Cast(Shape(kShapeSphere, &params), {0, -1, 0});
    int outward = 0;
    int inward = 0;
    for (uint32_t i = 0; i < c->sideCount; i += 6) {
        const Vector3* w = &c->sideVertices[i];
        if (std::fabs(w[0].y) > 1e-4f || std::fabs(w[1].y) > 1e-4f)
            continue;  // a pole or seam edge
        EXPECT_VEC3(w[2], w[0].x, w[0].y + 10.0f, w[0].z);
        EXPECT_VEC3(w[4], w[1].x, w[1].y + 10.0f, w[1].z);
        for (const Vector3* t : {w, w + 3}) {
            const Vector3 radial{t[0].x + t[1].x + t[2].x, 0.0f, t[0].z + t[1].z + t[2].z};
            (Dot(Cross(Minus(t[1], t[0]), Minus(t[2], t[0])), radial) > 0.0f ? outward : inward) += 1;
        }
    }
    EXPECT_EQ(outward + inward, 2 * 16);
    EXPECT_TRUE(outward == 0 || inward == 0) << outward << " outward, " << inward << " inward";
}

TEST_F(ShadowVolumeTest, EachPartHasItsOwnSilhouetteAndMeans)
{
    // Two triangles sharing the edge (1, 2): one silhouette of four edges in one part...
    const std::vector<Vector3> square{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}};
    EXPECT_EQ(Edges(Cast(Mesh(square, {0, 1, 2, 2, 1, 3}), {0, 0, 1})), 4u);
    // ...but three edges each when the triangles are two parts.
    C3DObject* split = Mesh(square, {0, 1, 2, 2, 1, 3});
    ASSERT_EQ(split->Create(2, 4, 6), RES_OK);
    ASSERT_EQ(split->Lock(), RES_OK);
    for (uint32_t v = 0; v < 4; ++v)
        split->SetPosition(v, &square[v]);
    const uint32_t indices[] = {0, 1, 2, 2, 1, 3};
    for (uint32_t i = 0; i < 6; ++i)
        split->SetIndex(i, indices[i]);
    ASSERT_EQ(split->SetPrimitiveGroup(0, 0, 4, 0, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
    ASSERT_EQ(split->SetPrimitiveGroup(1, 0, 4, 3, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
    ASSERT_EQ(split->Unlock(0), RES_OK);
    const C3DShadowCaster* c = Cast(split, {0, 0, 1});
    ASSERT_EQ(Edges(c), 6u);
    EXPECT_VEC3(c->capVertices[0], 1.0f / 3, 1.0f / 3, 0.0f);
    EXPECT_VEC3(c->capVertices[18], 2.0f / 3, 2.0f / 3, 0.0f);
}

TEST_F(ShadowVolumeTest, BadCastersFailAndKeepNoVolume)
{
    C3DObject* triangle = Mesh(kTriangle, {0, 1, 2});
    const Vector3 lo{0, 0, 0};
    Result result = RES_OK;
    ASSERT_EQ(Edges(Cast(triangle, {0, 0, 1})), 3u);

    EXPECT_EQ(shadow->SetCaster(0, triangle, nullptr, lo, lo), RES_OK);  // no matrix
    EXPECT_EQ(shadow->BuildVolumes(0), RES_FAIL);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 0u);
    EXPECT_EQ(shadow->BuildVolumes(1), RES_FAIL);

    auto expectFails = [&](C3DObject* object, const char* what) {
        const C3DShadowCaster* c = Cast(object, {0, 0, 1}, &result);
        EXPECT_EQ(result, RES_FAIL) << what;
        EXPECT_EQ(c->sideCount + c->capCount, 0u) << what;
    };
    expectFails(Mesh(kTriangle, {0, 1, 2, 0}), "index count not a multiple of 3");
    expectFails(Mesh(kTriangle, {0, 1, 3}), "index past the vertices");
    C3DObject* badId = Mesh(kTriangle, {0, 1, 2});
    badId->GetIndexBuffer()->GetRecordAddress(0)->id = 1;
    expectFails(badId, "part record id naming no record");
    C3DObject* badRange = Mesh(kTriangle, {0, 1, 2});
    badRange->GetIndexBuffer()->GetRecordAddress(0)->firstIndex = 3;
    expectFails(badRange, "index range past the buffer");

    // Room for 600 points was made for three vertices; the object then grew a 120-edge border.
    C3DObject* grown = Mesh(kTriangle, {0, 1, 2});
    Cast(grown, {0, 0, 1});
    PlaneParams grid{4.0f, 4.0f, 30, 30, kAxisXZ, 0xFFFFFFFFu, 0, 1.0f, 1.0f};
    ASSERT_EQ(grown->CreatePrimitive(kShapePlane, &grid), RES_OK);
    renderer.Data()->lights[0].position[1] = -1.0f;
    EXPECT_EQ(shadow->BuildVolumes(0), RES_FAIL);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 0u);
    EXPECT_FALSE(IsLocked(grown));
    // Released buffers are no room either.
    Cast(triangle, {0, 0, 1});
    EXPECT_EQ(shadow->Release(), RES_OK);
    EXPECT_EQ(shadow->BuildVolumes(0), RES_FAIL);
}

TEST_F(ShadowVolumeTest, VertexNumbersMustFitSixteenBits)
{
    std::vector<Vector3> positions(0x10001, Vector3{0, 0, 0});
    positions[0xFFFD] = {0, 0, 0};
    positions[0xFFFE] = positions[0x10000] = {0, 1, 0};
    positions[0xFFFF] = {1, 0, 0};
    Result result = RES_OK;
    EXPECT_EQ(Edges(Cast(Mesh(positions, {0xFFFD, 0xFFFE, 0xFFFF}), {0, 0, 1})), 3u);
    Cast(Mesh(positions, {0xFFFD, 0x10000, 0xFFFF}), {0, 0, 1}, &result);
    EXPECT_EQ(result, RES_FAIL);
}
