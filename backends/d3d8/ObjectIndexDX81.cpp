#include "backends/d3d8/ObjectIndexDX81.h"

#include <cstring>

#include "backends/d3d8/DX81State.h"

C3DObjectIndexBaseDX81::C3DObjectIndexBaseDX81(CWorldData* data, uint32_t kind, uint8_t indexSize, D3DFORMAT format)
    : C3DObjectIndex(data), m_indexSize(indexSize), m_format(format)
{
    m_kind = kind;
}

C3DObjectIndexBaseDX81::~C3DObjectIndexBaseDX81()
{
    ReleaseBuffer();
}

void C3DObjectIndexBaseDX81::ReleaseBuffer()
{
    if (m_pBuffer) {
        m_pBuffer->Release();
        m_pBuffer = nullptr;
    }
    m_pLocked = nullptr;
}

Result C3DObjectIndexBaseDX81::Init()
{
    m_usage = D3DUSAGE_DYNAMIC;
    return RES_OK;
}

Result C3DObjectIndexBaseDX81::Release()
{
    const Result result = C3DObjectIndex::Release();
    ReleaseBuffer();
    return Failed(result) ? RES_FAIL : RES_OK;
}

void C3DObjectIndexBaseDX81::Select(const C3DPrimitiveGroup* record)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (device && record)
        device->SetIndices(m_pBuffer, record->firstVertex);
}

Result C3DObjectIndexBaseDX81::Create(uint32_t recordCount, uint32_t indexCount)
{
    ReleaseBuffer();
    if (Failed(C3DObjectIndex::Create(recordCount, indexCount)))
        return RES_FAIL;
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    const uint64_t length = uint64_t{indexCount} * m_indexSize;
    if (!device || length > UINT32_MAX)
        return RES_FAIL;
    const HRESULT made = device->CreateIndexBuffer(static_cast<UINT>(length), m_usage, m_format, D3DPOOL_SYSTEMMEM,
                                                   &m_pBuffer);
    if (made < 0) {
        m_pBuffer = nullptr;
        return RES_FAIL;
    }
    return RES_OK;
}

// A buffer already locked stays locked once, so that one Unlock frees it.
Result C3DObjectIndexBaseDX81::Lock()
{
    if (!m_pBuffer || m_pLocked)
        return RES_OK;
    BYTE* data = nullptr;
    if (m_pBuffer->Lock(0, 0, &data, 0) < 0)
        return RES_FAIL;
    m_pLocked = data;
    return RES_OK;
}

Result C3DObjectIndexBaseDX81::Unlock(uint8_t)
{
    if (!m_pBuffer || !m_pLocked)
        return RES_OK;
    m_pLocked = nullptr;
    return m_pBuffer->Unlock() < 0 ? RES_FAIL : RES_OK;
}

uint8_t* C3DObjectIndexBaseDX81::IndexAt(uint32_t position) const
{
    if (!m_pLocked || position >= m_indexCount)
        return nullptr;
    return m_pLocked + size_t{position} * m_indexSize;
}

void C3DObjectIndexBaseDX81::SetIndex(uint32_t position, uint32_t value)
{
    uint8_t* at = IndexAt(position);
    if (!at)
        return;
    if (m_indexSize == 2) {
        const uint16_t narrow = static_cast<uint16_t>(value);
        memcpy(at, &narrow, sizeof narrow);
    } else {
        memcpy(at, &value, sizeof value);
    }
}

uint32_t C3DObjectIndexBaseDX81::GetIndex(uint32_t position)
{
    const uint8_t* at = IndexAt(position);
    if (!at)
        return kNoIndex;
    if (m_indexSize == 2) {
        uint16_t narrow = 0;
        memcpy(&narrow, at, sizeof narrow);
        return narrow;
    }
    uint32_t value = 0;
    memcpy(&value, at, sizeof value);
    return value;
}

void* C3DObjectIndexBaseDX81::GetIndexData(uint8_t* outElementSize)
{
    if (outElementSize)
        *outElementSize = m_indexSize;
    return m_pLocked;
}
