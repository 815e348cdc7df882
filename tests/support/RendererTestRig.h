#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/Math3D.h"
#include "base/Result.h"
#include "core/WorldData.h"
#include "platform/win32/Win32Types.h"

class C3DEngine;

struct RgbPixel {
    uint8_t r, g, b;
};

// A shown window of the platform layer and an engine for it, over a zeroed data block holding
// what the renderer reads: a configuration the size of the window, scale 1, alpha blending and the
// depth-write switch on, lights and fog off, identity matrices, the math helper. Load does what
// the world's load does for the renderer: the engine's Load, then the camera's view, screen
// rotation and full viewport. The destructor unloads the engine, closes the window and shuts the
// platform down.
class RendererTestRig {
public:
    RendererTestRig(const RendererTestRig&) = delete;
    RendererTestRig& operator=(const RendererTestRig&) = delete;

    static bool HasDisplay();

    Result Load();
    // Unloads once; answers the EngineList bits of the lists that still held entries.
    uint32_t Unload();

    CWorldData* Data() { return m_data.get(); }
    const CWorldData* Data() const { return m_data.get(); }
    HWND Window() const { return m_window; }
    // Destroys the window before Load, so that Load finds no device context.
    void CloseWindow();

protected:
    RendererTestRig(uint16_t width, uint16_t height);
    ~RendererTestRig();

    // Shows the window of a class named after the rig and the process.
    void OpenWindow(const std::string& className, const char16_t* title);
    // Takes the engine made for Data().
    void SetEngine(std::unique_ptr<C3DEngine> engine);
    C3DEngine* BaseEngine() const { return m_engine.get(); }
    // Unloads and destroys the engine, closes the window and withdraws its class; once.
    void Close();

private:
    CMath3D m_math;
    std::unique_ptr<CWorldData> m_data;
    std::unique_ptr<C3DEngine> m_engine;
    std::u16string m_className;
    HWND m_window = nullptr;
    bool m_unloaded = false;
};

// "r, g, b" for test messages.
std::string Describe(const RgbPixel& pixel);
// True when every channel is within one step of the expected value.
bool NearlyEqual(const RgbPixel& pixel, uint8_t r, uint8_t g, uint8_t b);
