#pragma once
#include <cstdint>

#include "backends/opengl/OpenGLState.h"
#include "engine3d/Engine.h"

// The OpenGL renderer (3D module id 4, "OpenGL 1.2"): owns the window's rendering context,
// checks the version and the multitexture extension, sets the display mode, pixel format,
// lights, fog and point sprites, clears, begins and presents frames, and makes the OpenGL
// objects, index buffers, textures, shaders, stencil shadows and camera. Its state record is
// published in the data block from construction on.
class C3DEngineOpenGL : public C3DEngine {
public:
    explicit C3DEngineOpenGL(CWorldData* data);
    // Deletes the camera; withdraws the published state.
    ~C3DEngineOpenGL() override;

    // Init with the configured mode, then the context, GLEW, the camera, the version and
    // extension flags, the fixed state and the largest texture size.
    Result Load(WindowHandle window) override;
    // Every listed object released while the context is still current, then Uninit(0), the
    // context and the palette.
    Result Unload() override;
    // Display mode, pixel format and device context; with an existing context (a restore after a
    // mode switch) the context is made current on the new device context.
    Result Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                uint8_t restore) override;
    // The base walks; leaves full screen; no context current; the device context released.
    Result Uninit(uint8_t release) override;
    Result LightInit(uint32_t index) override;
    Result PointSpriteInit() override;
    Result FogingInit() override;
    // The current rendering context's version text.
    const char* GetDriverVersion() const override;
    Result BeginFrame() override;
    Result EndFrame() override;
    void Clear() override;
    C3DObject* CreateObject(uint32_t flagsA, uint32_t flagsB) override;
    C3DObjectIndex* CreateIndexBuffer(uint32_t count, uint32_t kind) override;
    C3DTexture* CreateTexture(uint32_t flags, uint32_t parameter) override;
    C3DShader* CreateShader(uint32_t flags, uint32_t parameter) override;
    C3DStencilShadow* CreateStencilShadow(uint32_t casterCount, uint32_t colour) override;
    bool IsStencilShadowSupported() override;

    // Pixel format of the window's device context, with a logical palette when it needs one.
    Result SetupPixelFormat();

    COpenGLState& GetState() { return m_state; }
    const COpenGLState& GetState() const { return m_state; }

private:
    Result MakeContext();
    void ReportNoContext();
    Result MakeCamera();
    void ReadDriverFlags();
    void SetFixedState();
    void MakePalette(HDC dc, const PIXELFORMATDESCRIPTOR& format);

    COpenGLState m_state{};
};
