#include "engine3d/SceneObject3D.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine3d/Object.h"
#include "tests/support/SceneFixture.h"
#include "tools/ObjectFileWriter.h"

namespace {

const std::vector<ScenePartRecord> kThreeParts = {
    {1, 2, kPartDrawn | kPartClickable, 10, 1.5f, 2.5f, 3.5f, 40.0f},
    {2, 8, kPartWaiting, 11, -1.0f, 0.0f, 1.0f, 5.0f},
    {3, 4, kPartSecondView, 0xFFFFFFFFu, 7.0f, 8.0f, 9.0f, 0.25f},
};

// Two parts of one triangle list each: part 0 the triangle (100, 100), (200, 100), (100, 200),
// part 1 the same triangle moved right by shift.
C3dxModel TwoTriangles(float shift)
{
    C3dxModel model;
    for (uint32_t part = 0; part < 2; ++part) {
        C3dxPart record;
        record.record = {part, 3 * part, 3, 3 * part, 3, 1, kPrimitiveTriangleList, kCullNone};
        model.parts.push_back(record);
        const float x = 100.0f + shift * static_cast<float>(part);
        const float corners[3][2] = {{x, 100.0f}, {x + 100.0f, 100.0f}, {x, 200.0f}};
        for (const auto& corner : corners) {
            C3dxVertex vertex{};
            vertex.position[0] = corner[0];
            vertex.position[1] = corner[1];
            vertex.colour = 0xFFFFFFFFu;
            model.vertices.push_back(vertex);
        }
    }
    model.indices = {0, 1, 2, 0, 1, 2};
    return model;
}

class SceneObjectTest : public ::testing::Test {
protected:
    void SetUp() override { fixture.game.m_nElementTotal = 5; }

    void TearDown() override
    {
        EXPECT_EQ(scene.Release(), RES_OK);
        EXPECT_EQ(fixture.renderer.Unload(), 0u);
    }

    Result Describe(CSceneObject3D& target, const std::string& bytes)
    {
        CSceneTestStream stream(bytes);
        return target.LoadDescription(&stream);
    }

    std::string ThreeParts() const { return SceneDescriptionBytes(800.0f, 600.0f, 77, kThreeParts, {2, 0, 1}); }

    // Init, then a display object with count parts.
    void WithDisplayParts(uint32_t count)
    {
        ASSERT_EQ(scene.Init(), RES_OK);
        ASSERT_EQ(scene.GetDisplayObject()->Create(count, 3, 3), RES_OK);
    }

    // Flags and alpha of every part.
    std::vector<std::pair<uint32_t, float>> PartStates() const
    {
        std::vector<std::pair<uint32_t, float>> states;
        for (uint32_t p = 0; p < scene.GetPartCount(); ++p)
            states.emplace_back(scene.GetPart(p)->flags, scene.GetPart(p)->alpha);
        return states;
    }

    SceneFixture fixture;
    CSceneObject3D scene{fixture.Data(), fixture.Engine(), 42};
};

TEST_F(SceneObjectTest, InitMakesBothObjectsAndReleaseDestroysThem)
{
    EXPECT_EQ(scene.GetType(), kSceneTypePlain);
    EXPECT_EQ(scene.GetId(), 42u);
    EXPECT_FLOAT_EQ(scene.GetRefWidth(), 1024.0f);
    EXPECT_FLOAT_EQ(scene.GetRefHeight(), 768.0f);
    ASSERT_EQ(scene.Init(), RES_OK);
    ASSERT_NE(scene.GetDisplayObject(), nullptr);
    EXPECT_EQ(scene.GetDisplayObject()->GetFlagsB(), 0x20C29u);
    EXPECT_EQ(scene.GetCollisionObject()->GetFlagsB(), 0x24429u);
    EXPECT_EQ(fixture.Engine()->GetObjectCount(), 2u);
    EXPECT_EQ(scene.Release(), RES_OK);
    EXPECT_EQ(fixture.Engine()->GetObjectCount(), 0u);
    EXPECT_EQ(scene.Release(), RES_OK);  // twice: nothing left to destroy

    fixture.Engine()->Failures().FailNth(MemoryOp::CreateObject, 2);
    EXPECT_EQ(scene.Init(), RES_FAIL);
    EXPECT_EQ(scene.GetCollisionObject(), nullptr);
}

TEST_F(SceneObjectTest, DescriptionGivesSizePartsAndOrderAndCountsTheElements)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    EXPECT_FLOAT_EQ(scene.GetRefWidth(), 800.0f);
    EXPECT_FLOAT_EQ(scene.GetRefHeight(), 600.0f);
    EXPECT_EQ(scene.GetDescriptionWord(), 77u);
    ASSERT_EQ(scene.GetPartCount(), 3u);
    const ScenePart& p = *scene.GetPart(0);
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.phase, 2u);
    EXPECT_EQ(p.flags, kPartDrawn | kPartClickable);
    EXPECT_EQ(p.itemId, 10u);
    EXPECT_FLOAT_EQ(p.alpha, 0.0f);
    EXPECT_FLOAT_EQ(p.y, 2.5f);
    EXPECT_FLOAT_EQ(p.radius, 40.0f);
    EXPECT_EQ(scene.GetPart(2)->itemId, 0xFFFFFFFFu);
    EXPECT_EQ(scene.GetPart(3), nullptr);
    EXPECT_EQ(scene.GetPartOrder(0), 2);
    EXPECT_EQ(scene.GetPartOrder(2), 1);
    EXPECT_EQ(fixture.game.m_nElementTotal, 8u);
}

TEST_F(SceneObjectTest, AShortOrOversizedDescriptionFailsAndChangesNothing)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    const std::string other = SceneDescriptionBytes(10.0f, 20.0f, 1, {kThreeParts[1], kThreeParts[2]}, {0, 1});
    for (size_t cut = 0; cut < other.size(); ++cut)
        ASSERT_EQ(Describe(scene, other.substr(0, cut)), RES_FAIL) << cut;
    const std::string huge = SceneBytes().Put(1.0f).Put(1.0f).Put(0u).Put(kMaxSceneParts + 1).Bytes();
    EXPECT_EQ(Describe(scene, huge), RES_FAIL);
    EXPECT_EQ(scene.LoadDescription(nullptr), RES_FAIL);
    EXPECT_FLOAT_EQ(scene.GetRefWidth(), 800.0f);
    EXPECT_EQ(scene.GetPartCount(), 3u);
    EXPECT_EQ(scene.GetPart(0)->itemId, 10u);
    EXPECT_EQ(fixture.game.m_nElementTotal, 8u);
}

TEST_F(SceneObjectTest, ObjectStreamHoldsCountThenFlagsAndAlphaOfEachPart)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    scene.GetPart(0)->alpha = 1.0f;
    scene.GetPart(1)->flags = kPartFadingIn | kPartDrawn;
    scene.GetPart(1)->alpha = 0.25f;
    CSceneTestStream saved;
    ASSERT_EQ(scene.SaveObjects(&saved), RES_OK);
    const std::string expected = SceneBytes()
                                     .Put(3u)
                                     .Put(kPartDrawn | kPartClickable)
                                     .Put(1.0f)
                                     .Put(kPartFadingIn | kPartDrawn)
                                     .Put(0.25f)
                                     .Put(kPartSecondView)
                                     .Put(0.0f)
                                     .Bytes();
    EXPECT_EQ(saved.Bytes(), expected);

    CSceneObject3D copy(fixture.Data(), fixture.Engine(), 1);
    ASSERT_EQ(Describe(copy, ThreeParts()), RES_OK);
    CSceneTestStream in(saved.Bytes());
    ASSERT_EQ(copy.LoadObjects(&in, 12), RES_OK);
    EXPECT_EQ(copy.GetPart(1)->flags, kPartFadingIn | kPartDrawn);
    EXPECT_FLOAT_EQ(copy.GetPart(1)->alpha, 0.25f);
    EXPECT_EQ(in.BytesLeft(), 0u);

    for (size_t budget = 0; budget < expected.size(); budget += 4) {
        CSceneTestStream full(std::string(), budget);
        EXPECT_EQ(scene.SaveObjects(&full), RES_FAIL) << budget;
    }
}

TEST_F(SceneObjectTest, ObjectStreamOfAnotherCountOrCutShortChangesNoPart)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    const auto before = PartStates();
    const std::string two = SceneBytes().Put(2u).Put(0x1Fu).Put(0.5f).Put(0x1Fu).Put(0.5f).Bytes();
    CSceneTestStream wrongCount(two);
    EXPECT_EQ(scene.LoadObjects(&wrongCount, 12), RES_FAIL);
    const std::string three = SceneBytes().Put(3u).Put(0x1Fu).Put(0.5f).Put(0x1Fu).Put(0.5f).Put(0x1Fu).Bytes();
    CSceneTestStream cut(three);
    EXPECT_EQ(scene.LoadObjects(&cut, 12), RES_FAIL);
    EXPECT_EQ(PartStates(), before);
}

TEST_F(SceneObjectTest, ProgressStreamHoldsTheSnapshotOrASingleZero)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    CSceneTestStream none;
    ASSERT_EQ(scene.SaveProgress(&none), RES_OK);  // no display object, no snapshot
    EXPECT_EQ(none.Bytes(), SceneBytes().Put(0u).Bytes());

    WithDisplayParts(3);
    ASSERT_EQ(scene.SaveProgress(&none), RES_OK);  // parts but no snapshot yet
    EXPECT_EQ(none.Bytes(), SceneBytes().Put(0u).Put(0u).Bytes());

    scene.SnapshotPartFlags();
    ASSERT_EQ(scene.GetSnapshotCount(), 3u);
    CSceneTestStream saved;
    ASSERT_EQ(scene.SaveProgress(&saved), RES_OK);
    EXPECT_EQ(saved.Bytes(),
              SceneBytes().Put(3u).Put(kPartDrawn | kPartClickable).Put(kPartWaiting).Put(kPartSecondView).Bytes());

    CSceneTestStream zero(SceneBytes().Put(0u).Bytes());
    ASSERT_EQ(scene.LoadProgress(&zero, 12), RES_OK);
    EXPECT_EQ(scene.GetSnapshot(), nullptr);
    CSceneTestStream back(saved.Bytes());
    ASSERT_EQ(scene.LoadProgress(&back, 12), RES_OK);
    ASSERT_EQ(scene.GetSnapshotCount(), 3u);
    EXPECT_EQ(scene.GetSnapshot()[1], kPartWaiting);

    CSceneTestStream cut(saved.Bytes().substr(0, 10));
    EXPECT_EQ(scene.LoadProgress(&cut, 12), RES_FAIL);
    EXPECT_EQ(scene.GetSnapshot(), nullptr);
    CSceneTestStream huge(SceneBytes().Put(0xFFFFFFF0u).Bytes());
    EXPECT_EQ(scene.LoadProgress(&huge, 12), RES_FAIL);
    EXPECT_EQ(scene.GetSnapshotCount(), 0u);
}

TEST_F(SceneObjectTest, SnapshotCoversTheDisplayPartsEvenBeyondThePartTable)
{
    ASSERT_EQ(Describe(scene, ThreeParts()), RES_OK);
    WithDisplayParts(5);
    scene.SnapshotPartFlags();
    ASSERT_EQ(scene.GetSnapshotCount(), 5u);
    EXPECT_EQ(scene.GetSnapshot()[2], kPartSecondView);
    EXPECT_EQ(scene.GetSnapshot()[4], 0u);
    scene.GetPart(1)->phase = 3;
    EXPECT_FALSE(scene.RevertPartStates(3, kNoPart));  // lengths differ: no revert
    EXPECT_EQ(scene.GetPart(1)->flags, kPartWaiting);
}

class SceneRevertTest : public SceneObjectTest {
protected:
    void SetUp() override
    {
        std::vector<ScenePartRecord> parts(7, ScenePartRecord{0, 2, 0, 0, 0, 0, 0, 0});
        parts[6].flags = kPartWaiting;  // equal to its snapshot word: left alone
        ASSERT_EQ(Describe(scene, SceneDescriptionBytes(1024, 768, 0, parts, std::vector<uint16_t>(7))), RES_OK);
        WithDisplayParts(7);
        scene.SnapshotPartFlags();
        Set(0, kPartWaiting, 2, 0.0f);
        Set(1, kPartWaiting | kPartDrawn, kPartAnyPhase, 0.0f);
        Set(2, kPartWaiting, 3, 0.0f);
        Set(3, kPartFadingIn, 2, 0.5f);
        Set(4, kPartFadingOut | kPartDrawn, 2, 0.3f);
        Set(5, kPartWaiting, 2, 0.0f);
    }

    void Set(uint32_t part, uint32_t flags, uint32_t phase, float alpha)
    {
        ScenePart* p = scene.GetPart(part);
        p->flags = flags;
        p->phase = phase;
        p->alpha = alpha;
    }
};

TEST_F(SceneRevertTest, RevertEndsFadesAndStartsThoseOfTheStateSkippingOnePart)
{
    EXPECT_TRUE(scene.RevertPartStates(2, 5));
    const std::vector<std::pair<uint32_t, float>> expected = {
        {kPartClickable | kPartFadingIn, 0.0f},                // waiting for state 2, hidden: fades in
        {kPartClickable | kPartDrawn | kPartFadingOut, 1.0f},  // phase 8: any state; drawn: fades out
        {kPartWaiting, 0.0f},                                  // waits for another state
        {kPartDrawn, 0.5f},                                    // fade in finished
        {0u, 0.3f},                                            // fade out finished
        {kPartWaiting, 0.0f},                                  // skipped
        {kPartWaiting, 0.0f},                                  // same as its snapshot word
    };
    EXPECT_EQ(PartStates(), expected);
}

TEST_F(SceneRevertTest, RevertWithoutSnapshotOrMatchingPhaseStartsNothing)
{
    Set(0, kPartWaiting, 3, 0.0f);
    Set(1, kPartDrawn, kPartAnyPhase, 0.0f);
    Set(5, kPartWaiting, 3, 0.0f);
    EXPECT_FALSE(scene.RevertPartStates(2, kNoPart));
    EXPECT_EQ(scene.GetPart(3)->flags, kPartDrawn);  // fades still end

    CSceneTestStream none(SceneBytes().Put(0u).Bytes());
    ASSERT_EQ(scene.LoadProgress(&none, 12), RES_OK);
    Set(0, kPartWaiting, 2, 0.0f);
    EXPECT_FALSE(scene.RevertPartStates(2, kNoPart));
    EXPECT_EQ(scene.GetPart(0)->flags, kPartWaiting);
}

TEST_F(SceneObjectTest, Load3DXFailsWithoutAPakEntryOrReadableObject)
{
    ASSERT_EQ(scene.Init(), RES_OK);
    C3DObject* display = scene.GetDisplayObject();
    EXPECT_EQ(scene.Load3DX(display, u"room.3dx"), RES_FAIL);  // no pak lookup yet
    fixture.OpenPak({{"broken.3dx", "not an object"}});
    EXPECT_EQ(scene.Load3DX(display, u"room.3dx"), RES_FAIL);
    EXPECT_EQ(scene.Load3DX(display, u"broken.3dx"), RES_FAIL);
    EXPECT_EQ(scene.Load3DX(nullptr, u"broken.3dx"), RES_FAIL);
    EXPECT_EQ(SceneFixture::Lookups(), (std::vector<std::u16string>{u"room.3dx", u"broken.3dx"}));
    EXPECT_EQ(display->GetPartCount(), 0u);
}

TEST_F(SceneObjectTest, Load3DXReadsBothObjectsFromThePakAndTheCollisionPartsHitTest)
{
    const std::vector<ScenePartRecord> parts(2, ScenePartRecord{0, 0, kPartDrawn | kPartClickable, 0, 0, 0, 0, 0});
    ASSERT_EQ(Describe(scene, SceneDescriptionBytes(1024, 768, 0, parts, {0, 1})), RES_OK);
    ASSERT_EQ(scene.Init(), RES_OK);
    const uint32_t content = kWrite3dxPositions | kWrite3dxNormals | kWrite3dxColors | kWrite3dxUVs;
    fixture.OpenPak({{"room.3dx", Make3dxBytes(TwoTriangles(0.0f), 16, content)},
                     {"room_hit.3dx", Make3dxBytes(TwoTriangles(300.0f), 8, content)}});

    ASSERT_EQ(scene.Load3DX(scene.GetDisplayObject(), u"room.3dx"), RES_OK);
    ASSERT_EQ(scene.Load3DX(scene.GetCollisionObject(), u"room_hit.3dx"), RES_OK);
    EXPECT_EQ(SceneFixture::Lookups(), (std::vector<std::u16string>{u"room.3dx", u"room_hit.3dx"}));
    C3DObject* display = scene.GetDisplayObject();
    EXPECT_EQ(display->GetPartCount(), 2u);
    EXPECT_EQ(display->GetVertexCount(), 6u);
    EXPECT_EQ(scene.GetCollisionObject()->GetPartCount(), 2u);
    Vector3 corner{};
    ASSERT_EQ(scene.GetCollisionObject()->Lock(), RES_OK);
    scene.GetCollisionObject()->GetPosition(&corner, 4);
    EXPECT_EQ(scene.GetCollisionObject()->Unlock(0), RES_OK);
    EXPECT_FLOAT_EQ(corner.x, 500.0f);

    EXPECT_EQ(scene.HitTestPart(0, 120, 120), RES_OK);
    EXPECT_EQ(scene.HitTestPart(0, 420, 120), RES_FAIL);
    EXPECT_EQ(scene.HitTestPart(1, 420, 120), RES_OK);
    EXPECT_EQ(scene.HitTestPart(1, 120, 120), RES_FAIL);
    EXPECT_EQ(scene.HitTestPart(1, 490, 190), RES_FAIL);  // beyond the slanted edge
}

} // namespace
