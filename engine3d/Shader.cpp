#include "engine3d/Shader.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "base/FileSystem.h"
#include "core/Log.h"
#include "base/StringHelpers.h"
#include "base/WideString.h"
#include "core/WorldData.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Reads exactly size bytes from the file's current position into a new block; null when the
// block cannot be made (outOfMemory set) or the file comes up short.
std::unique_ptr<char[]> ReadBlock(FILE* file, uint32_t size, bool* outOfMemory)
{
    *outOfMemory = false;
    std::unique_ptr<char[]> block(new (std::nothrow) char[size == 0 ? 1 : size]);
    if (!block) {
        *outOfMemory = true;
        return nullptr;
    }
    if (size != 0 && fread(block.get(), 1, size, file) != size)
        return nullptr;
    return block;
}

} // namespace

const char16_t* ShaderNameFromPath(const CWorldData* data, const char16_t* path)
{
    if (!path)
        return nullptr;
    const int32_t prefix = data->dataRootPrefixLength;
    if (prefix < 0)
        return GetFileNamePart(path);
    if (static_cast<size_t>(prefix) > WStrLen(path))
        return path;
    return path + prefix;
}

Result C3DShader::Init() { return RES_OK; }

Result C3DShader::Release()
{
    const Result result = ReleaseCompiled();
    m_name.Clear();
    return Failed(result) ? RES_FAIL : RES_OK;
}

void C3DShader::Apply(C3DShaderTarget*, const void*) {}

void C3DShader::Bind(C3DTexture*, C3DTexture*, C3DTexture*) {}

void C3DShader::Unbind() {}

Result C3DShader::LoadFromAddress(const char* source, uint32_t length, const char16_t* name)
{
    if (Failed(ReleaseCompiled()))
        return RES_FAIL;
    if (name)
        m_name.Set(GetFileNamePart(name));
    if (!source)
        return Fail(name, "no source", RES_FAIL);
    return Compile(source, length);
}

Result C3DShader::LoadFromPacker(CPackerFile* pak)
{
    if (!pak)
        return RES_FAIL;
    if (Failed(ReleaseCompiled()))
        return RES_FAIL;
    const char16_t* found = pak->foundName;
    const size_t nameLength = std::find(found, found + kMaxPathUnits, u'\0') - found;
    char16_t name[kMaxPathUnits];
    WStrCopy(name, kMaxPathUnits, WStringView(found, nameLength));
    m_name.Set(name);
    if (!pak->file)
        return Fail(name, "no open pak", RES_FAIL);
    bool outOfMemory = false;
    std::unique_ptr<char[]> source = ReadBlock(pak->file, pak->foundSize, &outOfMemory);
    if (!source && outOfMemory)
        return Fail(name, "out of memory", RES_OUT_OF_MEMORY);
    if (!source)
        return Fail(name, "pak entry cut short", RES_FAIL);
    return Compile(source.get(), pak->foundSize);
}

Result C3DShader::LoadFromFile(const char16_t* path)
{
    if (!path)
        return RES_FAIL;
    if (Failed(ReleaseCompiled()))
        return RES_FAIL;
    m_name.Set(ShaderNameFromPath(m_pWorldData, path));
    FilePtr file(OpenFile(path, "rb"));
    if (!file) {
        m_pWorldData->lastError = RES_MISSING_FILE;
        return Fail(path, "missing file", RES_MISSING_FILE);
    }
    const long long size = FileSizeOf(file.get());
    if (size < 0 || size > UINT32_MAX)
        return Fail(path, "file size out of range", RES_FAIL);
    bool outOfMemory = false;
    std::unique_ptr<char[]> source = ReadBlock(file.get(), static_cast<uint32_t>(size), &outOfMemory);
    if (!source && outOfMemory)
        return Fail(path, "out of memory", RES_OUT_OF_MEMORY);
    if (!source)
        return Fail(path, "file cut short", RES_FAIL);
    return Compile(source.get(), static_cast<uint32_t>(size));
}

Result C3DShader::Compile(const char*, uint32_t) { return RES_OK; }

Result C3DShader::ReleaseCompiled() { return RES_OK; }

Result C3DShader::Fail(const char16_t* name, const char* reason, Result result)
{
    LogPrintf(m_pWorldData->logPath, 0, u"# C3DShader failed to load \"%s\": %S\n", name ? name : u"", reason);
    return result;
}
