#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/ObjectTypes.h"

struct CWorldData;
struct CPackerFile;
class C3dxInput;

// Content flags of a ".3dx" file: which arrays it stores.
constexpr uint32_t k3dxPositions = 0x10000;
constexpr uint32_t k3dxNormals = 0x20000;
constexpr uint32_t k3dxColors = 0x40000;
constexpr uint32_t k3dxColors2 = 0x80000;
constexpr uint32_t k3dxUVs = 0x100000;
constexpr uint32_t k3dxMaterials = 0x400000;
constexpr uint32_t k3dxTextureNames = 0x800000;
constexpr uint32_t k3dxTextureFlags = 0x1000000;
constexpr uint32_t k3dxTextureParams = 0x2000000;
constexpr uint32_t k3dxVertexContent = k3dxPositions | k3dxNormals | k3dxColors | k3dxColors2 | k3dxUVs;
constexpr uint32_t k3dxAllContent =
    k3dxVertexContent | k3dxMaterials | k3dxTextureNames | k3dxTextureFlags | k3dxTextureParams;

// Index kind 1: the file stores the indices as u16; any other kind stores u32.
constexpr uint32_t k3dxIndexKind16 = 1;

// Part and texture names: 8-bit text, always terminated.
constexpr size_t kObjectNameBytes = 260;

// Texture words given to every part whose texture an import or an old ".3dx" version names:
// creation flags (shared) and sampling flags.
constexpr uint32_t kObjectTextureFlags = 1;
constexpr uint32_t kObjectTextureParams = 0x52;

struct C3DObjectName {
    char text[kObjectNameBytes];
};

// The work block: flat per-vertex arrays, the indices and the per-part tables. All vertex arrays
// hold VertexCount() elements and all part tables PartCount() elements. Indices count from
// their part's first vertex.
struct C3DObjectFileData {
    Matrix4 matrix;
    uint32_t indexKind = 0;
    std::vector<uint32_t> indices;
    std::vector<Vector3> positions;
    std::vector<uint32_t> colors;   // 0xAARRGGBB
    std::vector<uint32_t> colors2;  // specular, 0xAARRGGBB
    std::vector<Vector2> uvs;
    std::vector<Vector3> normals;
    std::vector<C3DPrimitiveGroup> parts;
    std::vector<C3DMaterial> materials;
    std::vector<C3DObjectName> partNames;
    std::vector<C3DObjectName> textureNames;
    std::vector<uint32_t> textureFlags;   // first CreateTexture word
    std::vector<uint32_t> textureParams;  // second CreateTexture word

    uint32_t PartCount() const { return static_cast<uint32_t>(parts.size()); }
    uint32_t VertexCount() const { return static_cast<uint32_t>(positions.size()); }
    uint32_t IndexCount() const { return static_cast<uint32_t>(indices.size()); }
};

// The neutral in-memory form of a 3D object as it lies in a file. Reads ".3dx" versions 2, 4, 8
// and 16, writes version 16, and imports ".obj" and ".3ds" files. Every load checks the parts
// against the arrays: after a successful load each part's vertex and index ranges lie inside the
// arrays, every index plus its part's first vertex names a vertex, and the primitive count fits
// the part's indices.
class C3DObjectFile : public CBaseObject {
public:
    explicit C3DObjectFile(CWorldData* data);
    ~C3DObjectFile() override = default;
    C3DObjectFile(const C3DObjectFile&) = delete;
    C3DObjectFile& operator=(const C3DObjectFile&) = delete;

    // A zeroed work block with the given counts, identity matrix and default materials.
    // Out of memory: the engine's last error and RES_OUT_OF_MEMORY.
    virtual Result Init(uint32_t partCount, uint32_t vertexCount, uint32_t indexCount);
    virtual Result Free();
    // The name must end in ".3dx" (any case).
    virtual Result LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name);
    // Reads the entry a pak lookup left the pak file at, no further than its found size.
    virtual Result LoadFromPacker(CPackerFile* pak);
    // ".3dx", ".3ds" or ".obj" by the path's extension.
    virtual Result LoadFromFile(const char16_t* path);
    // ".3dx" only: version 16 with the given content flags, through a temporary file in the
    // same folder that replaces the target once complete.
    virtual Result SaveToFile(const char16_t* path, uint32_t flags);
    // Appends a copy of a part of source: its vertices in order, each with an index of its own
    // (the source's indices are not copied), its texture name and texture words 1 and 0x52.
    virtual Result AddPart(uint32_t part, const C3DObjectFile* source);
    // Appends count empty parts (default material) that start after the current vertices and indices.
    virtual Result GrowParts(uint32_t count, uint32_t type, uint32_t cull, const char* name);
    // Appends a vertex to a part and an index naming it; later parts move up by one.
    virtual Result AddVertex(uint32_t part, float x, float y, float z, uint32_t colour, float u, float v, float nx,
                             float ny, float nz, uint32_t colour2);
    virtual Result SetPartTexture(uint32_t part, const char* name, uint32_t flags, uint32_t param);
    // Primitive counts from each part's index count and type; first indices so that the parts
    // follow each other.
    virtual Result UpdatePrimitiveCounts();

    // Wavefront OBJ text from the two known exporters; one part per group.
    Result ImportOBJ(const char16_t* path);
    // 3D Studio files through lib3ds, in a child process; one part per material.
    Result Import3DS(const char16_t* path);
    // How long a 3DS import may run before it is given up (60 seconds unless set).
    void SetImportTimeout(int milliseconds) { m_importTimeoutMs = milliseconds; }

    // The work block; null before Init and after Free.
    C3DObjectFileData* GetData() { return m_pBlock.get(); }
    const C3DObjectFileData* GetData() const { return m_pBlock.get(); }

private:
    Result Read3dx(C3dxInput& input, const char16_t* name, const char* operation);
    Result Save3dx(const char16_t* path, uint32_t flags);
    Result Import3dsIsolated(const char16_t* path);
    Result Report(Result result, const char16_t* name, const char* operation, const char* reason);
    void SetLastError(Result result);
    void LogFailure(const char* operation, const char16_t* name, const char* reason) const;

    CWorldData* m_pData;
    std::unique_ptr<C3DObjectFileData> m_pBlock;
    int m_importTimeoutMs = 60000;
};
