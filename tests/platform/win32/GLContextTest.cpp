#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <string>

#include "platform/win32/GLContext.h"
#include "platform/win32/Win32System.h"
#include "tests/platform/PlatformTestHelpers.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/X11Desktop.h"

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
    // Any size shows, scaled; no size at all and colour depths no display has do not.
    mode.dmPelsWidth = 0;
    EXPECT_EQ(ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmBitsPerPel = 8;
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

namespace {

// Waits, a bounded while, for a message of that number from the display.
bool AwaitMessage(UINT number, MSG* message)
{
    for (int tries = 0; tries < 200; ++tries) {
        if (PeekMessageW(message, nullptr, number, number, PM_REMOVE))
            return true;
        Sleep(10);
    }
    return false;
}

// A full-screen window of a 640 x 480 mode on a 1280 x 1024 display, drawn green on its left half
// and red on its right: what the screen shows, where the pointer lands, and the window once the
// desktop's mode is back; printed for the test to compare.
int ShowScaledWindow(const std::string& display)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.lpszClassName = u"ScaledWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, u"ScaledWindow", u"scaled", kFullscreen, 0, 0, 640, 480, GetDesktopWindow(),
                                  nullptr, nullptr, nullptr);
    DEVMODEW mode{212, DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT, 32, 640, 480, 0};
    if (!window || ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        return 2;
    HDC dc = PreparedDc(window);
    HGLRC context = dc ? wglCreateContext(dc) : nullptr;
    if (!context || !wglMakeCurrent(dc, context))
        return 3;
    RECT client{};
    GetClientRect(window, &client);
    int width = 0, height = 0;
    GLWindowSize(&width, &height);
    fprintf(stderr, "screen %dx%d client %ldx%ld image %dx%d%s\n", GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN), static_cast<long>(client.right), static_cast<long>(client.bottom), width,
            height, GLWindowFramebuffer() ? " apart" : "");
    for (int frame = 0; frame < 3; ++frame) {
        glViewport(0, 0, 640, 480);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 320, 480);
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        SwapBuffers(dc);
        DrainQueue();
    }
    ScreenImage screen;
    if (!GrabScreen(&screen, display))
        return 4;
    fprintf(stderr, "bars %06x %06x halves %06x %06x\n", screen.At(640, 10), screen.At(640, 1013), screen.At(400, 500),
            screen.At(900, 500));
    MSG moved{};
    MovePointer(900, 500, display);
    if (!AwaitMessage(WM_MOUSEMOVE, &moved))
        return 5;
    fprintf(stderr, "pointer %d,%d\n", GET_X_LPARAM(moved.lParam), GET_Y_LPARAM(moved.lParam));
    ChangeDisplaySettingsW(nullptr, 0);
    GLint drawn = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    RECT placed{};
    GetWindowRect(window, &placed);
    fprintf(stderr, "desktop %dx%d window %ldx%ld drawn into %d\n", GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN), static_cast<long>(placed.right - placed.left),
            static_cast<long>(placed.bottom - placed.top), drawn);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    return 0;
}

} // namespace

// A mode the display lacks is shown scaled to fit, its aspect kept (1280 / 640 = 2, so 1280 x 960
// between black bars of 32 rows), and the pointer comes back through the same scale and offset.
// Once the desktop's mode returns, the window is drawn into directly again.
TEST_F(GLContextTest, AModeTheDisplayLacksIsShownLetterBoxedAndThePointerComesBack)
{
    if (!PrivateDisplay::ServerInstalled())
        GTEST_SKIP() << "needs Xvfb";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrivateDisplay display("1280x1024");
            ScopedEnv onDisplay("DISPLAY", display.Name().c_str());
            int result = ShowScaledWindow(display.Name());
            PlatformShutdown();
            exit(result);
        },
        testing::ExitedWithCode(0),
        testing::ContainsRegex("screen 640x480 client 640x480 image 640x480 apart\n"
                               "bars 000000 000000 halves 00ff00 ff0000\n"
                               "pointer 450,234\n"
                               "desktop 1280x1024 window 640x480 drawn into 0\n"));
}
