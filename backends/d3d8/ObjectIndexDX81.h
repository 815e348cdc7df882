#pragma once
#include <cstdint>

#include "engine3d/ObjectIndex.h"
#include "platform/d3d8/D3D8.h"

// Direct3D 8 index buffer: the part records in the base, the indices in a device index buffer in
// system memory, which survives a device reset. The two kinds differ only in the index width and
// format. SetIndex and GetIndex act only between Lock and Unlock and below the index count.
class C3DObjectIndexBaseDX81 : public C3DObjectIndex {
public:
    C3DObjectIndexBaseDX81(CWorldData* data, uint32_t kind, uint8_t indexSize, D3DFORMAT format);
    // Releases the device buffer, then the base.
    ~C3DObjectIndexBaseDX81() override;

    // Usage word := D3DUSAGE_DYNAMIC.
    Result Init() override;
    // The records, then the device buffer.
    Result Release() override;
    // SetIndices with the device buffer and the record's first vertex as base vertex index.
    void Select(const C3DPrimitiveGroup* record) override;
    // The records, then a device buffer of indexCount indices.
    Result Create(uint32_t recordCount, uint32_t indexCount) override;
    // Without a device buffer: 0 and nothing locked.
    Result Lock() override;
    // Cut to the index width.
    void SetIndex(uint32_t position, uint32_t value) override;
    // kNoIndex outside a lock or past the index count.
    uint32_t GetIndex(uint32_t position) override;
    Result Unlock(uint8_t flag) override;
    // The locked memory (null while unlocked) and the index width.
    void* GetIndexData(uint8_t* outElementSize) override;

    IDirect3DIndexBuffer8* GetDeviceBuffer() const { return m_pBuffer; }
    uint32_t GetUsage() const { return m_usage; }

private:
    void ReleaseBuffer();
    uint8_t* IndexAt(uint32_t position) const;

    const uint8_t m_indexSize;
    const D3DFORMAT m_format;
    IDirect3DIndexBuffer8* m_pBuffer = nullptr;
    uint32_t m_usage = 0;
    uint8_t* m_pLocked = nullptr;
};

// Kind 1: 16-bit indices (D3DFMT_INDEX16).
class C3DObjectIndex16DX81 : public C3DObjectIndexBaseDX81 {
public:
    explicit C3DObjectIndex16DX81(CWorldData* data) : C3DObjectIndexBaseDX81(data, kIndexKind16, 2, D3DFMT_INDEX16) {}
};

// Kind 2: 32-bit indices (D3DFMT_INDEX32).
class C3DObjectIndex32DX81 : public C3DObjectIndexBaseDX81 {
public:
    explicit C3DObjectIndex32DX81(CWorldData* data) : C3DObjectIndexBaseDX81(data, kIndexKind32, 4, D3DFMT_INDEX32) {}
};
