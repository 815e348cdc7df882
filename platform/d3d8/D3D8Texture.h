#pragma once
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8Resources.h"
#include "platform/d3d8/D3D8Surfaces.h"

struct CD3D8FreeDeleter {
    void operator()(BYTE* memory) const { std::free(memory); }
};

// A texture: every level kept in memory (rows top-down, pitch = width x bytes per pixel) and
// copied into an OpenGL texture of the same orientation when it is next bound for a draw after a
// change, so texture coordinates need no change and a texture never drawn costs OpenGL nothing.
class CD3D8Texture final : public CD3D8Resource<IDirect3DTexture8> {
public:
    struct CLevel {
        UINT width = 0;
        UINT height = 0;
        std::unique_ptr<BYTE[], CD3D8FreeDeleter> pixels;
        bool locked = false;
        bool changed = false;  // written since OpenGL's copy was made
        DWORD lockFlags = 0;
        std::unique_ptr<CD3D8TextureSurface> surface;
    };

    // Checks the arguments as CreateTexture does; levels of 0 make the whole chain.
    static HRESULT Create(CD3D8Device& device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, CD3D8Texture** texture);
    ~CD3D8Texture() override;

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return static_cast<DWORD>(m_levels.size()); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // Binds the OpenGL texture to the unit, made or brought up to date with the changed levels first.
    void Bind(CD3D8GLState& gl, GLuint unit);
    D3DFORMAT Format() const { return m_format; }
    CLevel& Level(UINT level) { return m_levels[level]; }
    UINT Pitch(UINT level) const;
    // The level was written: OpenGL's copy is brought up to date at the next Bind.
    void MarkChanged(UINT level);
    // The pixels are about to change: the draws recorded with the old ones run first.
    void BeforeWrite();
    // Changes with every write of the content.
    uint64_t Version() const { return m_version; }

private:
    CD3D8Texture(CD3D8Device& device, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    HRESULT Allocate(UINT width, UINT height, UINT levels);

    std::vector<CLevel> m_levels;
    D3DFORMAT m_format;
    GLuint m_name = 0;
    uint64_t m_version;
};
