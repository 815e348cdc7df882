#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/d3d8/D3D8.h"
#include "platform/d3d8/D3D8DeviceStats.h"
#include "platform/d3d8/D3D8Harness.h"
#include "platform/d3d8/D3D8Object.h"
#include "platform/d3d8/D3D8State.h"
#include "platform/d3d8/D3D8StateBlock.h"

// Test hooks of the Direct3D 8 layer: a call trace, a view of a device's state, and faults.
// They reach the layer through its harness, installed when a test program starts; every hook is
// process-wide and off until used, and D3D8ResetTestHooks puts them all back.

// ---- Call trace -------------------------------------------------------------------------------
// One entry per call of an interface method or utility function, with its arguments as numbers:
// objects by their number (D3D8ObjectNumber, 0 for null), other pointers as 1 (0 for null),
// floats by their bits.
struct CD3D8TraceCall {
    std::string name;  // "IDirect3DDevice8::SetRenderState", or a function: "D3DXCreateTexture"
    std::vector<uint64_t> args;
    HRESULT result;

    std::string Text() const;  // "IDirect3DDevice8::SetRenderState(27, 1) = 0x00000000"
};

void D3D8TraceStart();  // forgets what was recorded and records from now on
void D3D8TraceStop();
const std::vector<CD3D8TraceCall>& D3D8TraceCalls();
size_t D3D8TraceCount(const char* name);
uint64_t D3D8ObjectNumber(const void* object);

// ---- State inspection -------------------------------------------------------------------------
struct CD3D8DeviceInfo {
    D3DDEVTYPE type;
    DWORD behaviourFlags;
    HWND focusWindow;
    D3DPRESENT_PARAMETERS presentation;
    bool inScene;
    bool recording;       // between BeginStateBlock and EndStateBlock
    UINT liveResources;   // textures and buffers the caller still holds
    UINT stateBlocks;
    UINT pixelShaders;
    CD3D8DeviceStats stats;
    bool drawsOnWindow;  // the back buffer is the window's own
};

// The state as the device holds it (pure devices included).
const CD3D8State& D3D8InspectState(IDirect3DDevice8* device);
CD3D8DeviceInfo D3D8InspectDevice(IDirect3DDevice8* device);
// Null for a token that names no state block.
const CD3D8StateBlock* D3D8InspectStateBlock(IDirect3DDevice8* device, DWORD token);
// The OpenGL fragment program a pixel shader was translated to; empty for an unknown handle.
std::string D3D8InspectPixelShader(IDirect3DDevice8* device, DWORD handle);

// ---- Faults -----------------------------------------------------------------------------------
void D3D8FailDirect3DCreate(bool fail);
// CreateDevice with this device type and exactly these behaviour flags fails with the result.
void D3D8FailCreateDevice(D3DDEVTYPE type, DWORD behaviourFlags, HRESULT result);
// A device made with this type and these flags starts in the given loss state.
void D3D8StartLost(D3DDEVTYPE type, DWORD behaviourFlags, D3D8Loss loss);
// The caps that GetDeviceCaps reports for devices made from now on; null: the layer's own.
void D3D8OverrideCaps(const D3DCAPS8* caps);
// The display mode GetAdapterDisplayMode reports; null: the desktop's.
void D3D8OverrideDisplayMode(const D3DDISPLAYMODE* mode);
void D3D8SetLoss(IDirect3DDevice8* device, D3D8Loss loss);
// The next count calls of Reset on the device fail with the result.
void D3D8FailResets(IDirect3DDevice8* device, UINT count, HRESULT result);

void D3D8ResetTestHooks();
