#include "platform/d3d8/D3D8Texture.h"

#include <new>

#include "base/LargeMemory.h"
#include "platform/d3d8/D3D8Device.h"
#include "platform/d3d8/D3D8Formats.h"
#include "platform/d3d8/D3D8Harness.h"

namespace {

struct CGLFormat {
    GLint internal;
    GLenum format;
    GLenum type;
};

CGLFormat GLFormat(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
    case D3DFMT_X8R8G8B8:
        return {GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE};
    case D3DFMT_R5G6B5:
        return {GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case D3DFMT_X1R5G5B5:
        return {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_A1R5G5B5:
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_A4R4G4B4:
        return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    case D3DFMT_A8:
        return {GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE};
    case D3DFMT_L8:
        return {GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE};
    default:
        return {GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE};
    }
}

UINT FullChain(UINT width, UINT height)
{
    UINT levels = 1;
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ++levels;
    }
    return levels;
}

// Content versions of all textures: a new texture never shares one with a gone one.
uint64_t g_lastVersion = 0;

} // namespace

CD3D8Texture::CD3D8Texture(CD3D8Device& device, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : CD3D8Resource(device, pool, usage), m_format(format), m_version(++g_lastVersion)
{
}

CD3D8Texture::~CD3D8Texture()
{
    Device().ExecuteRecorded();
    if (m_name && Device().MakeCurrent()) {
        glDeleteTextures(1, &m_name);
        Device().GL().TextureDeleted(m_name);
    }
}

HRESULT CD3D8Texture::Create(CD3D8Device& device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool, CD3D8Texture** texture)
{
    const D3DCAPS8& caps = device.Caps();
    if (!texture || width == 0 || height == 0 || width > caps.MaxTextureWidth || height > caps.MaxTextureHeight ||
        pool > D3DPOOL_SYSTEMMEM || !D3D8IsTextureFormat(format) || (usage & D3DUSAGE_DEPTHSTENCIL) ||
        (pool == D3DPOOL_MANAGED && (usage & D3DUSAGE_DYNAMIC)))
        return D3DERR_INVALIDCALL;
    if (usage & D3DUSAGE_RENDERTARGET)
        return D3DERR_NOTAVAILABLE;
    UINT chain = FullChain(width, height);
    if (levels > chain)
        return D3DERR_INVALIDCALL;
    auto* made = new (std::nothrow) CD3D8Texture(device, usage, format, pool);
    if (!made)
        return E_OUTOFMEMORY;
    HRESULT result = made->Allocate(width, height, levels == 0 ? chain : levels);
    if (result < 0) {
        made->Release();
        return result;
    }
    *texture = made;
    return D3D_OK;
}

HRESULT CD3D8Texture::Allocate(UINT width, UINT height, UINT levels)
{
    UINT bytes = D3D8BytesPerPixel(m_format);
    m_levels.resize(levels);
    for (UINT i = 0; i < levels; ++i) {
        CLevel& level = m_levels[i];
        level.width = width;
        level.height = height;
        uint64_t size = static_cast<uint64_t>(width) * height * bytes;
        if (size > D3D8_LARGEST_ALLOCATION)
            return D3DERR_OUTOFVIDEOMEMORY;
        level.pixels.reset(static_cast<BYTE*>(AllocateLargeZeroed(static_cast<size_t>(size))));
        if (!level.pixels)
            return E_OUTOFMEMORY;
        level.surface = std::make_unique<CD3D8TextureSurface>(*this, i);
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
    return Device().MakeCurrent() ? D3D_OK : D3DERR_NOTAVAILABLE;
}

UINT CD3D8Texture::Pitch(UINT level) const
{
    return m_levels[level].width * D3D8BytesPerPixel(m_format);
}

void CD3D8Texture::MarkChanged(UINT level)
{
    m_levels[level].changed = true;
    m_version = ++g_lastVersion;
}

void CD3D8Texture::BeforeWrite()
{
    Device().ExecuteRecorded();
}

void CD3D8Texture::Bind(CD3D8GLState& gl, GLuint unit)
{
    const bool made = m_name != 0;
    bool changed = false;
    for (const CLevel& level : m_levels)
        changed = changed || level.changed;
    if (!made)
        glGenTextures(1, &m_name);
    gl.BindTexture(unit, m_name);
    if (made && !changed)
        return;
    gl.ActiveUnit(unit);
    if (!made)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(m_levels.size() - 1));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    CGLFormat format = GLFormat(m_format);
    for (size_t i = 0; i < m_levels.size(); ++i) {
        CLevel& level = m_levels[i];
        const auto width = static_cast<GLsizei>(level.width);
        const auto height = static_cast<GLsizei>(level.height);
        if (!made)
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), format.internal, width, height, 0, format.format,
                         format.type, level.pixels.get());
        else if (level.changed)
            glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), 0, 0, width, height, format.format, format.type,
                            level.pixels.get());
        level.changed = false;
    }
}

HRESULT CD3D8Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (!desc || level >= m_levels.size())
        return D3DERR_INVALIDCALL;
    const CLevel& at = m_levels[level];
    *desc = D3DSURFACE_DESC{m_format, D3DRTYPE_SURFACE, Usage(), Pool(), at.width * at.height * D3D8BytesPerPixel(m_format),
                            D3DMULTISAMPLE_NONE, at.width, at.height};
    return D3D_OK;
}

HRESULT CD3D8Texture::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (surface && level < m_levels.size()) {
        AddRef();
        *surface = m_levels[level].surface.get();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DTexture8::GetSurfaceLevel", {D3D8ObjectNumber(this), level}, result);
}

HRESULT CD3D8Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags)
{
    HRESULT result = D3DERR_INVALIDCALL;
    RECT area{};
    bool lockable = Pool() != D3DPOOL_DEFAULT || (Usage() & D3DUSAGE_DYNAMIC);
    if (locked && level < m_levels.size() && lockable && !m_levels[level].locked &&
        D3D8SurfaceRect(rect, m_levels[level].width, m_levels[level].height, area)) {
        CLevel& at = m_levels[level];
        UINT pitch = Pitch(level);
        locked->Pitch = static_cast<int32_t>(pitch);
        locked->pBits = at.pixels.get() + static_cast<size_t>(area.top) * pitch +
                        static_cast<size_t>(area.left) * D3D8BytesPerPixel(m_format);
        if (!(flags & D3DLOCK_READONLY))
            BeforeWrite();
        at.locked = true;
        at.lockFlags = flags;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DTexture8::LockRect", {D3D8ObjectNumber(this), level, rect ? 1u : 0u, flags}, result);
}

HRESULT CD3D8Texture::UnlockRect(UINT level)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (level < m_levels.size() && m_levels[level].locked) {
        m_levels[level].locked = false;
        if (!(m_levels[level].lockFlags & D3DLOCK_READONLY))
            MarkChanged(level);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DTexture8::UnlockRect", {D3D8ObjectNumber(this), level}, result);
}
