#include "engine3d/ObjectFile.h"

#include <cstdlib>

#include "core/WorldData.h"

namespace {

template <typename T> bool AllocateArray(T*& out, uint32_t count)
{
    if (count == 0)
        return true;
    out = static_cast<T*>(calloc(count, sizeof(T)));
    return out != nullptr;
}

} // namespace

C3DObjectFile::~C3DObjectFile()
{
    Free();
}

Result C3DObjectFile::Init(uint32_t partCount, uint32_t vertexCount, uint32_t indexCount)
{
    Free();
    m_pData = static_cast<C3DObjectFileData*>(calloc(1, sizeof(C3DObjectFileData)));
    bool ok = m_pData != nullptr;
    if (ok) {
        C3DObjectFileData& d = *m_pData;
        d.partCount = partCount;
        d.vertexCount = vertexCount;
        d.indexCount = indexCount;
        d.matrix.m[0] = d.matrix.m[5] = d.matrix.m[10] = d.matrix.m[15] = 1.0f;
        ok = AllocateArray(d.indices, indexCount) && AllocateArray(d.positions, vertexCount) &&
             AllocateArray(d.colours, vertexCount) && AllocateArray(d.colours2, vertexCount) &&
             AllocateArray(d.uvs, vertexCount) && AllocateArray(d.normals, vertexCount) &&
             AllocateArray(d.parts, partCount) && AllocateArray(d.materials, partCount) &&
             AllocateArray(d.partNames, partCount) && AllocateArray(d.textureNames, partCount) &&
             AllocateArray(d.textureFlags, partCount) && AllocateArray(d.textureParams, partCount);
    }
    if (!ok) {
        Free();
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    for (uint32_t p = 0; p < partCount; ++p)
        m_pData->materials[p] = DefaultMaterial();
    return RES_OK;
}

Result C3DObjectFile::Free()
{
    if (!m_pData)
        return RES_OK;
    C3DObjectFileData& d = *m_pData;
    free(d.indices);
    free(d.positions);
    free(d.colours);
    free(d.colours2);
    free(d.uvs);
    free(d.normals);
    free(d.parts);
    free(d.materials);
    free(d.partNames);
    free(d.textureNames);
    free(d.textureFlags);
    free(d.textureParams);
    free(m_pData);
    m_pData = nullptr;
    return RES_OK;
}

Result C3DObjectFile::LoadFromAddress(const uint8_t*, uint32_t, const char16_t*) { return RES_FAIL; }

Result C3DObjectFile::LoadFromPacker(CPackerFile*) { return RES_FAIL; }

Result C3DObjectFile::LoadFromFile(const char16_t*) { return RES_FAIL; }

Result C3DObjectFile::SaveToFile(const char16_t*, uint32_t) { return RES_FAIL; }
