#include "engine3d/AutoLoad.h"

#include "core/Log.h"
#include "core/ParamsReader.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"

namespace {

// The failure lines of one function, by source.
struct LoadLines {
    const char16_t* memory;
    const char16_t* packer;
    const char16_t* file;
};

const LoadLines kExLines = {
    u"# AutoLoadTextureFromParamEx::eMakeTextureFromAddress failed! (\"%s\")\n",
    u"# AutoLoadTextureFromParamEx::eLoadTextureFromPacker failed! (\"%s\")\n",
    u"# AutoLoadTextureFromParamEx::eLoadTextureFromFile failed! (\"%s\")\n",
};
const LoadLines kParamLines = {
    u"# AutoLoadTextureFromParam::MakeTextureFromAddress failed! (\"%s\")\n",
    u"# AutoLoadTextureFromParam::LoadTextureFromPacker failed! (\"%s\")\n",
    u"# AutoLoadTextureFromParam::LoadTextureFromFile failed! (\"%s\")\n",
};
const LoadLines kObjectLines = {
    u"# AutoLoad3DObjectTextureFromParam::MakeTextureFromAddress failed! (\"%s\")\n",
    u"# AutoLoad3DObjectTextureFromParam::LoadTextureFromPacker failed! (\"%s\")\n",
    u"# AutoLoad3DObjectTextureFromParam::LoadTextureFromFile failed! (\"%s\")\n",
};
const LoadLines kObjectOneLines = {
    u"# AutoLoad3DObjectOneTextureFromParam::MakeOneTextureFromAddress failed! (\"%s\")\n",
    u"# AutoLoad3DObjectOneTextureFromParam::LoadOneTextureFromPacker failed! (\"%s\")\n",
    u"# AutoLoad3DObjectOneTextureFromParam::LoadOneTextureFromFile failed! (\"%s\")\n",
};
const LoadLines kNameLines = {
    u"# AutoLoadTexture::MakeTextureFromAddress failed! (\"%s\")\n",
    u"# AutoLoadTexture::LoadTextureFromPacker failed! (\"%s\")\n",
    u"# AutoLoadTexture::LoadTextureFromFile failed! (\"%s\")\n",
};

bool IsSource(uint8_t mode)
{
    return mode == kSourceMemory || mode == kSourcePacker || mode == kSourceFile;
}

// The three loaders of one function over one target; a null target fails every load.
template <typename Target>
struct Loaders {
    Target* target;
    Result (*fromMemory)(Target* target, const uint8_t* data, uint32_t size, const char16_t* name);
    Result (*fromPacker)(Target* target, CPackerFile* pak);
    Result (*fromFile)(Target* target, const char16_t* path);
};

template <typename Target>
Result LoadFromMemory(const Loaders<Target>& loaders, CWorldData* data, const char16_t* name)
{
    if (!data->memoryLookup || Failed(data->memoryLookup(name, &data->memoryRecord)))
        return RES_FAIL;
    return loaders.fromMemory(loaders.target, data->memoryRecord.data, data->memoryRecord.size, name);
}

template <typename Target>
Result LoadFromPacker(const Loaders<Target>& loaders, CWorldData* data, const char16_t* name)
{
    if (!data->pakLookup || Failed(data->pakLookup(name, &data->pak)))
        return RES_FAIL;
    return loaders.fromPacker(loaders.target, &data->pak);
}

// One load from the source of mode (one of the three). path is the file to read in mode 4,
// null when none could be made. A failure is reported and answers RES_FAIL.
template <typename Target>
Result LoadFromSource(uint8_t mode, CWorldData* data, const char16_t* name, const char16_t* path,
                      const LoadLines& lines, const Loaders<Target>& loaders)
{
    Result result = RES_FAIL;
    const char16_t* line = lines.file;
    const char16_t* logged = path ? path : name;
    if (mode == kSourceMemory) {
        line = lines.memory;
        logged = name;
        if (loaders.target)
            result = LoadFromMemory(loaders, data, name);
    } else if (mode == kSourcePacker) {
        line = lines.packer;
        logged = name;
        if (loaders.target)
            result = LoadFromPacker(loaders, data, name);
    } else if (loaders.target && path) {
        result = loaders.fromFile(loaders.target, path);
    }
    if (Succeeded(result))
        return result;
    LogPrintf(data->logPath, 1, line, logged);
    WFormat(data->errorDetail, kMaxPathUnits, u"Missing file: %s", name);
    return RES_FAIL;
}

// The value of the key: as it is for memory and pak, joined to the data folder for a file.
// A null reader leaves the name empty.
void ReadName(uint8_t mode, const CParamsReader* params, const char16_t* section, const char16_t* key,
              const char16_t* defaultValue, const CWorldData* data, char16_t* name)
{
    if (!params)
        return;
    if (mode == kSourceFile)
        IgnoreResult(params->GetPath(section, key, defaultValue, name, kAutoLoadNameUnits, data->dataFolder));
    else
        IgnoreResult(params->GetString(section, key, defaultValue, name, kAutoLoadNameUnits));
}

template <typename Target>
Result LoadFromParam(uint8_t mode, const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                     CParamsReader* params, CWorldData* data, const LoadLines& lines, Loaders<Target> loaders)
{
    if (!data)
        return RES_FAIL;
    if (!IsSource(mode))
        return RES_OK;
    char16_t name[kAutoLoadNameUnits] = {};
    ReadName(mode, params, section, key, defaultValue, data, name);
    if (!params)
        loaders.target = nullptr;
    return LoadFromSource(mode, data, name, name, lines, loaders);
}

// Texture operations.
Result TextureFromMemory(C3DTexture* texture, const uint8_t* bytes, uint32_t size, const char16_t* name)
{
    return texture->MakeTextureFromAddress(bytes, size, name);
}

Result TextureFromPacker(C3DTexture* texture, CPackerFile* pak)
{
    return texture->LoadTextureFromPacker(pak);
}

Result TextureFromFile(C3DTexture* texture, const char16_t* path)
{
    return texture->LoadTextureFromFile(path);
}

Loaders<C3DTexture> TextureLoaders(C3DTexture* texture)
{
    return {texture, TextureFromMemory, TextureFromPacker, TextureFromFile};
}

// The engine's texture cache; the texture found is left in the request.
struct CacheRequest {
    C3DEngine* engine;
    uint32_t flags;
    uint32_t parameter;
    C3DTexture* texture;
};

Result Answer(CacheRequest* request, C3DTexture* texture)
{
    request->texture = texture;
    return texture ? RES_OK : RES_FAIL;
}

Result CacheFromMemory(CacheRequest* r, const uint8_t* bytes, uint32_t size, const char16_t* name)
{
    return Answer(r, r->engine->MakeTextureFromAddress(r->flags, r->parameter, bytes, size, name));
}

Result CacheFromPacker(CacheRequest* r, CPackerFile* pak)
{
    return Answer(r, r->engine->LoadTextureFromPacker(r->flags, r->parameter, pak));
}

Result CacheFromFile(CacheRequest* r, const char16_t* path)
{
    return Answer(r, r->engine->LoadTextureFromFile(r->flags, r->parameter, path));
}

// Object operations on a stage of one part or of all of them.
struct ObjectRequest {
    C3DObject* object;
    uint32_t flags;
    uint32_t parameter;
    uint32_t part;
    uint32_t stage;
};

Result ObjectFromMemory(ObjectRequest* r, const uint8_t* bytes, uint32_t size, const char16_t* name)
{
    return r->object->MakeTextureFromAddress(r->flags, r->parameter, bytes, size, r->stage, name);
}

Result ObjectFromPacker(ObjectRequest* r, CPackerFile* pak)
{
    return r->object->LoadTextureFromPacker(r->flags, r->parameter, pak, r->stage);
}

Result ObjectFromFile(ObjectRequest* r, const char16_t* path)
{
    return r->object->LoadTextureFromFile(r->flags, r->parameter, path, r->stage);
}

Result ObjectOneFromMemory(ObjectRequest* r, const uint8_t* bytes, uint32_t size, const char16_t* name)
{
    return r->object->MakeOneTextureFromAddress(r->flags, r->parameter, bytes, size, r->part, r->stage, name);
}

Result ObjectOneFromPacker(ObjectRequest* r, CPackerFile* pak)
{
    return r->object->LoadOneTextureFromPacker(r->flags, r->parameter, pak, r->part, r->stage);
}

Result ObjectOneFromFile(ObjectRequest* r, const char16_t* path)
{
    return r->object->LoadOneTextureFromFile(r->flags, r->parameter, path, r->part, r->stage);
}

} // namespace

C3DTexture* AutoLoadTextureFromParamEx(uint8_t mode, uint32_t flags, uint32_t parameter, const char16_t* section,
                                       const char16_t* key, const char16_t* defaultValue, CParamsReader* params,
                                       C3DEngine* engine)
{
    if (!engine)
        return nullptr;
    CacheRequest request = {engine, flags, parameter, nullptr};
    const Loaders<CacheRequest> loaders = {&request, CacheFromMemory, CacheFromPacker, CacheFromFile};
    if (Failed(LoadFromParam(mode, section, key, defaultValue, params, engine->GetWorldData(), kExLines, loaders)))
        return nullptr;
    return request.texture;
}

Result AutoLoadTextureFromParam(uint8_t mode, C3DTexture* texture, const char16_t* section, const char16_t* key,
                                const char16_t* defaultValue, CParamsReader* params, CWorldData* data)
{
    return LoadFromParam(mode, section, key, defaultValue, params, data, kParamLines, TextureLoaders(texture));
}

Result AutoLoad3DObjectTextureFromParam(uint8_t mode, C3DObject* object, uint32_t flags, uint32_t parameter,
                                        uint32_t stage, const char16_t* section, const char16_t* key,
                                        const char16_t* defaultValue, CParamsReader* params, CWorldData* data)
{
    ObjectRequest request = {object, flags, parameter, 0, stage};
    const Loaders<ObjectRequest> loaders = {object ? &request : nullptr, ObjectFromMemory, ObjectFromPacker,
                                            ObjectFromFile};
    return LoadFromParam(mode, section, key, defaultValue, params, data, kObjectLines, loaders);
}

Result AutoLoad3DObjectOneTextureFromParam(uint8_t mode, C3DObject* object, uint32_t flags, uint32_t parameter,
                                           uint32_t part, uint32_t stage, const char16_t* section,
                                           const char16_t* key, const char16_t* defaultValue,
                                           CParamsReader* params, CWorldData* data)
{
    ObjectRequest request = {object, flags, parameter, part, stage};
    const Loaders<ObjectRequest> loaders = {object ? &request : nullptr, ObjectOneFromMemory, ObjectOneFromPacker,
                                            ObjectOneFromFile};
    return LoadFromParam(mode, section, key, defaultValue, params, data, kObjectOneLines, loaders);
}

Result AutoLoadTexture(uint8_t mode, C3DTexture* texture, const char16_t* name, CWorldData* data)
{
    if (!data)
        return RES_FAIL;
    if (!IsSource(mode))
        return RES_OK;
    // A name or path that does not fit is not cut short: its load fails.
    Loaders<C3DTexture> loaders = TextureLoaders(texture);
    char16_t bare[kAutoLoadNameUnits] = {};
    const size_t length = name ? WStrLen(name) : 0;
    if (length < kAutoLoadNameUnits && name)
        WStrCopy(bare, kAutoLoadNameUnits, name);
    else
        loaders.target = nullptr;
    char16_t path[kAutoLoadNameUnits] = {};
    const bool pathFits = WStrLen(data->dataFolder) + length < kAutoLoadNameUnits;
    if (mode == kSourceFile && pathFits)
        WFormat(path, kAutoLoadNameUnits, u"%s%s", data->dataFolder, bare);
    return LoadFromSource(mode, data, bare, pathFits ? path : nullptr, kNameLines, loaders);
}
