#include "engine3d/SceneObject3D.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine3d/Object.h"
#include "tests/support/SceneFixture.h"

namespace {

// A tooltip places its parts with its collision object's own matrix.
class CTooltipScene : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;
    void MakeTooltip() { m_nType = kSceneTypeTooltip; }
};

class SceneHitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<ScenePartRecord> parts = {
            {0, 0, kPartDrawn, 0, 0, 0, 0, 0},
            {0, 0, kPartDrawn | kPartSecondView, 0, 0, 0, 0, 0},
            {0, 0, kPartDrawn, 0, 0, 0, 0, 0},
        };
        CSceneTestStream description(SceneDescriptionBytes(1024, 768, 0, parts, {0, 1, 2}));
        ASSERT_EQ(scene.LoadDescription(&description), RES_OK);
        ASSERT_EQ(scene.Init(), RES_OK);
        BuildCollision(scene.GetCollisionObject());
    }

    void TearDown() override
    {
        EXPECT_TRUE(fixture.Engine()->Misuses().empty());
        EXPECT_EQ(scene.Release(), RES_OK);
        EXPECT_EQ(fixture.renderer.Unload(), 0u);
    }

    // Parts 0 and 1: the triangle (100, 100), (200, 100), (100, 200). Part 2: one triangle
    // naming a vertex that does not exist, then two indices that make no triangle.
    static void BuildCollision(C3DObject* o)
    {
        ASSERT_EQ(o->Create(3, 7, 11), RES_OK);
        ASSERT_EQ(o->Lock(), RES_OK);
        for (uint32_t q = 0; q < 2; ++q) {
            o->SetVertex(3 * q + 0, 100, 100, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            o->SetVertex(3 * q + 1, 200, 100, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            o->SetVertex(3 * q + 2, 100, 200, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            for (uint32_t i = 0; i < 3; ++i)
                o->SetIndex(3 * q + i, i);
            ASSERT_EQ(o->SetPrimitiveGroup(q, 3 * q, 3, 3 * q, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId),
                      RES_OK);
        }
        o->SetVertex(6, 0, 0, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
        const uint32_t tail[5] = {0, 0, 50, 0, 0};
        for (uint32_t i = 0; i < 5; ++i)
            o->SetIndex(6 + i, tail[i]);
        ASSERT_EQ(o->SetPrimitiveGroup(2, 6, 1, 6, 5, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
        ASSERT_EQ(o->Unlock(1), RES_OK);
    }

    bool Hits(uint32_t part, float x, float y) { return scene.HitTestPart(part, x, y) == RES_OK; }

    SceneFixture fixture;
    CTooltipScene scene{fixture.Data(), fixture.Engine(), 3};
};

TEST_F(SceneHitTest, APointHitsInsideAndOnTheEdgesOfATriangleOnly)
{
    EXPECT_TRUE(Hits(0, 120, 120));
    EXPECT_TRUE(Hits(0, 150, 100));  // on an edge
    EXPECT_TRUE(Hits(0, 150, 150));  // on the slanted edge
    EXPECT_TRUE(Hits(0, 100, 200));  // on a corner
    EXPECT_FALSE(Hits(0, 150, 99.5f));
    EXPECT_FALSE(Hits(0, 190, 190));
    EXPECT_FALSE(Hits(0, 99, 120));
    EXPECT_EQ(scene.HitTestPart(0, 190, 190), RES_FAIL);
}

TEST_F(SceneHitTest, TheSecondViewFlagPlacesAPartWithTheSecondMatrix)
{
    EXPECT_FALSE(Hits(1, 120, 120));
    EXPECT_TRUE(Hits(1, 620, 120));
    EXPECT_FALSE(Hits(0, 620, 120));
    scene.GetPart(1)->flags &= ~kPartSecondView;
    EXPECT_TRUE(Hits(1, 120, 120));

    fixture.game.m_matView[0].m[13] = 300.0f;  // the camera keeps the matrices current
    EXPECT_FALSE(Hits(0, 120, 120));
    EXPECT_TRUE(Hits(0, 120, 420));
}

TEST_F(SceneHitTest, ATooltipUsesItsCollisionObjectsOwnMatrix)
{
    scene.MakeTooltip();
    const Vector3 down{0.0f, 300.0f, 0.0f};
    ASSERT_EQ(scene.GetCollisionObject()->Translate(&down), RES_OK);
    EXPECT_FALSE(Hits(0, 120, 120));
    EXPECT_TRUE(Hits(0, 120, 420));
    EXPECT_TRUE(Hits(1, 120, 420));  // the second-view flag does not matter
    fixture.Data()->sceneGameData = nullptr;
    EXPECT_TRUE(Hits(0, 120, 420));
}

TEST_F(SceneHitTest, BadPartsMissWithoutReadingOutsideTheObject)
{
    C3DPrimitiveGroup record{};
    ASSERT_EQ(scene.GetCollisionObject()->GetPrimitiveGroup(2, &record), RES_OK);
    ASSERT_EQ(record.indexCount, 5u);
    EXPECT_FALSE(Hits(2, 0, 0));
    EXPECT_FALSE(Hits(3, 120, 120));
    fixture.Data()->sceneGameData = nullptr;
    EXPECT_FALSE(Hits(0, 120, 120));

    CSceneObject3D bare(fixture.Data(), fixture.Engine(), 4);
    EXPECT_EQ(bare.HitTestPart(0, 120, 120), RES_FAIL);
}

} // namespace
