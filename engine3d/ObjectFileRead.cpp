#include "engine3d/ObjectFileRead.h"

#include "core/Stream.h"
#include "engine3d/ObjectFile.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kVersion2 = 2;
constexpr uint32_t kVersion4 = 4;
constexpr uint32_t kVersion8 = 8;
constexpr uint32_t kVersion16 = 16;

constexpr uint32_t kFixedNameBytes = 128;   // versions 4 and 8
constexpr uint32_t kVersion2NameBytes = 512;
constexpr uint32_t kVersion2PartBytes = kVersion2NameBytes + 8 * 12 + 4 * 4;
constexpr uint32_t kVersion2VertexBytes = 76;  // 72 bytes of fields, then 4 of padding
// Vertices without stored fields cost memory but no file bytes: no more than 16-bit indices name.
constexpr uint64_t kMaxBareVertices = 1u << 16;

const char* const kShortRead = "the data ends early";

uint32_t VertexBytes(uint32_t flags)
{
    uint32_t bytes = 0;
    bytes += (flags & k3dxPositions) ? sizeof(Vector3) : 0;
    bytes += (flags & k3dxNormals) ? sizeof(Vector3) : 0;
    bytes += (flags & k3dxColors) ? sizeof(uint32_t) : 0;
    bytes += (flags & k3dxColors2) ? sizeof(uint32_t) : 0;
    bytes += (flags & k3dxUVs) ? sizeof(Vector2) : 0;
    return bytes;
}

uint32_t PartHeaderBytes(uint32_t version, uint32_t flags)
{
    if (version == kVersion2)
        return kVersion2PartBytes;
    uint32_t bytes = sizeof(C3DPrimitiveGroup);
    if (flags & k3dxTextureNames)
        bytes += version == kVersion16 ? sizeof(uint32_t) : kFixedNameBytes;
    bytes += (flags & k3dxTextureFlags) ? sizeof(uint32_t) : 0;
    bytes += (flags & k3dxTextureParams) ? sizeof(uint32_t) : 0;
    bytes += (flags & k3dxMaterials) ? sizeof(C3DMaterial) : 0;
    return bytes;
}

// The fewest bytes the indices can take: version 16 may store them as u16 after its kind word.
uint64_t IndexBytes(uint32_t version, uint32_t indexCount)
{
    if (indexCount == 0)
        return 0;
    if (version == kVersion16)
        return sizeof(uint32_t) + uint64_t(indexCount) * sizeof(uint16_t);
    return uint64_t(indexCount) * sizeof(uint32_t);
}

bool InRange(uint32_t first, uint32_t count, size_t total)
{
    return uint64_t(first) + count <= total;
}

bool ReadVertex(C3dxInput& input, uint32_t flags, C3DObjectFileData& block, uint32_t v)
{
    return (!(flags & k3dxPositions) || input.Read(&block.positions[v], sizeof(float), 3)) &&
           (!(flags & k3dxNormals) || input.Read(&block.normals[v], sizeof(float), 3)) &&
           (!(flags & k3dxColors) || input.ReadU32(block.colors[v])) &&
           (!(flags & k3dxColors2) || input.ReadU32(block.colors2[v])) &&
           (!(flags & k3dxUVs) || input.Read(&block.uvs[v], sizeof(float), 2));
}

bool ReadVertices(C3dxInput& input, uint32_t flags, C3DObjectFileData& block, uint32_t first, uint32_t count)
{
    for (uint32_t v = first; v < first + count; ++v) {
        if (!ReadVertex(input, flags, block, v))
            return false;
    }
    return true;
}

bool ReadFixedName(C3dxInput& input, C3DObjectName& name)
{
    static_assert(kFixedNameBytes < kObjectNameBytes, "a fixed name leaves room for its terminator");
    memset(name.text, 0, sizeof(name.text));
    return input.Read(name.text, 1, kFixedNameBytes);
}

Result ReadCountedName(C3dxInput& input, C3DObjectName& name, const char*& reason)
{
    uint32_t length = 0;
    if (!input.ReadU32(length)) {
        reason = kShortRead;
        return RES_FAIL;
    }
    if (length >= kObjectNameBytes) {
        reason = "a texture name is too long";
        return RES_FAIL;
    }
    memset(name.text, 0, sizeof(name.text));
    if (!input.Read(name.text, 1, length)) {
        reason = kShortRead;
        return RES_FAIL;
    }
    return RES_OK;
}

// Texture name, texture words and material as the flags say, in the order of versions 8 and 16.
Result ReadPartExtras(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, uint32_t p,
                      const char*& reason)
{
    if (header.flags & k3dxTextureNames) {
        if (header.version == kVersion16) {
            if (Failed(ReadCountedName(input, block.textureNames[p], reason)))
                return RES_FAIL;
        } else if (!ReadFixedName(input, block.textureNames[p])) {
            reason = kShortRead;
            return RES_FAIL;
        }
    }
    bool ok = (!(header.flags & k3dxTextureFlags) || input.ReadU32(block.textureFlags[p])) &&
              (!(header.flags & k3dxTextureParams) || input.ReadU32(block.textureParams[p])) &&
              (!(header.flags & k3dxMaterials) || input.Read(&block.materials[p], sizeof(float), 17));
    if (!ok)
        reason = kShortRead;
    return ok ? RES_OK : RES_FAIL;
}

Result ReadWideIndices(C3dxInput& input, C3DObjectFileData& block, uint32_t first, uint32_t count)
{
    return input.Read(block.indices.data() + first, sizeof(uint32_t), count) ? RES_OK : RES_FAIL;
}

Result ReadNarrowIndices(C3dxInput& input, C3DObjectFileData& block)
{
    uint16_t chunk[2048];
    uint32_t done = 0;
    while (done < block.IndexCount()) {
        uint32_t n = block.IndexCount() - done;
        if (n > sizeof(chunk) / sizeof(chunk[0]))
            n = sizeof(chunk) / sizeof(chunk[0]);
        if (!input.Read(chunk, sizeof(uint16_t), n))
            return RES_FAIL;
        for (uint32_t i = 0; i < n; ++i)
            block.indices[done + i] = chunk[i];
        done += n;
    }
    return RES_OK;
}

Result ReadIndexBlock(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason)
{
    reason = kShortRead;
    if (block.IndexCount() == 0)
        return RES_OK;
    if (header.version == kVersion8)
        return ReadWideIndices(input, block, 0, block.IndexCount());
    if (!input.ReadU32(block.indexKind))
        return RES_FAIL;
    if (block.indexKind == k3dxIndexKind16)
        return ReadNarrowIndices(input, block);
    return ReadWideIndices(input, block, 0, block.IndexCount());
}

Result ReadVersion16Or8(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason)
{
    for (uint32_t p = 0; p < block.PartCount(); ++p) {
        if (!input.Read(&block.parts[p], sizeof(uint32_t), 8)) {
            reason = kShortRead;
            return RES_FAIL;
        }
        if (Failed(ReadPartExtras(input, header, block, p, reason)))
            return RES_FAIL;
    }
    if (!ReadVertices(input, header.flags, block, 0, block.VertexCount())) {
        reason = kShortRead;
        return RES_FAIL;
    }
    return ReadIndexBlock(input, header, block, reason);
}

Result ReadVersion4(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason)
{
    for (uint32_t p = 0; p < block.PartCount(); ++p) {
        reason = kShortRead;
        if ((header.flags & k3dxTextureNames) && !ReadFixedName(input, block.textureNames[p]))
            return RES_FAIL;
        bool ok = (!(header.flags & k3dxTextureFlags) || input.ReadU32(block.textureFlags[p])) &&
                  (!(header.flags & k3dxTextureParams) || input.ReadU32(block.textureParams[p])) &&
                  input.Read(&block.parts[p], sizeof(uint32_t), 8) &&
                  (!(header.flags & k3dxMaterials) || input.Read(&block.materials[p], sizeof(float), 17));
        if (!ok)
            return RES_FAIL;
        const C3DPrimitiveGroup& part = block.parts[p];
        if (!InRange(part.firstVertex, part.vertexCount, block.VertexCount()) ||
            !InRange(part.firstIndex, part.indexCount, block.IndexCount())) {
            reason = "a part lies outside the object";
            return RES_FAIL;
        }
        if (!ReadVertices(input, header.flags, block, part.firstVertex, part.vertexCount) ||
            Failed(ReadWideIndices(input, block, part.firstIndex, part.indexCount)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result ReadVersion2Name(C3dxInput& input, C3DObjectFileData& block, uint32_t p, const char*& reason)
{
    char field[kVersion2NameBytes];
    if (!input.Read(field, 1, sizeof(field))) {
        reason = kShortRead;
        return RES_FAIL;
    }
    size_t length = strnlen(field, sizeof(field));
    if (length >= kObjectNameBytes) {
        reason = "a texture name is too long";
        return RES_FAIL;
    }
    memcpy(block.textureNames[p].text, field, length);
    block.textureNames[p].text[length] = '\0';
    block.textureFlags[p] = kObjectTextureFlags;
    block.textureParams[p] = kObjectTextureParams;
    return RES_OK;
}

bool ReadVersion2Material(C3dxInput& input, C3DMaterial& material)
{
    return input.Skip(12) && input.ReadFloats(material.diffuse, 3) && input.Skip(12) &&
           input.ReadFloats(material.ambient, 3) && input.Skip(12) && input.ReadFloats(material.specular, 3) &&
           input.Skip(12) && input.Skip(12);
}

bool ReadVersion2Vertex(C3dxInput& input, C3DObjectFileData& block, uint32_t v)
{
    return input.Skip(12) && input.Read(&block.positions[v], sizeof(float), 3) && input.Skip(12) &&
           input.Read(&block.normals[v], sizeof(float), 3) && input.ReadU32(block.colors[v]) &&
           input.ReadU32(block.colors2[v]) && input.Skip(8) && input.Read(&block.uvs[v], sizeof(float), 2) &&
           input.Skip(kVersion2VertexBytes - 72);
}

Result ReadVersion2(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason)
{
    if ((header.flags & k3dxVertexContent) != k3dxVertexContent) {
        reason = "a version 2 file must store every vertex field";
        return RES_FAIL;
    }
    uint32_t vertexBase = 0;
    uint32_t indexBase = 0;
    for (uint32_t p = 0; p < block.PartCount(); ++p) {
        if (Failed(ReadVersion2Name(input, block, p, reason)))
            return RES_FAIL;
        uint32_t words[4];  // cull mode, primitive type, vertex count, index count
        reason = kShortRead;
        if (!ReadVersion2Material(input, block.materials[p]) || !input.Read(words, sizeof(uint32_t), 4))
            return RES_FAIL;
        if (!InRange(vertexBase, words[2], block.VertexCount()) || !InRange(indexBase, words[3], block.IndexCount())) {
            reason = "a part lies outside the object";
            return RES_FAIL;
        }
        block.parts[p] = {p, vertexBase, words[2], indexBase, words[3], words[3] / 3, words[1], words[0]};
        for (uint32_t v = vertexBase; v < vertexBase + words[2]; ++v) {
            if (!ReadVersion2Vertex(input, block, v))
                return RES_FAIL;
        }
        if (Failed(ReadWideIndices(input, block, indexBase, words[3])))
            return RES_FAIL;
        vertexBase += words[2];
        indexBase += words[3];
    }
    return RES_OK;
}

} // namespace

bool C3dxInput::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    uint64_t bytes = uint64_t(elementSize) * count;
    if (bytes > m_left)
        return false;
    if (bytes == 0)
        return true;
    if (!m_stream.Read(buffer, elementSize, count))
        return false;
    m_left -= bytes;
    return true;
}

bool C3dxInput::Skip(uint32_t bytes)
{
    uint8_t scratch[64];
    while (bytes > 0) {
        uint32_t n = bytes < sizeof(scratch) ? bytes : uint32_t(sizeof(scratch));
        if (!Read(scratch, 1, n))
            return false;
        bytes -= n;
    }
    return true;
}

Result Read3dxHeader(C3dxInput& input, C3dxHeader& header, const char*& reason)
{
    if (!input.Read(&header, sizeof(uint32_t), 5)) {
        reason = kShortRead;
        return RES_FAIL;
    }
    if (header.version != kVersion2 && header.version != kVersion4 && header.version != kVersion8 &&
        header.version != kVersion16) {
        reason = "unknown version";
        return RES_FAIL;
    }
    return RES_OK;
}

Result Check3dxSize(const C3dxHeader& header, uint64_t bytesLeft, const char*& reason)
{
    uint32_t vertexBytes = header.version == kVersion2 ? kVersion2VertexBytes : VertexBytes(header.flags);
    uint64_t needed = uint64_t(header.partCount) * PartHeaderBytes(header.version, header.flags) +
                      uint64_t(header.vertexCount) * vertexBytes + IndexBytes(header.version, header.indexCount);
    if (needed > bytesLeft) {
        reason = "the counts need more data than there is";
        return RES_FAIL;
    }
    if (vertexBytes == 0 && header.vertexCount > kMaxBareVertices) {
        reason = "too many vertices without stored fields";
        return RES_FAIL;
    }
    return RES_OK;
}

Result Read3dxBody(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason)
{
    switch (header.version) {
    case kVersion16:
    case kVersion8:
        return ReadVersion16Or8(input, header, block, reason);
    case kVersion4:
        return ReadVersion4(input, header, block, reason);
    case kVersion2:
        return ReadVersion2(input, header, block, reason);
    default:
        reason = "unknown version";
        return RES_FAIL;
    }
}

uint64_t PrimitiveIndexCount(uint32_t type, uint32_t primitiveCount)
{
    uint64_t n = primitiveCount;
    switch (type) {
    case 0:  // triangle strip
    case 2:  // triangle fan
        return n == 0 ? 0 : n + 2;
    case 1:
        return 3 * n;
    case 3:
        return 2 * n;
    case 4:  // line strip
        return n == 0 ? 0 : n + 1;
    case 5:
        return n;
    default:
        return UINT64_MAX;
    }
}

uint32_t PrimitiveCountOf(uint32_t type, uint32_t indexCount)
{
    switch (type) {
    case 0:
    case 2:
        return indexCount < 3 ? 0 : indexCount - 2;
    case 1:
        return indexCount / 3;
    case 3:
        return indexCount / 2;
    case 4:
        return indexCount < 2 ? 0 : indexCount - 1;
    case 5:
        return indexCount;
    default:
        return 0;
    }
}

Result CheckObjectParts(const C3DObjectFileData& block, const char*& reason)
{
    for (const C3DPrimitiveGroup& part : block.parts) {
        if (PrimitiveIndexCount(part.primitiveType, 0) == UINT64_MAX) {
            reason = "a part has an unknown primitive type";
            return RES_FAIL;
        }
        if (!InRange(part.firstVertex, part.vertexCount, block.VertexCount()) ||
            !InRange(part.firstIndex, part.indexCount, block.IndexCount())) {
            reason = "a part lies outside the object";
            return RES_FAIL;
        }
        if (PrimitiveIndexCount(part.primitiveType, part.primitiveCount) > part.indexCount) {
            reason = "a part draws more primitives than its indices make";
            return RES_FAIL;
        }
        for (uint32_t i = part.firstIndex; i < part.firstIndex + part.indexCount; ++i) {
            if (uint64_t(part.firstVertex) + block.indices[i] >= block.VertexCount()) {
                reason = "an index names no vertex";
                return RES_FAIL;
            }
        }
    }
    return RES_OK;
}
