#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/Math3D.h"
#include "core/Result.h"
#include "core/WorldData.h"
#include "platform/Win32Types.h"

class C3DEngineOpenGL;

struct RgbPixel {
    uint8_t r, g, b;
};

// A shown window of the platform layer and an OpenGL engine for it, over a zeroed data block
// holding what the renderer reads: a configuration the size of the window, scale 1, alpha
// blending and the depth-write switch on, lights and fog off, identity matrices, the math
// helper. Load does what the world's load does for the renderer: the engine's Load, then the
// camera's view, screen rotation and full viewport. The destructor unloads the engine, closes
// the window and shuts the platform down.
class OpenGLTestRig {
public:
    explicit OpenGLTestRig(uint16_t width = 64, uint16_t height = 64);
    ~OpenGLTestRig();
    OpenGLTestRig(const OpenGLTestRig&) = delete;
    OpenGLTestRig& operator=(const OpenGLTestRig&) = delete;

    static bool HasDisplay();

    Result Load();
    // Unloads once; answers the EngineList bits of the lists that still held entries.
    uint32_t Unload();

    CWorldData* Data() { return m_data.get(); }
    C3DEngineOpenGL* Engine() { return m_engine.get(); }
    HWND Window() const { return m_window; }
    // Destroys the window before Load, so that Load finds no device context.
    void CloseWindow();

    // The back buffer's pixel at (x, y) counted from the top left.
    RgbPixel ReadPixel(int x, int y) const;

private:
    CMath3D m_math;
    std::unique_ptr<CWorldData> m_data;
    std::unique_ptr<C3DEngineOpenGL> m_engine;
    std::u16string m_className;
    HWND m_window = nullptr;
    bool m_unloaded = false;
};

// "r, g, b" for test messages.
std::string Describe(const RgbPixel& pixel);
// True when every channel is within one step of the expected value.
bool NearlyEqual(const RgbPixel& pixel, uint8_t r, uint8_t g, uint8_t b);
