#pragma once
#include <cstdint>

#include "engine3d/Shader.h"
#include "platform/d3d8/D3D8.h"

// A pixel shader assembled from ps.1.1 to ps.1.4 text and made on the engine's device. A source
// that does not assemble, or that the device refuses, leaves no shader; Bind and Unbind then do
// nothing. The textures Bind receives are the caller's to set on their stages.
class C3DShaderDX81 : public C3DShader {
public:
    explicit C3DShaderDX81(CWorldData* data) : C3DShader(data) {}
    // Deletes the device shader while the device is still there.
    ~C3DShaderDX81() override;

    // Forwards (0, 1, 0, value) to the target while a shader exists.
    void Apply(C3DShaderTarget* target, const void* value) override;
    // Sets the pixel shader; the textures are not touched.
    void Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2) override;
    // Back to the fixed pipeline.
    void Unbind() override;

    DWORD GetHandle() const { return m_handle; }

protected:
    // RES_FAIL when there is no device, the text does not assemble or the device refuses it.
    Result Compile(const char* source, uint32_t length) override;
    Result ReleaseCompiled() override;

private:
    Result Fail(const char* reason, const char* detail);
    void DeleteHandle();

    DWORD m_handle = 0;
};
