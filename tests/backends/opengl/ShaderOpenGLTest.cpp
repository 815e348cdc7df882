#include <GL/glew.h>

#include <string>
#include <vector>

#include "backends/opengl/ShaderOpenGL.h"
#include "engine3d/Object.h"
#include "tests/backends/opengl/OpenGLFixture.h"
#include "tests/support/OpenGLShaderShadowScene.h"
#include "tests/support/ShaderSceneTests.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSamplers =
    "uniform sampler2D Texture0;\nuniform sampler2D Texture1;\nuniform sampler2D Texture2;\n"
    "void main() {\n  vec2 c = vec2(0.5, 0.5);\n"
    "  gl_FragColor = vec4(texture2D(Texture0, c).r, texture2D(Texture1, c).g, texture2D(Texture2, c).b, 1.0);\n}\n";

// Sets a GLEW global for the scope and puts the old value back.
template <typename T>
class GlewOverride {
public:
    GlewOverride(T& slot, T value) : m_slot(slot), m_saved(slot) { m_slot = value; }
    ~GlewOverride() { m_slot = m_saved; }
    GlewOverride(const GlewOverride&) = delete;
    GlewOverride& operator=(const GlewOverride&) = delete;

private:
    T& m_slot;
    T m_saved;
};

} // namespace

class ShaderOpenGLTest : public ShaderSceneFixture<OpenGLFixture, C3DShaderOpenGL> {
protected:
    static std::string ConstantShader(const char* rgba)
    {
        return std::string("void main() { gl_FragColor = vec4(") + rgba + "); }\n";
    }
    static const char* Suffix() { return ".fs"; }
    static std::vector<std::string> BrokenSources()
    {
        return {"void main() { gl_FragColor = ; }\n",  // does not compile
                "vec4 Shade() { return vec4(1.0); }\n",  // compiles, no main to link
                ""};
    }

    void ExpectDeviceShader(bool held)
    {
        EXPECT_EQ(shader->GetShaderObject() != 0, held);
        EXPECT_EQ(shader->GetProgramObject() != 0, held);
    }
    void ExpectNoneBound() { EXPECT_EQ(CurrentProgram(), 0); }
    void ExpectDeviceShaders(uint32_t) { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    void SetUp() override
    {
        ShaderSceneFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(HasShaderObjects(Data()));
        square = MakeScreenSquare(Engine(), 64.0f, 0xFFFFFFFF);
        ASSERT_NE(square, nullptr);
    }

    void TearDown() override
    {
        if (m_rig) {
            EXPECT_EQ(Engine()->DestroyObject(square), RES_OK);
        }
        ShaderSceneFixture::TearDown();
    }

    // The text followed by bytes the load must not read.
    Result LoadText(const std::string& text, const char16_t* name)
    {
        const std::string padded = text + "}}} not shader text";
        return shader->LoadFromAddress(padded.data(), static_cast<uint32_t>(text.size()), name);
    }

    void DrawSquare() override { ASSERT_EQ(square->Render(), RES_OK); }

    GLint CurrentProgram() { return static_cast<GLint>(glGetHandleARB(GL_PROGRAM_OBJECT_ARB)); }

    C3DObject* square = nullptr;
};

INSTANTIATE_TYPED_TEST_SUITE_P(OpenGL, ShaderSceneTest, ::testing::Types<ShaderOpenGLTest>);

TEST_F(ShaderOpenGLTest, BindPointsTheSamplersAtTheirStages)
{
    ASSERT_TRUE(HasMultitexture(Data()));
    C3DTexture* red = MakeTexelTexture(Engine(), 0xFFFF0000);
    C3DTexture* green = MakeTexelTexture(Engine(), 0xFF00FF00);
    C3DTexture* blue = MakeTexelTexture(Engine(), 0xFF0000FF);
    ASSERT_TRUE(red && green && blue);
    ASSERT_EQ(LoadText(kSamplers, u"samplers.fs"), RES_OK);
    DrawBound(red, green, blue);
    ExpectPixel(32, 32, 0xFFFFFF);
    DrawBound(blue, green, red);
    ExpectPixel(32, 32, 0x00FF00);

    // Without textures only the program and the samplers are set: the stages keep their textures.
    DrawBound();
    ExpectPixel(32, 32, 0x00FF00);
    DrawBound(red);
    ExpectPixel(32, 32, 0xFFFF00);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    for (C3DTexture* texture : {red, green, blue})
        EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(ShaderOpenGLTest, MissingExtensionFailsCleanly)
{
    const std::string text = ConstantShader("1.0, 0.0, 0.0, 1.0");
    {
        GlewOverride<GLboolean> extension(__GLEW_ARB_shader_objects, GL_FALSE);
        EXPECT_FALSE(HasShaderObjects(Data()));
        Data()->lastError = RES_OK;
        EXPECT_EQ(LoadText(text, u"red.fs"), RES_NO_DEVICE);
        EXPECT_EQ(Data()->lastError, RES_NO_DEVICE);
    }
    {
        GlewOverride<PFNGLCREATESHADEROBJECTARBPROC> entry(__glewCreateShaderObjectARB, nullptr);
        EXPECT_FALSE(HasShaderObjects(Data()));
        EXPECT_EQ(LoadText(text, u"red.fs"), RES_NO_DEVICE);
    }
    EXPECT_EQ(shader->GetProgramObject(), 0u);
    DrawBound();
    ExpectPixel(32, 32, 0xFFFFFF);
    ASSERT_EQ(LoadText(text, u"red.fs"), RES_OK);
}

TEST_F(ShaderOpenGLTest, ReloadAndReleaseDeleteTheObjects)
{
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.fs"), RES_OK);
    const GLhandleARB firstProgram = shader->GetProgramObject();
    ASSERT_EQ(LoadText(ConstantShader("0.0, 0.0, 1.0, 1.0"), u"blue.fs"), RES_OK);
    GLint deleted = 0;
    glGetObjectParameterivARB(firstProgram, GL_OBJECT_DELETE_STATUS_ARB, &deleted);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));  // no such object any more
    DrawBound();
    ExpectPixel(32, 32, 0x0000FF);

    ASSERT_NO_FATAL_FAILURE(ExpectApplyPassesTheValue());

    EXPECT_EQ(shader->Release(), RES_OK);
    EXPECT_EQ(shader->GetProgramObject(), 0u);
    EXPECT_EQ(shader->GetShaderObject(), 0u);
    EXPECT_EQ(shader->GetName(), nullptr);
    EXPECT_EQ(shader->Release(), RES_OK);
}
