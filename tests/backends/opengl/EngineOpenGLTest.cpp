#include <GL/glew.h>

#include <cmath>
#include <cstring>

#include "backends/opengl/CameraOpenGL.h"
#include "backends/opengl/OpenGLHelpers.h"
#include "backends/opengl/RendererModule.h"
#include "backends/opengl/TextureOpenGL.h"
#include "base/WideString.h"
#include "engine3d/Object.h"
#include "engine3d/StencilShadow.h"
#include "tests/backends/opengl/OpenGLFixture.h"

namespace {

class EngineOpenGLTest : public OpenGLFixture {};

// An engine on a rig that is not loaded.
class EngineOpenGLLoadTest : public OpenGLRigTest {};

} // namespace

TEST_F(EngineOpenGLTest, LoadMakesTheContextCurrentAndPublishesItsState)
{
    const COpenGLState& state = Engine()->GetState();
    EXPECT_EQ(Data()->rendererState, &state);
    EXPECT_EQ(state.window, m_rig->Window());
    EXPECT_NE(state.dc, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), state.context);
    EXPECT_EQ(state.glewReady, 1);
    ASSERT_NE(Engine()->GetCamera(), nullptr);
    EXPECT_NE(dynamic_cast<C3DCameraOpenGL*>(Engine()->GetCamera()), nullptr);

    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_STREQ(Engine()->GetDriverVersion(), version);
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    EXPECT_EQ(state.version14, IsVersionAtLeast14(version) ? 1 : 0);
    EXPECT_EQ(state.multitexture, ExtensionTextHas(extensions, "GL_ARB_multitexture") ? 1 : 0);
    GLint fog = 0;
    glGetIntegerv(GL_FOG_MODE, &fog);
    EXPECT_EQ(fog, GL_LINEAR);
}

TEST_F(EngineOpenGLLoadTest, LargestTextureSizeFillsOnlyItsOwnFields)
{
    CWorldData* d = m_rig->Data();
    d->strictPow2 = 0x5A;
    d->lighting[0] = 0x5B;
    ASSERT_EQ(m_rig->Load(), RES_OK);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    EXPECT_EQ(d->maxTextureWidth, static_cast<uint32_t>(largest));
    EXPECT_EQ(d->maxTextureHeight, static_cast<uint32_t>(largest));
    EXPECT_EQ(d->strictPow2, 0x5A);
    EXPECT_EQ(d->lighting[0], 0x5B);
}

TEST_F(EngineOpenGLLoadTest, LoadWithoutWindowFailsWithNoWindowAsLastError)
{
    C3DEngineOpenGL* engine = m_rig->Engine();
    EXPECT_EQ(engine->Load(nullptr), RES_FAIL);
    EXPECT_EQ(m_rig->Data()->lastError, RES_NO_WINDOW);
    EXPECT_EQ(engine->GetCamera(), nullptr);
    EXPECT_EQ(engine->Unload(), RES_OK);
}

TEST_F(EngineOpenGLLoadTest, LoadOnAClosedWindowFindsNoDevice)
{
    HWND window = m_rig->Window();
    m_rig->CloseWindow();
    EXPECT_EQ(m_rig->Engine()->Load(window), RES_FAIL);
    EXPECT_EQ(m_rig->Data()->lastError, RES_NO_DEVICE);
}

TEST_F(EngineOpenGLLoadTest, RegistryFunctionMakesAnOpenGLEngine)
{
    CWorldData data{};
    CBaseObject* module = CreateRendererOpenGL(&data);
    ASSERT_NE(dynamic_cast<C3DEngineOpenGL*>(module), nullptr);
    EXPECT_NE(data.rendererState, nullptr);
    delete module;
    EXPECT_EQ(data.rendererState, nullptr);
}

TEST_F(EngineOpenGLTest, FactoriesRefuseUnknownKinds)
{
    Data()->lastError = 0x1234;
    EXPECT_EQ(Engine()->CreateIndexBuffer(6, 3), nullptr);
    EXPECT_EQ(Data()->lastError, 0x1234);
    EXPECT_EQ(Engine()->CreateObject(0x20, 0), nullptr);
    EXPECT_EQ(Data()->lastError, RES_UNKNOWN_KIND);
    EXPECT_TRUE(Engine()->IsStencilShadowSupported());
}

TEST_F(EngineOpenGLTest, StencilShadowIsListedWithTheShadersAndReleasedAtUnload)
{
    C3DStencilShadow* shadow = Engine()->CreateStencilShadow(2, 0x80000000u);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(Engine()->GetShaderCount(), 1u);
    EXPECT_EQ(Engine()->GetStencilShadowCount(), 0u);
    EXPECT_EQ(m_rig->Unload(), static_cast<uint32_t>(kListShaders));
    EXPECT_EQ(Engine()->GetShaderCount(), 0u);
}

TEST_F(EngineOpenGLTest, UnloadReportsLeftTexturesAndDropsTheContext)
{
    C3DTexture* texture = Engine()->CreateTexture(0, 0);
    const uint8_t pixel[4] = {1, 2, 3, 4};
    ASSERT_EQ(texture->Create(1, 1, 32, pixel, nullptr), RES_OK);
    EXPECT_EQ(Engine()->Unload(), RES_OK);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(Engine()->GetState().context, nullptr);
    EXPECT_EQ(Engine()->LeakedLists(), static_cast<uint32_t>(kListTextures));
}

TEST_F(EngineOpenGLTest, ModeSwitchKeepsTheContextAndItsTextures)
{
    C3DTexture* texture = Engine()->CreateTexture(0, 0);
    const uint8_t pixel[4] = {1, 2, 3, 4};
    ASSERT_EQ(texture->Create(1, 1, 32, pixel, nullptr), RES_OK);
    const GLuint name = static_cast<C3DTextureOpenGL*>(texture)->GetTextureName();
    HGLRC context = Engine()->GetState().context;
    ASSERT_EQ(Engine()->Uninit(1), RES_OK);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    ASSERT_EQ(Engine()->Init(m_rig->Window(), 64, 64, 0, 32, 1), RES_OK);
    EXPECT_EQ(wglGetCurrentContext(), context);
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(Engine()->DestroyTexture(texture), RES_OK);
}

TEST_F(EngineOpenGLTest, DirectionalAndPointLights)
{
    CLightRecord& sun = Data()->lights[0];
    sun.enable[0] = 1;
    sun.type = 0;
    sun.position[0] = 3.0f;
    sun.position[2] = 4.0f;
    sun.diffuseIntensity = 0.5f;
    CLightRecord& lamp = Data()->lights[1];
    lamp.enable[0] = 1;
    lamp.type = 1;
    lamp.position[1] = 7.0f;
    lamp.direction[0] = 9.0f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ASSERT_EQ(Engine()->LightingInit(0xFFFFFFFFu), RES_OK);

    EXPECT_NEAR(sun.direction[0], 0.6f, 1e-6f);
    EXPECT_NEAR(sun.direction[2], 0.8f, 1e-6f);
    float position[4] = {};
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_NEAR(position[0], 0.6f, 1e-6f);
    EXPECT_EQ(position[3], 0.0f);
    float diffuse[4] = {};
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_EQ(diffuse[0], 0.5f);
    EXPECT_EQ(diffuse[3], 1.0f);

    EXPECT_EQ(lamp.direction[0], 0.0f);
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_EQ(position[1], 7.0f);
    EXPECT_EQ(position[3], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));

    lamp.enable[0] = 0;
    EXPECT_EQ(Engine()->LightInit(1), RES_OK);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(Engine()->LightInit(2), RES_FAIL);
}

TEST_F(EngineOpenGLTest, FogAndPointSprites)
{
    Data()->fog.color = 0xFF336699;
    Data()->fog.start = 10.0f;
    Data()->fog.end = 500.0f;
    Data()->fog.density = 0.25f;
    EXPECT_EQ(Engine()->FogingInit(), RES_OK);
    float colour[4] = {};
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_NEAR(colour[0], 0x33 / 255.0f, 1e-6f);
    EXPECT_NEAR(colour[2], 0x99 / 255.0f, 1e-6f);
    float value = 0.0f;
    glGetFloatv(GL_FOG_END, &value);
    EXPECT_EQ(value, 500.0f);

    Data()->pointSpriteMaxSize = 40.0f;
    Data()->pointSpriteMinSize = 2.0f;
    Engine()->GetState().version14 = 0;
    EXPECT_EQ(Engine()->PointSpriteInit(), RES_OK);
    glGetFloatv(GL_POINT_SIZE_MAX, &value);
    EXPECT_NE(value, 40.0f);
    Engine()->GetState().version14 = 1;
    EXPECT_EQ(Engine()->PointSpriteInit(), RES_OK);
    glGetFloatv(GL_POINT_SIZE_MAX, &value);
    EXPECT_EQ(value, 40.0f);
    glGetFloatv(GL_POINT_SIZE_MIN, &value);
    EXPECT_EQ(value, 2.0f);
}
