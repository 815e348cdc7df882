#include <cstring>
#include <memory>
#include <new>

#include "core/Log.h"
#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectFile.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/Texture.h"

namespace {

constexpr Result kPartTextureMissing = static_cast<Result>(0x80000009u);

// Every record names a record, lies inside the arrays and indexes vertices that exist.
bool PartsFitFile(const C3DObjectFileData& d)
{
    for (uint32_t p = 0; p < d.PartCount(); ++p) {
        C3DPrimitiveGroup record = d.parts[p];
        if (record.id == kPartNumberId)
            record.id = p;
        if (!RecordFitsBuffers(record, d.PartCount(), d.VertexCount(), d.IndexCount()))
            return false;
        for (uint32_t i = record.firstIndex; i < record.firstIndex + record.indexCount; ++i) {
            if (uint64_t{d.indices[i]} + record.firstVertex >= d.VertexCount())
                return false;
        }
    }
    return true;
}

uint32_t LoadedCull(uint32_t flagsB, uint32_t recordCull)
{
    if (flagsB & kLoadCullNone)
        return kCullNone;
    if (flagsB & kLoadCullCounterClockwise)
        return kCullCounterClockwise;
    if (flagsB & kLoadCullClockwise)
        return kCullClockwise;
    return recordCull;
}

// A reader/writer on the data block; out of memory leaves the code as last error.
std::unique_ptr<C3DObjectFile> NewObjectFile(CWorldData* data)
{
    std::unique_ptr<C3DObjectFile> file(new (std::nothrow) C3DObjectFile(data));
    if (!file)
        data->lastError = RES_OUT_OF_MEMORY;
    return file;
}

} // namespace

Result C3DObject::LoadFromReader(C3DObjectFile* file, Result readResult, MemoryLookup memoryLookup,
                                 PackerLookup pakLookup, const char16_t* textureFolder, const char16_t* name)
{
    if (Failed(readResult))
        return readResult;
    const Result result = LoadFromRaw(file, memoryLookup, pakLookup, textureFolder);
    if (Succeeded(result) && name)
        m_name.Set(name);
    return result;
}

Result C3DObject::LoadFromAddress(const uint8_t* data, uint32_t size, const char16_t* name)
{
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    return LoadFromReader(file.get(), file->LoadFromAddress(data, size, name), m_pWorldData->memoryLookup, nullptr,
                          nullptr, name);
}

Result C3DObject::LoadFromAddressEx(const uint8_t* data, uint32_t size, const char16_t* name, PackerLookup pakLookup)
{
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    return LoadFromReader(file.get(), file->LoadFromAddress(data, size, name), nullptr, pakLookup, nullptr, name);
}

Result C3DObject::LoadFromPacker(CPackerFile* pak)
{
    if (!pak)
        return RES_FAIL;
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    return LoadFromReader(file.get(), file->LoadFromPacker(pak), nullptr, m_pWorldData->pakLookup, nullptr,
                          pak->foundName);
}

Result C3DObject::LoadFromPackerEx(CPackerFile* pak, MemoryLookup memoryLookup)
{
    if (!pak)
        return RES_FAIL;
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    return LoadFromReader(file.get(), file->LoadFromPacker(pak), memoryLookup, nullptr, nullptr, pak->foundName);
}

Result C3DObject::LoadFromFile(const char16_t* path, const char16_t* textureFolder)
{
    return LoadFromFileEx(path, nullptr, nullptr, textureFolder);
}

Result C3DObject::LoadFromFileEx(const char16_t* path, MemoryLookup memoryLookup, PackerLookup pakLookup,
                                 const char16_t* textureFolder)
{
    if (!path)
        return RES_FAIL;
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    return LoadFromReader(file.get(), file->LoadFromFile(path), memoryLookup, pakLookup, textureFolder,
                          ResourceNameFromPath(m_pWorldData, path));
}

Result C3DObject::SaveToFile(const char16_t* path, uint32_t flags)
{
    if (!m_pIndex)
        return RES_FAIL;
    std::unique_ptr<C3DObjectFile> file = NewObjectFile(m_pWorldData);
    if (!file)
        return RES_OUT_OF_MEMORY;
    const Result result = SaveToRaw(file.get(), flags);
    return Failed(result) ? result : file->SaveToFile(path, flags);
}

Result C3DObject::LoadFromRaw(C3DObjectFile* file, MemoryLookup memoryLookup, PackerLookup pakLookup,
                              const char16_t* textureFolder)
{
    const C3DObjectFileData* d = file ? file->GetData() : nullptr;
    if (!d)
        return RES_FAIL;
    if (!PartsFitFile(*d)) {
        LogPrintf(m_pWorldData->logPath, 0, u"# C3DObject::LoadFromRaw bad part records!\n");
        return RES_FAIL;
    }
    if (Failed(Create(d->PartCount(), d->VertexCount(), d->IndexCount())))
        return RES_FAIL;
    IgnoreResult(Lock());
    for (uint32_t i = 0; i < d->IndexCount(); ++i)
        SetIndex(i, d->indices[i]);
    for (uint32_t v = 0; v < d->VertexCount(); ++v) {
        const Vector3& p = d->positions[v];
        const Vector3& n = d->normals[v];
        SetVertex(v, p.x, p.y, p.z, d->colors[v], d->uvs[v].x, d->uvs[v].y, n.x, n.y, n.z, d->colors2[v]);
    }
    for (uint32_t p = 0; p < d->PartCount(); ++p) {
        const C3DPrimitiveGroup& r = d->parts[p];
        IgnoreResult(SetPrimitiveGroup(p, r.firstVertex, r.vertexCount, r.firstIndex, r.indexCount, r.primitiveCount,
                                       r.primitiveType, LoadedCull(m_flagsB, r.cullCode), r.id));
        m_pMaterials[p] = d->materials[p];
    }
    IgnoreResult(LoadPartTextures(file, memoryLookup, pakLookup, textureFolder));
    return Failed(Unlock(1)) ? RES_FAIL : RES_OK;
}

Result C3DObject::LoadPartTextures(C3DObjectFile* file, MemoryLookup memoryLookup, PackerLookup pakLookup,
                                   const char16_t* textureFolder)
{
    if (!(m_flagsB & (kTextureStage0 | kTextureStage1)))
        return RES_OK;
    const C3DObjectFileData* d = file->GetData();
    Result result = RES_OK;
    for (uint32_t p = 0; p < d->PartCount(); ++p) {
        char narrow[kObjectNameBytes + 1];
        memcpy(narrow, d->textureNames[p].text, kObjectNameBytes);
        narrow[kObjectNameBytes] = '\0';
        if (narrow[0] == '\0')
            continue;
        char16_t name[kObjectNameBytes + 1];
        WidenString(narrow, name, kObjectNameBytes + 1);
        if (Failed(LoadPartTexture(p, name, d->textureFlags[p], d->textureParams[p], memoryLookup, pakLookup,
                                   textureFolder)))
            result = RES_FAIL;
    }
    return result;
}

Result C3DObject::LoadPartTexture(uint32_t part, const char16_t* name, uint32_t flags, uint32_t parameter,
                                  MemoryLookup memoryLookup, PackerLookup pakLookup, const char16_t* textureFolder)
{
    CWorldData* data = m_pWorldData;
    Result result;
    const char16_t* failure;
    if (textureFolder) {
        failure = u"# C3DObject::LoadFromRaw LoadOneTextureFromFile failed! \"%s\"\n";
        char16_t path[kMaxPathUnits];
        if (WStrLen(textureFolder) + WStrLen(name) >= kMaxPathUnits) {
            result = RES_FAIL;
        } else {
            WFormat(path, kMaxPathUnits, u"%s%s", textureFolder, name);
            result = LoadOneTextureFromFile(flags, parameter, path, part, 0);
        }
    } else if (memoryLookup) {
        failure = u"# C3DObject::LoadFromRaw MakeOneTextureFromAddress failed! \"%s\"\n";
        result = memoryLookup(name, &data->memoryRecord);
        if (Succeeded(result))
            result = MakeOneTextureFromAddress(flags, parameter, data->memoryRecord.data, data->memoryRecord.size,
                                               part, 0, name);
    } else if (pakLookup) {
        failure = u"# C3DObject::LoadFromRaw LoadOneTextureFromPacker failed! \"%s\"\n";
        result = pakLookup(name, &data->pak);
        if (Succeeded(result))
            result = LoadOneTextureFromPacker(flags, parameter, &data->pak, part, 0);
    } else {
        return RES_OK;
    }
    if (Failed(result)) {
        LogPrintf(data->logPath, 0, failure, name);
        WFormat(data->errorDetail, kMaxPathUnits, u"Missing file: %s", name);
        data->lastError = kPartTextureMissing;
    }
    return result;
}

Result C3DObject::SaveToRaw(C3DObjectFile* file, uint32_t)
{
    if (!file)
        return RES_FAIL;
    IgnoreResult(Lock());
    if (Failed(file->Init(m_partCount, m_vertexCount, m_pActiveIndex ? m_pActiveIndex->GetIndexCount() : 0))) {
        IgnoreResult(Unlock(0));
        return RES_FAIL;
    }
    C3DObjectFileData* d = file->GetData();
    uint8_t kind = 0;
    IgnoreResult(GetIndexKind(&kind));
    d->indexKind = kind;
    for (uint32_t i = 0; i < d->IndexCount(); ++i)
        d->indices[i] = GetIndex(i);
    for (uint32_t v = 0; v < d->VertexCount(); ++v)
        GetVertex(v, &d->positions[v], &d->colors[v], &d->uvs[v], &d->normals[v], &d->colors2[v]);
    for (uint32_t p = 0; p < d->PartCount(); ++p) {
        IgnoreResult(GetPrimitiveGroup(p, &d->parts[p]));
        d->materials[p] = m_pMaterials[p];
        const C3DTexture* texture = TextureSlot(p, 0);
        if (!texture)
            continue;
        if (texture->GetName())
            NarrowString(texture->GetName(), d->textureNames[p].text, kObjectNameBytes);
        d->textureFlags[p] = texture->GetFlags();
        d->textureParams[p] = texture->GetParameter();
    }
    IgnoreResult(Unlock(1));
    return RES_OK;
}
