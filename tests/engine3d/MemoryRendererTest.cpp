#include "tests/support/MemoryRenderer.h"

#include <gtest/gtest.h>

#include "engine3d/Object.h"
#include "engine3d/Texture.h"

namespace {

class MemoryRendererTest : public ::testing::Test {
protected:
    // Three parts of one triangle each; part 0's record names record 2.
    C3DObject* ThreeParts(uint32_t flagsA, uint32_t flagsB)
    {
        C3DObject* object = engine->CreateObject(flagsA, flagsB);
        EXPECT_EQ(object->Create(3, 9, 9), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        object->FillIndexRange(0, 9);
        EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullCounterClockwiseAlt, 2),
                  RES_OK);
        EXPECT_EQ(object->SetPrimitiveGroup(1, 3, 3, 3, 3, 1, kPrimitiveTriangleStrip, kCullNone, kPartNumberId),
                  RES_OK);
        EXPECT_EQ(object->SetPrimitiveGroup(2, 6, 3, 6, 3, 1, kPrimitiveTriangleFan, kCullClockwise, kPartNumberId),
                  RES_OK);
        EXPECT_EQ(object->Unlock(1), RES_OK);
        return object;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
};

TEST_F(MemoryRendererTest, RenderLogsEveryPartWithItsState)
{
    C3DObject* object = ThreeParts(kFormatNormalTex, kTextureStage0);
    C3DTexture* texture = engine->CreateTexture(0, 0x52);
    ASSERT_EQ(object->SetPartTexture(texture, 2, 0), RES_OK);
    ASSERT_EQ(object->SetPartTexture(texture, 1, 1), RES_OK);  // stage 1 is not in use
    object->SetColor(0x80112233u);
    const Vector3 move{5, 6, 7};
    ASSERT_EQ(object->Translate(&move), RES_OK);
    ASSERT_EQ(engine->BeginFrame(), RES_OK);
    ASSERT_EQ(object->Render(), RES_OK);

    const std::vector<MemoryDraw> draws = engine->DrawsOf(object);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].part, 0u);
    EXPECT_EQ(draws[0].recordNumber, 2u);
    EXPECT_EQ(draws[0].primitiveType, kPrimitiveTriangleFan);
    EXPECT_EQ(draws[0].cull, MemoryCull::Clockwise);
    EXPECT_EQ(draws[0].textures[0], texture);
    EXPECT_EQ(draws[1].cull, MemoryCull::None);
    EXPECT_EQ(draws[1].textures[0], nullptr);
    EXPECT_EQ(draws[1].textures[1], nullptr);
    EXPECT_EQ(draws[2].recordNumber, 2u);
    EXPECT_EQ(draws[2].record.firstVertex, 6u);
    EXPECT_EQ(draws[0].colour, 0x80112233u);
    EXPECT_FLOAT_EQ(draws[0].matrix.m[12], 5.0f);
    EXPECT_FALSE(draws[0].screenSpace);
    EXPECT_EQ(draws[0].frame, 1u);
    EXPECT_EQ(engine->Camera()->State().projections, 1u);
    EXPECT_TRUE(engine->Misuses().empty());
}

TEST_F(MemoryRendererTest, RecordCodeThreeDrawsAsCounterClockwise)
{
    C3DObject* object = ThreeParts(kFormatColorTex, 0);
    ASSERT_EQ(object->SetPrimitiveGroup(0, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullCounterClockwiseAlt,
                                        kPartNumberId),
              RES_OK);
    EXPECT_EQ(object->RenderPart(0), RES_OK);
    EXPECT_EQ(engine->Draws().back().cull, MemoryCull::CounterClockwise);
    EXPECT_TRUE(engine->Draws().back().screenSpace);
    EXPECT_EQ(engine->Camera()->State().screenProjections, 1u);
    EXPECT_EQ(object->RenderPart(3), RES_FAIL);
}

TEST_F(MemoryRendererTest, GeometryDrawsKeepTheDeviceState)
{
    C3DObject* object = ThreeParts(kFormatNormalTex, kTextureStage0);
    C3DTexture* texture = engine->CreateTexture(0, 0);
    ASSERT_EQ(object->SetTextureAll(texture, 0), RES_OK);
    ASSERT_EQ(object->RenderPart(2), RES_OK);  // clockwise, texture bound
    engine->ClearDraws();
    EXPECT_EQ(object->RenderPartGeometry(1), RES_OK);
    ASSERT_EQ(engine->Draws().size(), 1u);
    EXPECT_EQ(engine->Draws()[0].cull, MemoryCull::Clockwise);
    EXPECT_EQ(engine->Draws()[0].textures[0], texture);
    EXPECT_EQ(object->RenderGeometry(), RES_OK);
    EXPECT_EQ(engine->Draws().back().cull, MemoryCull::Clockwise);  // the last part's own code
    EXPECT_EQ(engine->Draws()[2].cull, MemoryCull::None);
}

TEST_F(MemoryRendererTest, DrawVerticesDefaultsToPointsAndCounterClockwise)
{
    C3DObject* object = ThreeParts(kFormatColor, 0);
    ASSERT_EQ(object->ApplyPartState(1), RES_OK);
    EXPECT_EQ(object->DrawVertices(1, 3, 4, -1, -1), RES_OK);
    const MemoryDraw& draw = engine->Draws().back();
    EXPECT_EQ(draw.kind, MemoryDrawKind::DrawVertices);
    EXPECT_EQ(draw.primitiveType, kPrimitivePointList);
    EXPECT_EQ(draw.primitiveCount, 4u);
    EXPECT_EQ(draw.record.firstVertex, 3u);
    EXPECT_EQ(draw.cull, MemoryCull::CounterClockwise);
    EXPECT_EQ(object->DrawVertices(1, 0, 2, kPrimitiveLineList, kCullClockwise), RES_OK);
    EXPECT_EQ(engine->Draws().back().indexCount, 4u);
    EXPECT_EQ(engine->Draws().back().cull, MemoryCull::Clockwise);
    object->EndDraw();
}

TEST_F(MemoryRendererTest, MisusesAreCollected)
{
    C3DObject* object = ThreeParts(kFormatColorTex, 0);
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->Render(), RES_OK);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    EXPECT_TRUE(engine->Draws().back().locked);
    ASSERT_EQ(object->SetPrimitiveGroup(1, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullNone, 8), RES_OK);
    EXPECT_EQ(object->Render(), RES_OK);
    EXPECT_EQ(engine->Misuses().size(), 4u);  // three locked draws, one part naming no record
    engine->ClearMisuses();
    object->SetVertexColor(0, 0);
    EXPECT_EQ(engine->Misuses().size(), 1u);
}

TEST_F(MemoryRendererTest, NthCreationFailsOnce)
{
    engine->Failures().FailNth(MemoryOp::CreateTexture, 2);
    EXPECT_NE(engine->CreateTexture(0, 0), nullptr);
    EXPECT_EQ(engine->CreateTexture(0, 0), nullptr);
    EXPECT_NE(engine->CreateTexture(0, 0), nullptr);
    EXPECT_EQ(engine->Failures().Calls(MemoryOp::CreateTexture), 3u);
    engine->Failures().FailAlways(MemoryOp::CreateShader);
    EXPECT_EQ(engine->CreateShader(0, 0), nullptr);
    EXPECT_EQ(engine->CreateShader(0, 0), nullptr);
    engine->Failures().Clear();
    EXPECT_NE(engine->CreateShader(0, 0), nullptr);
    engine->Failures().FailNth(MemoryOp::BeginFrame, 1);
    EXPECT_EQ(engine->BeginFrame(), RES_FAIL);
    EXPECT_EQ(engine->BeginFrame(), RES_OK);
    EXPECT_EQ(engine->FrameCount(), 1u);
}

TEST_F(MemoryRendererTest, TexturePixelsReadFromTheTop)
{
    C3DTexture* texture = engine->CreateTexture(0, 0);
    // 4 x 2, 24 bits; the first stored row (the bottom) red, the second blue.
    uint8_t pixels[2 * 4 * 3] = {};
    for (int x = 0; x < 4; ++x) {
        pixels[x * 3] = 0xFF;
        pixels[12 + x * 3 + 2] = 0xFF;
    }
    ASSERT_EQ(texture->Create(4, 2, 24, pixels, u"dir/sky.png"), RES_OK);
    EXPECT_EQ(texture->GetPixel(0.1f, 0.1f), 0xFF0000FFu);
    EXPECT_EQ(texture->GetPixel(0.9f, 0.9f), 0xFFFF0000u);
    EXPECT_EQ(texture->GetPixel(5.0f, -3.0f), 0xFF0000FFu);
    EXPECT_EQ(std::u16string(texture->GetName()), u"sky.png");
    EXPECT_TRUE(texture->IsLoaded());
    EXPECT_EQ(texture->Create(1, 1, 12, pixels, nullptr), RES_FAIL);
    EXPECT_EQ(texture->Release(), RES_OK);
    EXPECT_FALSE(texture->IsLoaded());
}

TEST_F(MemoryRendererTest, FixtureSetsUpAScreenSizedViewport)
{
    const MemoryCameraState& camera = engine->Camera()->State();
    EXPECT_EQ(camera.viewport[2], 1024);
    EXPECT_EQ(camera.viewport[3], 768);
    EXPECT_TRUE(engine->IsStencilShadowSupported());
    engine->SetStencilShadowSupported(false);
    EXPECT_FALSE(engine->IsStencilShadowSupported());
}

} // namespace
