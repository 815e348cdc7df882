#include "platform/d3d8/D3D8Resources.h"

#include <algorithm>
#include <new>

#include "platform/d3d8/D3D8Device.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Harness.h"

template <class Interface>
CD3D8Resource<Interface>::CD3D8Resource(CD3D8Device& device, D3DPOOL pool, DWORD usage)
    : m_device(&device), m_pool(pool), m_usage(usage)
{
    device.AddRef();
    device.ResourceBorn(pool);
    D3D8NameObject(this);
}

template <class Interface>
CD3D8Resource<Interface>::~CD3D8Resource()
{
    D3D8ForgetObject(this);
}

template <class Interface>
ULONG CD3D8Resource<Interface>::AddRef()
{
    if (m_references++ == 0) {
        m_device->AddRef();
        m_device->ResourceBorn(m_pool);
    }
    return m_references;
}

template <class Interface>
ULONG CD3D8Resource<Interface>::Release()
{
    if (m_references == 0)
        return 0;
    ULONG left = --m_references;
    if (left > 0)
        return left;
    CD3D8Device* device = m_device;
    device->ResourceGone(m_pool);
    if (m_bindings == 0)
        delete this;
    device->Release();
    return 0;
}

template <class Interface>
void CD3D8Resource<Interface>::DropBinding()
{
    if (m_bindings > 0 && --m_bindings == 0 && m_references == 0)
        delete this;
}

template <class Interface>
HRESULT CD3D8Resource<Interface>::GetDevice(IDirect3DDevice8** device)
{
    if (!device)
        return D3DERR_INVALIDCALL;
    m_device->AddRef();
    *device = m_device;
    return D3D_OK;
}

template class CD3D8Resource<IDirect3DVertexBuffer8>;
template class CD3D8Resource<IDirect3DIndexBuffer8>;
template class CD3D8Resource<IDirect3DTexture8>;

HRESULT CD3D8BufferMemory::Allocate(UINT length)
{
    if (length == 0)
        return D3DERR_INVALIDCALL;
    if (length > D3D8_LARGEST_ALLOCATION)
        return D3DERR_OUTOFVIDEOMEMORY;
    m_data.reset(new (std::nothrow) BYTE[length]());
    if (!m_data)
        return E_OUTOFMEMORY;
    m_length = length;
    return D3D_OK;
}

HRESULT CD3D8BufferMemory::Lock(UINT offset, UINT size, BYTE** data)
{
    if (!data || offset > m_length || size > m_length - offset)
        return D3DERR_INVALIDCALL;
    *data = m_data.get() + offset;
    ++m_locks;
    return D3D_OK;
}

HRESULT CD3D8BufferMemory::Unlock()
{
    if (m_locks == 0)
        return D3DERR_INVALIDCALL;
    --m_locks;
    return D3D_OK;
}

CD3D8VertexBuffer::CD3D8VertexBuffer(CD3D8Device& device, DWORD usage, DWORD fvf, D3DPOOL pool)
    : CD3D8Resource(device, pool, usage), m_fvf(fvf)
{
}

HRESULT CD3D8VertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD flags)
{
    return D3D8Record("IDirect3DVertexBuffer8::Lock", {D3D8ObjectNumber(this), offset, size, flags},
                      m_memory.Lock(offset, size, data));
}

HRESULT CD3D8VertexBuffer::Unlock()
{
    return D3D8Record("IDirect3DVertexBuffer8::Unlock", {D3D8ObjectNumber(this)}, m_memory.Unlock());
}

HRESULT CD3D8VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, Usage(), Pool(), m_memory.Length(), m_fvf};
    return D3D_OK;
}

CD3D8IndexBuffer::CD3D8IndexBuffer(CD3D8Device& device, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : CD3D8Resource(device, pool, usage), m_format(format)
{
}

HRESULT CD3D8IndexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD flags)
{
    m_largestKnown = false;
    return D3D8Record("IDirect3DIndexBuffer8::Lock", {D3D8ObjectNumber(this), offset, size, flags},
                      m_memory.Lock(offset, size, data));
}

HRESULT CD3D8IndexBuffer::Unlock()
{
    return D3D8Record("IDirect3DIndexBuffer8::Unlock", {D3D8ObjectNumber(this)}, m_memory.Unlock());
}

HRESULT CD3D8IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{m_format, D3DRTYPE_INDEXBUFFER, Usage(), Pool(), m_memory.Length()};
    return D3D_OK;
}

DWORD CD3D8IndexBuffer::Index(UINT position) const
{
    const BYTE* at = m_memory.Data() + static_cast<size_t>(position) * IndexSize();
    if (m_format == D3DFMT_INDEX32)
        return static_cast<DWORD>(at[0]) | (static_cast<DWORD>(at[1]) << 8) | (static_cast<DWORD>(at[2]) << 16) |
               (static_cast<DWORD>(at[3]) << 24);
    return static_cast<DWORD>(at[0]) | (static_cast<DWORD>(at[1]) << 8);
}

DWORD CD3D8IndexBuffer::Largest()
{
    if (m_largestKnown)
        return m_largest;
    DWORD largest = 0;
    for (UINT i = 0; i < Count(); ++i)
        largest = std::max(largest, Index(i));
    m_largest = largest;
    m_largestKnown = !m_memory.IsLocked();
    return largest;
}

void D3D8HoldBinding(IDirect3DBaseTexture8* texture)
{
    if (texture)
        static_cast<CD3D8Texture*>(texture)->HoldBinding();
}

void D3D8DropBinding(IDirect3DBaseTexture8* texture)
{
    if (texture)
        static_cast<CD3D8Texture*>(texture)->DropBinding();
}

void D3D8HoldBinding(IDirect3DVertexBuffer8* buffer)
{
    if (buffer)
        static_cast<CD3D8VertexBuffer*>(buffer)->HoldBinding();
}

void D3D8DropBinding(IDirect3DVertexBuffer8* buffer)
{
    if (buffer)
        static_cast<CD3D8VertexBuffer*>(buffer)->DropBinding();
}

void D3D8HoldBinding(IDirect3DIndexBuffer8* buffer)
{
    if (buffer)
        static_cast<CD3D8IndexBuffer*>(buffer)->HoldBinding();
}

void D3D8DropBinding(IDirect3DIndexBuffer8* buffer)
{
    if (buffer)
        static_cast<CD3D8IndexBuffer*>(buffer)->DropBinding();
}
