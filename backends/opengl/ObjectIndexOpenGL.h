#pragma once
#include <cstdint>

#include "engine3d/SystemMemoryObject.h"

// OpenGL index buffer: indices in system memory beside the part records, and the table of
// display lists the OpenGL objects compile per part (entry k: the list of record k, 0 for none).
class C3DObjectIndexBaseOpenGL : public C3DObjectIndexSystemMemory {
public:
    C3DObjectIndexBaseOpenGL(CWorldData* data, uint32_t kind) : C3DObjectIndexSystemMemory(data, kind) {}
    ~C3DObjectIndexBaseOpenGL() override;

    // Deletes the lists and frees the table, then the indices and records.
    Result Release() override;
    // A zeroed list table of recordCount entries, then the records and the indices.
    Result Create(uint32_t recordCount, uint32_t indexCount) override;
    // glDrawElements of the record's primitives from its first index; nothing when the record
    // reaches past the indices.
    virtual void Draw(const C3DPrimitiveGroup& record);

    // True when the record's primitives lie inside the indices and every index they use is
    // below vertexLimit (the vertices from the record's first vertex on).
    bool CanDraw(const C3DPrimitiveGroup& record, uint32_t vertexLimit) const;
    // Index at a position, read whether locked or not; false past the end.
    bool ReadIndex(uint32_t position, uint32_t* value) const;

    // Display lists: a new block of one list per record (any previous block deleted first).
    uint32_t NewListBlock();
    void DeleteLists();
    void SetList(uint32_t record, uint32_t list);
    // The list of record n; 0 for none or when n names no record.
    uint32_t GetList(uint32_t record) const;

private:
    void FreeListTable();

    uint32_t* m_pLists = nullptr;
    uint32_t m_listBase = 0;
};

// Kind 1: 16-bit indices.
class C3DObjectIndex16OpenGL : public C3DObjectIndexBaseOpenGL {
public:
    explicit C3DObjectIndex16OpenGL(CWorldData* data) : C3DObjectIndexBaseOpenGL(data, kIndexKind16) {}
};

// Kind 2: 32-bit indices.
class C3DObjectIndex32OpenGL : public C3DObjectIndexBaseOpenGL {
public:
    explicit C3DObjectIndex32OpenGL(CWorldData* data) : C3DObjectIndexBaseOpenGL(data, kIndexKind32) {}
};
