#include <GL/glew.h>

#include <string>

#include "backends/opengl/ShaderOpenGL.h"
#include "core/PackerFile.h"
#include "engine3d/Object.h"
#include "tests/backends/opengl/OpenGLFixture.h"
#include "tests/support/OpenGLShaderShadowScene.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/ShaderSceneFixture.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

namespace {

std::string ConstantShader(const char* rgba)
{
    return std::string("void main() { gl_FragColor = vec4(") + rgba + "); }\n";
}

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

class ShaderOpenGLTest : public ShaderSceneFixture<OpenGLFixture, C3DShaderOpenGL> {
protected:
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

} // namespace

TEST_F(ShaderOpenGLTest, EachSourceShowsItsShaderInThePixels)
{
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.5, 0.0, 1.0"), u"Data\\Shaders\\orange.fs"), RES_OK);
    EXPECT_NE(shader->GetShaderObject(), 0u);
    EXPECT_NE(shader->GetProgramObject(), 0u);
    EXPECT_EQ(std::u16string(shader->GetName()), u"orange.fs");
    DrawBound();
    ExpectPixel(32, 32, 0xFF8000);
    EXPECT_EQ(CurrentProgram(), 0);

    CPakWriter writer;
    ASSERT_EQ(writer.Add("shaders\\green.fs", ConstantShader("0.0, 1.0, 0.0, 1.0")), RES_OK);
    ASSERT_EQ(writer.Add("shaders\\other.fs", "not read"), RES_OK);
    PakTestFile pak(writer.Bytes());
    ASSERT_EQ(FindPackerEntry(u"shaders\\green.fs", pak.Record()), RES_OK);
    ASSERT_EQ(shader->LoadFromPacker(pak.Record()), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"shaders\\green.fs");
    DrawBound();
    ExpectPixel(32, 32, 0x00FF00);

    TempDir dir;
    dir.Write("Shaders/blue.fs", ConstantShader("0.0, 0.0, 1.0, 1.0"));
    ASSERT_EQ(shader->LoadFromFile(dir.WideFile("Shaders/blue.fs").c_str()), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"blue.fs");
    DrawBound();
    ExpectPixel(32, 32, 0x0000FF);

    // After Unbind the fixed pipeline draws the square's own colour.
    ASSERT_EQ(square->Render(), RES_OK);
    ExpectPixel(32, 32, 0xFFFFFF);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

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

TEST_F(ShaderOpenGLTest, BrokenShaderFailsCleanly)
{
    const std::string broken[] = {"void main() { gl_FragColor = ; }\n",  // does not compile
                                  "vec4 Shade() { return vec4(1.0); }\n",  // compiles, no main to link
                                  ""};
    for (const std::string& text : broken) {
        ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), u"red.fs"), RES_OK);
        EXPECT_EQ(LoadText(text, u"broken.fs"), RES_FAIL) << text;
        EXPECT_EQ(shader->GetShaderObject(), 0u);
        EXPECT_EQ(shader->GetProgramObject(), 0u);
        EXPECT_EQ(std::u16string(shader->GetName()), u"broken.fs");
        DrawBound();  // Bind and Unbind do nothing: the fixed pipeline draws
        ExpectPixel(32, 32, 0xFFFFFF);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    RecordingTarget target;
    shader->Apply(&target, &target);
    EXPECT_TRUE(target.calls.empty());

    // A good source loads again on the same shader.
    ASSERT_EQ(LoadText(ConstantShader("1.0, 0.0, 0.0, 1.0"), nullptr), RES_OK);
    EXPECT_EQ(std::u16string(shader->GetName()), u"broken.fs");
    DrawBound();
    ExpectPixel(32, 32, 0xFF0000);
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
