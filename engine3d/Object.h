#pragma once
#include <cstdint>

#include "core/PackerFile.h"
#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/Item.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/ResourceName.h"

class C3DEngine;
class C3DObjectFile;
class C3DObjectIndex;
class C3DTexture;

// The unit of drawing: vertices in one of four formats, an index buffer holding one
// primitive-group record per part, and per part a material and two texture stages. Made and
// destroyed only by the engine (CreateObject / DestroyObject), which it keeps a pointer to.
// Filling: Create, Lock, vertex setters, index writes, SetPrimitiveGroup per part, Unlock.
// Each texture slot holds one reference of the engine's texture list while set.
class C3DObject : public C3DItem {
public:
    C3DObject(CWorldData* data, C3DEngine* engine);
    ~C3DObject() override;

    virtual Result Init();
    virtual Result Release();
    virtual Result Render() = 0;
    virtual Result RenderPart(uint32_t part) = 0;
    virtual Result SetTextureAll(C3DTexture* texture, uint32_t stage);
    virtual Result SetPartTexture(C3DTexture* texture, uint32_t part, uint32_t stage);
    virtual void SetAlpha(uint8_t alpha);
    virtual void SetColor(uint32_t argb);
    // Base: re-applies the engine camera's projection; renderers also apply the matrix.
    virtual Result PushTransform();
    virtual Result RenderGeometry() = 0;
    virtual Result RenderPartGeometry(uint32_t part) = 0;
    virtual Result ApplyPartState(uint32_t part) = 0;
    // Draws primitiveCount primitives of type (-1: points) from firstVertex with cull code
    // cull (-1: counter-clockwise) on the state ApplyPartState set.
    virtual Result DrawVertices(uint32_t part, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                                int32_t cull) = 0;
    // Closes an ApplyPartState / DrawVertices sequence.
    virtual void EndDraw();
    // Kind of the owned index buffer, 1 or 2; RES_FAIL without one.
    virtual Result GetIndexKind(uint8_t* outKind);
    // Writes the vertex size (0 in the base) and answers the vertex memory, null while it
    // cannot be written.
    virtual void* GetVertexSize(uint8_t* outSize);
    virtual Result Create(uint32_t parts, uint32_t vertices, uint32_t indices);
    virtual Result Lock();
    virtual void SetIndex(uint32_t position, uint32_t value);
    virtual uint32_t GetIndex(uint32_t position);
    virtual void SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx,
                           float ny, float nz, uint32_t specular);
    virtual void SetPosition(uint32_t i, const Vector3* position);
    virtual void SetUV(uint32_t i, const Vector2* uv);
    virtual void SetUV2(uint32_t i, const Vector2* uv);
    virtual void SetNormal(uint32_t i, const Vector3* normal);
    virtual void SetVertexColor(uint32_t i, uint32_t argb);
    virtual void SetSpecular(uint32_t i, uint32_t argb);
    // Every out pointer that is not null gets its field.
    virtual void GetVertex(uint32_t i, Vector3* position, uint32_t* colour, Vector2* uv, Vector3* normal,
                           uint32_t* specular);
    virtual Vector3* GetPosition(Vector3* out, uint32_t i);
    virtual Vector2* GetUV(Vector2* out, uint32_t i);
    virtual Vector2* GetUV2(Vector2* out, uint32_t i);
    virtual Vector3* GetNormal(Vector3* out, uint32_t i);
    virtual uint32_t GetVertexColor(uint32_t i);
    virtual uint32_t GetSpecular(uint32_t i);
    virtual Result GetPrimitiveGroup(uint32_t part, C3DPrimitiveGroup* out);
    virtual Result GetPrimitiveGroupFields(uint32_t part, uint32_t* firstVertex, uint32_t* vertexCount,
                                           uint32_t* firstIndex, uint32_t* indexCount, uint32_t* primitiveCount,
                                           uint32_t* type, uint32_t* cull, uint32_t* id);
    virtual Result Unlock(uint8_t rebuild);
    virtual void SetPrimitiveTypeAll(uint32_t type);
    virtual void SetPrimitiveType(uint32_t part, uint32_t type);
    // kNoIndex when there is no such part.
    virtual uint32_t GetPrimitiveType(uint32_t part);
    virtual void SetCullModeAll(uint32_t cull);
    virtual void SetCullMode(uint32_t part, uint32_t cull);
    virtual uint32_t GetCullMode(uint32_t part);
    virtual Result ComputeNormals();
    virtual Result ComputeSmoothNormals();
    // Point size := ([POINT_SPRITE] MAX_SIZE - MIN_SIZE) x value.
    virtual void SetPointSize(float value);
    virtual Result MakeTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                          uint32_t stage, const char16_t* name);
    virtual Result MakeOneTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                             uint32_t part, uint32_t stage, const char16_t* name);
    virtual Result LoadTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t stage);
    virtual Result LoadOneTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t part,
                                            uint32_t stage);
    virtual Result LoadTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path, uint32_t stage);
    virtual Result LoadOneTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path, uint32_t part,
                                          uint32_t stage);
    virtual Result SaveTextureToFile(const char16_t* path, uint32_t part, uint32_t stage);
    virtual C3DTexture* GetTexture(uint32_t part, uint32_t stage);
    virtual Result ReleaseTextureStage(uint32_t stage);
    virtual Result ReleaseTexture(uint32_t part, uint32_t stage);
    // ".3dx" data from memory; part textures through the data block's memory lookup.
    virtual Result LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name);
    // The same, with part textures through the given pak lookup.
    virtual Result LoadFromAddressEx(const uint8_t* data, uint32_t size, const char16_t* name,
                                     PackerLookup pakLookup);
    // From the pak entry the record stands at; part textures through the data block's pak lookup.
    virtual Result LoadFromPacker(CPackerFile* pak);
    // The same, with part textures through the given memory lookup.
    virtual Result LoadFromPackerEx(CPackerFile* pak, MemoryLookup memoryLookup);
    // From a file; part textures from files in textureFolder.
    virtual Result LoadFromFile(const char16_t* path, const char16_t* textureFolder);
    virtual Result LoadFromFileEx(const char16_t* path, MemoryLookup memoryLookup, PackerLookup pakLookup,
                                  const char16_t* textureFolder);
    virtual Result SaveToFile(const char16_t* path, uint32_t flags);
    virtual Result LoadFromRaw(C3DObjectFile* file, MemoryLookup memoryLookup, PackerLookup pakLookup,
                               const char16_t* textureFolder);
    virtual Result SaveToRaw(C3DObjectFile* file, uint32_t flags);
    virtual Result CreatePrimitive(uint32_t kind, void* parameters);
    virtual Result MergeObjects(C3DObject** sources, uint32_t count, const char16_t* textureFolder);
    virtual Result CreateNormalLines(C3DObject** sources, uint32_t count, float length, uint32_t colour);
    virtual Result RecordRenderState();
    // Applies the recorded render state before a draw.
    virtual Result ApplyRenderState();
    // Per-axis bounds of every vertex position; transformed: both corners by the current matrix.
    virtual Result GetBoundingBox(Vector3* outMin, Vector3* outMax, uint8_t transformed);
    virtual Result GetPartBoundingBox(uint32_t part, Vector3* outMin, Vector3* outMax, uint8_t transformed);
    virtual Result GetUVBounds(Vector2* outMin, Vector2* outMax);
    virtual Result GetPartUVBounds(uint32_t part, Vector2* outMin, Vector2* outMax);
    virtual Result GetUV2Bounds(Vector2* outMin, Vector2* outMax);
    virtual Result GetPartUV2Bounds(uint32_t part, Vector2* outMin, Vector2* outMax);
    // Ray from `from` towards `to` against the triangle lists; triangle[0..2] receive the
    // vertex numbers of the first hit (a given triangle with triangle[0] != -1 is tried first).
    // Answers the hit's distance along the ray, 0 when nothing is hit in front of `from`.
    virtual float PickTriangle(const Vector3* from, const Vector3* to, int32_t* triangle);
    virtual Result RebuildStateBlock();
    virtual Result ReleaseStateBlock();

    // Through the owned index buffer.
    void ResetIndices();
    void FillIndexRange(uint32_t first, uint32_t count);
    Result SetPrimitiveGroup(uint32_t part, uint32_t firstVertex, uint32_t vertexCount, uint32_t firstIndex,
                             uint32_t indexCount, uint32_t primitiveCount, uint32_t type, uint32_t cull,
                             uint32_t id);

    // Kept by the engine's factory before Init.
    void SetFlags(uint32_t flagsA, uint32_t flagsB);
    void SetFlagsB(uint32_t flagsB) { m_flagsB = flagsB; }
    uint32_t GetFlagsA() const { return m_flagsA; }
    uint32_t GetFlagsB() const { return m_flagsB; }
    uint32_t GetColor() const { return m_colour; }
    uint32_t GetVertexCount() const { return m_vertexCount; }
    uint32_t GetPartCount() const { return m_partCount; }
    float GetPointSize() const { return m_pointSize; }
    const char16_t* GetName() const { return m_name.Get(); }
    C3DMaterial* GetMaterial(uint32_t part) const;
    C3DObjectIndex* GetIndexBuffer() const { return m_pIndex; }
    C3DObjectIndex* GetActiveIndexBuffer() const { return m_pActiveIndex; }
    C3DEngine* GetEngine() const { return m_pEngine; }

protected:
    bool HasNormals() const { return (m_flagsA & (kFormatColorTex | kFormatColor)) == 0; }
    C3DTexture*& TextureSlot(uint32_t part, uint32_t stage) { return m_pTextures[part * 2 + stage]; }
    // Drops the reference of every texture slot, then frees both tables.
    void FreePartTables();
    // Record of a part, or null.
    C3DPrimitiveGroup* PartRecord(uint32_t part) const;
    // The record a part draws: the record numbered by the id in the part's record; null when
    // that id names no record.
    C3DPrimitiveGroup* DrawnRecord(uint32_t part) const;

    C3DEngine* m_pEngine;
    uint32_t m_colour = 0xFFFFFFFFu;
    uint32_t m_vertexCount = 0;
    uint32_t m_partCount = 0;
    COwnedText m_name;
    uint32_t m_flagsA = 0;
    uint32_t m_flagsB = 0;
    C3DObjectIndex* m_pIndex = nullptr;
    C3DObjectIndex* m_pActiveIndex = nullptr;
    C3DTexture** m_pTextures = nullptr;  // two per part: stage 0, stage 1
    C3DMaterial* m_pMaterials = nullptr;
    float m_pointSize = 0.0f;

private:
    Result LoadPartTextures(C3DObjectFile* file, MemoryLookup memoryLookup, PackerLookup pakLookup,
                            const char16_t* textureFolder);
    Result LoadPartTexture(uint32_t part, const char16_t* name, uint32_t flags, uint32_t parameter,
                           MemoryLookup memoryLookup, PackerLookup pakLookup, const char16_t* textureFolder);
    Result LoadFromReader(C3DObjectFile* file, Result readResult, MemoryLookup memoryLookup,
                          PackerLookup pakLookup, const char16_t* textureFolder, const char16_t* name);
    Result PartBounds(uint32_t part, int field, float* outMin, float* outMax, bool* found);
    void VertexBounds(int field, float* lo, float* hi);
    // Bounds of a two-coordinate field (uv or uv2) over every vertex, or over a part's.
    Result FlatBounds(int field, Vector2* outMin, Vector2* outMax);
    Result PartFlatBounds(uint32_t part, int field, Vector2* outMin, Vector2* outMax);
    void ReadField(uint32_t vertex, int field, float* out);
};
