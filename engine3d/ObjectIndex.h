#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "engine3d/ObjectTypes.h"

struct CWorldData;

// Renderer-neutral index buffer: the part records of one object and, in the kind classes, its
// indices. The engine's CreateIndexBuffer makes a renderer class of kind 1 (16-bit) or 2
// (32-bit); the base keeps the records and counts, the kind classes the index storage.
class C3DObjectIndex : public CBaseObject {
public:
    explicit C3DObjectIndex(CWorldData* data);
    C3DObjectIndex(const C3DObjectIndex&) = delete;
    C3DObjectIndex& operator=(const C3DObjectIndex&) = delete;
    ~C3DObjectIndex() override;

    virtual Result Init();
    // Frees the record table.
    virtual Result Release();
    // Writes the kind, 1 or 2 (0 while no kind class set it).
    virtual Result GetKind(uint8_t* outKind);
    // Hands the buffer to the device for the record's draw.
    virtual void Select(const C3DPrimitiveGroup* record);
    // Stores both counts and allocates a zeroed record table (a previous one is freed).
    virtual Result Create(uint32_t recordCount, uint32_t indexCount);
    virtual Result Lock();
    virtual void SetIndex(uint32_t position, uint32_t value);
    // kNoIndex in the base.
    virtual uint32_t GetIndex(uint32_t position);
    virtual Result Unlock(uint8_t flag);
    // Record n, or null when n is not below the record count.
    virtual C3DPrimitiveGroup* GetRecordAddress(uint32_t n);
    // Fills every out pointer that is not null; RES_FAIL when there is no record n.
    virtual Result GetRecord(uint32_t n, uint32_t* firstVertex, uint32_t* vertexCount, uint32_t* firstIndex,
                             uint32_t* indexCount, uint32_t* primitiveCount, uint32_t* type, uint32_t* cull,
                             uint32_t* id);
    virtual Result OnDeviceRestore();
    virtual Result OnDeviceLost();
    // The index memory (null while it cannot be written) and its element size, 2 or 4 (0 in
    // the base).
    virtual void* GetIndexData(uint8_t* outElementSize);

    // index i := i over the whole buffer.
    void ResetIndices();
    // index first + i := i for i below count.
    void FillIndexRange(uint32_t first, uint32_t count);
    // Writes record n; id kPartNumberId stores n. RES_FAIL when there is no record n.
    Result SetRecord(uint32_t n, uint32_t firstVertex, uint32_t vertexCount, uint32_t firstIndex,
                     uint32_t indexCount, uint32_t primitiveCount, uint32_t type, uint32_t cull, uint32_t id);

    uint32_t GetKindWord() const { return m_kind; }
    uint32_t GetRecordCount() const { return m_recordCount; }
    uint32_t GetIndexCount() const { return m_indexCount; }
    CWorldData* GetWorldData() const { return m_pWorldData; }

protected:
    void FreeRecords();

    CWorldData* m_pWorldData;
    uint32_t m_kind = 0;
    C3DPrimitiveGroup* m_pRecords = nullptr;
    uint32_t m_recordCount = 0;
    uint32_t m_indexCount = 0;
};

// True when the record's ranges lie inside buffers of the given sizes and its type and
// primitive count fit its index count. Records read from files pass this before use.
bool RecordFitsBuffers(const C3DPrimitiveGroup& record, uint32_t recordCount, uint32_t vertexCount,
                       uint32_t indexCount);
