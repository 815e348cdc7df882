#include "engine3d/SystemMemoryObject.h"

#include "core/WorldData.h"

void C3DObjectSystemMemory::OnStorageMisuse(const char*) {}

void C3DObjectSystemMemory::Check(bool ok, const char* operation)
{
    if (!ok)
        OnStorageMisuse(operation);
}

template <typename T> T* C3DObjectSystemMemory::CheckedRead(bool read, T* out, const char* operation)
{
    if (!read)
        *out = T{};
    Check(read, operation);
    return out;
}

Result C3DObjectSystemMemory::Release()
{
    m_vertices.Free();
    return C3DObjectPrivate::Release();
}

void* C3DObjectSystemMemory::GetVertexSize(uint8_t* outSize)
{
    const VertexLayout* layout = VertexLayoutForFlags(m_flagsA);
    if (outSize)
        *outSize = static_cast<uint8_t>(layout ? layout->size : 0);
    return m_vertices.Data();
}

Result C3DObjectSystemMemory::Create(uint32_t parts, uint32_t vertices, uint32_t indices)
{
    if (Failed(C3DObjectPrivate::Create(parts, vertices, indices))) {
        m_vertices.Free();
        return RES_FAIL;
    }
    const Result result = m_vertices.Allocate(VertexLayoutForFlags(m_flagsA), vertices);
    if (result == RES_OUT_OF_MEMORY)
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
    return result;
}

Result C3DObjectSystemMemory::Lock()
{
    const Result result = C3DObjectPrivate::Lock();
    m_vertices.Lock();
    return result;
}

Result C3DObjectSystemMemory::Unlock(uint8_t rebuild)
{
    const Result state = C3DObjectPrivate::Unlock(rebuild);
    const Result storage = UnlockStorage(rebuild);
    return Failed(state) ? state : storage;
}

Result C3DObjectSystemMemory::UnlockStorage(uint8_t rebuild)
{
    m_vertices.Unlock();
    return m_pActiveIndex ? m_pActiveIndex->Unlock(rebuild) : RES_OK;
}

void C3DObjectSystemMemory::SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v,
                                      float nx, float ny, float nz, uint32_t specular)
{
    Check(m_vertices.SetVertex(i, x, y, z, colour, u, v, nx, ny, nz, specular), "SetVertex");
}

void C3DObjectSystemMemory::SetPosition(uint32_t i, const Vector3* position)
{
    Check(position && m_vertices.SetPosition(i, *position), "SetPosition");
}

void C3DObjectSystemMemory::SetUV(uint32_t i, const Vector2* uv)
{
    Check(uv && m_vertices.SetUV(i, *uv), "SetUV");
}

void C3DObjectSystemMemory::SetUV2(uint32_t i, const Vector2* uv)
{
    Check(uv && m_vertices.SetUV2(i, *uv), "SetUV2");
}

void C3DObjectSystemMemory::SetNormal(uint32_t i, const Vector3* normal)
{
    Check(normal && m_vertices.SetNormal(i, *normal), "SetNormal");
}

void C3DObjectSystemMemory::SetVertexColor(uint32_t i, uint32_t argb)
{
    Check(m_vertices.SetColour(i, argb), "SetVertexColor");
}

void C3DObjectSystemMemory::SetSpecular(uint32_t i, uint32_t argb)
{
    Check(m_vertices.SetSpecular(i, argb), "SetSpecular");
}

void C3DObjectSystemMemory::GetVertex(uint32_t i, Vector3* position, uint32_t* colour, Vector2* uv, Vector3* normal,
                                      uint32_t* specular)
{
    Vector3 p;
    uint32_t c;
    Vector2 t;
    Vector3 n;
    uint32_t s;
    const bool ok = m_vertices.GetPosition(i, &p) && m_vertices.GetColour(i, &c) && m_vertices.GetUV(i, &t) &&
                    m_vertices.GetNormal(i, &n) && m_vertices.GetSpecular(i, &s);
    Check(ok, "GetVertex");
    if (!ok)
        return;
    if (position)
        *position = p;
    if (colour)
        *colour = c;
    if (uv)
        *uv = t;
    if (normal)
        *normal = n;
    if (specular)
        *specular = s;
}

Vector3* C3DObjectSystemMemory::GetPosition(Vector3* out, uint32_t i)
{
    return CheckedRead(m_vertices.GetPosition(i, out), out, "GetPosition");
}

Vector2* C3DObjectSystemMemory::GetUV(Vector2* out, uint32_t i)
{
    return CheckedRead(m_vertices.GetUV(i, out), out, "GetUV");
}

Vector2* C3DObjectSystemMemory::GetUV2(Vector2* out, uint32_t i)
{
    return CheckedRead(m_vertices.GetUV2(i, out), out, "GetUV2");
}

Vector3* C3DObjectSystemMemory::GetNormal(Vector3* out, uint32_t i)
{
    return CheckedRead(m_vertices.GetNormal(i, out), out, "GetNormal");
}

uint32_t C3DObjectSystemMemory::GetVertexColor(uint32_t i)
{
    uint32_t colour = 0;
    Check(m_vertices.GetColour(i, &colour), "GetVertexColor");
    return colour;
}

uint32_t C3DObjectSystemMemory::GetSpecular(uint32_t i)
{
    uint32_t specular = 0;
    Check(m_vertices.GetSpecular(i, &specular), "GetSpecular");
    return specular;
}

C3DObjectIndexSystemMemory::C3DObjectIndexSystemMemory(CWorldData* data, uint32_t kind) : C3DObjectIndex(data)
{
    m_kind = kind;
}

void C3DObjectIndexSystemMemory::OnStorageMisuse(const char*) {}

Result C3DObjectIndexSystemMemory::Release()
{
    const Result result = C3DObjectIndex::Release();
    m_indices.Free();
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result C3DObjectIndexSystemMemory::Create(uint32_t recordCount, uint32_t indexCount)
{
    if (Failed(C3DObjectIndex::Create(recordCount, indexCount)))
        return RES_FAIL;
    const Result result = m_indices.Allocate(m_kind == kIndexKind16 ? 2 : 4, indexCount);
    if (result == RES_OUT_OF_MEMORY)
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
    return result;
}

Result C3DObjectIndexSystemMemory::Lock()
{
    m_indices.Lock();
    return RES_OK;
}

void C3DObjectIndexSystemMemory::SetIndex(uint32_t position, uint32_t value)
{
    if (!m_indices.Set(position, value))
        OnStorageMisuse("SetIndex");
}

uint32_t C3DObjectIndexSystemMemory::GetIndex(uint32_t position)
{
    uint32_t value = kNoIndex;
    if (!m_indices.Get(position, &value))
        OnStorageMisuse("GetIndex");
    return value;
}

Result C3DObjectIndexSystemMemory::Unlock(uint8_t)
{
    m_indices.Unlock();
    return RES_OK;
}

void* C3DObjectIndexSystemMemory::GetIndexData(uint8_t* outElementSize)
{
    if (outElementSize)
        *outElementSize = m_kind == kIndexKind16 ? 2 : 4;
    return m_indices.Data();
}
