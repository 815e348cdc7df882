#pragma once
#include <cstdint>

#include "backends/d3d8/DX81State.h"
#include "engine3d/Engine.h"

// The Direct3D 8 renderer (3D module id 2, "DirectX 8.1"): owns the Direct3D object and the
// device, which it makes with a fixed order of fall-backs, resets it for mode switches and after
// a loss, sets the two lights and the fog, clears, begins and presents frames, and makes the
// Direct3D 8 objects, index buffers, textures and camera. Its state record is published in the
// data block from construction on.
class C3DEngineDX81 : public C3DEngine {
public:
    explicit C3DEngineDX81(CWorldData* data);
    // Releases what Unload did not (camera, device, Direct3D object); withdraws the published state.
    ~C3DEngineDX81() override;

    // Direct3D object, desktop mode, present parameters, device, caps, camera, largest texture size.
    Result Load(WindowHandle window) override;
    // Camera, then every listed object, then the Direct3D object and the device; only what exists.
    Result Unload() override;
    // Resets the device with the new present parameters, then the base Init (restore walk).
    Result Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                uint8_t restore) override;
    Result Uninit(uint8_t release) override;
    Result LightInit(uint32_t index) override;
    // Point sprites are set per object; nothing to do here.
    Result PointSpriteInit() override;
    Result FogingInit() override;
    // Checks the device, clears, begins the scene, fog, lights and the camera's projection. A
    // device that is not ready goes to OnDeviceError and the frame is skipped (RES_FAIL).
    // The current rendering context's version text.
    const char* GetDriverVersion() const override;
    Result BeginFrame() override;
    // Ends the scene and presents; a failed present goes to OnDeviceError (RES_FAIL).
    Result EndFrame() override;
    void Clear() override;
    C3DObject* CreateObject(uint32_t flagsA, uint32_t flagsB) override;
    C3DObjectIndex* CreateIndexBuffer(uint32_t count, uint32_t kind) override;
    C3DTexture* CreateTexture(uint32_t flags, uint32_t parameter) override;
    C3DShader* CreateShader(uint32_t flags, uint32_t parameter) override;
    C3DStencilShadow* CreateStencilShadow(uint32_t casterCount, uint32_t colour) override;
    bool IsStencilShadowSupported() override;

    // A lost device waits 100 ms; a device that can be reset is, through Uninit(1) and Init with
    // the configured mode and restore; any other error gives RES_FAIL.
    virtual Result OnDeviceError(HRESULT error);

    CDX81State& GetState() { return m_state; }
    const CDX81State& GetState() const { return m_state; }

private:
    // Four tries of behaviour flags on the current device type; RES_FAIL when none works.
    Result CreateDevice();
    void FillPresentParameters(uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits);
    void ReportNoDevice();
    Result MakeCamera();
    Result ResetDevice();
    HRESULT ClearTarget();
    void ReleaseDevice();

    CDX81State m_state{};
};
