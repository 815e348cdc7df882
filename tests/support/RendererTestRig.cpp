#include "tests/support/RendererTestRig.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "base/WideString.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/DisplayCheck.h"
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

RendererTestRig::RendererTestRig(uint16_t width, uint16_t height) : m_data(std::make_unique<CWorldData>())
{
    CWorldData* d = m_data.get();
    SetDefaultWorld(d, &m_math, width, height);
    d->alphaBlending[0] = d->alphaBlending[1] = 1;
    d->rendererSwitch[0] = d->rendererSwitch[1] = 1;
    d->pointSpriteAttenuation[0] = 1.0f;
}

RendererTestRig::~RendererTestRig()
{
    Close();
    PlatformShutdown();
}

void RendererTestRig::OpenWindow(const std::string& className, const char16_t* title)
{
    m_className = Utf8ToUtf16(className + "-" + std::to_string(getpid()));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RigProc;
    windowClass.lpszClassName = m_className.c_str();
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, m_className.c_str(), title, kWindowStyle, 0, 0, m_data->configuredWidth,
                               m_data->configuredHeight, GetDesktopWindow(), nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    if (m_window)
        ShowWindow(m_window, SW_SHOW);
}

void RendererTestRig::SetEngine(std::unique_ptr<C3DEngine> engine)
{
    m_engine = std::move(engine);
}

void RendererTestRig::Close()
{
    Unload();
    m_engine.reset();
    CloseWindow();
    if (!m_className.empty()) {
        UnregisterClassW(m_className.c_str(), GetModuleHandleW(nullptr));
        m_className.clear();
    }
}

bool RendererTestRig::HasDisplay()
{
    return ::HasDisplay();
}

Result RendererTestRig::Load()
{
    const Result result = m_engine->Load(m_window);
    if (Failed(result))
        return result;
    CWorldData* d = m_data.get();
    C3DCamera* camera = m_engine->GetCamera();
    const Result reset = camera->ResetView();
    camera->SetScreenRotation(d->orientation);
    const Result viewport = camera->SetViewport(0, 0, d->configuredWidth, d->configuredHeight);
    if (Failed(reset))
        return reset;
    return Failed(viewport) ? viewport : RES_OK;
}

uint32_t RendererTestRig::Unload()
{
    if (!m_unloaded && m_engine) {
        EXPECT_EQ(m_engine->Unload(), RES_OK);
        m_unloaded = true;
    }
    return m_engine ? m_engine->LeakedLists() : 0;
}

void RendererTestRig::CloseWindow()
{
    if (m_window) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
}

std::string Describe(const RgbPixel& pixel)
{
    return std::to_string(pixel.r) + ", " + std::to_string(pixel.g) + ", " + std::to_string(pixel.b);
}

bool NearlyEqual(const RgbPixel& pixel, uint8_t r, uint8_t g, uint8_t b)
{
    return Near(pixel.r, r) && Near(pixel.g, g) && Near(pixel.b, b);
}
