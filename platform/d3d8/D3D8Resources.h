#pragma once
#include <cstdint>
#include <memory>

#include "platform/d3d8/D3D8.h"

class CD3D8Device;

// Counting shared by the resources. The caller's references hold the device; the device's own
// (what it keeps bound) only keep the object. The object goes when both are gone; a bound object
// handed out again (GetTexture) takes its hold on the device again.
template <class Interface>
class CD3D8Resource : public Interface {
public:
    CD3D8Resource(const CD3D8Resource&) = delete;
    CD3D8Resource& operator=(const CD3D8Resource&) = delete;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice8** device) override;

    void HoldBinding() { ++m_bindings; }
    void DropBinding();
    CD3D8Device& Device() const { return *m_device; }
    D3DPOOL Pool() const { return m_pool; }
    DWORD Usage() const { return m_usage; }

protected:
    CD3D8Resource(CD3D8Device& device, D3DPOOL pool, DWORD usage);
    ~CD3D8Resource() override;

private:
    CD3D8Device* m_device;
    D3DPOOL m_pool;
    DWORD m_usage;
    ULONG m_references = 1;
    ULONG m_bindings = 0;
};

// Memory of a vertex or index buffer, locked any number of times, always at the same address.
class CD3D8BufferMemory {
public:
    HRESULT Allocate(UINT length);
    HRESULT Lock(UINT offset, UINT size, BYTE** data);
    HRESULT Unlock();
    const BYTE* Data() const { return m_data.get(); }
    UINT Length() const { return m_length; }
    bool IsLocked() const { return m_locks > 0; }

private:
    std::unique_ptr<BYTE[]> m_data;
    UINT m_length = 0;
    UINT m_locks = 0;
};

class CD3D8VertexBuffer final : public CD3D8Resource<IDirect3DVertexBuffer8> {
public:
    CD3D8VertexBuffer(CD3D8Device& device, DWORD usage, DWORD fvf, D3DPOOL pool);
    HRESULT Allocate(UINT length) { return m_memory.Allocate(length); }

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    const BYTE* Data() const { return m_memory.Data(); }
    UINT Length() const { return m_memory.Length(); }

private:
    CD3D8BufferMemory m_memory;
    DWORD m_fvf;
};

class CD3D8IndexBuffer final : public CD3D8Resource<IDirect3DIndexBuffer8> {
public:
    CD3D8IndexBuffer(CD3D8Device& device, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    HRESULT Allocate(UINT length) { return m_memory.Allocate(length); }

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    const BYTE* Data() const { return m_memory.Data(); }
    UINT Length() const { return m_memory.Length(); }
    D3DFORMAT Format() const { return m_format; }
    UINT IndexSize() const { return m_format == D3DFMT_INDEX32 ? 4 : 2; }
    UINT Count() const { return m_memory.Length() / IndexSize(); }
    DWORD Index(UINT position) const;
    // The largest index the buffer holds, looked for again after each lock.
    DWORD Largest();

private:
    CD3D8BufferMemory m_memory;
    D3DFORMAT m_format;
    DWORD m_largest = 0;
    bool m_largestKnown = false;
};

class CD3D8Texture;

// The device's own references on what it keeps bound; null is allowed.
void D3D8HoldBinding(IDirect3DBaseTexture8* texture);
void D3D8DropBinding(IDirect3DBaseTexture8* texture);
void D3D8HoldBinding(IDirect3DVertexBuffer8* buffer);
void D3D8DropBinding(IDirect3DVertexBuffer8* buffer);
void D3D8HoldBinding(IDirect3DIndexBuffer8* buffer);
void D3D8DropBinding(IDirect3DIndexBuffer8* buffer);

// Largest buffer or texture level accepted, in bytes.
constexpr UINT D3D8_LARGEST_ALLOCATION = 256u * 1024u * 1024u;
