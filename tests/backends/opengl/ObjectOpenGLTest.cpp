#include <GL/glew.h>

#include <cstring>

#include "backends/opengl/ObjectIndexOpenGL.h"
#include "backends/opengl/ObjectOpenGLFormats.h"
#include "engine3d/Texture.h"
#include "tests/backends/opengl/OpenGLFixture.h"

namespace {

constexpr uint32_t kScreen = kFormatColorTex;
constexpr uint32_t kState = kObjectStateBlock;

class ObjectOpenGLTest : public OpenGLFixture {
protected:
    // A quad in parts quads, each a strip of four vertices filling a band of the 64 x 64 screen
    // (or of clip space for the formats with normals), unlocked with the given flag.
    C3DObjectOpenGL* MakeQuads(uint32_t flagsA, uint32_t flagsB, uint32_t colour, uint32_t parts = 1,
                               uint8_t rebuild = 1)
    {
        C3DObject* object = Engine()->CreateObject(flagsA, flagsB);
        EXPECT_NE(object, nullptr);
        EXPECT_EQ(object->Create(parts, 4 * parts, 4 * parts), RES_OK);
        const bool screen = (flagsA & kFormatColorTex) != 0;
        const float width = screen ? 64.0f : 2.0f;
        const float left = screen ? 0.0f : -1.0f;
        EXPECT_EQ(object->Lock(), RES_OK);
        for (uint32_t p = 0; p < parts; ++p) {
            const float top = screen ? 64.0f * p / parts : 1.0f - 2.0f * p / parts;
            const float bottom = screen ? 64.0f * (p + 1) / parts : 1.0f - 2.0f * (p + 1) / parts;
            const float corners[4][4] = {{left, top, 0, 0}, {left + width, top, 1, 0}, {left, bottom, 0, 1},
                                         {left + width, bottom, 1, 1}};
            for (uint32_t c = 0; c < 4; ++c)
                object->SetVertex(4 * p + c, corners[c][0], corners[c][1], 0.5f, colour, corners[c][2],
                                  corners[c][3], 0.0f, 0.0f, -1.0f, 0);
            object->FillIndexRange(4 * p, 4);
            EXPECT_EQ(
                object->SetPrimitiveGroup(p, 4 * p, 4, 4 * p, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId),
                RES_OK);
        }
        EXPECT_EQ(object->Unlock(rebuild), RES_OK);
        return static_cast<C3DObjectOpenGL*>(object);
    }

    // 2 x 2, 32 bits: bottom row red, green; top row blue, white.
    C3DTexture* FourColourTexture()
    {
        static const uint8_t pixels[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
        C3DTexture* texture = Engine()->CreateTexture(0, 0x0B);
        EXPECT_EQ(texture->Create(2, 2, 32, pixels, nullptr), RES_OK);
        return texture;
    }

    void ExpectFourColours()
    {
        ExpectPixel(16, 16, 0x0000FF);
        ExpectPixel(48, 16, 0xFFFFFF);
        ExpectPixel(16, 48, 0xFF0000);
        ExpectPixel(48, 48, 0x00FF00);
    }

    void BeginBlackFrame()
    {
        Data()->clearColor = 0xFF000000;
        EXPECT_EQ(Engine()->BeginFrame(), RES_OK);
    }
};

} // namespace

TEST_F(ObjectOpenGLTest, FormatBitPicksTheClass)
{
    const struct {
        uint32_t flagsA;
        uint8_t size;
    } formats[] = {{kFormatNormalTex | kFormatColorTex, 40}, {kFormatNormalTex2, 48}, {kFormatColor, 16}, {kScreen, 24}};
    for (const auto& format : formats) {
        C3DObject* object = Engine()->CreateObject(format.flagsA, 0);
        ASSERT_NE(object, nullptr);
        ASSERT_EQ(object->Create(1, 3, 3), RES_OK);
        uint8_t size = 0;
        object->GetVertexSize(&size);
        EXPECT_EQ(size, format.size);
        EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    }
    C3DObject* object = Engine()->CreateObject(kFormatNormalTex | kFormatColorTex, 0);
    EXPECT_NE(dynamic_cast<C3DObjectOpenGLNormalTex*>(object), nullptr);
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
}

TEST_F(ObjectOpenGLTest, VerticesKeepTheOpenGLConvention)
{
    C3DObject* object = Engine()->CreateObject(kScreen, 0);
    ASSERT_EQ(object->Create(1, 2, 2), RES_OK);
    ASSERT_EQ(object->Lock(), RES_OK);
    const Vector2 uv{0.25f, 0.75f};
    object->SetUV(1, &uv);
    object->SetVertexColor(1, 0x80FF0000u);
    Vector2 read{};
    object->GetUV(&read, 1);
    EXPECT_EQ(read.x, 0.25f);
    EXPECT_EQ(read.y, 0.75f);
    EXPECT_EQ(object->GetVertexColor(1), 0x80FF0000u);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    uint8_t size = 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(object->GetVertexSize(&size)) + size;
    float storedV = 0.0f;
    memcpy(&storedV, bytes + 20, sizeof storedV);
    EXPECT_EQ(storedV, 0.25f);
    EXPECT_EQ(bytes[12], 0xFF);
    EXPECT_EQ(bytes[13], 0x00);
    EXPECT_EQ(bytes[14], 0x00);
    EXPECT_EQ(bytes[15], 0x80);
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
}

TEST_F(ObjectOpenGLTest, DisplayListsAreCompiledAtUnlockAndDeletedWithTheObject)
{
    C3DObjectOpenGL* object = MakeQuads(kScreen, kState, 0xFFFFFFFF, 2);
    C3DObjectIndexBaseOpenGL* index = object->GetOpenGLIndex();
    ASSERT_NE(index, nullptr);
    const GLuint first = index->GetList(0);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(index->GetList(1), first + 1);
    EXPECT_TRUE(glIsList(first));
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    EXPECT_FALSE(glIsList(first));
    EXPECT_FALSE(glIsList(first + 1));
}

TEST_F(ObjectOpenGLTest, TextureFactorObjectDrawsInItsOwnColourFromArrays)
{
    C3DObjectOpenGL* object = MakeQuads(kScreen | kForce32BitIndices, kState | kObjectTextureFactor, 0xFF00FF00);
    EXPECT_TRUE(object->GetFlagsA() & kObjectTextureFactor);
    EXPECT_EQ(object->GetOpenGLIndex()->GetList(0), 0u);
    uint8_t kind = 0;
    EXPECT_EQ(object->GetIndexKind(&kind), RES_OK);
    EXPECT_EQ(kind, kIndexKind32);
    BeginBlackFrame();
    object->SetColor(0xFFFF0000);
    EXPECT_EQ(object->Render(), RES_OK);
    ExpectPixel(32, 32, 0xFF0000);
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
}

TEST_F(ObjectOpenGLTest, StateBlockRenderLeavesDepthTestLessWithWrites)
{
    C3DObjectOpenGL* object = MakeQuads(kScreen, kState, 0xFFFFFFFF);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    EXPECT_EQ(object->Render(), RES_OK);
    GLint function = 0;
    GLboolean writes = GL_FALSE;
    glGetIntegerv(GL_DEPTH_FUNC, &function);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(function, GL_LESS);
    EXPECT_EQ(writes, GL_TRUE);
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
}

TEST_F(ObjectOpenGLTest, ListsWithoutMultitextureCarryStageZeroCoordinates)
{
    Engine()->GetState().multitexture = 0;
    C3DTexture* texture = FourColourTexture();
    C3DObjectOpenGL* object = MakeQuads(kScreen, kState | kTextureStage0 | kTextureStage1, 0xFFFFFFFF, 1, 0);
    EXPECT_EQ(object->SetTextureAll(texture, 0), RES_OK);
    EXPECT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->Unlock(1), RES_OK);
    ASSERT_NE(object->GetOpenGLIndex()->GetList(0), 0u);
    BeginBlackFrame();
    EXPECT_EQ(object->Render(), RES_OK);
    ExpectFourColours();
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(ObjectOpenGLTest, PartStateThenDrawVerticesDrawsThePart)
{
    C3DTexture* texture = FourColourTexture();
    C3DObjectOpenGL* object = MakeQuads(kScreen, kState | kTextureStage0 | kObjectTextureFactor, 0xFF00FF00, 1, 1);
    EXPECT_EQ(object->SetTextureAll(texture, 0), RES_OK);
    BeginBlackFrame();
    ASSERT_EQ(object->ApplyPartState(0), RES_OK);
    EXPECT_EQ(object->DrawVertices(0, 0, 2, 0, -1), RES_OK);
    object->EndDraw();
    ExpectFourColours();
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(ObjectOpenGLTest, FormatsWithNormalsDrawThroughTheProjection)
{
    for (uint32_t flagsA : {kFormatNormalTex, kFormatNormalTex2}) {
        for (uint32_t flagsB : {kState, kState | kObjectTextureFactor}) {
            C3DObjectOpenGL* object = MakeQuads(flagsA, flagsB, 0xFF0000FF);
            object->SetColor(0xFF0000FF);
            Data()->math->Identity(&Data()->matrices[kMatrixProjection]);
            BeginBlackFrame();
            EXPECT_EQ(object->Render(), RES_OK);
            ExpectPixel(32, 32, 0x0000FF);
            EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
        }
    }
}

TEST_F(ObjectOpenGLTest, RecordsReachingPastTheBuffersDrawNothing)
{
    C3DObjectOpenGL* object = MakeQuads(kScreen, kState, 0xFFFFFFFF, 2, 0);
    ASSERT_EQ(object->Lock(), RES_OK);
    object->SetIndex(1, 200);  // part 0 names a vertex past the end
    // Part 1 names record 9, which does not exist.
    EXPECT_EQ(object->SetPrimitiveGroup(1, 4, 4, 4, 4, 2, kPrimitiveTriangleStrip, kCullNone, 9), RES_OK);
    EXPECT_EQ(object->Unlock(1), RES_OK);
    EXPECT_EQ(object->GetOpenGLIndex()->GetList(0), 0u);
    BeginBlackFrame();
    EXPECT_EQ(object->Render(), RES_OK);
    ExpectPixel(32, 16, 0x000000);
    ExpectPixel(32, 48, 0x000000);

    C3DObjectOpenGL* arrays = MakeQuads(kScreen, kState | kObjectTextureFactor, 0xFFFFFFFF, 1, 0);
    ASSERT_EQ(arrays->Lock(), RES_OK);
    EXPECT_EQ(arrays->SetPrimitiveGroup(0, 0, 4, 2, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId), RES_OK);
    EXPECT_EQ(arrays->Unlock(0), RES_OK);
    EXPECT_EQ(arrays->Render(), RES_OK);
    ExpectPixel(32, 32, 0x000000);
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    EXPECT_EQ(Engine()->DestroyObject(arrays), RES_OK);
}
