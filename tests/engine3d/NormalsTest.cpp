#include "engine3d/ObjectPrivate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/MemoryRenderer.h"

namespace {

constexpr float kTol = 1e-5f;

struct Mesh {
    std::vector<Vector3> positions;
    std::vector<uint32_t> indices;
    uint32_t type;
    uint32_t primitiveCount;
};

class NormalsTest : public ::testing::Test {
protected:
    // A one-part object of format 0x02 holding the mesh; the record spans recordIndices
    // indices (all of them when 0).
    C3DObject* Build(const Mesh& mesh, uint32_t flagsA = kFormatNormalTex, uint32_t recordIndices = 0)
    {
        C3DObject* object = engine->CreateObject(flagsA, 0);
        const uint32_t vertices = static_cast<uint32_t>(mesh.positions.size());
        const uint32_t indices = static_cast<uint32_t>(mesh.indices.size());
        EXPECT_EQ(object->Create(1, vertices, indices), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        for (uint32_t v = 0; v < vertices; ++v) {
            const Vector3& p = mesh.positions[v];
            object->SetVertex(v, p.x, p.y, p.z, 0xFFFFFFFFu, 0, 0, 7, 7, 7, 0);
        }
        for (uint32_t i = 0; i < indices; ++i)
            object->SetIndex(i, mesh.indices[i]);
        EXPECT_EQ(object->SetPrimitiveGroup(0, 0, vertices, 0, recordIndices ? recordIndices : indices,
                                            mesh.primitiveCount, mesh.type, kCullNone, kPartNumberId),
                  RES_OK);
        return object;
    }

    Vector3 Normal(C3DObject* object, uint32_t v)
    {
        Vector3 n{};
        EXPECT_EQ(object->Lock(), RES_OK);
        object->GetNormal(&n, v);
        EXPECT_EQ(object->Unlock(0), RES_OK);
        return n;
    }

    void ExpectNormal(C3DObject* object, uint32_t v, float x, float y, float z)
    {
        const Vector3 n = Normal(object, v);
        EXPECT_NEAR(n.x, x, kTol) << "vertex " << v;
        EXPECT_NEAR(n.y, y, kTol) << "vertex " << v;
        EXPECT_NEAR(n.z, z, kTol) << "vertex " << v;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
};

TEST_F(NormalsTest, FlatPassOnOneTriangleRunsAtUnlockWhileLocked)
{
    Mesh mesh{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, kPrimitiveTriangleList, 1};
    C3DObject* object = Build(mesh, kFormatNormalTex | kFlatNormalsPending);
    EXPECT_EQ(object->Unlock(1), RES_OK);
    EXPECT_EQ(object->GetFlagsA() & kFlatNormalsPending, 0u);
    for (uint32_t v = 0; v < 3; ++v)
        ExpectNormal(object, v, 0, 0, 1);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, FlatPassIsARunningNormalisedSum)
{
    // Triangle A faces +z, triangle B faces +x; they share vertices 0 and 1.
    Mesh mesh{{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 2, 1, 0, 1, 3}, kPrimitiveTriangleList, 2};
    C3DObject* object = Build(mesh);
    EXPECT_EQ(object->ComputeNormals(), RES_OK);
    const float h = std::sqrt(0.5f);
    ExpectNormal(object, 0, h, 0, h);
    ExpectNormal(object, 1, h, 0, h);
    ExpectNormal(object, 2, 0, 0, 1);
    ExpectNormal(object, 3, 1, 0, 0);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, StripKeepsOneWindingAndStopsAtItsIndices)
{
    // A strip of two triangles in the xy plane, record of primitive count 3 (one too many).
    Mesh mesh{{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}}, {0, 1, 2, 3}, kPrimitiveTriangleStrip, 3};
    C3DObject* object = Build(mesh);
    EXPECT_EQ(object->ComputeNormals(), RES_OK);
    for (uint32_t v = 0; v < 4; ++v)
        ExpectNormal(object, v, 0, 0, -1);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, FanStopsAtItsLastIndex)
{
    // Fan of two triangles; the record spans 4 indices, the fifth belongs to nobody.
    Mesh mesh{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 5}},
              {0, 1, 2, 3, 4},
              kPrimitiveTriangleFan,
              2};
    C3DObject* object = Build(mesh, kFormatNormalTex, 4);
    EXPECT_EQ(object->ComputeNormals(), RES_OK);
    for (uint32_t v = 0; v < 4; ++v)
        ExpectNormal(object, v, 0, 0, 1);
    ExpectNormal(object, 4, 0, 0, 0);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, ListWithAPartialTriangleIgnoresTheRemainder)
{
    Mesh mesh{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 1, 2, 3, 0}, kPrimitiveTriangleList, 1};
    C3DObject* object = Build(mesh);
    EXPECT_EQ(object->ComputeSmoothNormals(), RES_OK);
    ExpectNormal(object, 0, 0, 0, 1);
    ExpectNormal(object, 3, 0, 0, 0);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, IndicesPastTheVerticesAreSkipped)
{
    Mesh mesh{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2, 0, 1, 9}, kPrimitiveTriangleList, 2};
    C3DObject* object = Build(mesh);
    EXPECT_EQ(object->ComputeNormals(), RES_OK);
    ExpectNormal(object, 0, 0, 0, 1);
    EXPECT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->ComputeSmoothNormals(), RES_OK);
    ExpectNormal(object, 0, 0, 0, 1);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, SmoothCubeWeldsEachCornerToTheDiagonal)
{
    Mesh mesh{{}, {}, kPrimitiveTriangleList, 12};
    // Per face: axis a with sign s; its four corners wound so that the face normal points out.
    for (int axis = 0; axis < 3; ++axis) {
        for (float s : {-1.0f, 1.0f}) {
            const uint32_t base = static_cast<uint32_t>(mesh.positions.size());
            const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (const auto& c : corners) {
                float p[3];
                p[axis] = s;
                p[(axis + 1) % 3] = c[0];
                p[(axis + 2) % 3] = c[1];
                mesh.positions.push_back(Vector3{p[0], p[1], p[2]});
            }
            const uint32_t outward[6] = {0, 1, 2, 0, 2, 3};
            const uint32_t inward[6] = {0, 2, 1, 0, 3, 2};
            for (uint32_t q : s > 0 ? outward : inward)
                mesh.indices.push_back(base + q);
        }
    }
    C3DObject* object = Build(mesh, kFormatNormalTex2 | kSmoothNormalsPending);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    const float d = 1.0f / std::sqrt(3.0f);
    for (uint32_t v = 0; v < 24; ++v) {
        const Vector3 p = mesh.positions[v];
        ExpectNormal(object, v, p.x * d, p.y * d, p.z * d);
    }
    for (uint32_t v = 1; v < 24; ++v) {
        for (uint32_t w = 0; w < v; ++w) {
            const Vector3 a = mesh.positions[v];
            const Vector3 b = mesh.positions[w];
            if (a.x == b.x && a.y == b.y && a.z == b.z) {
                const Vector3 na = Normal(object, v);
                const Vector3 nb = Normal(object, w);
                EXPECT_EQ(na.x, nb.x);
                EXPECT_EQ(na.y, nb.y);
                EXPECT_EQ(na.z, nb.z);
            }
        }
    }
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(NormalsTest, FormatsWithoutNormalsKeepThePendingBit)
{
    Mesh mesh{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, kPrimitiveTriangleList, 1};
    C3DObject* object = Build(mesh, kFormatColorTex | kFlatNormalsPending);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    EXPECT_EQ(object->GetFlagsA() & kFlatNormalsPending, kFlatNormalsPending);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

} // namespace
