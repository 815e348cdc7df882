#pragma once
#include <cstdint>

#include "core/Result.h"
#include "engine3d/ResourceName.h"
#include "engine3d/ShaderListEntry.h"

struct CWorldData;

// Renderer-neutral pixel shader: keeps its source name; the renderers compile the source.
class C3DShader : public C3DShaderListEntry {
public:
    explicit C3DShader(CWorldData* data) : m_pWorldData(data) {}
    C3DShader(const C3DShader&) = delete;
    C3DShader& operator=(const C3DShader&) = delete;
    ~C3DShader() override = default;

    virtual Result Init();
    // Forgets the name.
    Result Release() override;

    const char16_t* GetName() const { return m_name.Get(); }

protected:
    CWorldData* m_pWorldData;
    uint32_t m_words[2] = {0, 0};
    COwnedText m_name;
};
