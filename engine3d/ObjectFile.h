#pragma once
#include <cstdint>

#include "core/BaseObject.h"
#include "core/Result.h"
#include "core/Vector3.h"
#include "engine3d/ObjectTypes.h"

struct CWorldData;
struct CPackerFile;

constexpr uint32_t kObjectFileNameBytes = 260;

// The work block of an object file: flat per-vertex arrays and per-part tables.
struct C3DObjectFileData {
    uint32_t indexCount;
    uint32_t vertexCount;
    uint32_t partCount;
    Matrix4 matrix;
    uint8_t unusedByte;
    uint16_t unusedWord;
    uint32_t indexKind;  // 1: indices stored as 16-bit values in a file
    uint32_t* indices;
    Vector3* positions;
    uint32_t* colours;
    uint32_t* colours2;  // specular
    Vector2* uvs;
    Vector3* normals;
    C3DPrimitiveGroup* parts;
    C3DMaterial* materials;
    char (*partNames)[kObjectFileNameBytes];
    char (*textureNames)[kObjectFileNameBytes];
    uint32_t* textureFlags;
    uint32_t* textureParams;
};

// In-memory form of an object as it lies in a file, between files and C3DObject. The readers
// and writers of the file formats fill and save the work block.
class C3DObjectFile : public CBaseObject {
public:
    explicit C3DObjectFile(CWorldData* data) : m_pWorldData(data) {}
    C3DObjectFile(const C3DObjectFile&) = delete;
    C3DObjectFile& operator=(const C3DObjectFile&) = delete;
    ~C3DObjectFile() override;

    // A zeroed work block with zeroed arrays for the non-zero counts and default materials;
    // the previous block is freed. Out of memory: last error and RES_OUT_OF_MEMORY.
    virtual Result Init(uint32_t partCount, uint32_t vertexCount, uint32_t indexCount);
    virtual Result Free();
    virtual Result LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name);
    virtual Result LoadFromPacker(CPackerFile* pak);
    virtual Result LoadFromFile(const char16_t* path);
    virtual Result SaveToFile(const char16_t* path, uint32_t flags);

    // The work block, null before Init.
    C3DObjectFileData* GetData() const { return m_pData; }

protected:
    CWorldData* m_pWorldData;
    C3DObjectFileData* m_pData = nullptr;
};
