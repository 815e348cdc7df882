#pragma once
#include <vector>

#include "platform/d3d8/D3D8.h"
#include "tests/support/platform/D3D8TestHooks.h"
#include "tests/platform/PlatformTestHelpers.h"
#include "tests/support/D3D8Scenarios.h"

// Present parameters for the window: desktop format, lockable back buffer, D24S8.
D3DPRESENT_PARAMETERS D3D8WindowedParameters(IDirect3D8* direct3D, HWND window, UINT width, UINT height);

// A window and a windowed device on it, released at the end of each test.
class D3D8Test : public PlatformTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // D3D8WindowedParameters for the test's window.
    D3DPRESENT_PARAMETERS Windowed(UINT width, UINT height) const;
    // Makes m_device (HAL, hardware vertex processing unless told otherwise).
    HRESULT MakeDevice(UINT width = D3D8Scenarios::kWidth, UINT height = D3D8Scenarios::kHeight,
                       DWORD flags = D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DDEVTYPE type = D3DDEVTYPE_HAL);
    void ReleaseDevice();

    // The back buffer read through the lockable render target, rows from the top.
    std::vector<D3DCOLOR> ReadBack();
    D3DCOLOR Pixel(int x, int y);

    IDirect3D8* m_direct3D = nullptr;
    IDirect3DDevice8* m_device = nullptr;
    HWND m_window = nullptr;
};

// Draws the scenario with the device (back buffer kWidth x kHeight) through Direct3D 8 calls.
void D3D8DrawScenario(IDirect3DDevice8* device, const D3D8Scenarios::CScenario& scenario);

// Screen-space vertex formats and a matrix that maps pixels like transformed vertices.
struct CD3D8ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kD3D8ScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
D3DMATRIX D3D8PixelProjection(UINT width, UINT height);
// Every texel of a 2 x 2 texture's first level set to the colour.
void D3D8FillTexture2x2(IDirect3DTexture8* texture, D3DCOLOR color);
