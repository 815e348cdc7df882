#include "engine3d/ObjectIndex.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine3d/SystemMemoryObject.h"
#include "tests/support/MemoryRenderer.h"

namespace {

TEST(ObjectIndexBase, RecordsAndNeutralAnswers)
{
    CWorldData data{};
    C3DObjectIndex buffer(&data);
    ASSERT_EQ(buffer.Create(5, 12), RES_OK);
    EXPECT_EQ(buffer.GetRecordCount(), 5u);
    EXPECT_EQ(buffer.GetIndexCount(), 12u);

    EXPECT_EQ(buffer.SetRecord(3, 10, 4, 6, 6, 2, kPrimitiveTriangleList, kCullClockwise, kPartNumberId), RES_OK);
    EXPECT_EQ(buffer.GetRecordAddress(3)->id, 3u);
    EXPECT_EQ(buffer.SetRecord(3, 10, 4, 6, 6, 2, kPrimitiveTriangleList, kCullClockwise, 7), RES_OK);
    EXPECT_EQ(buffer.GetRecordAddress(3)->id, 7u);
    EXPECT_EQ(buffer.SetRecord(5, 0, 0, 0, 0, 0, 0, 0, 0), RES_FAIL);
    EXPECT_EQ(buffer.GetRecordAddress(5), nullptr);

    uint32_t firstVertex = 0, primitiveCount = 0, id = 0;
    EXPECT_EQ(buffer.GetRecord(3, &firstVertex, nullptr, nullptr, nullptr, &primitiveCount, nullptr, nullptr, &id),
              RES_OK);
    EXPECT_EQ(firstVertex, 10u);
    EXPECT_EQ(primitiveCount, 2u);
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(buffer.GetRecord(9, &id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), RES_FAIL);

    for (uint32_t position : {0u, 5u, 100u})
        EXPECT_EQ(buffer.GetIndex(position), kNoIndex);
    uint8_t kind = 9;
    EXPECT_EQ(buffer.GetKind(&kind), RES_OK);
    EXPECT_EQ(kind, 0);
    uint8_t size = 9;
    EXPECT_EQ(buffer.GetIndexData(&size), nullptr);
    EXPECT_EQ(size, 0);

    EXPECT_EQ(buffer.Release(), RES_OK);
    EXPECT_EQ(buffer.GetRecordAddress(0), nullptr);
}

TEST(ObjectIndexBase, RecordLayoutIsEightWordsInOrder)
{
    const C3DPrimitiveGroup record{1, 2, 3, 4, 5, 6, 7, 8};
    uint32_t words[8];
    memcpy(words, &record, sizeof words);
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(words[i], i + 1);
}

TEST(ObjectIndexBase, RecordFitsBuffersChecksIdsRangesAndCounts)
{
    const C3DPrimitiveGroup good{1, 2, 4, 3, 6, 2, kPrimitiveTriangleList, 0};
    EXPECT_TRUE(RecordFitsBuffers(good, 2, 6, 9));
    C3DPrimitiveGroup r = good;
    r.id = 2;
    EXPECT_FALSE(RecordFitsBuffers(r, 2, 6, 9));
    r = good;
    r.vertexCount = 5;
    EXPECT_FALSE(RecordFitsBuffers(r, 2, 6, 9));
    r = good;
    r.firstIndex = 0xFFFFFFFFu;
    EXPECT_FALSE(RecordFitsBuffers(r, 2, 6, 9));
    r = good;
    r.primitiveCount = 3;  // nine indices in a six-index group
    EXPECT_FALSE(RecordFitsBuffers(r, 2, 6, 9));
    r = good;
    r.primitiveType = 6;
    EXPECT_FALSE(RecordFitsBuffers(r, 2, 6, 9));
    r = good;
    r.primitiveType = kPrimitiveTriangleStrip;
    r.primitiveCount = 4;  // a strip of four triangles needs six indices
    EXPECT_TRUE(RecordFitsBuffers(r, 2, 6, 9));
}

class IndexBufferTest : public ::testing::Test {
protected:
    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
};

TEST_F(IndexBufferTest, KindsAndElementSizesAreSeparateQueries)
{
    for (uint32_t kind : {kIndexKind16, kIndexKind32}) {
        C3DObjectIndex* buffer = engine->CreateIndexBuffer(4, kind);
        ASSERT_NE(buffer, nullptr);
        ASSERT_EQ(buffer->Create(1, 4), RES_OK);
        uint8_t answered = 0;
        EXPECT_EQ(buffer->GetKind(&answered), RES_OK);
        EXPECT_EQ(answered, kind);
        uint8_t size = 0;
        EXPECT_NE(buffer->GetIndexData(&size), nullptr);
        EXPECT_EQ(size, kind == kIndexKind16 ? 2 : 4);
        EXPECT_EQ(engine->DestroyIndexBuffer(buffer), RES_OK);
    }
    EXPECT_EQ(engine->CreateIndexBuffer(4, 3), nullptr);
    EXPECT_EQ(engine->GetIndexBufferCount(), 0u);
}

TEST_F(IndexBufferTest, SixteenBitBufferKeepsLowBitsAndFillsRanges)
{
    C3DObjectIndex* buffer = engine->CreateIndexBuffer(12, kIndexKind16);
    ASSERT_EQ(buffer->Create(1, 12), RES_OK);
    ASSERT_EQ(buffer->Lock(), RES_OK);
    buffer->SetIndex(0, 0x12345);
    EXPECT_EQ(buffer->GetIndex(0), 0x2345u);
    buffer->FillIndexRange(6, 4);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(buffer->GetIndex(6 + i), i);
    buffer->ResetIndices();
    uint8_t size = 0;
    const uint16_t* stored = static_cast<const uint16_t*>(buffer->GetIndexData(&size));
    for (uint16_t i = 0; i < 12; ++i)
        EXPECT_EQ(stored[i], i);
    EXPECT_EQ(buffer->Unlock(0), RES_OK);
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyIndexBuffer(buffer), RES_OK);
}

TEST_F(IndexBufferTest, WritesOutsideLockOrRangeChangeNothingAndAreReported)
{
    C3DObjectIndex* buffer = engine->CreateIndexBuffer(4, kIndexKind32);
    ASSERT_EQ(buffer->Create(1, 4), RES_OK);
    buffer->SetIndex(1, 77);
    ASSERT_EQ(buffer->Lock(), RES_OK);
    EXPECT_EQ(buffer->GetIndex(1), 0u);
    buffer->SetIndex(4, 5);
    EXPECT_EQ(buffer->GetIndex(4), kNoIndex);
    EXPECT_EQ(buffer->Unlock(0), RES_OK);
    EXPECT_EQ(engine->Misuses().size(), 3u);
    EXPECT_EQ(engine->DestroyIndexBuffer(buffer), RES_OK);
}

TEST_F(IndexBufferTest, DestroyRefusesBuffersTheEngineDoesNotList)
{
    C3DObjectIndexSystemMemory stray(renderer.Data(), kIndexKind16);
    EXPECT_EQ(engine->DestroyIndexBuffer(&stray), RES_FAIL);
    EXPECT_EQ(engine->DestroyIndexBuffer(nullptr), RES_FAIL);
}

} // namespace
