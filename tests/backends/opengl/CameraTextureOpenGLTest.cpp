#include <GL/glew.h>

#include <string>

#include "backends/opengl/TextureOpenGL.h"
#include "engine3d/Camera.h"
#include "engine3d/Object.h"
#include "tests/backends/opengl/OpenGLFixture.h"

namespace {

class CameraOpenGLTest : public OpenGLFixture {
protected:
    // A full-screen quad in one colour, drawn through the screen projection.
    void DrawFullScreen(uint32_t colour)
    {
        C3DObject* object = Engine()->CreateObject(kFormatColorTex, kObjectStateBlock);
        ASSERT_EQ(object->Create(1, 4, 4), RES_OK);
        ASSERT_EQ(object->Lock(), RES_OK);
        object->SetVertex(0, 0, 0, 0, colour, 0, 0, 0, 0, 0, 0);
        object->SetVertex(1, 64, 0, 0, colour, 1, 0, 0, 0, 0, 0);
        object->SetVertex(2, 0, 64, 0, colour, 0, 1, 0, 0, 0, 0);
        object->SetVertex(3, 64, 64, 0, colour, 1, 1, 0, 0, 0, 0);
        object->ResetIndices();
        EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 4, 0, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId),
                  RES_OK);
        EXPECT_EQ(object->Unlock(1), RES_OK);
        EXPECT_EQ(object->Render(), RES_OK);
        EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    }

    C3DCamera* Camera() { return Engine()->GetCamera(); }
};

class TextureOpenGLTest : public OpenGLFixture {};

} // namespace

TEST_F(CameraOpenGLTest, ScissorBoxCountsFromTheBottomOfTheConfiguration)
{
    Data()->configuredHeight = 768;
    ASSERT_EQ(Camera()->SetScissor(0, 0, 100, 50), RES_OK);
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 0);
    EXPECT_EQ(box[1], 718);
    EXPECT_EQ(box[2], 100);
    EXPECT_EQ(box[3], 50);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    ASSERT_EQ(Camera()->DisableScissor(), RES_OK);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(CameraOpenGLTest, ScissorLimitsDrawingToTheBoxFromTheTop)
{
    Data()->clearColor = 0xFF000000;
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    ASSERT_EQ(Camera()->SetScissor(8, 8, 16, 16), RES_OK);
    DrawFullScreen(0xFF00FF00);
    EXPECT_EQ(Camera()->DisableScissor(), RES_OK);
    ExpectPixel(16, 16, 0x00FF00);
    ExpectPixel(4, 4, 0x000000);
    ExpectPixel(16, 40, 0x000000);
    ExpectPixel(40, 16, 0x000000);
}

TEST_F(CameraOpenGLTest, ViewportMapsTheScreenIntoItsRectangle)
{
    Data()->clearColor = 0xFF000000;
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    ASSERT_EQ(Camera()->SetViewport(32, 0, 32, 32), RES_OK);  // OpenGL counts y from the bottom
    DrawFullScreen(0xFFFF0000);
    EXPECT_EQ(Camera()->SetFullViewport(), RES_OK);
    ExpectPixel(48, 48, 0xFF0000);
    ExpectPixel(48, 16, 0x000000);
    ExpectPixel(16, 48, 0x000000);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
}

TEST_F(CameraOpenGLTest, ProjectionsLoadTheDataBlockMatrices)
{
    Matrix4 loaded{};
    EXPECT_EQ(Camera()->ApplyProjection(), RES_OK);
    glGetFloatv(GL_PROJECTION_MATRIX, loaded.m);
    EXPECT_TRUE(Data()->math->Equals(&loaded, &Data()->matrices[kMatrixProjection]));
    EXPECT_EQ(Camera()->ApplyScreenProjection(), RES_OK);
    glGetFloatv(GL_PROJECTION_MATRIX, loaded.m);
    EXPECT_TRUE(Data()->math->Equals(&loaded, &Data()->matrices[kMatrixScreen]));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_EQ(Camera()->SetGamma(), RES_OK);
}

TEST_F(TextureOpenGLTest, FormatsAndFailures)
{
    const uint8_t pixels[16] = {};
    const struct {
        uint8_t bits;
        uint32_t sampling;
        GLint internal;
    } cases[] = {{8, 0, GL_LUMINANCE}, {8, kSampleAlpha, GL_ALPHA8}, {16, 0, GL_LUMINANCE_ALPHA}, {24, 0, GL_RGB},
                 {32, 0, GL_RGBA}};
    for (const auto& c : cases) {
        C3DTexture* texture = Engine()->CreateTexture(kTextureRepeatU, c.sampling);
        ASSERT_EQ(texture->Create(2, 2, c.bits, pixels, u"data\\img\\c.png"), RES_OK);
        EXPECT_EQ(texture->GetBits(), c.bits);
        EXPECT_TRUE(texture->GetName() && std::u16string(texture->GetName()) == u"c.png");
        GLint internal = 0;
        GLint wrapS = 0;
        GLint wrapT = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        if (c.internal == GL_ALPHA8) {
            EXPECT_EQ(internal, GL_ALPHA8);
        }
        EXPECT_EQ(wrapS, GL_REPEAT);
        EXPECT_EQ(wrapT, GL_CLAMP_TO_EDGE);
        EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
    }
    C3DTextureOpenGL* texture = static_cast<C3DTextureOpenGL*>(Engine()->CreateTexture(0, 0));
    EXPECT_EQ(texture->Create(2, 2, 12, pixels, nullptr), RES_FAIL);
    EXPECT_EQ(texture->Create(2, 2, 32, nullptr, nullptr), RES_FAIL);
    EXPECT_EQ(texture->GetTextureName(), 0u);
    EXPECT_EQ(texture->CopyFrom(0, 0, 0, 0), RES_FAIL);  // no image to copy into
    EXPECT_EQ(texture->GetPixel(0.5f, 0.5f), 0u);
    ASSERT_EQ(texture->Create(2, 2, 32, pixels, nullptr), RES_OK);
    const uint32_t first = texture->GetTextureName();
    ASSERT_EQ(texture->Create(2, 2, 32, pixels, nullptr), RES_OK);  // the first name is given back
    EXPECT_FALSE(glIsTexture(first) && first != texture->GetTextureName());
    EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(TextureOpenGLTest, ApplyBlendsOnlyForAlphaTexturesOfBlendingObjects)
{
    const uint8_t pixels[4] = {};
    C3DTexture* alpha = Engine()->CreateTexture(0, kSampleAlpha | kSampleAdditive | kSampleProjected);
    ASSERT_EQ(alpha->Create(1, 1, 32, pixels, nullptr), RES_OK);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    alpha->Apply(kObjectAlphaBlend, 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_Q));
    Matrix4 modelView{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    EXPECT_TRUE(Data()->math->IsIdentity(&modelView));  // the projected mode keeps the matrix

    Data()->alphaBlending[0] = 0;
    alpha->Apply(kObjectAlphaBlend, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    Data()->alphaBlending[0] = 1;
    alpha->Apply(0, 0);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));

    C3DTexture* replace = Engine()->CreateTexture(0, kSampleReplace);
    ASSERT_EQ(replace->Create(1, 1, 32, pixels, nullptr), RES_OK);
    replace->Apply(kObjectAlphaBlend, 0);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_REPLACE);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_Q));
    EXPECT_EQ(Engine()->DestroyTexture(alpha), RES_OK);
    EXPECT_EQ(Engine()->DestroyTexture(replace), RES_OK);
}
