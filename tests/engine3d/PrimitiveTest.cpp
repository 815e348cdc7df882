#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/PrimitiveParams.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PrimitiveProbe.h"
#include "tests/support/VectorExpect.h"

namespace {

constexpr float kTol = 1e-5f;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGrey = 0xFF808080u;

template <typename T>
std::vector<uint8_t> Block(const T& params)
{
    std::vector<uint8_t> bytes(sizeof(T));
    memcpy(bytes.data(), &params, sizeof(T));
    return bytes;
}

#define EXPECT_UV(uv, eu, ev)                                                                                          \
    do {                                                                                                               \
        EXPECT_NEAR((uv).x, (eu), kTol);                                                                               \
        EXPECT_NEAR((uv).y, (ev), kTol);                                                                               \
    } while (0)

class PrimitiveTest : public ::testing::Test {
protected:
    void SetUp() override { RandomSeed(renderer.Data()->random, 5489); }

    void TearDown() override
    {
        for (C3DObject* object : objects)
            EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        EXPECT_TRUE(engine->Misuses().empty()) << engine->Misuses().front();
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    C3DObject* Make(uint32_t flagsA = kFormatNormalTex, uint32_t flagsB = 0)
    {
        C3DObject* object = engine->CreateObject(flagsA, flagsB);
        objects.push_back(object);
        return object;
    }

    // Every triangle that is not degenerate faces the way `outward` gives for its centroid.
    void ExpectFacing(C3DObject* object, const std::function<Vector3(const Vector3&)>& outward, const std::string& what)
    {
        const ObjectSnapshot s = TakeSnapshot(object);
        size_t checked = 0;
        for (const C3DPrimitiveGroup& record : s.records) {
            for (const Triangle& t : DrawnTriangles(s, record)) {
                const Vector3 cross = TriangleCross(s, t);
                if (std::sqrt(Dot(cross, cross)) < 1e-6f)
                    continue;
                EXPECT_GT(Dot(cross, outward(TriangleCentroid(s, t))), 0.0f)
                    << what << ": triangle " << t[0] << ", " << t[1] << ", " << t[2];
                ++checked;
            }
        }
        EXPECT_GT(checked, 0u) << what;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    std::vector<C3DObject*> objects;
};

struct CountCase {
    const char* name;
    uint32_t kind;
    std::vector<uint8_t> block;
    uint32_t parts;
    uint32_t vertices;
    uint32_t indices;
    uint32_t primitives;  // of part 0
    uint32_t type;
};

std::vector<CountCase> CountCases()
{
    const SphereParams sphere{1.0f, 0, kWhite, 0};
    auto withSegments = [](SphereParams p, uint32_t n) {
        p.segments = n;
        return p;
    };
    return {
        {"sphere 2 (as 3)", kShapeSphere, Block(withSegments(sphere, 2)), 1, 14, 36, 12, kPrimitiveTriangleList},
        {"sphere 3", kShapeSphere, Block(withSegments(sphere, 3)), 1, 14, 36, 12, kPrimitiveTriangleList},
        {"sphere 8", kShapeSphere, Block(withSegments(sphere, 8)), 1, 79, 336, 112, kPrimitiveTriangleList},
        {"sphere 300 (as 255)", kShapeSphere, Block(withSegments(sphere, 300)), 1, 65534, 388620, 129540,
         kPrimitiveTriangleList},
        {"half sphere 5", kShapeHalfSphere, Block(withSegments(sphere, 5)), 1, 34, 120, 40, kPrimitiveTriangleList},
        {"disc 1 (as 3)", kShapeDisc, Block(DiscParams{2, 1, 0, 0, 0, kWhite, 0, 1, 1}), 1, 5, 5, 3,
         kPrimitiveTriangleFan},
        {"disc 12", kShapeDisc, Block(DiscParams{2, 12, 0, 2, 0, kWhite, 0, 1, 1}), 1, 14, 14, 12,
         kPrimitiveTriangleFan},
        {"plane 3 x 2", kShapePlane, Block(PlaneParams{3, 2, 3, 2, 2, kWhite, 0, 1, 1}), 1, 12, 36, 12,
         kPrimitiveTriangleList},
        {"plane 1 x 5", kShapePlane, Block(PlaneParams{1, 5, 1, 5, 0, kWhite, 0, 1, 1}), 1, 12, 30, 10,
         kPrimitiveTriangleList},
        {"box", kShapeBox, Block(BoxParams{1, 1, 1, 0, kWhite, 0, 0, 1}), 6, 24, 24, 2, kPrimitiveTriangleStrip},
        {"axes", kShapeAxes, Block(AxesParams{1, kRed, kRed, kRed}), 1, 6, 6, 3, kPrimitiveLineList},
        {"frustum 3", kShapeFrustum, Block(FrustumParams{3, 1, 10, 0.5f, kWhite, kWhite}), 1, 5, 5, 3,
         kPrimitiveTriangleFan},
        {"frustum 4", kShapeFrustum, Block(FrustumParams{4, 1, 10, 0.5f, kWhite, kWhite}), 1, 6, 6, 4,
         kPrimitiveTriangleFan},
        {"frustum 5", kShapeFrustum, Block(FrustumParams{5, 1, 10, 0.5f, kWhite, kWhite}), 1, 7, 7, 5,
         kPrimitiveTriangleFan},
        {"terrain 1", kShapeTerrain, Block(TerrainParams{4, 1, 0, 1, 1, {0, 0}, 1, 1}), 1, 4, 6, 2,
         kPrimitiveTriangleList},
        {"terrain 4", kShapeTerrain, Block(TerrainParams{4, 4, 0, 1, 1, {0, 0}, 1, 1}), 1, 25, 96, 32,
         kPrimitiveTriangleList},
        {"tube 2 (as 3)", kShapeTube, Block(TubeParams{1, 1, 1, 0, 2, 0, 0, kWhite, 0, 1, 1}), 1, 6, 6, 4,
         kPrimitiveTriangleStrip},
        {"tube 10", kShapeTube, Block(TubeParams{1, 1, 1, 0, 10, 2, 0, kWhite, 0, 1, 1}), 1, 20, 20, 18,
         kPrimitiveTriangleStrip},
        {"dish 3 x 1", kShapeDish, Block(DishParams{4, 3, 1, 0.5f, 1, 0, kWhite, 0}), 1, 7, 9, 3,
         kPrimitiveTriangleList},
        {"dish 6 x 3", kShapeDish, Block(DishParams{4, 6, 1, 0.5f, 3, 0, kWhite, 0}), 1, 25, 90, 30,
         kPrimitiveTriangleList},
    };
}

TEST_F(PrimitiveTest, CountsOfEveryShape)
{
    for (CountCase& c : CountCases()) {
        SCOPED_TRACE(c.name);
        C3DObject* object = Make();
        ASSERT_EQ(object->CreatePrimitive(c.kind, c.block.data()), RES_OK);
        EXPECT_EQ(object->GetPartCount(), c.parts);
        EXPECT_EQ(object->GetVertexCount(), c.vertices);
        ASSERT_NE(object->GetActiveIndexBuffer(), nullptr);
        EXPECT_EQ(object->GetActiveIndexBuffer()->GetIndexCount(), c.indices);
        const ObjectSnapshot s = TakeSnapshot(object);
        ASSERT_EQ(s.records.size(), c.parts);
        for (uint32_t p = 0; p < c.parts; ++p) {
            const C3DPrimitiveGroup& r = s.records[p];
            EXPECT_EQ(r.id, p);
            EXPECT_EQ(r.firstVertex, p * (c.vertices / c.parts));
            EXPECT_EQ(r.vertexCount, c.vertices / c.parts);
            EXPECT_EQ(r.firstIndex, p * (c.indices / c.parts));
            EXPECT_EQ(r.indexCount, c.indices / c.parts);
            EXPECT_EQ(r.primitiveCount, c.primitives);
            EXPECT_EQ(r.primitiveType, c.type);
            EXPECT_LE(IndicesForPrimitives(r.primitiveType, r.primitiveCount), r.indexCount);
        }
        for (uint32_t index : s.indices)
            EXPECT_LT(index, c.vertices);

        engine->ClearDraws();
        EXPECT_EQ(object->Render(), RES_OK);
        ASSERT_EQ(engine->DrawsOf(object).size(), c.parts);
        EXPECT_EQ(engine->DrawsOf(object)[0].primitiveCount, c.primitives);
    }
}

TEST_F(PrimitiveTest, ClampedCountsAndTheStackWordAreWrittenBack)
{
    C3DObject* object = Make();
    SphereParams sphere{1, 2, kWhite, 0};
    ASSERT_EQ(object->CreatePrimitive(kShapeSphere, &sphere), RES_OK);
    EXPECT_EQ(sphere.segments, 3u);
    sphere.segments = 300;
    ASSERT_EQ(object->CreatePrimitive(kShapeHalfSphere, &sphere), RES_OK);
    EXPECT_EQ(sphere.segments, 255u);

    DiscParams disc{2, 0, 0, 0, 0, kWhite, 0, 1, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
    EXPECT_EQ(disc.segments, 3u);
    disc.segments = 1000;
    ASSERT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
    EXPECT_EQ(disc.segments, 1000u);
    EXPECT_EQ(object->GetVertexCount(), 1002u);

    TubeParams tube{1, 1, 1, 7, 1, 0, 0, kWhite, 0, 1, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeTube, &tube), RES_OK);
    EXPECT_EQ(tube.stacks, 1u);
    EXPECT_EQ(tube.segments, 3u);
}

TEST_F(PrimitiveTest, BadKindsAndBlocksAreRefusedAndLeaveTheObjectAsItWas)
{
    C3DObject* object = Make(kFormatNormalTex | kFlatNormalsPending);
    BoxParams box{1, 2, 3, 0, kWhite, 0, 0, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeBox, &box), RES_OK);
    const ObjectSnapshot before = TakeSnapshot(object);
    object->SetFlags(object->GetFlagsA() | kFlatNormalsPending, 0);

    struct Bad {
        const char* name;
        uint32_t kind;
        std::vector<uint8_t> block;
    };
    const std::vector<Bad> bad = {
        {"kind 0", 0, Block(box)},
        {"kind 11", 11, Block(box)},
        {"plane of 0 columns", kShapePlane, Block(PlaneParams{1, 1, 0, 4, 0, kWhite, 0, 1, 1})},
        {"plane of 0 rows", kShapePlane, Block(PlaneParams{1, 1, 4, 0, 0, kWhite, 0, 1, 1})},
        {"plane wrapping 32 bits", kShapePlane, Block(PlaneParams{1, 1, 0x10000, 0x10000, 0, kWhite, 0, 1, 1})},
        {"plane of axis 3", kShapePlane, Block(PlaneParams{1, 1, 2, 2, 3, kWhite, 0, 1, 1})},
        {"disc of axis 3", kShapeDisc, Block(DiscParams{2, 8, 0, 3, 0, kWhite, 0, 1, 1})},
        {"disc wrapping 32 bits", kShapeDisc, Block(DiscParams{2, 0xFFFFFFFFu, 0, 0, 0, kWhite, 0, 1, 1})},
        {"frustum of 0 sides", kShapeFrustum, Block(FrustumParams{0, 1, 10, 0.5f, kWhite, kWhite})},
        {"frustum wrapping 32 bits", kShapeFrustum, Block(FrustumParams{0xFFFFFFFFu, 1, 10, 0.5f, kWhite, kWhite})},
        {"terrain of 0 segments", kShapeTerrain, Block(TerrainParams{4, 0, 0, 1, 1, {0, 0}, 1, 1})},
        {"terrain of -3 segments", kShapeTerrain, Block(TerrainParams{4, -3, 0, 1, 1, {0, 0}, 1, 1})},
        {"terrain wrapping 32 bits", kShapeTerrain, Block(TerrainParams{4, 70000, 0, 1, 1, {0, 0}, 1, 1})},
        {"tube of axis 3", kShapeTube, Block(TubeParams{1, 1, 1, 7, 8, 3, 0, kWhite, 0, 1, 1})},
        {"tube wrapping 32 bits", kShapeTube, Block(TubeParams{1, 1, 1, 7, 0x80000000u, 0, 0, kWhite, 0, 1, 1})},
        {"dish of 0 segments", kShapeDish, Block(DishParams{4, 0, 1, 0.5f, 2, 0, kWhite, 0})},
        {"dish of 0 rings", kShapeDish, Block(DishParams{4, 8, 1, 0.5f, 0, 0, kWhite, 0})},
        {"dish of axis 3", kShapeDish, Block(DishParams{4, 8, 1, 0.5f, 2, 3, kWhite, 0})},
        {"dish wrapping 32 bits", kShapeDish, Block(DishParams{4, 0x10000, 1, 0.5f, 0x10000, 0, kWhite, 0})},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        std::vector<uint8_t> block = b.block;
        EXPECT_EQ(object->CreatePrimitive(b.kind, block.data()), RES_FAIL);
        EXPECT_EQ(block, b.block);
        EXPECT_EQ(object->GetPartCount(), 6u);
        EXPECT_EQ(object->GetVertexCount(), 24u);
        EXPECT_NE(object->GetFlagsA() & kFlatNormalsPending, 0u);
    }
    EXPECT_EQ(object->CreatePrimitive(kShapeBox, nullptr), RES_FAIL);
    object->SetFlags(object->GetFlagsA() & ~kFlatNormalsPending, 0);
    const ObjectSnapshot after = TakeSnapshot(object);
    ASSERT_EQ(after.vertices.size(), before.vertices.size());
    for (size_t v = 0; v < after.vertices.size(); ++v)
        EXPECT_VEC3(after.vertices[v].position, before.vertices[v].position.x, before.vertices[v].position.y,
                    before.vertices[v].position.z);
}

TEST_F(PrimitiveTest, AFailingCreateFailsTheGenerator)
{
    C3DObject* object = Make();
    SphereParams sphere{1, 4, kWhite, 0};
    engine->Failures().FailNth(MemoryOp::CreateIndexBuffer, 1);
    EXPECT_EQ(object->CreatePrimitive(kShapeSphere, &sphere), RES_FAIL);
    TerrainParams terrain{4, 4, 0, 1, 1, {0, 0}, 1, 1};
    engine->Failures().FailNth(MemoryOp::CreateVertices, 1);
    EXPECT_EQ(object->CreatePrimitive(kShapeTerrain, &terrain), RES_FAIL);
    EXPECT_EQ(object->CreatePrimitive(kShapeTerrain, &terrain), RES_OK);
}

TEST_F(PrimitiveTest, SphereOfThreeSegments)
{
    C3DObject* object = Make();
    SphereParams sphere{2, 3, kRed, kGrey};
    ASSERT_EQ(object->CreatePrimitive(kShapeSphere, &sphere), RES_OK);
    const ObjectSnapshot s = TakeSnapshot(object);
    const float r3 = std::sqrt(3.0f);

    EXPECT_VEC3(s.vertices[1].position, 0, 2, 0);
    EXPECT_VEC3(s.vertices[1].normal, 0, 1, 0);
    EXPECT_UV(s.vertices[1].uv, 1.0f / 3, 0);
    EXPECT_EQ(s.vertices[1].colour, kRed);
    EXPECT_EQ(s.vertices[1].specular, kGrey);
    // Ring 1 at 150 degrees from the equator's normal: y = 1, radius sqrt(3).
    EXPECT_VEC3(s.vertices[3].position, -r3, 1, 0);
    EXPECT_VEC3(s.vertices[3].normal, -r3 / 2, 0.5f, 0);
    EXPECT_UV(s.vertices[3].uv, 0, 1.0f / 3);
    EXPECT_VEC3(s.vertices[4].position, r3 / 2, 1, -1.5f);
    EXPECT_VEC3(s.vertices[4].normal, r3 / 4, 0.5f, -0.75f);
    EXPECT_UV(s.vertices[4].uv, 1.0f / 3, 1.0f / 3);
    EXPECT_VEC3(s.vertices[6].position, -r3, 1, 0);  // the seam repeats the first position
    EXPECT_UV(s.vertices[6].uv, 1, 1.0f / 3);
    EXPECT_VEC3(s.vertices[7].position, -r3, -1, 0);
    EXPECT_UV(s.vertices[7].uv, 0, 2.0f / 3);
    EXPECT_VEC3(s.vertices[12].position, 0, -2, 0);
    EXPECT_VEC3(s.vertices[12].normal, 0, -1, 0);
    EXPECT_UV(s.vertices[12].uv, 1.0f / 3, 1);

    const std::vector<uint32_t> expected = {0, 4, 3, 1, 5, 4,  2, 6, 5,  3, 8,  7,  3, 4, 8,  4,  9,  8,
                                            4, 5, 9, 5, 10, 9, 5, 6, 10, 7, 8, 11, 8, 9, 12, 9, 10, 13};
    EXPECT_EQ(s.indices, expected);
}

TEST_F(PrimitiveTest, HalfSphereIsThePositiveZHalf)
{
    C3DObject* object = Make();
    SphereParams sphere{1, 4, kWhite, 0};
    ASSERT_EQ(object->CreatePrimitive(kShapeHalfSphere, &sphere), RES_OK);
    const ObjectSnapshot s = TakeSnapshot(object);
    const float h = std::sqrt(0.5f);
    EXPECT_VEC3(s.vertices[4].position, h, h, 0);  // ring 1, theta 0
    EXPECT_VEC3(s.vertices[6].position, 0, h, h);  // theta pi / 2
    EXPECT_VEC3(s.vertices[6].normal, 0, h, h);
    EXPECT_VEC3(s.vertices[8].position, -h, h, 0);  // theta pi closes the half turn
    EXPECT_UV(s.vertices[8].uv, 1, 0.25f);
    for (const ProbeVertex& v : s.vertices)
        EXPECT_GE(v.position.z, -kTol);
}

TEST_F(PrimitiveTest, EveryShapeFacesTheStatedWay)
{
    auto outward = [](const Vector3& c) { return c; };
    auto inward = [](const Vector3& c) { return Vector3{-c.x, -c.y, -c.z}; };

    SphereParams sphere{1.5f, 7, kWhite, 0};
    C3DObject* ball = Make();
    ASSERT_EQ(ball->CreatePrimitive(kShapeSphere, &sphere), RES_OK);
    ExpectFacing(ball, outward, "sphere");
    C3DObject* dome = Make();
    ASSERT_EQ(dome->CreatePrimitive(kShapeHalfSphere, &sphere), RES_OK);
    ExpectFacing(dome, outward, "half sphere");

    for (uint32_t layout = 0; layout < 3; ++layout) {
        BoxParams box{1, 2, 3, layout, kWhite, 0, 0, 1};
        C3DObject* object = Make();
        ASSERT_EQ(object->CreatePrimitive(kShapeBox, &box), RES_OK);
        ExpectFacing(object, layout == 2 ? std::function<Vector3(const Vector3&)>(inward) : outward,
                     "box layout " + std::to_string(layout));
    }

    TubeParams tube{2, 3, 4, 0, 16, 0, 0, kWhite, 0, 1, 1};
    C3DObject* pipe = Make();
    ASSERT_EQ(pipe->CreatePrimitive(kShapeTube, &tube), RES_OK);
    ExpectFacing(pipe, [](const Vector3& c) { return Vector3{c.x, 0, c.z}; }, "tube along Y");
    tube.axis = kAxisXZ;
    C3DObject* pipeZ = Make();
    ASSERT_EQ(pipeZ->CreatePrimitive(kShapeTube, &tube), RES_OK);
    ExpectFacing(pipeZ, [](const Vector3& c) { return Vector3{c.x, c.y, 0}; }, "tube along Z");

    const Vector3 normals[3] = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}};
    for (uint32_t axis = 0; axis < 3; ++axis) {
        auto along = [&](const Vector3&) { return normals[axis]; };
        const std::string a = " axis " + std::to_string(axis);
        DiscParams disc{4, 9, 0.4f, axis, 0, kWhite, 0, 1, 1};
        C3DObject* d = Make();
        ASSERT_EQ(d->CreatePrimitive(kShapeDisc, &disc), RES_OK);
        ExpectFacing(d, along, "disc" + a);
        PlaneParams plane{4, 3, 4, 3, axis, kWhite, 0, 1, 1};
        C3DObject* p = Make();
        ASSERT_EQ(p->CreatePrimitive(kShapePlane, &plane), RES_OK);
        ExpectFacing(p, along, "plane" + a);
        DishParams dish{4, 8, 1, 0.5f, 3, axis, kWhite, 0};
        C3DObject* b = Make();
        ASSERT_EQ(b->CreatePrimitive(kShapeDish, &dish), RES_OK);
        ExpectFacing(b, along, "dish" + a);
        const ObjectSnapshot s = TakeSnapshot(b);
        for (uint32_t v = 0; v < 25; ++v)
            EXPECT_VEC3(s.vertices[v].normal, normals[axis].x, normals[axis].y, normals[axis].z);
    }
}

TEST_F(PrimitiveTest, CullCodeFollowsFlagsB)
{
    struct Case {
        uint32_t flagsB;
        uint32_t cull;
    };
    const Case cases[] = {{0, kCullNone},
                          {kLoadCullNone | kLoadCullClockwise, kCullNone},
                          {kLoadCullClockwise, kCullClockwise},
                          {kLoadCullCounterClockwise, kCullCounterClockwise},
                          {kLoadCullCounterClockwise | kLoadCullClockwise, kCullClockwise}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flagsB);
        C3DObject* sphere = Make(kFormatNormalTex, c.flagsB);
        SphereParams params{1, 4, kWhite, 0};
        ASSERT_EQ(sphere->CreatePrimitive(kShapeSphere, &params), RES_OK);
        EXPECT_EQ(sphere->GetCullMode(0), c.cull);
        C3DObject* box = Make(kFormatNormalTex, c.flagsB);
        BoxParams block{1, 1, 1, 0, kWhite, 0, 0, 1};
        ASSERT_EQ(box->CreatePrimitive(kShapeBox, &block), RES_OK);
        for (uint32_t p = 0; p < 6; ++p)
            EXPECT_EQ(box->GetCullMode(p), c.cull);
    }
    // The terrain goes through the object-file load: 0x80 wins over 0x100, and its record says 1.
    C3DObject* terrain = Make(kFormatNormalTex, kLoadCullCounterClockwise | kLoadCullClockwise);
    TerrainParams ground{4, 2, 0, 1, 1, {0, 0}, 1, 1};
    ASSERT_EQ(terrain->CreatePrimitive(kShapeTerrain, &ground), RES_OK);
    EXPECT_EQ(terrain->GetCullMode(0), kCullCounterClockwise);
    C3DObject* plain = Make(kFormatNormalTex, kLoadCullClockwise);
    ASSERT_EQ(plain->CreatePrimitive(kShapeTerrain, &ground), RES_OK);
    EXPECT_EQ(plain->GetCullMode(0), kCullClockwise);
    C3DObject* unset = Make();
    ASSERT_EQ(unset->CreatePrimitive(kShapeTerrain, &ground), RES_OK);
    EXPECT_EQ(unset->GetCullMode(0), kCullCounterClockwise);
}

TEST_F(PrimitiveTest, PendingNormalsAreDroppedOnlyByTheFirstFiveKinds)
{
    C3DObject* sphere = Make(kFormatNormalTex | kSmoothNormalsPending);
    SphereParams params{2, 3, kWhite, 0};
    ASSERT_EQ(sphere->CreatePrimitive(kShapeSphere, &params), RES_OK);
    EXPECT_EQ(sphere->GetFlagsA() & (kSmoothNormalsPending | kFlatNormalsPending), 0u);
    ObjectSnapshot s = TakeSnapshot(sphere);
    EXPECT_VEC3(s.vertices[3].normal, -std::sqrt(3.0f) / 2, 0.5f, 0);

    C3DObject* tube = Make(kFormatNormalTex | kFlatNormalsPending);
    TubeParams block{2, 2, 2, 0, 8, 0, 0, kWhite, 0, 1, 1};
    ASSERT_EQ(tube->CreatePrimitive(kShapeTube, &block), RES_OK);
    EXPECT_EQ(tube->GetFlagsA() & kFlatNormalsPending, 0u);
    s = TakeSnapshot(tube);
    EXPECT_LT(std::fabs(s.vertices[2].normal.y), 0.5f);  // computed across the strip, not (0, 1, 0)
}

TEST_F(PrimitiveTest, ShapesFitFormatsWithoutNormals)
{
    C3DObject* object = Make(kFormatColorTex);
    SphereParams params{2, 3, kRed, 0};
    ASSERT_EQ(object->CreatePrimitive(kShapeSphere, &params), RES_OK);
    const ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[4].position, std::sqrt(3.0f) / 2, 1, -1.5f);
    EXPECT_UV(s.vertices[4].uv, 1.0f / 3, 1.0f / 3);
    EXPECT_EQ(s.vertices[4].colour, kRed);
    EXPECT_VEC3(s.vertices[4].normal, 0, 0, 0);
}

TEST_F(PrimitiveTest, DiscRimTextureAndCentre)
{
    C3DObject* object = Make();
    DiscParams disc{2, 4, 1, kAxisXZ, 0, kRed, kGrey, 1, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
    ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, 0, 0.5f, 0);
    EXPECT_UV(s.vertices[0].uv, 0.5f, 0.5f);
    EXPECT_VEC3(s.vertices[1].position, 1, -0.5f, 0);  // first rim vertex at a quarter turn
    EXPECT_UV(s.vertices[1].uv, 1, 0.5f);
    EXPECT_VEC3(s.vertices[2].position, 0, -0.5f, -1);
    EXPECT_UV(s.vertices[2].uv, 0.5f, 1);
    EXPECT_VEC3(s.vertices[5].position, 1, -0.5f, 0);  // the last closes the fan
    EXPECT_VEC3(s.vertices[3].normal, 0, 1, 0);
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));

    // The centre stays on Y whatever the axis; the rim lies in the axis plane at -height / 2.
    disc = DiscParams{2, 4, 2, kAxisXY, 0, kWhite, 0, 2, 4};
    ASSERT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, 0, 1, 0);
    EXPECT_VEC3(s.vertices[1].position, 1, 0, -1);
    EXPECT_UV(s.vertices[2].uv, 0.5f, 2.5f);
    EXPECT_VEC3(s.vertices[2].normal, 0, 0, -1);
    disc = DiscParams{2, 4, 2, kAxisYZ, 2, kWhite, 0, 1, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[1].position, -1, 0, 1);
    EXPECT_UV(s.vertices[1].uv, 0, 0);  // other UV modes map nothing
    EXPECT_VEC3(s.vertices[1].normal, 1, 0, 0);
}

TEST_F(PrimitiveTest, PlaneGridPositionsTextureAndIndexOrder)
{
    C3DObject* object = Make();
    PlaneParams plane{4, 2, 2, 1, kAxisXZ, kRed, kGrey, 1, 3};
    ASSERT_EQ(object->CreatePrimitive(kShapePlane, &plane), RES_OK);
    ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, -2, 0, 1);
    EXPECT_UV(s.vertices[0].uv, 0, 0);
    EXPECT_VEC3(s.vertices[1].position, 0, 0, 1);
    EXPECT_UV(s.vertices[1].uv, 0.5f, 0);
    EXPECT_VEC3(s.vertices[5].position, 2, 0, -1);
    EXPECT_UV(s.vertices[5].uv, 1, 1.5f);  // v divides by the columns, not the rows
    EXPECT_VEC3(s.vertices[5].normal, 0, 1, 0);
    EXPECT_EQ(s.vertices[5].colour, kRed);
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{3, 0, 1, 3, 1, 4, 4, 1, 2, 4, 2, 5}));

    plane.axis = kAxisXY;
    ASSERT_EQ(object->CreatePrimitive(kShapePlane, &plane), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[5].position, 2, -1, 0);
    EXPECT_VEC3(s.vertices[5].normal, 0, 0, -1);
    plane.axis = kAxisYZ;
    ASSERT_EQ(object->CreatePrimitive(kShapePlane, &plane), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[5].position, 0, -1, 2);
    EXPECT_VEC3(s.vertices[5].normal, 1, 0, 0);
}

TEST_F(PrimitiveTest, BoxFacesCornersAndTexture)
{
    const float hx = 1, hy = 2, hz = 3, lo = 0.25f, hi = 0.75f;
    for (uint32_t layout = 0; layout < 3; ++layout) {
        SCOPED_TRACE(layout);
        C3DObject* object = Make();
        BoxParams box{hx, hy, hz, layout, kRed, kGrey, lo, hi};
        ASSERT_EQ(object->CreatePrimitive(kShapeBox, &box), RES_OK);
        const ObjectSnapshot s = TakeSnapshot(object);
        for (uint32_t i = 0; i < 24; ++i)
            EXPECT_EQ(s.indices[i], i % 4);
        for (uint32_t f = 0; f < 6; ++f) {
            const Vector3 n = s.vertices[4 * f].normal;
            int corners = 0;
            for (uint32_t c = 0; c < 4; ++c) {
                const ProbeVertex& v = s.vertices[4 * f + c];
                EXPECT_VEC3(v.normal, n.x, n.y, n.z);
                EXPECT_EQ(v.colour, kRed);
                EXPECT_EQ(v.specular, kGrey);
                // The face lies on the side the normal names (outside) or faces (inside).
                const float side = v.position.x * n.x / hx + v.position.y * n.y / hy + v.position.z * n.z / hz;
                EXPECT_NEAR(side, layout == 2 ? -1.0f : 1.0f, kTol);
                corners |= 1 << ((v.uv.x == hi ? 1 : 0) + (v.uv.y == hi ? 2 : 0));
            }
            EXPECT_EQ(corners, 0xF) << "every texture corner once on face " << f;
        }
        if (layout == 0) {
            EXPECT_VEC3(s.vertices[13].position, -hx, hy, -hz);  // part 3, corner 1
            EXPECT_UV(s.vertices[13].uv, hi, lo);
            EXPECT_VEC3(s.vertices[16].position, -hx, -hy, hz);
            EXPECT_UV(s.vertices[16].uv, lo, hi);
        } else if (layout == 1) {
            EXPECT_VEC3(s.vertices[0].position, -hx, hy, hz);
            EXPECT_UV(s.vertices[0].uv, lo, hi);
            EXPECT_UV(s.vertices[21].uv, lo, lo);
        } else {
            EXPECT_VEC3(s.vertices[0].position, hx, hy, -hz);
            EXPECT_VEC3(s.vertices[0].normal, -1, 0, 0);
            EXPECT_VEC3(s.vertices[19].position, -hx, -hy, hz);
            EXPECT_UV(s.vertices[19].uv, hi, hi);
            EXPECT_VEC3(s.vertices[19].normal, 0, 1, 0);
        }
    }
}

TEST_F(PrimitiveTest, BoxOfAnUnknownLayoutHasRecordsButNoVertices)
{
    C3DObject* object = Make();
    BoxParams box{1, 1, 1, 3, kRed, 0, 0, 1};
    ASSERT_EQ(object->CreatePrimitive(kShapeBox, &box), RES_OK);
    const ObjectSnapshot s = TakeSnapshot(object);
    ASSERT_EQ(s.records.size(), 6u);
    EXPECT_EQ(s.records[5].firstVertex, 20u);
    for (const ProbeVertex& v : s.vertices) {
        EXPECT_VEC3(v.position, 0, 0, 0);
        EXPECT_EQ(v.colour, 0u);
    }
}

TEST_F(PrimitiveTest, AxesGizmoIsThreeColouredLines)
{
    C3DObject* object = Make();
    AxesParams axes{5, kRed, 0xFF00FF00u, 0xFF0000FFu};
    ASSERT_EQ(object->CreatePrimitive(kShapeAxes, &axes), RES_OK);
    const ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, 0, 0, 0);
    EXPECT_VEC3(s.vertices[1].position, 5, 0, 0);
    EXPECT_VEC3(s.vertices[3].position, 0, 5, 0);
    EXPECT_VEC3(s.vertices[5].position, 0, 0, 5);
    EXPECT_EQ(s.vertices[0].colour, kRed);
    EXPECT_EQ(s.vertices[3].colour, 0xFF00FF00u);
    EXPECT_EQ(s.vertices[4].colour, 0xFF0000FFu);
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(s.records[0].primitiveType, kPrimitiveLineList);
}

TEST_F(PrimitiveTest, FrustumBaseFollowsTheWindowForFourSidesAndACircleOtherwise)
{
    C3DObject* object = Make();
    FrustumParams frustum{4, 1, 10, 0.5f, kRed, kGrey};
    ASSERT_EQ(object->CreatePrimitive(kShapeFrustum, &frustum), RES_OK);
    ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, 0, 0, -1);
    EXPECT_EQ(s.vertices[0].colour, kRed);
    // h = tan(0.5) x 10, a = h x 1024 / 768; the corners at 3/4, 5/4, 7/4 and 9/4 pi.
    EXPECT_NEAR(s.vertices[1].position.x, -3.8629420f, 1e-4f);
    EXPECT_NEAR(s.vertices[1].position.y, 5.1505893f, 1e-4f);
    EXPECT_NEAR(s.vertices[1].position.z, 9.0f, kTol);
    EXPECT_NEAR(s.vertices[3].position.x, 3.8629420f, 1e-4f);
    EXPECT_NEAR(s.vertices[3].position.y, -5.1505893f, 1e-4f);
    EXPECT_NEAR(s.vertices[5].position.x, s.vertices[1].position.x, 1e-4f);
    EXPECT_NEAR(s.vertices[5].position.y, s.vertices[1].position.y, 1e-4f);
    EXPECT_EQ(s.vertices[5].colour, kGrey);

    frustum.sides = 5;
    ASSERT_EQ(object->CreatePrimitive(kShapeFrustum, &frustum), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_NEAR(s.vertices[1].position.x, -2.3776413f, 1e-5f);
    EXPECT_NEAR(s.vertices[1].position.y, 0.7725425f, 1e-5f);
    for (uint32_t v = 1; v <= 6; ++v)
        EXPECT_NEAR(std::hypot(s.vertices[v].position.x, s.vertices[v].position.y), 2.5f, 1e-5f);
    EXPECT_NEAR(s.vertices[6].position.x, s.vertices[1].position.x, 1e-5f);
}

TEST_F(PrimitiveTest, TubeSegmentsTextureAndSeam)
{
    C3DObject* object = Make();
    TubeParams tube{2, 4, 2, 0, 5, kAxisXY, 0, kRed, kGrey, 2, 3};
    ASSERT_EQ(object->CreatePrimitive(kShapeTube, &tube), RES_OK);
    ObjectSnapshot s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[0].position, 0, 1, 1);
    EXPECT_VEC3(s.vertices[1].position, 0, -1, 2);
    EXPECT_UV(s.vertices[0].uv, 2, 0);
    EXPECT_UV(s.vertices[1].uv, 2, 3);
    EXPECT_VEC3(s.vertices[2].position, 1, 1, 0);  // a quarter turn: 2 pi / (5 - 1)
    EXPECT_VEC3(s.vertices[3].position, 2, -1, 0);
    EXPECT_UV(s.vertices[2].uv, 1.5f, 0);
    EXPECT_UV(s.vertices[3].uv, 1.5f, 3);
    EXPECT_VEC3(s.vertices[3].normal, 0, 1, 0);
    EXPECT_VEC3(s.vertices[8].position, 0, 1, 1);  // the seam repeats the first segment
    EXPECT_UV(s.vertices[8].uv, 0, 0);
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    tube.axis = kAxisXZ;
    tube.uvMode = 1;
    ASSERT_EQ(object->CreatePrimitive(kShapeTube, &tube), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[2].position, 0, 1, 1);
    EXPECT_VEC3(s.vertices[3].position, 0, 2, -1);
    EXPECT_UV(s.vertices[2].uv, 1, 0);
    EXPECT_UV(s.vertices[3].uv, 0, 0);
}

TEST_F(PrimitiveTest, DishRingsDepthAndIndexOrder)
{
    C3DObject* object = Make();
    DishParams dish{4, 4, 1, 0.5f, 2, kAxisXY, kRed, kGrey};
    ASSERT_EQ(object->CreatePrimitive(kShapeDish, &dish), RES_OK);
    ObjectSnapshot s = TakeSnapshot(object);
    ASSERT_EQ(s.vertices.size(), 13u);
    EXPECT_VEC3(s.vertices[0].position, 0, 0, 0);
    EXPECT_UV(s.vertices[0].uv, 0.5f, 0.5f);
    // Ring 0: diameter 4 / 2 rings; the first vertex a quarter turn in.
    EXPECT_VEC3(s.vertices[1].position, 1, 0, 0);
    EXPECT_UV(s.vertices[1].uv, 0.75f, 0.5f);
    EXPECT_VEC3(s.vertices[2].position, 0, -1, 0);
    EXPECT_UV(s.vertices[2].uv, 0.5f, 0.75f);
    // Ring 1: diameter 2 + (4 - 2) x 0.5 = 3, depth 1 - 1 x 0.5.
    EXPECT_VEC3(s.vertices[5].position, 1.5f, 0, 0.5f);
    EXPECT_UV(s.vertices[5].uv, 0.875f, 0.5f);
    EXPECT_EQ(s.vertices[5].colour, kRed);
    EXPECT_EQ(s.vertices[5].specular, kGrey);
    for (uint32_t v = 9; v < 13; ++v) {
        EXPECT_VEC3(s.vertices[v].position, 0, 0, 0);  // the last ring's worth is never written
        EXPECT_EQ(s.vertices[v].colour, 0u);
    }
    const std::vector<uint32_t> expected = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1, 1, 5, 6, 2, 1, 6,
                                            2, 6, 7, 3, 2, 7, 3, 7, 8, 4, 3, 8, 4, 8, 5, 1, 4, 5};
    EXPECT_EQ(s.indices, expected);

    // The outer rings of the other axes sink against the axis normal as ring 0 lies in its plane.
    dish.axis = kAxisYZ;
    ASSERT_EQ(object->CreatePrimitive(kShapeDish, &dish), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[1].position, 0, 0, 1);
    EXPECT_VEC3(s.vertices[5].position, -0.5f, 0, 1.5f);
    dish.axis = kAxisXZ;
    ASSERT_EQ(object->CreatePrimitive(kShapeDish, &dish), RES_OK);
    s = TakeSnapshot(object);
    EXPECT_VEC3(s.vertices[1].position, 1, 0, 0);
    EXPECT_VEC3(s.vertices[5].position, 1.5f, -0.5f, 0);
}

} // namespace
