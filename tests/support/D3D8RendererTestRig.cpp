#include "tests/support/D3D8RendererTestRig.h"

#include <cstring>
#include <memory>

#include "backends/d3d8/EngineDX81.h"
#include "tests/support/platform/D3D8TestHooks.h"
#include "tests/support/platform/TestSwitches.h"

D3D8RendererTestRig::D3D8RendererTestRig(uint16_t width, uint16_t height) : RendererTestRig(width, height)
{
    Data()->gammaInitial = 128;
    SetFocusAssumed(true);
    OpenWindow("D3D8RendererTestRig", u"Direct3D 8 test");
    SetEngine(std::make_unique<C3DEngineDX81>(Data()));
}

D3D8RendererTestRig::~D3D8RendererTestRig()
{
    Close();
    D3D8ResetTestHooks();
    ResetTestSwitches();
}

C3DEngineDX81* D3D8RendererTestRig::Engine() const
{
    return static_cast<C3DEngineDX81*>(BaseEngine());
}

IDirect3DDevice8* D3D8RendererTestRig::Device() const
{
    return Engine() ? Engine()->GetState().device : nullptr;
}

RgbPixel D3D8RendererTestRig::ReadPixel(int x, int y) const
{
    return D3D8BackBufferPixel(Device(), x, y);
}

RgbPixel D3D8BackBufferPixel(IDirect3DDevice8* device, int x, int y)
{
    RgbPixel pixel{0, 0, 0};
    IDirect3DSurface8* target = nullptr;
    if (!device || device->GetRenderTarget(&target) < 0 || !target)
        return pixel;
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    const bool fourBytes = target->GetDesc(&desc) >= 0 &&
                           (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8);
    const bool inside = x >= 0 && y >= 0 && static_cast<UINT>(x) < desc.Width && static_cast<UINT>(y) < desc.Height;
    if (fourBytes && inside && target->LockRect(&locked, nullptr, D3DLOCK_READONLY) >= 0) {
        D3DCOLOR colour = 0;
        memcpy(&colour, static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y + x * 4u,
               sizeof colour);
        pixel = RgbPixel{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                         static_cast<uint8_t>(colour)};
        target->UnlockRect();
    }
    target->Release();
    return pixel;
}
