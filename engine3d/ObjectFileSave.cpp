#include "engine3d/ObjectFileSave.h"

#include "core/FileSave.h"
#include "core/Stream.h"
#include "engine3d/ObjectFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kWrittenVersion = 16;
constexpr uint32_t kIndexKind32 = 2;

class C3dxOutput {
public:
    C3dxOutput(CStream& stream, uint64_t& written) : m_stream(stream), m_written(written) {}

    bool Write(const void* buffer, uint32_t elementSize, uint32_t count)
    {
        if (!m_stream.Write(buffer, elementSize, count))
            return false;
        m_written += uint64_t(elementSize) * count;
        return true;
    }
    bool WriteU32(uint32_t value) { return Write(&value, sizeof(value), 1); }

private:
    CStream& m_stream;
    uint64_t& m_written;
};

bool WritePart(C3dxOutput& out, const C3DObjectFileData& block, uint32_t p, uint32_t flags)
{
    if (!out.Write(&block.parts[p], sizeof(uint32_t), 8))
        return false;
    if (flags & k3dxTextureNames) {
        const char* name = block.textureNames[p].text;
        uint32_t length = static_cast<uint32_t>(strnlen(name, kObjectNameBytes - 1));
        if (!out.WriteU32(length) || !out.Write(name, 1, length))
            return false;
    }
    return (!(flags & k3dxTextureFlags) || out.WriteU32(block.textureFlags[p])) &&
           (!(flags & k3dxTextureParams) || out.WriteU32(block.textureParams[p])) &&
           (!(flags & k3dxMaterials) || out.Write(&block.materials[p], sizeof(float), 17));
}

bool WriteVertex(C3dxOutput& out, const C3DObjectFileData& block, uint32_t v, uint32_t flags)
{
    return (!(flags & k3dxPositions) || out.Write(&block.positions[v], sizeof(float), 3)) &&
           (!(flags & k3dxNormals) || out.Write(&block.normals[v], sizeof(float), 3)) &&
           (!(flags & k3dxColors) || out.WriteU32(block.colors[v])) &&
           (!(flags & k3dxColors2) || out.WriteU32(block.colors2[v])) &&
           (!(flags & k3dxUVs) || out.Write(&block.uvs[v], sizeof(float), 2));
}

bool WriteNarrowIndices(C3dxOutput& out, const C3DObjectFileData& block)
{
    uint16_t chunk[2048];
    uint32_t done = 0;
    while (done < block.IndexCount()) {
        uint32_t n = std::min<uint32_t>(block.IndexCount() - done, sizeof(chunk) / sizeof(chunk[0]));
        for (uint32_t i = 0; i < n; ++i)
            chunk[i] = static_cast<uint16_t>(block.indices[done + i]);
        if (!out.Write(chunk, sizeof(uint16_t), n))
            return false;
        done += n;
    }
    return true;
}

bool WriteIndices(C3dxOutput& out, const C3DObjectFileData& block)
{
    if (block.IndexCount() == 0)
        return true;
    bool fits16 = std::all_of(block.indices.begin(), block.indices.end(), [](uint32_t i) { return i <= 0xFFFF; });
    uint32_t kind = block.indexKind == k3dxIndexKind16 && !fits16 ? kIndexKind32 : block.indexKind;
    if (!out.WriteU32(kind))
        return false;
    if (kind == k3dxIndexKind16)
        return WriteNarrowIndices(out, block);
    return out.Write(block.indices.data(), sizeof(uint32_t), block.IndexCount());
}

} // namespace

bool Write3dx(CStream& stream, const C3DObjectFileData& block, uint32_t flags, uint64_t& bytesWritten)
{
    C3dxOutput out(stream, bytesWritten);
    const uint32_t header[5] = {block.PartCount(), block.VertexCount(), block.IndexCount(), kWrittenVersion, flags};
    if (!out.Write(header, sizeof(uint32_t), 5))
        return false;
    for (uint32_t p = 0; p < block.PartCount(); ++p) {
        if (!WritePart(out, block, p, flags))
            return false;
    }
    for (uint32_t v = 0; v < block.VertexCount(); ++v) {
        if (!WriteVertex(out, block, v, flags))
            return false;
    }
    return WriteIndices(out, block);
}

Result C3DObjectFile::Save3dx(const char16_t* path, uint32_t flags)
{
    uint64_t written = 0;
    Result result =
        SaveFileReplacing(path, [&](CStream& stream) { return Write3dx(stream, *m_pBlock, flags, written); });
    if (Failed(result))
        return Report(RES_FAIL, path, "SaveToFile", "the file cannot be written");
    return RES_OK;
}
