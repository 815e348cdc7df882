#include "engine3d/Frame.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/Texture.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PrimitiveProbe.h"

namespace {

constexpr uint32_t kGold = 0xFFC0A040u;

struct Box {
    float x0, y0, x1, y1;  // left, top, right, bottom
    float u1, v1;          // texture coordinates run from 0 to these
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (uint32_t i = 0; i < kFrameParts; ++i) {
            C3DTexture* texture = engine->CreateTexture(0, 0x52);
            // The top edge is 16 x 8; the others have sizes that must not matter.
            const uint16_t w = i == kFrameTop ? 16 : 3;
            const uint16_t h = i == kFrameTop ? 8 : 5;
            ASSERT_EQ(texture->Create(w, h, 32, nullptr, (u"part" + std::u16string(1, char16_t(u'0' + i))).c_str()),
                      RES_OK);
            textures[i] = texture;
        }
    }

    void TearDown() override
    {
        for (C3DTexture* texture : textures)
            EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
        EXPECT_TRUE(engine->Misuses().empty());
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    // The part's quad: (left, top), (right, top), (left, bottom), (right, bottom) with the colour.
    void ExpectQuad(const ObjectSnapshot& s, uint32_t part, const Box& b, uint32_t colour = kGold)
    {
        SCOPED_TRACE("part " + std::to_string(part));
        const float xs[4] = {b.x0, b.x1, b.x0, b.x1};
        const float ys[4] = {b.y0, b.y0, b.y1, b.y1};
        const float us[4] = {0, b.u1, 0, b.u1};
        const float vs[4] = {0, 0, b.v1, b.v1};
        for (uint32_t c = 0; c < 4; ++c) {
            const ProbeVertex& v = s.vertices[4 * part + c];
            EXPECT_EQ(v.position.x, xs[c]) << "corner " << c;
            EXPECT_EQ(v.position.y, ys[c]) << "corner " << c;
            EXPECT_EQ(v.position.z, 0.0f);
            EXPECT_EQ(v.uv.x, us[c]) << "corner " << c;
            EXPECT_EQ(v.uv.y, vs[c]) << "corner " << c;
            EXPECT_EQ(v.colour, colour);
        }
    }

    void ExpectCollapsed(const ObjectSnapshot& s, uint32_t part) { ExpectQuad(s, part, Box{0, 0, 0, 0, 0, 0}); }

    std::array<float, 4> Layout(C3DFrame& frame, float width, float height, float border)
    {
        std::array<float, 4> rect{};
        EXPECT_EQ(frame.Layout(rect.data(), width, height, border, kGold), RES_OK);
        return rect;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    std::array<C3DTexture*, kFrameParts> textures{};
};

TEST_F(FrameTest, CreateMakesNineTexturedQuadRecords)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    C3DObject* object = frame.GetObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetFlagsA() & kFormatMask, kFormatColorTex);
    EXPECT_EQ(object->GetFlagsB(), 0x20C29u);
    EXPECT_EQ(object->GetPartCount(), 9u);
    EXPECT_EQ(object->GetVertexCount(), 36u);
    const ObjectSnapshot s = TakeSnapshot(object);
    ASSERT_EQ(s.indices.size(), 36u);
    for (uint32_t i = 0; i < 36; ++i)
        EXPECT_EQ(s.indices[i], i % 4);
    for (uint32_t p = 0; p < kFrameParts; ++p) {
        const C3DPrimitiveGroup& r = s.records[p];
        EXPECT_EQ(r.id, p);
        EXPECT_EQ(r.firstVertex, 4 * p);
        EXPECT_EQ(r.vertexCount, 4u);
        EXPECT_EQ(r.firstIndex, 4 * p);
        EXPECT_EQ(r.indexCount, 4u);
        EXPECT_EQ(r.primitiveCount, 2u);
        EXPECT_EQ(r.primitiveType, kPrimitiveTriangleStrip);
        EXPECT_EQ(r.cullCode, kCullCounterClockwise);
        EXPECT_EQ(object->GetTexture(p, 0), textures[p]);
        EXPECT_EQ(engine->GetTextureRefCount(textures[p]), 2u);
    }
    EXPECT_EQ(frame.Release(), RES_OK);
    EXPECT_EQ(frame.GetObject(), nullptr);
    EXPECT_EQ(engine->GetTextureRefCount(textures[0]), 1u);
}

TEST_F(FrameTest, WithoutAnObjectNothingIsLaidOutOrDrawn)
{
    C3DFrame frame(renderer.Data(), engine);
    float rect[4] = {7, 7, 7, 7};
    EXPECT_EQ(frame.Layout(rect, 100, 100, 10, kGold), RES_FAIL);
    EXPECT_EQ(rect[0], 7.0f);
    EXPECT_EQ(frame.Render(), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateObject, 1);
    EXPECT_EQ(frame.Create(textures.data()), RES_FAIL);
    EXPECT_EQ(frame.GetObject(), nullptr);
    engine->Failures().FailNth(MemoryOp::CreateIndexBuffer, 1);
    EXPECT_EQ(frame.Create(textures.data()), RES_FAIL);
    EXPECT_EQ(frame.GetObject(), nullptr);
    EXPECT_EQ(engine->GetObjectCount(), 0u);
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, LayoutOfTheWholeFrameSize)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    const std::array<float, 4> rect = Layout(frame, 200, 100, 20);
    EXPECT_EQ(rect, (std::array<float, 4>{-100, -50, 100, 50}));
    EXPECT_EQ(frame.GetWidth(), 200.0f);
    EXPECT_EQ(frame.GetHeight(), 100.0f);
    // Edges span 160 x 60: 160 / 16 = 10 repeats across, 60 / 8 = 7.5 down, rounded to 7.
    const ObjectSnapshot s = TakeSnapshot(frame.GetObject());
    ExpectQuad(s, kFrameTopLeft, {-100, -50, -80, -30, 1, 1});
    ExpectQuad(s, kFrameTop, {-80, -50, 80, -30, 10, 1});
    ExpectQuad(s, kFrameTopRight, {80, -50, 100, -30, 1, 1});
    ExpectQuad(s, kFrameLeft, {-100, -30, -80, 30, 1, 7});
    ExpectQuad(s, kFrameCentre, {-80, -30, 80, 30, 10, 7});
    ExpectQuad(s, kFrameRight, {80, -30, 100, 30, 1, 7});
    ExpectQuad(s, kFrameBottomLeft, {-100, 30, -80, 50, 1, 1});
    ExpectQuad(s, kFrameBottom, {-80, 30, 80, 50, 10, 1});
    ExpectQuad(s, kFrameBottomRight, {80, 30, 100, 50, 1, 1});
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, HalvesRoundDownAndRepeatsRoundToWholeCounts)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    EXPECT_EQ(Layout(frame, 101, 45, 10.5f), (std::array<float, 4>{-51, -23, 50, 22}));
    ObjectSnapshot s = TakeSnapshot(frame.GetObject());
    // Border 10.5 rounds to 10; 81 / 16 = 5.06 and 25 / 8 = 3.1 repeats.
    ExpectQuad(s, kFrameCentre, {-41, -13, 40, 12, 5, 3});

    // Spans of 2.5 texture widths and 3.5 heights repeat twice and three times.
    Layout(frame, 80, 68, 20);
    s = TakeSnapshot(frame.GetObject());
    ExpectQuad(s, kFrameTop, {-20, -34, 20, -14, 2, 1});
    ExpectQuad(s, kFrameLeft, {-40, -14, -20, 14, 1, 3});

    // A span under half a texture still shows it once.
    Layout(frame, 46, 43, 20);
    s = TakeSnapshot(frame.GetObject());
    ExpectQuad(s, kFrameCentre, {-3, -2, 3, 1, 1, 1});
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, NoTallerThanTwoBordersLeavesTheMiddleRowEmpty)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    Layout(frame, 200, 40, 20);
    ObjectSnapshot s = TakeSnapshot(frame.GetObject());
    for (uint32_t part : {kFrameLeft, kFrameCentre, kFrameRight})
        ExpectCollapsed(s, part);
    ExpectQuad(s, kFrameTop, {-80, -20, 80, 0, 10, 1});
    ExpectQuad(s, kFrameBottomRight, {80, 0, 100, 20, 1, 1});

    // Lower than two borders: the rows overlap, corners keep their size.
    Layout(frame, 200, 30, 20);
    s = TakeSnapshot(frame.GetObject());
    ExpectCollapsed(s, kFrameCentre);
    ExpectQuad(s, kFrameTopLeft, {-100, -15, -80, 5, 1, 1});
    ExpectQuad(s, kFrameBottom, {-80, -5, 80, 15, 10, 1});
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, SmallerThanItsCornersKeepsOnlyTheCorners)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    Layout(frame, 200, 100, 20);
    EXPECT_EQ(Layout(frame, 30, 30, 20), (std::array<float, 4>{-15, -15, 15, 15}));
    const ObjectSnapshot s = TakeSnapshot(frame.GetObject());
    for (uint32_t part : {kFrameTop, kFrameLeft, kFrameCentre, kFrameRight, kFrameBottom})
        ExpectCollapsed(s, part);
    ExpectQuad(s, kFrameTopLeft, {-15, -15, 5, 5, 1, 1});
    ExpectQuad(s, kFrameTopRight, {-5, -15, 15, 5, 1, 1});
    ExpectQuad(s, kFrameBottomLeft, {-15, -5, 5, 15, 1, 1});
    ExpectQuad(s, kFrameBottomRight, {-5, -5, 15, 15, 1, 1});
    EXPECT_EQ(frame.GetWidth(), 30.0f);

    // Narrower only: the middle column goes, the middle row stays.
    Layout(frame, 30, 100, 20);
    const ObjectSnapshot narrow = TakeSnapshot(frame.GetObject());
    ExpectCollapsed(narrow, kFrameTop);
    ExpectCollapsed(narrow, kFrameCentre);
    ExpectQuad(narrow, kFrameLeft, {-15, -30, 5, 30, 1, 7});
    ExpectQuad(narrow, kFrameRight, {-5, -30, 15, 30, 1, 7});
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, WithoutATopEdgeTextureEveryRepeatIsOne)
{
    std::array<C3DTexture*, kFrameParts> some = textures;
    some[kFrameTop] = nullptr;
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(some.data()), RES_OK);
    Layout(frame, 200, 100, 20);
    const ObjectSnapshot s = TakeSnapshot(frame.GetObject());
    ExpectQuad(s, kFrameCentre, {-80, -30, 80, 30, 1, 1});
    EXPECT_EQ(frame.GetObject()->GetTexture(kFrameTop, 0), nullptr);
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, RenderDrawsNinePartsWithTheFramesColourMatrixAndTextures)
{
    C3DFrame frame(renderer.Data(), engine);
    ASSERT_EQ(frame.Create(textures.data()), RES_OK);
    Layout(frame, 200, 100, 20);
    frame.SetAlpha(0x80);
    const Vector3 at{512, 384, 0};
    ASSERT_EQ(frame.Translate(&at), RES_OK);
    engine->ClearDraws();
    EXPECT_EQ(frame.Render(), RES_OK);
    const std::vector<MemoryDraw> draws = engine->DrawsOf(frame.GetObject());
    ASSERT_EQ(draws.size(), 9u);
    for (uint32_t p = 0; p < kFrameParts; ++p) {
        EXPECT_EQ(draws[p].part, p);
        EXPECT_EQ(draws[p].textures[0], textures[p]);
        EXPECT_EQ(draws[p].colour, 0x80FFFFFFu);
        EXPECT_EQ(draws[p].matrix.m[12], 512.0f);
        EXPECT_EQ(draws[p].matrix.m[13], 384.0f);
        EXPECT_TRUE(draws[p].screenSpace);
    }
    EXPECT_EQ(frame.GetObject()->GetMatrix(), frame.GetMatrix());
    EXPECT_EQ(frame.Release(), RES_OK);
}

TEST_F(FrameTest, FramesSharingTexturesGoInAnyOrder)
{
    for (bool firstGoesFirst : {true, false}) {
        SCOPED_TRACE(firstGoesFirst);
        C3DFrame dialog(renderer.Data(), engine);
        C3DFrame button(renderer.Data(), engine);
        ASSERT_EQ(dialog.Create(textures.data()), RES_OK);
        ASSERT_EQ(button.Create(textures.data()), RES_OK);
        ASSERT_EQ(button.Create(textures.data()), RES_OK);  // made again: the old object goes
        EXPECT_EQ(engine->GetObjectCount(), 2u);
        for (C3DTexture* texture : textures)
            EXPECT_EQ(engine->GetTextureRefCount(texture), 3u);
        EXPECT_EQ((firstGoesFirst ? dialog : button).Release(), RES_OK);
        for (C3DTexture* texture : textures)
            EXPECT_EQ(engine->GetTextureRefCount(texture), 2u);
        Layout(firstGoesFirst ? button : dialog, 120, 80, 16);
        EXPECT_EQ((firstGoesFirst ? button : dialog).Render(), RES_OK);
        EXPECT_EQ((firstGoesFirst ? button : dialog).Release(), RES_OK);
        for (C3DTexture* texture : textures)
            EXPECT_EQ(engine->GetTextureRefCount(texture), 1u);
        EXPECT_EQ(engine->GetObjectCount(), 0u);
    }
}

} // namespace
