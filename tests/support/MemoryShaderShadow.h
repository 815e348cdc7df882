#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/Shader.h"
#include "engine3d/StencilShadow.h"

// The memory renderer's shader: a compile keeps the source bytes as given (an empty source is
// refused, as a device compiler would); Bind and Unbind act only while a source is kept.
class CMemoryShader : public C3DShader {
public:
    explicit CMemoryShader(CWorldData* data) : C3DShader(data) {}

    void Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2) override;
    void Unbind() override;

    // Every later compile fails while set.
    void FailCompiles(bool fail) { m_failCompiles = fail; }
    bool IsCompiled() const { return m_compiled; }
    bool IsBound() const { return m_bound; }
    const std::string& Source() const { return m_source; }
    const std::array<C3DTexture*, 3>& BoundTextures() const { return m_textures; }
    uint32_t CompileCount() const { return m_compiles; }
    uint32_t BindCount() const { return m_binds; }

protected:
    Result Compile(const char* source, uint32_t length) override;
    Result ReleaseCompiled() override;

private:
    std::string m_source;
    std::array<C3DTexture*, 3> m_textures{nullptr, nullptr, nullptr};
    bool m_compiled = false;
    bool m_bound = false;
    bool m_failCompiles = false;
    uint32_t m_compiles = 0;
    uint32_t m_binds = 0;
};

// What one Render of the memory renderer's stencil shadow drew.
struct MemoryShadowDraw {
    uint32_t caster;
    uint32_t sidePoints;
    uint32_t capPoints;
    uint32_t colour;
};

// The memory renderer's stencil shadow: Render logs the caster's volume sizes; a caster without
// side points draws nothing.
class CMemoryStencilShadow : public C3DStencilShadow {
public:
    explicit CMemoryStencilShadow(CWorldData* data) : C3DStencilShadow(data) {}

    Result Render(uint32_t index) override;

    const std::vector<MemoryShadowDraw>& Draws() const { return m_draws; }

private:
    std::vector<MemoryShadowDraw> m_draws;
};
