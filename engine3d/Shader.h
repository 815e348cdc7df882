#pragma once
#include <cstdint>

#include "core/PackerFile.h"
#include "base/Result.h"
#include "engine3d/ResourceName.h"
#include "engine3d/ShaderListEntry.h"

struct CWorldData;
class C3DTexture;

// What a shader's Apply hands a value to; the renderer that implements it decides its meaning.
class C3DShaderTarget {
public:
    virtual ~C3DShaderTarget() = default;
    virtual Result SetShaderValue(uint32_t first, uint32_t count, uint32_t flags, const void* value) = 0;
};

// Renderer-neutral pixel shader: keeps its source name and reads the source text from memory,
// the pak or a file; the renderers compile it (Compile) and bind it around the geometry it shades.
class C3DShader : public C3DShaderListEntry {
public:
    explicit C3DShader(CWorldData* data) : m_pWorldData(data) {}
    C3DShader(const C3DShader&) = delete;
    C3DShader& operator=(const C3DShader&) = delete;
    ~C3DShader() override = default;

    virtual Result Init();
    // Drops the compiled shader (RES_FAIL when the renderer cannot), then forgets the name.
    Result Release() override;
    // Nothing in the base.
    virtual void Apply(C3DShaderTarget* target, const void* value);
    // Nothing in the base; the textures may be null.
    virtual void Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2);
    virtual void Unbind();

    // Every load drops the compiled shader first (RES_FAIL when it cannot), keeps the name, then
    // compiles the 8-bit source text. A failed load keeps the name and leaves nothing compiled.
    // Name: the file-name part of name; a null name keeps the earlier one.
    virtual Result LoadFromAddress(const char* source, uint32_t length, const char16_t* name);
    // The whole entry the pak record found, from the record's current file position. Name: the
    // found entry's name.
    virtual Result LoadFromPacker(CPackerFile* pak);
    // A missing file sets the last error RES_MISSING_FILE and answers it. Name: ShaderNameFromPath.
    virtual Result LoadFromFile(const char16_t* path);

    const char16_t* GetName() const { return m_name.Get(); }

protected:
    // The renderer's half: turns the source into a device shader. The base accepts any source.
    virtual Result Compile(const char* source, uint32_t length);
    // The renderer's half: deletes the device shader, if any.
    virtual Result ReleaseCompiled();

    CWorldData* m_pWorldData;
    uint32_t m_words[2] = {0, 0};
    COwnedText m_name;

private:
    Result Fail(const char16_t* name, const char* reason, Result result);
};

// Name kept for a shader loaded from path: the path less the data-root prefix; its file-name
// part when no prefix is set (a negative length); the whole path when it is shorter than the
// prefix. Null gives null.
const char16_t* ShaderNameFromPath(const CWorldData* data, const char16_t* path);
