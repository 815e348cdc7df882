#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/Math3D.h"
#include "core/Result.h"
#include "core/WorldData.h"
#include "platform/D3D8.h"
#include "tests/support/OpenGLTestRig.h"

class C3DEngineDX81;

// A shown window of the platform layer and a Direct3D 8 engine for it, over a zeroed data block
// holding what the renderer reads: a windowed configuration the size of the window, 32-bit
// colour, scale 1, alpha blending and the depth-write switch on, lights and fog off, identity
// matrices, the math helper. Load does what the world's load does for the renderer: the engine's
// Load, then the camera's view, screen rotation and full viewport. The destructor unloads the
// engine, closes the window, puts the Direct3D 8 test hooks back and shuts the platform down.
class D3D8RendererTestRig {
public:
    explicit D3D8RendererTestRig(uint16_t width = 64, uint16_t height = 64);
    ~D3D8RendererTestRig();
    D3D8RendererTestRig(const D3D8RendererTestRig&) = delete;
    D3D8RendererTestRig& operator=(const D3D8RendererTestRig&) = delete;

    static bool HasDisplay();

    Result Load();
    // Unloads once; answers the EngineList bits of the lists that still held entries.
    uint32_t Unload();

    CWorldData* Data() { return m_data.get(); }
    C3DEngineDX81* Engine() { return m_engine.get(); }
    HWND Window() const { return m_window; }
    // The engine's device, null before Load.
    IDirect3DDevice8* Device() const;

    // The back buffer's pixel at (x, y) from the top left, read through the lockable render target.
    RgbPixel ReadPixel(int x, int y) const;

private:
    CMath3D m_math;
    std::unique_ptr<CWorldData> m_data;
    std::unique_ptr<C3DEngineDX81> m_engine;
    std::u16string m_className;
    HWND m_window = nullptr;
    bool m_unloaded = false;
};

// The back buffer of a device at (x, y) from the top left; black when it cannot be read.
RgbPixel D3D8BackBufferPixel(IDirect3DDevice8* device, int x, int y);
