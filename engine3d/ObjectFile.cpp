#include "engine3d/ObjectFile.h"

#include "core/Log.h"
#include "core/PackerFile.h"
#include "core/Stream.h"
#include "base/StringHelpers.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/ObjectFileRead.h"

#include <cstring>
#include <new>
#include <string>

namespace {

constexpr Matrix4 kIdentity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

bool HasExtension(const char16_t* path, const char16_t* extension)
{
    return path && EqualNoCase(GetFileExtension(path), extension);
}

// Reserves room for count more elements in each vector.
template <typename... Vectors>
void ReserveMore(size_t count, Vectors&... vectors)
{
    (vectors.reserve(vectors.size() + count), ...);
}

} // namespace

C3DObjectFile::C3DObjectFile(CWorldData* data) : m_pData(data)
{
}

Result C3DObjectFile::Init(uint32_t partCount, uint32_t vertexCount, uint32_t indexCount)
{
    IgnoreResult(Free());
    try {
        auto block = std::make_unique<C3DObjectFileData>();
        block->matrix = kIdentity;
        block->indices.resize(indexCount);
        block->positions.resize(vertexCount);
        block->colors.resize(vertexCount);
        block->colors2.resize(vertexCount);
        block->uvs.resize(vertexCount);
        block->normals.resize(vertexCount);
        block->parts.resize(partCount);
        block->materials.assign(partCount, DefaultMaterial());
        block->partNames.resize(partCount);
        block->textureNames.resize(partCount);
        block->textureFlags.resize(partCount);
        block->textureParams.resize(partCount);
        m_pBlock = std::move(block);
    } catch (const std::bad_alloc&) {
        SetLastError(RES_OUT_OF_MEMORY);
        return RES_OUT_OF_MEMORY;
    }
    return RES_OK;
}

Result C3DObjectFile::Free()
{
    m_pBlock.reset();
    return RES_OK;
}

Result C3DObjectFile::LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name)
{
    if (!HasExtension(name, u".3dx"))
        return Report(RES_FAIL, name, "LoadFromAddress", "the name does not end in .3dx");
    CStreamMemory stream(kStreamRead, data, size);
    if (Failed(stream.Open()))
        return Report(RES_FAIL, name, "LoadFromAddress", "no data");
    C3dxInput input(stream, size);
    Result result = Read3dx(input, name, "LoadFromAddress");
    IgnoreResult(stream.Close());
    return result;
}

Result C3DObjectFile::LoadFromPacker(CPackerFile* pak)
{
    const char16_t* name = pak ? pak->foundName : nullptr;
    if (!HasExtension(name, u".3dx"))
        return Report(RES_FAIL, name, "LoadFromPacker", "the entry name does not end in .3dx");
    CStreamStdio stream(kStreamRead, &pak->file);
    if (Failed(stream.Open()))
        return Report(RES_FAIL, name, "LoadFromPacker", "the pak is not open");
    C3dxInput input(stream, pak->foundSize);
    Result result = Read3dx(input, name, "LoadFromPacker");
    IgnoreResult(stream.Close());
    return result;
}

Result C3DObjectFile::LoadFromFile(const char16_t* path)
{
    if (HasExtension(path, u".3ds"))
        return Import3DS(path);
    if (HasExtension(path, u".obj"))
        return ImportOBJ(path);
    if (!HasExtension(path, u".3dx"))
        return Report(RES_FAIL, path, "LoadFromFile", "unsupported extension");

    CStreamFile stream(kStreamRead, path);
    if (Failed(stream.Open()))
        return Report(RES_FAIL, path, "LoadFromFile", "the file cannot be opened");
    if (!stream.Seek(0, kStreamSeekEnd))
        return Report(RES_FAIL, path, "LoadFromFile", "the file size is unknown");
    uint32_t size = stream.Tell();
    if (!stream.Seek(0, kStreamSeekStart))
        return Report(RES_FAIL, path, "LoadFromFile", "the file size is unknown");
    C3dxInput input(stream, size);
    Result result = Read3dx(input, path, "LoadFromFile");
    IgnoreResult(stream.Close());
    return result;
}

Result C3DObjectFile::SaveToFile(const char16_t* path, uint32_t flags)
{
    if (!m_pBlock)
        return Report(RES_FAIL, path, "SaveToFile", "nothing to save");
    if (HasExtension(path, u".3dx"))
        return Save3dx(path, flags);
    // There is no 3DS writer; an existing file is left as it is.
    if (HasExtension(path, u".3ds"))
        return Report(RES_FAIL, path, "SaveToFile", "3DS files cannot be written");
    return Report(RES_FAIL, path, "SaveToFile", "unsupported extension");
}

Result C3DObjectFile::AddPart(uint32_t part, const C3DObjectFile* source)
{
    const C3DObjectFileData* from = source ? source->GetData() : nullptr;
    if (!from || part >= from->PartCount())
        return RES_FAIL;
    const C3DPrimitiveGroup group = from->parts[part];
    if (uint64_t(group.firstVertex) + group.vertexCount > from->VertexCount())
        return RES_FAIL;

    // Copies first: the source may be this file, whose arrays are about to grow.
    C3DObjectName partName = from->partNames[part];
    C3DObjectName textureName = from->textureNames[part];
    C3DObjectFile copy(m_pData);
    if (Failed(copy.Init(0, group.vertexCount, 0)))
        return RES_OUT_OF_MEMORY;
    C3DObjectFileData& v = *copy.m_pBlock;
    for (uint32_t i = 0; i < group.vertexCount; ++i) {
        uint32_t s = group.firstVertex + i;
        v.positions[i] = from->positions[s];
        v.colors[i] = from->colors[s];
        v.colors2[i] = from->colors2[s];
        v.uvs[i] = from->uvs[s];
        v.normals[i] = from->normals[s];
    }

    Result result = GrowParts(1, group.primitiveType, group.cullCode, partName.text);
    if (Failed(result))
        return result;
    uint32_t target = m_pBlock->PartCount() - 1;
    for (uint32_t i = 0; i < group.vertexCount && Succeeded(result); ++i) {
        result = AddVertex(target, v.positions[i].x, v.positions[i].y, v.positions[i].z, v.colors[i], v.uvs[i].x,
                           v.uvs[i].y, v.normals[i].x, v.normals[i].y, v.normals[i].z, v.colors2[i]);
    }
    if (Failed(result))
        return result;
    return SetPartTexture(target, textureName.text, kObjectTextureFlags, kObjectTextureParams);
}

Result C3DObjectFile::GrowParts(uint32_t count, uint32_t type, uint32_t cull, const char* name)
{
    if (!m_pBlock && Failed(Init(0, 0, 0)))
        return RES_OUT_OF_MEMORY;
    C3DObjectFileData& block = *m_pBlock;
    if (uint64_t(block.PartCount()) + count > UINT32_MAX)
        return RES_FAIL;
    try {
        ReserveMore(count, block.parts, block.materials, block.partNames, block.textureNames, block.textureFlags,
                    block.textureParams);
    } catch (const std::bad_alloc&) {
        SetLastError(RES_OUT_OF_MEMORY);
        return RES_OUT_OF_MEMORY;
    }
    for (uint32_t i = 0; i < count; ++i) {
        C3DObjectName partName{};
        if (name)
            StrCopy8(partName.text, kObjectNameBytes, name);
        block.parts.push_back({block.PartCount(), block.VertexCount(), 0, block.IndexCount(), 0, 0, type, cull});
        block.materials.push_back(DefaultMaterial());
        block.partNames.push_back(partName);
        block.textureNames.push_back(C3DObjectName{});
        block.textureFlags.push_back(0);
        block.textureParams.push_back(0);
    }
    return RES_OK;
}

Result C3DObjectFile::AddVertex(uint32_t part, float x, float y, float z, uint32_t colour, float u, float v, float nx,
                                float ny, float nz, uint32_t colour2)
{
    if (!m_pBlock || part >= m_pBlock->PartCount())
        return RES_FAIL;
    C3DObjectFileData& block = *m_pBlock;
    C3DPrimitiveGroup& group = block.parts[part];
    uint64_t vertexAt = uint64_t(group.firstVertex) + group.vertexCount;
    uint64_t indexAt = uint64_t(group.firstIndex) + group.indexCount;
    if (vertexAt > block.VertexCount() || indexAt > block.IndexCount() || block.VertexCount() == UINT32_MAX ||
        block.IndexCount() == UINT32_MAX)
        return RES_FAIL;
    try {
        ReserveMore(1, block.positions, block.colors, block.colors2, block.uvs, block.normals, block.indices);
    } catch (const std::bad_alloc&) {
        SetLastError(RES_OUT_OF_MEMORY);
        return RES_OUT_OF_MEMORY;
    }
    block.positions.insert(block.positions.begin() + vertexAt, Vector3{x, y, z});
    block.colors.insert(block.colors.begin() + vertexAt, colour);
    block.colors2.insert(block.colors2.begin() + vertexAt, colour2);
    block.uvs.insert(block.uvs.begin() + vertexAt, Vector2{u, v});
    block.normals.insert(block.normals.begin() + vertexAt, Vector3{nx, ny, nz});
    block.indices.insert(block.indices.begin() + indexAt, group.vertexCount);

    // Parts that start where the new vertex goes move up when they come later in the list.
    for (uint32_t p = 0; p < block.PartCount(); ++p) {
        C3DPrimitiveGroup& other = block.parts[p];
        if (p == part)
            continue;
        if (other.firstVertex > vertexAt || (other.firstVertex == vertexAt && p > part))
            ++other.firstVertex;
        if (other.firstIndex > indexAt || (other.firstIndex == indexAt && p > part))
            ++other.firstIndex;
    }
    ++group.vertexCount;
    ++group.indexCount;
    return RES_OK;
}

Result C3DObjectFile::SetPartTexture(uint32_t part, const char* name, uint32_t flags, uint32_t param)
{
    if (!m_pBlock || part >= m_pBlock->PartCount())
        return RES_FAIL;
    StrCopy8(m_pBlock->textureNames[part].text, kObjectNameBytes, name ? name : "");
    m_pBlock->textureFlags[part] = flags;
    m_pBlock->textureParams[part] = param;
    return RES_OK;
}

Result C3DObjectFile::UpdatePrimitiveCounts()
{
    if (!m_pBlock)
        return RES_FAIL;
    uint32_t firstIndex = 0;
    for (C3DPrimitiveGroup& part : m_pBlock->parts) {
        part.primitiveCount = PrimitiveCountOf(part.primitiveType, part.indexCount);
        part.firstIndex = firstIndex;
        firstIndex += part.indexCount;
    }
    return RES_OK;
}

Result C3DObjectFile::Read3dx(C3dxInput& input, const char16_t* name, const char* operation)
{
    C3dxHeader header{};
    const char* reason = nullptr;
    Result result = Read3dxHeader(input, header, reason);
    if (Succeeded(result)) {
        IgnoreResult(Free());
        result = Check3dxSize(header, input.Left(), reason);
    }
    if (Succeeded(result)) {
        result = Init(header.partCount, header.vertexCount, header.indexCount);
        reason = "out of memory";
    }
    if (Succeeded(result))
        result = Read3dxBody(input, header, *m_pBlock, reason);
    if (Succeeded(result))
        result = CheckObjectParts(*m_pBlock, reason);
    return Report(result, name, operation, reason);
}

Result C3DObjectFile::Report(Result result, const char16_t* name, const char* operation, const char* reason)
{
    if (Failed(result))
        LogFailure(operation, name, reason);
    return result;
}

void C3DObjectFile::SetLastError(Result result)
{
    if (m_pData)
        m_pData->lastError = result;
}

void C3DObjectFile::LogFailure(const char* operation, const char16_t* name, const char* reason) const
{
    const char16_t* path = m_pData && m_pData->logPath[0] ? m_pData->logPath : nullptr;
    LogPrintf(path, 1, u"# C3DObjectFile::%S failed! \"%s\": %S\n", operation, name ? name : u"", reason);
}
