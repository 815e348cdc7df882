#pragma once
#include <memory>
#include <vector>

#include "platform/d3d8/D3D8.h"

class CD3D8Device;
class CD3D8Texture;

// What the utility functions need of any surface: its size and format, and its pixels as
// 0xAARRGGBB rows from the top.
class CD3D8Surface : public IDirect3DSurface8 {
public:
    virtual D3DFORMAT Format() const = 0;
    virtual UINT Width() const = 0;
    virtual UINT Height() const = 0;
    virtual bool IsLocked() const = 0;
    virtual void Read(const RECT& rect, std::vector<D3DCOLOR>& pixels) = 0;
    virtual void Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels) = 0;
};

// One level of a texture; its references are the texture's.
class CD3D8TextureSurface final : public CD3D8Surface {
public:
    CD3D8TextureSurface(CD3D8Texture& texture, UINT level) : m_texture(texture), m_level(level) {}
    ~CD3D8TextureSurface() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice8** device) override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    D3DFORMAT Format() const override;
    UINT Width() const override;
    UINT Height() const override;
    bool IsLocked() const override;
    void Read(const RECT& rect, std::vector<D3DCOLOR>& pixels) override;
    void Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels) override;

private:
    CD3D8Texture& m_texture;
    UINT m_level;
};

// The back buffer; its references are the device's. Locking reads the pixels back from OpenGL
// (rows turned top-down, converted to the back buffer format); unlocking writes them back.
class CD3D8BackBufferSurface final : public CD3D8Surface {
public:
    explicit CD3D8BackBufferSurface(CD3D8Device& device) : m_device(device) {}
    ~CD3D8BackBufferSurface() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice8** device) override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    D3DFORMAT Format() const override;
    UINT Width() const override;
    UINT Height() const override;
    bool IsLocked() const override { return m_locked; }
    void Read(const RECT& rect, std::vector<D3DCOLOR>& pixels) override;
    void Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels) override;

private:
    CD3D8Device& m_device;
    bool m_locked = false;
    DWORD m_lockFlags = 0;
    std::vector<BYTE> m_copy;
};

// A rectangle inside a width x height surface; the whole surface for null. False when it is
// empty or reaches outside.
bool D3D8SurfaceRect(const RECT* rect, UINT width, UINT height, RECT& result);
