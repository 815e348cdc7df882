#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Result.h"
#include "core/Vector3.h"

// Byte layout of one vertex of a format; an offset of -1 means the format lacks the field.
struct VertexLayout {
    uint32_t format;  // the flags A bit
    uint32_t size;
    int32_t position;
    int32_t normal;
    int32_t colour;
    int32_t specular;
    int32_t uv;
    int32_t uv2;
};

// Layout of the first format bit of flags A found in the order 0x02, 0x04, 0x08, 0x10; null
// when flags A holds none.
const VertexLayout* VertexLayoutForFlags(uint32_t flagsA);

// How stored values relate to the interface's: Direct3D keeps ARGB colours and v as given;
// OpenGL stores colours with red and blue exchanged and v as 1 - v (both undone on reading).
enum class StorageConvention : uint8_t { Direct3D, OpenGL };

// A plain zeroed array of elements of one size, reached while locked: the storage under both
// the vertices and the indices of an object.
class CLockableArray {
public:
    CLockableArray() = default;
    CLockableArray(const CLockableArray&) = delete;
    CLockableArray& operator=(const CLockableArray&) = delete;
    ~CLockableArray();

    // Replaces the array by a zeroed one of count elements; RES_OUT_OF_MEMORY leaves none.
    Result Allocate(uint32_t elementSize, uint32_t count);
    void Free();
    uint8_t* Lock();
    void Unlock();
    bool IsLocked() const { return m_isLocked; }
    // Element i can be reached: the array is locked and i is below the count.
    bool Reaches(uint32_t i) const { return m_isLocked && i < m_count; }
    // Element i of the locked array; ask Reaches first.
    uint8_t* Element(uint32_t i) const { return m_locked + static_cast<size_t>(i) * m_elementSize; }

    uint32_t ElementSize() const { return m_elementSize; }
    uint32_t Count() const { return m_count; }
    uint8_t* Data() { return m_data; }
    const uint8_t* Data() const { return m_data; }

private:
    uint32_t m_elementSize = 0;
    uint8_t* m_data = nullptr;
    uint8_t* m_locked = nullptr;
    uint32_t m_count = 0;
    bool m_isLocked = false;
};

// Vertices of one object in a plain zeroed array. Writes and reads through the field
// operations need the storage locked and an index below the count: they answer false and
// touch nothing otherwise. A field the format lacks is accepted and ignored on writing and
// reads as zero. Data() reaches the array at any time (drawing, tests).
class CVertexStorage {
public:
    explicit CVertexStorage(StorageConvention convention) : m_convention(convention) {}

    // Replaces the array by a zeroed one of count vertices; RES_OUT_OF_MEMORY leaves none.
    Result Allocate(const VertexLayout* layout, uint32_t count);
    void Free() { m_array.Free(); }
    uint8_t* Lock() { return m_array.Lock(); }
    void Unlock() { m_array.Unlock(); }
    bool IsLocked() const { return m_array.IsLocked(); }

    const VertexLayout* Layout() const { return m_layout; }
    uint32_t VertexSize() const { return m_layout ? m_layout->size : 0; }
    uint32_t Count() const { return m_array.Count(); }
    uint8_t* Data() { return m_array.Data(); }
    const uint8_t* Data() const { return m_array.Data(); }

    bool SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx, float ny,
                   float nz, uint32_t specular);
    bool SetPosition(uint32_t i, const Vector3& p);
    bool SetNormal(uint32_t i, const Vector3& n);
    bool SetColour(uint32_t i, uint32_t argb);
    bool SetSpecular(uint32_t i, uint32_t argb);
    bool SetUV(uint32_t i, const Vector2& uv);
    bool SetUV2(uint32_t i, const Vector2& uv);

    bool GetPosition(uint32_t i, Vector3* out) const;
    bool GetNormal(uint32_t i, Vector3* out) const;
    bool GetColour(uint32_t i, uint32_t* out) const;
    bool GetSpecular(uint32_t i, uint32_t* out) const;
    bool GetUV(uint32_t i, Vector2* out) const;
    bool GetUV2(uint32_t i, Vector2* out) const;

private:
    uint8_t* Field(uint32_t i, int32_t offset) const;
    bool Usable(uint32_t i) const;
    void WriteUV(uint32_t i, int32_t offset, const Vector2& uv);
    bool ReadUV(uint32_t i, int32_t offset, Vector2* out) const;
    uint32_t StoredColour(uint32_t argb) const;

    StorageConvention m_convention;
    const VertexLayout* m_layout = nullptr;
    CLockableArray m_array;
};

// Indices of one object in a plain zeroed array of 16- or 32-bit elements. Set and Get need
// the storage locked and a position below the count; a 16-bit store keeps the low 16 bits.
class CIndexStorage {
public:
    // elementSize 2 or 4; RES_FAIL for another size, RES_OUT_OF_MEMORY leaves none.
    Result Allocate(uint8_t elementSize, uint32_t count);
    void Free() { m_array.Free(); }
    void* Lock() { return m_array.Lock(); }
    void Unlock() { m_array.Unlock(); }
    bool IsLocked() const { return m_array.IsLocked(); }

    bool Set(uint32_t position, uint32_t value);
    bool Get(uint32_t position, uint32_t* out) const;

    uint8_t ElementSize() const { return static_cast<uint8_t>(m_array.ElementSize()); }
    uint32_t Count() const { return m_array.Count(); }
    void* Data() { return m_array.Data(); }
    const void* Data() const { return m_array.Data(); }

private:
    CLockableArray m_array;
};
