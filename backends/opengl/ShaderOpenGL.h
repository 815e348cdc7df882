#pragma once
#include <cstdint>

#include "engine3d/Shader.h"

// Texture flag word a bound shader applies its textures with.
constexpr uint32_t kShaderTextureFlags = 0x18C3F;

// A fragment shader linked into a program object through the ARB shader-object entry points.
// A source that does not compile or link leaves no shader; Bind and Unbind then do nothing.
// Every call needs the engine's context current.
class C3DShaderOpenGL : public C3DShader {
public:
    explicit C3DShaderOpenGL(CWorldData* data) : C3DShader(data) {}
    ~C3DShaderOpenGL() override;

    // Forwards (0, 1, 0, value) to the target while a program exists.
    void Apply(C3DShaderTarget* target, const void* value) override;
    // Uses the program, applies the given textures to stages 2, 1 and 0 in that order and points
    // the samplers "Texture0" to "Texture2" at stages 0 to 2. Null textures are skipped.
    void Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2) override;
    // Back to the fixed pipeline.
    void Unbind() override;

    uint32_t GetShaderObject() const { return m_shaderObject; }
    uint32_t GetProgramObject() const { return m_programObject; }

protected:
    // RES_NO_DEVICE (also the last error) when the context lacks the shader-object extensions or
    // makes no object; RES_FAIL when the source does not compile or the program does not link.
    Result Compile(const char* source, uint32_t length) override;
    Result ReleaseCompiled() override;

private:
    Result FailNoDevice(const char* reason);
    Result FailBuild(uint32_t object, const char* stage);
    void DeleteObjects();

    uint32_t m_shaderObject = 0;
    uint32_t m_programObject = 0;
};

// True when the data block's OpenGL context offers fragment shaders through the ARB shader-object
// extensions with every entry point the shaders call.
bool HasShaderObjects(const CWorldData* data);
