#include "game/widgets/TouchScreen.h"

#include <gtest/gtest.h>

#include "tests/support/PrimitiveProbe.h"
#include "tests/support/TextureLoadFixture.h"

namespace {

constexpr uint32_t kGreen = 0xFF00FF00u;

class TouchScreenTest : public TextureLoadTest {
protected:
    TouchScreenTest() { data->gameParams = params.get(), data->frameFactor = 1.0; }
    std::vector<MemoryDraw> Rendered()
    {
        engine->ClearDraws();
        EXPECT_EQ(m_touch.Render(), RES_OK);
        return engine->Draws();
    }

    CTouchScreen m_touch{data, engine};
};

} // namespace

TEST_F(TouchScreenTest, BothMarkersShareOneCentredQuadThatFadesForThirteenFrames)
{
    ASSERT_EQ(m_touch.Load(16.0f, kGreen, u"TEXTURES", u"SKY"), RES_OK);
    m_touch.Touch(100, 50, false);
    m_touch.Touch(200, 80, true);
    std::vector<MemoryDraw> draws = Rendered();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].matrix.m[12] * 1000 + draws[0].matrix.m[13], 100050.0f);
    EXPECT_EQ(draws[1].matrix.m[12] * 1000 + draws[1].matrix.m[13], 200080.0f);
    EXPECT_TRUE(draws[1].object == draws[0].object && draws[0].colour == kGreen && draws[0].textures[0]);
    const ObjectSnapshot quad = TakeSnapshot(const_cast<C3DObject*>(draws[0].object));
    ASSERT_EQ(quad.vertices.size(), 4u);
    EXPECT_EQ(quad.vertices[0].position.x + quad.vertices[0].position.y, -16.0f);  // (-8, -8)
    EXPECT_EQ(quad.vertices[3].position.x + quad.vertices[3].uv.y, 9.0f);
    EXPECT_EQ(m_touch.Process(), RES_OK);
    EXPECT_EQ(Rendered().at(0).colour, 0xEB00FF00u);  // trunc(0.925 x 255)
    for (int step = 2; step <= 13; ++step)
        EXPECT_EQ(m_touch.Process(), RES_OK);
    EXPECT_EQ(Rendered().size(), 2u);
    EXPECT_EQ(m_touch.Process(), RES_OK);
    EXPECT_TRUE(m_touch.IsBusy() && Rendered().empty());
    EXPECT_EQ(m_touch.Process(), RES_OK);
    EXPECT_FALSE(m_touch.IsBusy());
}

TEST_F(TouchScreenTest, AFailedLoadLeavesNothingToDraw)
{
    EXPECT_EQ(m_touch.Load(16.0f, kGreen, u"TEXTURES", u"MISSING"), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateObject, 1);
    EXPECT_EQ(m_touch.Load(16.0f, kGreen, u"TEXTURES", u"SKY"), RES_FAIL);
    m_touch.Touch(1, 1, false);
    EXPECT_TRUE(Rendered().empty());
    EXPECT_EQ(engine->GetObjectCount(), 0u);
}
