#include "platform/d3d8/D3D8Surfaces.h"

#include "platform/d3d8/D3D8Device.h"
#include "platform/d3d8/D3D8Formats.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Harness.h"

bool D3D8SurfaceRect(const RECT* rect, UINT width, UINT height, RECT& result)
{
    if (!rect) {
        result = RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        return width > 0 && height > 0;
    }
    result = *rect;
    return rect->left >= 0 && rect->top >= 0 && rect->left < rect->right && rect->top < rect->bottom &&
           static_cast<UINT>(rect->right) <= width && static_cast<UINT>(rect->bottom) <= height;
}

// ---- Texture levels ---------------------------------------------------------------------------

ULONG CD3D8TextureSurface::AddRef()
{
    return m_texture.AddRef();
}

ULONG CD3D8TextureSurface::Release()
{
    return m_texture.Release();
}

HRESULT CD3D8TextureSurface::GetDevice(IDirect3DDevice8** device)
{
    return m_texture.GetDevice(device);
}

HRESULT CD3D8TextureSurface::GetDesc(D3DSURFACE_DESC* desc)
{
    return m_texture.GetLevelDesc(m_level, desc);
}

HRESULT CD3D8TextureSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags)
{
    return m_texture.LockRect(m_level, locked, rect, flags);
}

HRESULT CD3D8TextureSurface::UnlockRect()
{
    return m_texture.UnlockRect(m_level);
}

D3DFORMAT CD3D8TextureSurface::Format() const
{
    return m_texture.Format();
}

UINT CD3D8TextureSurface::Width() const
{
    return m_texture.Level(m_level).width;
}

UINT CD3D8TextureSurface::Height() const
{
    return m_texture.Level(m_level).height;
}

bool CD3D8TextureSurface::IsLocked() const
{
    return m_texture.Level(m_level).locked;
}

void CD3D8TextureSurface::Read(const RECT& rect, std::vector<D3DCOLOR>& pixels)
{
    const CD3D8Texture::CLevel& level = m_texture.Level(m_level);
    UINT bytes = D3D8BytesPerPixel(m_texture.Format());
    UINT pitch = m_texture.Pitch(m_level);
    pixels.clear();
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const BYTE* row = level.pixels.get() + static_cast<size_t>(y) * pitch;
        for (LONG x = rect.left; x < rect.right; ++x)
            pixels.push_back(D3D8ReadPixel(m_texture.Format(), row + static_cast<size_t>(x) * bytes));
    }
}

void CD3D8TextureSurface::Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels)
{
    m_texture.BeforeWrite();
    CD3D8Texture::CLevel& level = m_texture.Level(m_level);
    UINT bytes = D3D8BytesPerPixel(m_texture.Format());
    UINT pitch = m_texture.Pitch(m_level);
    size_t next = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        BYTE* row = level.pixels.get() + static_cast<size_t>(y) * pitch;
        for (LONG x = rect.left; x < rect.right; ++x)
            D3D8WritePixel(m_texture.Format(), row + static_cast<size_t>(x) * bytes, pixels[next++]);
    }
    m_texture.MarkChanged(m_level);
}

// ---- Back buffer ------------------------------------------------------------------------------

ULONG CD3D8BackBufferSurface::AddRef()
{
    return m_device.AddRef();
}

ULONG CD3D8BackBufferSurface::Release()
{
    return m_device.Release();
}

HRESULT CD3D8BackBufferSurface::GetDevice(IDirect3DDevice8** device)
{
    if (!device)
        return D3DERR_INVALIDCALL;
    m_device.AddRef();
    *device = &m_device;
    return D3D_OK;
}

HRESULT CD3D8BackBufferSurface::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{Format(), D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                            Width() * Height() * D3D8BytesPerPixel(Format()), D3DMULTISAMPLE_NONE, Width(), Height()};
    return D3D_OK;
}

D3DFORMAT CD3D8BackBufferSurface::Format() const
{
    return m_device.BackBuffer().Format();
}

UINT CD3D8BackBufferSurface::Width() const
{
    return m_device.BackBuffer().Width();
}

UINT CD3D8BackBufferSurface::Height() const
{
    return m_device.BackBuffer().Height();
}

HRESULT CD3D8BackBufferSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags)
{
    HRESULT result = D3DERR_INVALIDCALL;
    RECT area{};
    bool lockable = (m_device.Presentation().Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
    if (locked && lockable && !m_locked && D3D8SurfaceRect(rect, Width(), Height(), area) && m_device.MakeCurrent()) {
        m_device.ExecuteRecorded();
        UINT bytes = D3D8BytesPerPixel(Format());
        UINT pitch = Width() * bytes;
        std::vector<D3DCOLOR> pixels;
        RECT whole{0, 0, static_cast<LONG>(Width()), static_cast<LONG>(Height())};
        m_device.BackBuffer().Read(whole, pixels);
        m_copy.assign(static_cast<size_t>(pitch) * Height(), 0);
        for (size_t i = 0; i < pixels.size(); ++i)
            D3D8WritePixel(Format(), m_copy.data() + i * bytes, pixels[i]);
        locked->Pitch = static_cast<int32_t>(pitch);
        locked->pBits = m_copy.data() + static_cast<size_t>(area.top) * pitch + static_cast<size_t>(area.left) * bytes;
        m_locked = true;
        m_lockFlags = flags;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DSurface8::LockRect", {D3D8ObjectNumber(this), rect ? 1u : 0u, flags}, result);
}

HRESULT CD3D8BackBufferSurface::UnlockRect()
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (m_locked) {
        m_locked = false;
        if (!(m_lockFlags & D3DLOCK_READONLY) && m_device.MakeCurrent()) {
            m_device.BackBufferWritten();
            UINT bytes = D3D8BytesPerPixel(Format());
            std::vector<D3DCOLOR> pixels(static_cast<size_t>(Width()) * Height());
            for (size_t i = 0; i < pixels.size(); ++i)
                pixels[i] = D3D8ReadPixel(Format(), m_copy.data() + i * bytes);
            m_device.BackBuffer().Write(RECT{0, 0, static_cast<LONG>(Width()), static_cast<LONG>(Height())}, pixels);
        }
        m_copy.clear();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DSurface8::UnlockRect", {D3D8ObjectNumber(this)}, result);
}

void CD3D8BackBufferSurface::Read(const RECT& rect, std::vector<D3DCOLOR>& pixels)
{
    if (m_device.MakeCurrent()) {
        m_device.ExecuteRecorded();
        m_device.BackBuffer().Read(rect, pixels);
    } else
        pixels.assign(static_cast<size_t>(rect.right - rect.left) * (rect.bottom - rect.top), 0);
}

void CD3D8BackBufferSurface::Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels)
{
    if (m_device.MakeCurrent()) {
        m_device.BackBufferWritten();
        m_device.BackBuffer().Write(rect, pixels);
    }
}
