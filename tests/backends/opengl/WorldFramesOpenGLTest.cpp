#include <GL/glew.h>
#include <gtest/gtest.h>

#include <utility>

#include "backends/opengl/EngineOpenGL.h"
#include "backends/opengl/RendererModule.h"
#include "tests/support/WorldFramesTests.h"
#include "world/ModuleRegistry.h"

// The OpenGL renderer chosen directly; OpenGL counts no presents.
struct OpenGLWorldFrames {
    static void Choose(CWorld& world)
    {
        world.GetData()->chosenModules[kModule3D] =
            CModuleEntry{FindModuleDescriptor(kModule3D, kModuleId3DOpenGL), CreateRendererOpenGL, ReleaseModule};
    }
    static bool IsRenderer(C3DEngine* engine) { return dynamic_cast<C3DEngineOpenGL*>(engine) != nullptr; }
    static void ExpectPresented(CWorld&, int) {}
    static std::pair<int, int> Viewport(CWorld&)
    {
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        return {viewport[2], viewport[3]};
    }
    // A frame begun, so the clear shows in the back buffer.
    static RgbPixel CentrePixel(CWorld& world)
    {
        EXPECT_EQ(world.Get3DEngine()->BeginFrame(), RES_OK);
        unsigned char pixel[4] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(160, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return RgbPixel{pixel[0], pixel[1], pixel[2]};
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(OpenGL, WorldFramesTest, ::testing::Types<OpenGLWorldFrames>);
