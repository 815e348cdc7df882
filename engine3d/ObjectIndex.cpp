#include "engine3d/ObjectIndex.h"

#include <cstdlib>

C3DObjectIndex::C3DObjectIndex(CWorldData* data) : m_pWorldData(data) {}

C3DObjectIndex::~C3DObjectIndex()
{
    FreeRecords();
}

void C3DObjectIndex::FreeRecords()
{
    free(m_pRecords);
    m_pRecords = nullptr;
    m_recordCount = 0;
}

Result C3DObjectIndex::Init() { return RES_OK; }

Result C3DObjectIndex::Release()
{
    FreeRecords();
    return RES_OK;
}

Result C3DObjectIndex::GetKind(uint8_t* outKind)
{
    if (outKind)
        *outKind = static_cast<uint8_t>(m_kind);
    return RES_OK;
}

void C3DObjectIndex::Select(const C3DPrimitiveGroup*) {}

Result C3DObjectIndex::Create(uint32_t recordCount, uint32_t indexCount)
{
    FreeRecords();
    m_indexCount = indexCount;
    if (recordCount > 0) {
        m_pRecords = static_cast<C3DPrimitiveGroup*>(calloc(recordCount, sizeof(C3DPrimitiveGroup)));
        if (!m_pRecords)
            return RES_FAIL;
    }
    m_recordCount = recordCount;
    return RES_OK;
}

Result C3DObjectIndex::Lock() { return RES_OK; }

void C3DObjectIndex::SetIndex(uint32_t, uint32_t) {}

uint32_t C3DObjectIndex::GetIndex(uint32_t) { return kNoIndex; }

Result C3DObjectIndex::Unlock(uint8_t) { return RES_OK; }

C3DPrimitiveGroup* C3DObjectIndex::GetRecordAddress(uint32_t n)
{
    return n < m_recordCount ? &m_pRecords[n] : nullptr;
}

Result C3DObjectIndex::GetRecord(uint32_t n, uint32_t* firstVertex, uint32_t* vertexCount, uint32_t* firstIndex,
                                 uint32_t* indexCount, uint32_t* primitiveCount, uint32_t* type, uint32_t* cull,
                                 uint32_t* id)
{
    const C3DPrimitiveGroup* r = GetRecordAddress(n);
    if (!r)
        return RES_FAIL;
    if (firstVertex)
        *firstVertex = r->firstVertex;
    if (vertexCount)
        *vertexCount = r->vertexCount;
    if (firstIndex)
        *firstIndex = r->firstIndex;
    if (indexCount)
        *indexCount = r->indexCount;
    if (primitiveCount)
        *primitiveCount = r->primitiveCount;
    if (type)
        *type = r->primitiveType;
    if (cull)
        *cull = r->cullCode;
    if (id)
        *id = r->id;
    return RES_OK;
}

Result C3DObjectIndex::OnDeviceRestore() { return RES_OK; }

Result C3DObjectIndex::OnDeviceLost() { return RES_OK; }

void* C3DObjectIndex::GetIndexData(uint8_t* outElementSize)
{
    if (outElementSize)
        *outElementSize = 0;
    return nullptr;
}

void C3DObjectIndex::ResetIndices()
{
    for (uint32_t i = 0; i < m_indexCount; ++i)
        SetIndex(i, i);
}

void C3DObjectIndex::FillIndexRange(uint32_t first, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        SetIndex(first + i, i);
}

Result C3DObjectIndex::SetRecord(uint32_t n, uint32_t firstVertex, uint32_t vertexCount, uint32_t firstIndex,
                                 uint32_t indexCount, uint32_t primitiveCount, uint32_t type, uint32_t cull,
                                 uint32_t id)
{
    C3DPrimitiveGroup* r = GetRecordAddress(n);
    if (!r)
        return RES_FAIL;
    *r = C3DPrimitiveGroup{id == kPartNumberId ? n : id, firstVertex, vertexCount, firstIndex, indexCount,
                           primitiveCount, type, cull};
    return RES_OK;
}

bool RecordFitsBuffers(const C3DPrimitiveGroup& record, uint32_t recordCount, uint32_t vertexCount,
                       uint32_t indexCount)
{
    if (record.id >= recordCount || record.primitiveType > kPrimitivePointList)
        return false;
    if (uint64_t{record.firstVertex} + record.vertexCount > vertexCount)
        return false;
    if (uint64_t{record.firstIndex} + record.indexCount > indexCount)
        return false;
    return IndicesForPrimitives(record.primitiveType, record.primitiveCount) <= record.indexCount;
}
