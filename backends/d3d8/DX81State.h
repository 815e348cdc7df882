#pragma once
#include <cstdint>

#include "platform/d3d8/D3D8.h"

struct CWorldData;

constexpr uint32_t kDX81LightCount = 2;

// What the Direct3D 8 engine shares with every object, buffer, texture and camera it makes: the
// window first, then the device creation choices, the Direct3D object, the desktop mode, the
// present parameters, the device caps, the device and the two light descriptions. The engine
// publishes its address as the data block's renderer state.
struct CDX81State {
    HWND window;
    DWORD preferredFlags;
    DWORD behaviourFlags;  // of the device actually made
    uint8_t referenceDevice;  // 1 once the reference rasteriser is tried
    IDirect3D8* direct3D;
    D3DDISPLAYMODE desktopMode;
    D3DPRESENT_PARAMETERS presentation;
    D3DCAPS8 caps;
    IDirect3DDevice8* device;
    D3DLIGHT8 lights[kDX81LightCount];
};

// The renderer state of the data block; null while no Direct3D 8 engine published one.
CDX81State* DX81StateOf(const CWorldData* data);
// The engine's device; null before Load made one or after Unload.
IDirect3DDevice8* DX81DeviceOf(const CWorldData* data);
