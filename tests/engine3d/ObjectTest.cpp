#include "engine3d/Object.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "engine3d/ObjectIndex.h"
#include "tests/support/MemoryRenderer.h"

namespace {

class ObjectTest : public ::testing::Test {
protected:
    // Two parts of a quad each (two triangles per part), part 1 at x + 10.
    C3DObject* TwoQuads(uint32_t flagsA = 0x28010, uint32_t flagsB = 0x20C29)
    {
        C3DObject* object = engine->CreateObject(flagsA, flagsB);
        EXPECT_EQ(object->Create(2, 8, 12), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        for (uint32_t q = 0; q < 2; ++q) {
            const float x = 10.0f * q;
            object->SetVertex(4 * q + 0, x, 0, 0, 0xFFFFFFFFu, 0.0f, 0.0f, 0, 0, 0, 0);
            object->SetVertex(4 * q + 1, x + 2, 0, 1, 0xFFFFFFFFu, 1.0f, 0.0f, 0, 0, 0, 0);
            object->SetVertex(4 * q + 2, x + 2, 3, 1, 0xFFFFFFFFu, 1.0f, 0.5f, 0, 0, 0, 0);
            object->SetVertex(4 * q + 3, x, 3, 0, 0xFFFFFFFFu, 0.0f, 0.5f, 0, 0, 0, 0);
            const uint32_t quad[6] = {0, 1, 2, 0, 2, 3};
            for (uint32_t i = 0; i < 6; ++i)
                object->SetIndex(6 * q + i, quad[i]);
            EXPECT_EQ(object->SetPrimitiveGroup(q, 4 * q, 4, 6 * q, 6, 2, kPrimitiveTriangleList, kCullNone,
                                                kPartNumberId),
                      RES_OK);
        }
        EXPECT_EQ(object->Unlock(1), RES_OK);
        return object;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CWorldData* data = renderer.Data();
};

TEST_F(ObjectTest, CreateObjectNeedsAFormatBitAndInitCompletesTheObject)
{
    data->lastError = 0;
    EXPECT_EQ(engine->CreateObject(0x20000, 0), nullptr);
    EXPECT_EQ(data->lastError, RES_UNKNOWN_KIND);

    C3DObject* object = engine->CreateObject(0x8010, 0x20C29);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetFlagsA(), 0x28010u);
    EXPECT_EQ(object->GetColor(), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(object->GetPointSize(), 63.0f);
    EXPECT_EQ(object->GetMatrix(), object->GetOwnMatrix());
    EXPECT_EQ(object->GetMatrix()->m[0], 1.0f);
    EXPECT_EQ(object->GetMatrix()->m[15], 1.0f);
    object->SetColor(0xFF102030u);
    object->SetAlpha(0x40);
    EXPECT_EQ(object->GetColor(), 0x40102030u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->GetObjectCount(), 0u);
}

TEST_F(ObjectTest, IndexKindFollowsTheCountsAndTheForcingBits)
{
    struct Case {
        uint32_t flagsA, vertices, indices, kind, flagsAAfter;
    };
    const Case cases[] = {
        {0x8010, 70000, 6, kIndexKind32, 0x10010},
        {0x0010, 100, 70000, kIndexKind32, 0x0010},
        {0x8010, 100, 70000, kIndexKind16, 0x8010},
        {0x10010, 100, 6, kIndexKind32, 0x10010},
        {0x0010, 100, 0xFFFF, kIndexKind16, 0x0010},
    };
    for (const Case& c : cases) {
        C3DObject* object = engine->CreateObject(c.flagsA, 0);
        ASSERT_EQ(object->Create(1, c.vertices, c.indices), RES_OK);
        uint8_t kind = 0;
        EXPECT_EQ(object->GetIndexKind(&kind), RES_OK);
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(object->GetFlagsA(), c.flagsAAfter);
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    }
}

TEST_F(ObjectTest, CreateAgainReplacesTheBufferAndTables)
{
    C3DObject* object = TwoQuads();
    object->GetMaterial(1)->power = 5.0f;
    ASSERT_EQ(object->Create(3, 4, 6), RES_OK);
    EXPECT_NE(object->GetIndexBuffer(), nullptr);
    EXPECT_EQ(object->GetActiveIndexBuffer(), object->GetIndexBuffer());
    EXPECT_EQ(object->GetPartCount(), 3u);
    EXPECT_FLOAT_EQ(object->GetMaterial(1)->power, 20.0f);
    EXPECT_FLOAT_EQ(object->GetMaterial(2)->diffuse[3], 0.0f);
    EXPECT_EQ(engine->GetIndexBufferCount(), 1u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->GetIndexBufferCount(), 0u);
}

TEST_F(ObjectTest, RecordsThroughTheObject)
{
    C3DObject* object = TwoQuads();
    C3DPrimitiveGroup record{};
    ASSERT_EQ(object->GetPrimitiveGroup(1, &record), RES_OK);
    EXPECT_EQ(record.id, 1u);
    EXPECT_EQ(record.firstVertex, 4u);
    EXPECT_EQ(record.firstIndex, 6u);
    EXPECT_EQ(record.primitiveCount, 2u);
    object->SetCullModeAll(kCullClockwise);
    object->SetPrimitiveType(0, kPrimitiveTriangleStrip);
    EXPECT_EQ(object->GetCullMode(1), kCullClockwise);
    EXPECT_EQ(object->GetPrimitiveType(0), kPrimitiveTriangleStrip);
    EXPECT_EQ(object->GetPrimitiveType(2), kNoIndex);
    EXPECT_EQ(object->GetPrimitiveGroup(2, &record), RES_FAIL);
    EXPECT_EQ(object->SetPrimitiveGroup(2, 0, 0, 0, 0, 0, 0, 0, kPartNumberId), RES_FAIL);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTest, BoundingBoxesWholeTransformedAndPerPart)
{
    C3DObject* object = TwoQuads();
    Vector3 lo{}, hi{};
    ASSERT_EQ(object->GetBoundingBox(&lo, &hi, 0), RES_OK);
    EXPECT_FLOAT_EQ(lo.x, 0.0f);
    EXPECT_FLOAT_EQ(hi.x, 12.0f);
    EXPECT_FLOAT_EQ(hi.y, 3.0f);
    EXPECT_FLOAT_EQ(hi.z, 1.0f);

    const Vector3 move{100.0f, 0.0f, 0.0f};
    ASSERT_EQ(object->Translate(&move), RES_OK);
    ASSERT_EQ(object->GetBoundingBox(&lo, &hi, 1), RES_OK);
    EXPECT_FLOAT_EQ(lo.x, 100.0f);
    EXPECT_FLOAT_EQ(hi.x, 112.0f);

    ASSERT_EQ(object->GetPartBoundingBox(1, &lo, &hi, 0), RES_OK);
    EXPECT_FLOAT_EQ(lo.x, 10.0f);
    EXPECT_FLOAT_EQ(hi.x, 12.0f);

    // A part whose record names another record is measured over that record's range.
    ASSERT_EQ(object->SetPrimitiveGroup(0, 0, 4, 0, 6, 2, kPrimitiveTriangleList, kCullNone, 1), RES_OK);
    ASSERT_EQ(object->GetPartBoundingBox(0, &lo, &hi, 0), RES_OK);
    EXPECT_FLOAT_EQ(lo.x, 10.0f);
    EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 4, 0, 6, 2, kPrimitiveTriangleList, kCullNone, 9), RES_OK);
    EXPECT_EQ(object->GetPartBoundingBox(0, &lo, &hi, 0), RES_FAIL);

    Vector2 uvLo{}, uvHi{};
    ASSERT_EQ(object->GetPartUVBounds(1, &uvLo, &uvHi), RES_OK);
    EXPECT_FLOAT_EQ(uvHi.x, 1.0f);
    EXPECT_FLOAT_EQ(uvHi.y, 0.5f);
    ASSERT_EQ(object->GetUV2Bounds(&uvLo, &uvHi), RES_OK);
    EXPECT_FLOAT_EQ(uvHi.x, 0.0f);  // the format has no second set
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTest, EmptyObjectBoundsAreTheExtremes)
{
    C3DObject* object = engine->CreateObject(kFormatColorTex, 0);
    ASSERT_EQ(object->Create(1, 0, 0), RES_OK);
    Vector3 lo{}, hi{};
    ASSERT_EQ(object->GetBoundingBox(&lo, &hi, 1), RES_OK);
    EXPECT_EQ(lo.x, FLT_MAX);
    EXPECT_EQ(hi.z, FLT_MIN);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTest, PickTriangleFindsTheHitInFrontOfTheRay)
{
    C3DObject* object = TwoQuads();
    int32_t triangle[3] = {-1, 0, 0};
    const Vector3 from{11.0f, 1.0f, -10.0f};
    const Vector3 to{11.0f, 1.0f, 10.0f};
    const float t = object->PickTriangle(&from, &to, triangle);
    EXPECT_GT(t, 0.0f);
    EXPECT_GE(triangle[0], 4);
    EXPECT_LE(triangle[0], 7);

    const Vector3 away{11.0f, 1.0f, -20.0f};  // pointing away: the quad lies behind
    int32_t none[3] = {-1, 0, 0};
    EXPECT_EQ(object->PickTriangle(&from, &away, none), 0.0f);
    EXPECT_EQ(none[0], -1);

    const Vector3 miss{50.0f, 50.0f, -10.0f};
    const Vector3 missTo{50.0f, 50.0f, 10.0f};
    int32_t given[3] = {4, 5, 6};
    EXPECT_EQ(object->PickTriangle(&miss, &missTo, given), 0.0f);
    EXPECT_EQ(given[0], -1);
    EXPECT_FALSE(object->GetActiveIndexBuffer() == nullptr);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTest, ReleaseLeavesAnEmptyObjectWithItsOwnMatrix)
{
    C3DObject* object = TwoQuads();
    Matrix4 kept{};
    ASSERT_EQ(object->SetMatrixPointer(&kept), RES_OK);
    EXPECT_EQ(object->Release(), RES_OK);
    EXPECT_EQ(object->GetPartCount(), 0u);
    EXPECT_EQ(object->GetIndexBuffer(), nullptr);
    EXPECT_EQ(object->GetMatrix(), object->GetOwnMatrix());
    EXPECT_EQ(engine->GetIndexBufferCount(), 0u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTest, MatrixOperationsNeedACurrentMatrix)
{
    C3DObject* object = engine->CreateObject(kFormatColorTex, 0);
    ASSERT_EQ(object->SetMatrixPointer(nullptr), RES_OK);
    const Vector3 v{1, 2, 3};
    EXPECT_EQ(object->Translate(&v), RES_FAIL);
    EXPECT_EQ(object->Identity(), RES_FAIL);
    ASSERT_EQ(object->UseOwnMatrix(), RES_OK);
    EXPECT_EQ(object->SetTranslation(&v), RES_OK);
    EXPECT_FLOAT_EQ(object->GetMatrix()->m[13], 2.0f);
    EXPECT_EQ(object->Scale3(2, 2, 2), RES_OK);
    EXPECT_FLOAT_EQ(object->GetMatrix()->m[0], 2.0f);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

} // namespace
