#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/PrimitiveParams.h"
#include "engine3d/Texture.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PrimitiveProbe.h"
#include "tests/support/TempDir.h"
#include "tests/support/VectorExpect.h"

namespace {

constexpr float kTol = 1e-5f;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kTexturedB = kTextureStage0 | kTextureStage1;

class MergeTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (C3DObject* object : objects)
            EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        for (C3DTexture* texture : textures)
            EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
        EXPECT_TRUE(engine->Misuses().empty());
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    C3DObject* Make(uint32_t flagsB = 0, uint32_t flagsA = kFormatNormalTex)
    {
        C3DObject* object = engine->CreateObject(flagsA, flagsB);
        objects.push_back(object);
        return object;
    }

    // A one-part 1 x 1 grid of 4 vertices and 6 indices in the X-Z plane, 2 x 2 wide.
    C3DObject* Plane(uint32_t flagsB = 0)
    {
        C3DObject* object = Make(flagsB);
        PlaneParams plane{2, 2, 1, 1, kAxisXZ, kRed, 0x11u, 1, 1};
        EXPECT_EQ(object->CreatePrimitive(kShapePlane, &plane), RES_OK);
        return object;
    }

    // A one-part fan of 5 vertices and 5 indices, diameter 2, in the X-Y plane.
    C3DObject* Disc(uint32_t flagsB = 0)
    {
        C3DObject* object = Make(flagsB);
        DiscParams disc{2, 3, 0, kAxisXY, 0, kBlue, 0x22u, 1, 1};
        EXPECT_EQ(object->CreatePrimitive(kShapeDisc, &disc), RES_OK);
        return object;
    }

    // The creator's reference stays with the test until TearDown.
    C3DTexture* Texture(const char16_t* name, uint32_t flags = 0, uint32_t parameter = 0x52)
    {
        C3DTexture* texture = engine->CreateTexture(flags, parameter);
        EXPECT_EQ(texture->Create(2, 2, 32, nullptr, name), RES_OK);
        textures.push_back(texture);
        return texture;
    }

    void Forget(C3DObject* object)
    {
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        objects.erase(std::find(objects.begin(), objects.end(), object));
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    std::vector<C3DObject*> objects;
    std::vector<C3DTexture*> textures;
};

TEST_F(MergeTest, TwoOnePartObjectsBecomeOneTwoPartObjectInPlace)
{
    C3DObject* plane = Plane();
    C3DObject* disc = Disc();
    const Vector3 shift{10, 0, 0};
    ASSERT_EQ(plane->SetTranslation(&shift), RES_OK);
    ASSERT_EQ(disc->Scale3(2, 3, 4), RES_OK);
    C3DObject* target = Make(0, kFormatNormalTex | kSmoothNormalsPending);
    ASSERT_EQ(target->SetTranslation(&shift), RES_OK);

    C3DObject* sources[] = {plane, disc};
    ASSERT_EQ(target->MergeObjects(sources, 2, nullptr), RES_OK);
    EXPECT_EQ(target->GetPartCount(), 2u);
    EXPECT_EQ(target->GetVertexCount(), 9u);
    EXPECT_EQ(target->GetActiveIndexBuffer()->GetIndexCount(), 11u);
    EXPECT_EQ(target->GetFlagsA() & kSmoothNormalsPending, 0u);
    EXPECT_EQ(target->GetMatrix()->m[12], 0.0f) << "the release put back the identity";

    const ObjectSnapshot s = TakeSnapshot(target);
    ASSERT_EQ(s.records.size(), 2u);
    const C3DPrimitiveGroup& first = s.records[0];
    EXPECT_EQ(first.firstVertex, 0u);
    EXPECT_EQ(first.vertexCount, 4u);
    EXPECT_EQ(first.indexCount, 6u);
    EXPECT_EQ(first.primitiveType, kPrimitiveTriangleList);
    const C3DPrimitiveGroup& second = s.records[1];
    EXPECT_EQ(second.id, 1u);
    EXPECT_EQ(second.firstVertex, 4u);
    EXPECT_EQ(second.vertexCount, 5u);
    EXPECT_EQ(second.firstIndex, 6u);
    EXPECT_EQ(second.indexCount, 5u);
    EXPECT_EQ(second.primitiveCount, 3u);
    EXPECT_EQ(second.primitiveType, kPrimitiveTriangleFan);
    // Indices keep counting from their part's first vertex.
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{2, 0, 1, 2, 1, 3, 0, 1, 2, 3, 4}));

    // Plane vertex 0 lies at (-1, 0, 1), moved by 10 along X; normals stay as they were.
    EXPECT_VEC3(s.vertices[0].position, 9, 0, 1);
    EXPECT_VEC3(s.vertices[0].normal, 0, 1, 0);
    EXPECT_EQ(s.vertices[0].colour, kRed);
    EXPECT_EQ(s.vertices[0].specular, 0x11u);
    EXPECT_NEAR(s.vertices[3].uv.x, 1.0f, kTol);
    // Disc rim vertex 1 at a third of a turn, (sin, cos) x 1, scaled by (2, 3, 4).
    EXPECT_VEC3(s.vertices[5].position, 2 * 0.8660254f, 3 * -0.5f, 0);
    EXPECT_VEC3(s.vertices[5].normal, 0, 0, -1);
    EXPECT_EQ(s.vertices[5].colour, kBlue);

    engine->ClearDraws();
    EXPECT_EQ(target->Render(), RES_OK);
    ASSERT_EQ(engine->DrawsOf(target).size(), 2u);
    EXPECT_EQ(engine->DrawsOf(target)[1].record.firstVertex, 4u);
}

TEST_F(MergeTest, CullCodeOfEachPartComesFromItsSourceFlags)
{
    struct Case {
        uint32_t flagsB;
        uint32_t cull;
    };
    const Case cases[] = {{kLoadCullNone | kLoadCullClockwise, kCullNone},
                          {kLoadCullClockwise, kCullClockwise},
                          {kLoadCullCounterClockwise, kCullCounterClockwise},
                          {kLoadCullCounterClockwise | kLoadCullClockwise, kCullClockwise},
                          {0, kCullCounterClockwiseAlt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flagsB);
        C3DObject* source = Plane();
        source->SetCullMode(0, kCullCounterClockwiseAlt);
        source->SetFlagsB(c.flagsB);
        C3DObject* target = Make();
        ASSERT_EQ(target->MergeObjects(&source, 1, nullptr), RES_OK);
        EXPECT_EQ(target->GetCullMode(0), c.cull);
    }
}

TEST_F(MergeTest, MaterialsGoWithTheirParts)
{
    C3DObject* plane = Plane();
    C3DObject* disc = Disc();
    disc->GetMaterial(0)->diffuse[0] = 0.25f;
    disc->GetMaterial(0)->power = 3.0f;
    C3DObject* target = Make();
    C3DObject* sources[] = {plane, disc};
    ASSERT_EQ(target->MergeObjects(sources, 2, nullptr), RES_OK);
    EXPECT_EQ(target->GetMaterial(0)->diffuse[0], 1.0f);
    EXPECT_EQ(target->GetMaterial(1)->diffuse[0], 0.25f);
    EXPECT_EQ(target->GetMaterial(1)->power, 3.0f);
}

TEST_F(MergeTest, SharedTexturesAreTheSourcesOwnAndOutliveEitherObject)
{
    for (bool sourceFirst : {true, false}) {
        SCOPED_TRACE(sourceFirst);
        C3DTexture* wood = Texture(u"wood.png");
        C3DTexture* glow = Texture(u"glow.png");
        C3DObject* plane = Plane();
        C3DObject* disc = Disc();
        ASSERT_EQ(plane->SetPartTexture(wood, 0, 0), RES_OK);
        ASSERT_EQ(disc->SetPartTexture(glow, 0, 1), RES_OK);
        C3DObject* target = Make(kTexturedB);
        C3DObject* sources[] = {plane, disc};
        ASSERT_EQ(target->MergeObjects(sources, 2, nullptr), RES_OK);
        EXPECT_EQ(target->GetTexture(0, 0), wood);
        EXPECT_EQ(target->GetTexture(1, 1), glow);
        EXPECT_EQ(target->GetTexture(0, 1), nullptr);
        EXPECT_EQ(engine->GetTextureRefCount(wood), 3u);

        engine->ClearDraws();
        EXPECT_EQ(target->Render(), RES_OK);
        ASSERT_EQ(engine->DrawsOf(target).size(), 2u);
        EXPECT_EQ(engine->DrawsOf(target)[0].textures[0], wood);
        EXPECT_EQ(engine->DrawsOf(target)[1].textures[1], glow);

        Forget(sourceFirst ? plane : target);
        EXPECT_EQ(engine->GetTextureRefCount(wood), 2u);
        Forget(sourceFirst ? target : plane);
        EXPECT_EQ(engine->GetTextureRefCount(wood), 1u);
        Forget(disc);
        EXPECT_EQ(engine->GetTextureRefCount(glow), 1u);
    }
}

TEST_F(MergeTest, WithAFolderTexturesAreLoadedByNameAndAMissingOneFailsTheMerge)
{
    TempDir dir;
    dir.Write("wood.png", "not decoded by the memory renderer");
    const std::u16string folder = dir.WideFile("");
    C3DTexture* wood = Texture(u"wood.png", kTextureRepeatU, 0x77);
    C3DTexture* lost = Texture(u"lost.png");
    C3DObject* plane = Plane();
    C3DObject* disc = Disc();
    ASSERT_EQ(plane->SetPartTexture(wood, 0, 0), RES_OK);
    ASSERT_EQ(disc->SetPartTexture(lost, 0, 0), RES_OK);
    C3DObject* target = Make(kTexturedB);

    C3DObject* sources[] = {plane, disc};
    EXPECT_EQ(target->MergeObjects(sources, 2, folder.c_str()), RES_FAIL);
    EXPECT_EQ(target->GetPartCount(), 2u);
    EXPECT_EQ(target->GetVertexCount(), 9u);
    C3DTexture* loaded = target->GetTexture(0, 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded, wood);
    EXPECT_EQ(loaded->GetFlags(), kTextureRepeatU);
    EXPECT_EQ(loaded->GetParameter(), 0x77u);
    EXPECT_EQ(std::u16string(loaded->GetName()), u"wood.png");
    EXPECT_EQ(target->GetTexture(1, 0), nullptr);
    EXPECT_EQ(std::u16string(renderer.Data()->scratch), dir.WideFile("lost.png"));
    EXPECT_EQ(engine->GetTextureRefCount(wood), 2u);
}

TEST_F(MergeTest, UnusableSourcesAreRefusedBeforeTheTargetIsTouched)
{
    C3DObject* plane = Plane();
    C3DObject* empty = Make();
    C3DObject* target = Disc();
    const Vector3 shift{0, 7, 0};
    ASSERT_EQ(target->SetTranslation(&shift), RES_OK);

    C3DObject* withNull[] = {plane, nullptr};
    C3DObject* withTarget[] = {plane, target};
    C3DObject* withEmpty[] = {plane, empty};
    EXPECT_EQ(target->MergeObjects(withNull, 2, nullptr), RES_FAIL);
    EXPECT_EQ(target->MergeObjects(withTarget, 2, nullptr), RES_FAIL);
    EXPECT_EQ(target->MergeObjects(withEmpty, 2, nullptr), RES_FAIL);
    EXPECT_EQ(target->MergeObjects(nullptr, 1, nullptr), RES_FAIL);
    EXPECT_EQ(target->CreateNormalLines(withNull, 2, 1, kRed), RES_FAIL);
    EXPECT_EQ(target->CreateNormalLines(withTarget, 2, 1, kRed), RES_FAIL);
    EXPECT_EQ(target->GetVertexCount(), 5u);
    EXPECT_EQ(target->GetMatrix()->m[13], 7.0f);

    engine->Failures().FailNth(MemoryOp::CreateIndexBuffer, 1);
    EXPECT_EQ(target->MergeObjects(&plane, 1, nullptr), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateIndexBuffer, 1);
    EXPECT_EQ(target->CreateNormalLines(&plane, 1, 1, kRed), RES_FAIL);
    EXPECT_EQ(target->MergeObjects(&plane, 1, nullptr), RES_OK);
}

TEST_F(MergeTest, NormalLinesStartAtPlacedVerticesAndFollowTheNormals)
{
    C3DObject* ball = Make();
    SphereParams sphere{2, 3, kRed, 0};
    ASSERT_EQ(ball->CreatePrimitive(kShapeSphere, &sphere), RES_OK);
    const Vector3 up{0, 5, 0};
    ASSERT_EQ(ball->SetTranslation(&up), RES_OK);
    C3DObject* box = Make();
    BoxParams block{1, 1, 1, 0, kRed, 0, 0, 1};
    ASSERT_EQ(box->CreatePrimitive(kShapeBox, &block), RES_OK);
    ASSERT_EQ(box->ScaleUniform(3), RES_OK);
    C3DObject* target = Make(0, kFormatNormalTex | kFlatNormalsPending);

    C3DObject* sources[] = {ball, box};
    ASSERT_EQ(target->CreateNormalLines(sources, 2, 0.5f, kBlue), RES_OK);
    EXPECT_EQ(target->GetFlagsA() & kFlatNormalsPending, 0u);
    const ObjectSnapshot s = TakeSnapshot(target);
    ASSERT_EQ(s.vertices.size(), 76u);
    ASSERT_EQ(s.records.size(), 1u);
    const C3DPrimitiveGroup& r = s.records[0];
    EXPECT_EQ(r.vertexCount, 76u);
    EXPECT_EQ(r.indexCount, 76u);
    EXPECT_EQ(r.primitiveCount, 38u);
    EXPECT_EQ(r.primitiveType, kPrimitiveLineList);
    EXPECT_EQ(r.cullCode, kCullNone);
    for (uint32_t i = 0; i < 76; ++i)
        EXPECT_EQ(s.indices[i], i);

    // Sphere top pole (0, 2, 0) moved up by 5; its normal (0, 1, 0).
    EXPECT_VEC3(s.vertices[0].position, 0, 7, 0);
    EXPECT_VEC3(s.vertices[1].position, 0, 7.5f, 0);
    EXPECT_EQ(s.vertices[1].colour, kBlue);
    EXPECT_VEC3(s.vertices[1].normal, 0, 0, 0);
    // Box vertex 0: (-1, 1, 1) scaled by 3, normal (0, 0, 1) unscaled.
    EXPECT_VEC3(s.vertices[28].position, -3, 3, 3);
    EXPECT_VEC3(s.vertices[29].position, -3, 3, 3.5f);
}

} // namespace
