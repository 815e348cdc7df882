#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "backends/opengl/EngineOpenGL.h"
#include "backends/opengl/RendererModule.h"
#include "core/BuiltinSettings.h"
#include "world/ModuleRegistry.h"
#include "core/ParamsReader.h"
#include "base/WideString.h"
#include "world/World.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/OpenGLTestRig.h"

namespace {

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// The world with the OpenGL module chosen, on the built-in engine settings, as start-up runs it.
TEST(WorldFramesOpenGLTest, WorldRunsFramesAtTheConfiguredSize)
{
    if (!OpenGLTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    const std::u16string className = Utf8ToUtf16("WorldFramesOpenGL-" + std::to_string(getpid()));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className.c_str(), u"World", 0x06CA0000, 0, 0, 320, 240, GetDesktopWindow(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);

    CParamsText settings(kEngineSettingsText, kEngineSettingsLength);
    CWorld world;
    world.SetParameters(&settings, nullptr, nullptr, nullptr, 0, nullptr, nullptr);
    world.GetData()->chosenModules[kModule3D] =
        CModuleEntry{FindModuleDescriptor(kModule3D, kModuleId3DOpenGL), CreateRendererOpenGL, ReleaseModule};
    ASSERT_EQ(world.Load(window, 320, 240, 32, 0, 0, 0, 1, u"Data_full_Win32\\", 0, 0), RES_OK);
    ASSERT_NE(dynamic_cast<C3DEngineOpenGL*>(world.Get3DEngine()), nullptr);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(world.OnFrame(), RES_OK);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    world.Get3DEngine()->BeginFrame();
    unsigned char pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(160, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const uint32_t clear = world.GetData()->clearColor;
    EXPECT_TRUE(NearlyEqual(RgbPixel{pixel[0], pixel[1], pixel[2]}, static_cast<uint8_t>(clear >> 16),
                            static_cast<uint8_t>(clear >> 8), static_cast<uint8_t>(clear)));

    EXPECT_EQ(world.Release(), RES_OK);
    EXPECT_EQ(world.Get3DEngine(), nullptr);
    DestroyWindow(window);
    UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr));
    PlatformShutdown();
}
