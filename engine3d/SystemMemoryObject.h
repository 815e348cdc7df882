#pragma once
#include <cstdint>

#include "engine3d/ObjectIndex.h"
#include "engine3d/ObjectPrivate.h"
#include "engine3d/SystemMemoryStorage.h"

// A 3D object whose vertices live in system memory, in the layout of the format bit of its
// flags A. Renderers that draw from system memory derive their object class from it and add
// the drawing; the convention says how colours and texture coordinates are stored.
// Setters and getters act only between Lock and Unlock; a misuse reaches OnStorageMisuse.
class C3DObjectSystemMemory : public C3DObjectPrivate {
public:
    C3DObjectSystemMemory(CWorldData* data, C3DEngine* engine, StorageConvention convention)
        : C3DObjectPrivate(data, engine), m_vertices(convention)
    {
    }

    // Frees the vertices, then the inherited release.
    Result Release() override;
    // The format's vertex size, and the vertex array (null before Create).
    void* GetVertexSize(uint8_t* outSize) override;
    // The inherited create, then zeroed vertices (out of memory: last error and result).
    Result Create(uint32_t parts, uint32_t vertices, uint32_t indices) override;
    Result Lock() override;
    // The normal pass and render state while the storage is locked, then UnlockStorage.
    Result Unlock(uint8_t rebuild) override;
    void SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx, float ny,
                   float nz, uint32_t specular) override;
    void SetPosition(uint32_t i, const Vector3* position) override;
    void SetUV(uint32_t i, const Vector2* uv) override;
    void SetUV2(uint32_t i, const Vector2* uv) override;
    void SetNormal(uint32_t i, const Vector3* normal) override;
    void SetVertexColor(uint32_t i, uint32_t argb) override;
    void SetSpecular(uint32_t i, uint32_t argb) override;
    void GetVertex(uint32_t i, Vector3* position, uint32_t* colour, Vector2* uv, Vector3* normal,
                   uint32_t* specular) override;
    Vector3* GetPosition(Vector3* out, uint32_t i) override;
    Vector2* GetUV(Vector2* out, uint32_t i) override;
    Vector2* GetUV2(Vector2* out, uint32_t i) override;
    Vector3* GetNormal(Vector3* out, uint32_t i) override;
    uint32_t GetVertexColor(uint32_t i) override;
    uint32_t GetSpecular(uint32_t i) override;

    bool IsLocked() const { return m_vertices.IsLocked(); }

protected:
    // Releases the vertex lock, then unlocks the active index buffer with the flag.
    Result UnlockStorage(uint8_t rebuild);
    // A setter or getter used while unlocked or with an index past the vertex count.
    virtual void OnStorageMisuse(const char* operation);

    CVertexStorage m_vertices;

private:
    void Check(bool ok, const char* operation);
    // out as read; zeroed, and a misuse, when the storage refused the read.
    template <typename T> T* CheckedRead(bool read, T* out, const char* operation);
};

// An index buffer of kind 1 (16-bit) or 2 (32-bit) in system memory. SetIndex and GetIndex act
// only between Lock and Unlock; GetIndexData answers the index array (null before Create).
class C3DObjectIndexSystemMemory : public C3DObjectIndex {
public:
    C3DObjectIndexSystemMemory(CWorldData* data, uint32_t kind);

    // The inherited release, then the indices.
    Result Release() override;
    // The inherited create, then zeroed indices (out of memory: last error and result).
    Result Create(uint32_t recordCount, uint32_t indexCount) override;
    Result Lock() override;
    void SetIndex(uint32_t position, uint32_t value) override;
    uint32_t GetIndex(uint32_t position) override;
    Result Unlock(uint8_t flag) override;
    void* GetIndexData(uint8_t* outElementSize) override;

protected:
    virtual void OnStorageMisuse(const char* operation);

    CIndexStorage m_indices;
};
