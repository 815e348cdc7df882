#pragma once
#include "platform/d3d8/D3D8.h"

// The Direct3D object: one adapter, the desktop's display mode, and devices drawing through
// OpenGL. The reference device type makes the same device with the reference caps.
class CD3D8 final : public IDirect3D8 {
public:
    CD3D8() = default;
    CD3D8(const CD3D8&) = delete;
    CD3D8& operator=(const CD3D8&) = delete;

    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override;
    UINT GetAdapterCount() override { return 1; }
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) override;

private:
    ~CD3D8() override;

    HRESULT DoCreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                           D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device);

    ULONG m_references = 1;
};

// The desktop's display mode as Direct3D describes it; false without a display.
bool D3D8DesktopMode(D3DDISPLAYMODE& mode);
// The caps this layer gives a device of that type.
D3DCAPS8 D3D8OwnCaps(D3DDEVTYPE type);
// The caps a device of that type reports: its own, or the harness's instead.
D3DCAPS8 D3D8DeviceCaps(D3DDEVTYPE type);
