#include "backends/d3d8/ObjectDX81.h"

#include <cstring>

#include "backends/d3d8/DX81State.h"
#include "core/WorldData.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/SystemMemoryStorage.h"

namespace {

constexpr DWORD kVertexUsage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;

} // namespace

C3DObjectDX81::C3DObjectDX81(CWorldData* data, C3DEngine* engine, uint32_t format, DWORD fvf)
    : C3DObjectPrivate(data, engine), m_pLayout(VertexLayoutForFlags(format)), m_formatFvf(fvf)
{
}

C3DObjectDX81::~C3DObjectDX81()
{
    ReleaseVertexBuffer();
    IgnoreResult(ReleaseStateBlock());
}

IDirect3DDevice8* C3DObjectDX81::Device() const
{
    return DX81DeviceOf(m_pWorldData);
}

Result C3DObjectDX81::Init()
{
    const Result result = C3DObjectPrivate::Init();
    if (Succeeded(result))
        m_usage = kVertexUsage;
    return result;
}

void C3DObjectDX81::ReleaseVertexBuffer()
{
    if (m_pVertexBuffer) {
        m_pVertexBuffer->Release();
        m_pVertexBuffer = nullptr;
    }
    m_pLocked = nullptr;
}

Result C3DObjectDX81::Release()
{
    ReleaseVertexBuffer();
    IgnoreResult(ReleaseStateBlock());
    return Failed(C3DObjectPrivate::Release()) ? RES_FAIL : RES_OK;
}

void* C3DObjectDX81::GetVertexSize(uint8_t* outSize)
{
    if (outSize)
        *outSize = static_cast<uint8_t>(m_pLayout->size);
    return m_pLocked;
}

Result C3DObjectDX81::Create(uint32_t parts, uint32_t vertices, uint32_t indices)
{
    if (Failed(C3DObjectPrivate::Create(parts, vertices, indices)))
        return RES_FAIL;
    m_vertexSize = m_pLayout->size;
    m_fvf = m_formatFvf;
    ReleaseVertexBuffer();
    IDirect3DDevice8* device = Device();
    const uint64_t length = uint64_t{vertices} * m_vertexSize;
    if (!device || length > UINT32_MAX)
        return RES_FAIL;
    const UINT bytes = static_cast<UINT>(length);
    if (device->CreateVertexBuffer(bytes, m_usage, m_fvf, D3DPOOL_SYSTEMMEM, &m_pVertexBuffer) < 0) {
        m_pVertexBuffer = nullptr;
        return RES_FAIL;
    }
    return RES_OK;
}

// A buffer already locked stays locked once, so that one Unlock frees it.
Result C3DObjectDX81::Lock()
{
    const Result index = C3DObjectPrivate::Lock();
    if (!m_pVertexBuffer)
        return index;
    if (m_pLocked)
        return RES_OK;
    BYTE* data = nullptr;
    if (m_pVertexBuffer->Lock(0, 0, &data, 0) < 0)
        return RES_FAIL;
    m_pLocked = data;
    return RES_OK;
}

Result C3DObjectDX81::Unlock(uint8_t rebuild)
{
    const Result state = C3DObjectPrivate::Unlock(rebuild);
    Result vertices = RES_OK;
    if (m_pVertexBuffer && m_pLocked && m_pVertexBuffer->Unlock() < 0)
        vertices = RES_FAIL;
    m_pLocked = nullptr;
    const Result index = m_pActiveIndex ? m_pActiveIndex->Unlock(rebuild) : RES_OK;
    if (Failed(state))
        return state;
    return Failed(vertices) ? vertices : index;
}

// ---- Fields of the locked vertices ----------------------------------------------------------

uint8_t* C3DObjectDX81::Field(uint32_t i, int32_t offset) const
{
    if (!m_pLocked || i >= m_vertexCount || offset < 0)
        return nullptr;
    return m_pLocked + size_t{i} * m_vertexSize + static_cast<size_t>(offset);
}

void C3DObjectDX81::WriteFloats(uint32_t i, int32_t offset, const float* values, size_t count)
{
    if (uint8_t* at = Field(i, offset))
        memcpy(at, values, count * sizeof(float));
}

void C3DObjectDX81::ReadFloats(uint32_t i, int32_t offset, float* values, size_t count) const
{
    if (const uint8_t* at = Field(i, offset))
        memcpy(values, at, count * sizeof(float));
    else
        memset(values, 0, count * sizeof(float));
}

void C3DObjectDX81::WriteWord(uint32_t i, int32_t offset, uint32_t value)
{
    if (uint8_t* at = Field(i, offset))
        memcpy(at, &value, sizeof value);
}

uint32_t C3DObjectDX81::ReadWord(uint32_t i, int32_t offset) const
{
    uint32_t value = 0;
    if (const uint8_t* at = Field(i, offset))
        memcpy(&value, at, sizeof value);
    return value;
}

// ---- Setters --------------------------------------------------------------------------------

void C3DObjectDX81::SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx,
                              float ny, float nz, uint32_t specular)
{
    const Vector3 position{x, y, z};
    const Vector3 normal{nx, ny, nz};
    const Vector2 uv{u, v};
    SetPosition(i, &position);
    SetNormal(i, &normal);
    SetVertexColor(i, colour);
    SetSpecular(i, specular);
    SetUV(i, &uv);
    SetUV2(i, &uv);
}

void C3DObjectDX81::SetPosition(uint32_t i, const Vector3* position)
{
    if (position)
        WriteFloats(i, m_pLayout->position, &position->x, 3);
}

void C3DObjectDX81::SetUV(uint32_t i, const Vector2* uv)
{
    if (uv)
        WriteFloats(i, m_pLayout->uv, &uv->x, 2);
}

void C3DObjectDX81::SetUV2(uint32_t i, const Vector2* uv)
{
    if (uv)
        WriteFloats(i, m_pLayout->uv2, &uv->x, 2);
}

void C3DObjectDX81::SetNormal(uint32_t i, const Vector3* normal)
{
    if (normal)
        WriteFloats(i, m_pLayout->normal, &normal->x, 3);
}

void C3DObjectDX81::SetVertexColor(uint32_t i, uint32_t argb) { WriteWord(i, m_pLayout->colour, argb); }

void C3DObjectDX81::SetSpecular(uint32_t i, uint32_t argb) { WriteWord(i, m_pLayout->specular, argb); }

// ---- Getters --------------------------------------------------------------------------------

void C3DObjectDX81::GetVertex(uint32_t i, Vector3* position, uint32_t* colour, Vector2* uv, Vector3* normal,
                              uint32_t* specular)
{
    if (position)
        GetPosition(position, i);
    if (colour)
        *colour = GetVertexColor(i);
    if (uv)
        GetUV(uv, i);
    if (normal)
        GetNormal(normal, i);
    if (specular)
        *specular = GetSpecular(i);
}

Vector3* C3DObjectDX81::GetPosition(Vector3* out, uint32_t i)
{
    if (out)
        ReadFloats(i, m_pLayout->position, &out->x, 3);
    return out;
}

Vector2* C3DObjectDX81::GetUV(Vector2* out, uint32_t i)
{
    if (out)
        ReadFloats(i, m_pLayout->uv, &out->x, 2);
    return out;
}

Vector2* C3DObjectDX81::GetUV2(Vector2* out, uint32_t i)
{
    if (out)
        ReadFloats(i, m_pLayout->uv2, &out->x, 2);
    return out;
}

Vector3* C3DObjectDX81::GetNormal(Vector3* out, uint32_t i)
{
    if (out)
        ReadFloats(i, m_pLayout->normal, &out->x, 3);
    return out;
}

uint32_t C3DObjectDX81::GetVertexColor(uint32_t i) { return ReadWord(i, m_pLayout->colour); }

uint32_t C3DObjectDX81::GetSpecular(uint32_t i) { return ReadWord(i, m_pLayout->specular); }
