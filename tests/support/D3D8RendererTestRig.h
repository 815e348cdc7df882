#pragma once
#include <cstdint>

#include "platform/d3d8/D3D8.h"
#include "tests/support/RendererTestRig.h"

class C3DEngineDX81;

// The rig with a Direct3D 8 engine, windowed, 32-bit colour. The destructor also puts the
// Direct3D 8 test hooks back.
class D3D8RendererTestRig : public RendererTestRig {
public:
    explicit D3D8RendererTestRig(uint16_t width = 64, uint16_t height = 64);
    ~D3D8RendererTestRig();

    C3DEngineDX81* Engine() const;
    // The engine's device, null before Load.
    IDirect3DDevice8* Device() const;

    // The back buffer's pixel at (x, y) from the top left, read through the lockable render target.
    RgbPixel ReadPixel(int x, int y) const;
};

// The back buffer of a device at (x, y) from the top left; black when it cannot be read.
RgbPixel D3D8BackBufferPixel(IDirect3DDevice8* device, int x, int y);
