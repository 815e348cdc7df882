#include <GL/gl.h>

#include "platform/win32/GLContext.h"
#include "tests/platform/PlatformTestHelpers.h"

namespace {

constexpr DWORD kWindowed = 0x06CA0000;
constexpr DWORD kFullscreen = 0x96080000;

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

PIXELFORMATDESCRIPTOR Wanted()
{
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = 40;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_STEREO_DONTCARE;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cDepthBits = 32;
    wanted.cStencilBits = 8;
    return wanted;
}

HDC PreparedDc(HWND window)
{
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR wanted = Wanted();
    int format = ChoosePixelFormat(dc, &wanted);
    if (format == 0 || !SetPixelFormat(dc, format, &wanted))
        return nullptr;
    return dc;
}

// Clears the back buffer and reads the middle pixel back.
void ClearAndRead(float red, float green, float blue, unsigned char pixel[4])
{
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    glReadBuffer(GL_BACK);
    glReadPixels(20, 20, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

class GLContextTest : public PlatformTest {
protected:
    void SetUp() override
    {
        if (!HasDisplay())
            GTEST_SKIP() << "needs an X display";
    }
};

} // namespace

TEST_F(GLContextTest, WindowIsClearedThroughTheContextAndReadBack)
{
    HWND window = MakeWindow(PlainProc, kWindowed, 64, 48);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    HDC dc = PreparedDc(window);
    ASSERT_NE(dc, nullptr);
    PIXELFORMATDESCRIPTOR described{};
    EXPECT_EQ(DescribePixelFormat(dc, 1, sizeof(described), &described), 1);
    EXPECT_FALSE(described.dwFlags & PFD_NEED_PALETTE);
    EXPECT_EQ(described.cStencilBits, 8);

    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);  // creating does not make it current
    EXPECT_EQ(GLGetVersionString(), nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_EQ(wglGetCurrentDC(), dc);
    ASSERT_NE(GLGetVersionString(), nullptr);
    EXPECT_STREQ(GLGetVersionString(), reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    unsigned char pixel[4] = {};
    ClearAndRead(1.0f, 0.0f, 0.0f, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(GLGetVersionString(), nullptr);
    EXPECT_FALSE(SwapBuffers(dc));
    EXPECT_TRUE(wglDeleteContext(context));
    EXPECT_FALSE(wglDeleteContext(context));
}

TEST_F(GLContextTest, ContextOutlivesAWindowRecreatedForFullScreen)
{
    HWND window = MakeWindow(PlainProc, kWindowed, 64, 48);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    HDC dc = PreparedDc(window);
    HGLRC context = wglCreateContext(dc);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    unsigned char texel[4] = {1, 2, 3, 4};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);

    // The switch as the window code does it: release, destroy, re-create, set the mode, bind.
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(WindowFromDC(dc), nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HWND fullscreen = CreateWindowExW(0, m_className.c_str(), u"Platform test", kFullscreen, 0, 0, width, height,
                                      GetDesktopWindow(), nullptr, nullptr, nullptr);
    ASSERT_NE(fullscreen, nullptr);
    EXPECT_TRUE(IsWindowVisible(fullscreen));  // WS_VISIBLE
    DEVMODEW mode{};
    mode.dmSize = 212;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = 32;
    EXPECT_EQ(ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    mode.dmPelsWidth = 123;
    mode.dmPelsHeight = 77;
    EXPECT_EQ(ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);

    HDC newDc = PreparedDc(fullscreen);
    ASSERT_NE(newDc, nullptr);
    EXPECT_FALSE(wglMakeCurrent(dc, context));  // the old device context is gone
    ASSERT_TRUE(wglMakeCurrent(newDc, context));
    EXPECT_TRUE(glIsTexture(texture));
    unsigned char pixel[4] = {};
    ClearAndRead(0.0f, 1.0f, 0.0f, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_TRUE(SwapBuffers(newDc));

    // Shutdown order of the program: window first, the renderer's context afterwards.
    EXPECT_EQ(ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    ASSERT_TRUE(DestroyWindow(fullscreen));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
}
