#include "tests/support/OpenGLTestRig.h"

#include <GL/gl.h>

#include <cstdlib>
#include <unistd.h>

#include "backends/opengl/EngineOpenGL.h"
#include "core/WideString.h"
#include "engine3d/Camera.h"
#include "platform/Win32Window.h"
#include "tests/support/WorldDataDefaults.h"

namespace {

constexpr DWORD kWindowStyle = 0x06CA0000;

LRESULT RigProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Near(uint8_t value, uint8_t expected)
{
    const int difference = static_cast<int>(value) - static_cast<int>(expected);
    return difference >= -1 && difference <= 1;
}

} // namespace

OpenGLTestRig::OpenGLTestRig(uint16_t width, uint16_t height) : m_data(std::make_unique<CWorldData>())
{
    CWorldData* d = m_data.get();
    SetDefaultWorld(d, &m_math, width, height);
    d->alphaBlending[0] = d->alphaBlending[1] = 1;
    d->rendererSwitch[0] = d->rendererSwitch[1] = 1;
    d->pointSpriteAttenuation[0] = 1.0f;

    m_className = Utf8ToUtf16("OpenGLTestRig-" + std::to_string(getpid()));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RigProc;
    windowClass.lpszClassName = m_className.c_str();
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, m_className.c_str(), u"OpenGL test", kWindowStyle, 0, 0, width, height,
                               GetDesktopWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_window)
        ShowWindow(m_window, SW_SHOW);
    m_engine = std::make_unique<C3DEngineOpenGL>(d);
}

OpenGLTestRig::~OpenGLTestRig()
{
    Unload();
    m_engine.reset();
    CloseWindow();
    UnregisterClassW(m_className.c_str(), GetModuleHandleW(nullptr));
    PlatformShutdown();
}

bool OpenGLTestRig::HasDisplay()
{
    const char* display = getenv("DISPLAY");
    return display && *display;
}

Result OpenGLTestRig::Load()
{
    const Result result = m_engine->Load(m_window);
    if (Failed(result))
        return result;
    CWorldData* d = m_data.get();
    C3DCamera* camera = m_engine->GetCamera();
    camera->ResetView();
    camera->SetScreenRotation(d->orientation);
    camera->SetViewport(0, 0, d->configuredWidth, d->configuredHeight);
    return RES_OK;
}

uint32_t OpenGLTestRig::Unload()
{
    if (!m_unloaded && m_engine) {
        m_engine->Unload();
        m_unloaded = true;
    }
    return m_engine ? m_engine->LeakedLists() : 0;
}

void OpenGLTestRig::CloseWindow()
{
    if (m_window) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
}

RgbPixel OpenGLTestRig::ReadPixel(int x, int y) const
{
    unsigned char rgba[4] = {};
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, m_data->configuredHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return RgbPixel{rgba[0], rgba[1], rgba[2]};
}

std::string Describe(const RgbPixel& pixel)
{
    return std::to_string(pixel.r) + ", " + std::to_string(pixel.g) + ", " + std::to_string(pixel.b);
}

bool NearlyEqual(const RgbPixel& pixel, uint8_t r, uint8_t g, uint8_t b)
{
    return Near(pixel.r, r) && Near(pixel.g, g) && Near(pixel.b, b);
}
