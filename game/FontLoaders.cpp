#include "game/FontLoaders.h"

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "core/ParamsReader.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/FontCharset.h"

namespace {

constexpr uint8_t kFromMemory = kSourceMemory;
constexpr uint8_t kFromPacker = kSourcePacker;
constexpr uint8_t kFromFile = kSourceFile;

// The failure lines of one loader, by source.
struct CFontLines {
    const char16_t* memory;
    const char16_t* packer;
    const char16_t* file;

    const char16_t* Of(uint8_t source) const
    {
        return source == kFromMemory ? memory : source == kFromPacker ? packer : file;
    }
};

const CFontLines kTrueTypeLines = {u"# AutoLoadFontTTFFromParam::MakeFontTTFFromAddress failed! (\"%s\")\n",
                                   u"# AutoLoadFontTTFFromParam::LoadFontTTFFromPacker failed! (\"%s\")\n",
                                   u"# AutoLoadFontTTFFromParam::LoadFontTTFFromFile failed! (\"%s\")\n"};
const CFontLines kGlyphLines = {u"# AutoLoadFontGlyphFromParam::MakeFontGlyphFromAddress failed! (\"%s\")\n",
                                u"# AutoLoadFontGlyphFromParam::LoadFontGlyphFromPacker failed! (\"%s\")\n",
                                u"# AutoLoadFontGlyphFromParam::LoadFontGlyphFromFile failed! (\"%s\")\n"};

bool IsFontSource(uint8_t source)
{
    return source == kFromMemory || source == kFromPacker || source == kFromFile;
}

// The key's name (a path below the data folder for a file).
void ReadName(uint8_t source, const CParamsReader* params, const char16_t* section, const char16_t* key,
              const char16_t* defaultValue, CWorldData* data, char16_t* name)
{
    name[0] = 0;
    if (!params)
        WStrCopy(name, kAutoLoadNameUnits, defaultValue ? defaultValue : u"");
    else if (source == kFromFile)
        IgnoreResult(params->GetPath(section, key, defaultValue, name, kAutoLoadNameUnits, data->dataFolder));
    else
        IgnoreResult(params->GetString(section, key, defaultValue, name, kAutoLoadNameUnits));
}

Result Fail(const CFontLines& lines, uint8_t source, const char16_t* name, CWorldData* data)
{
    LogPrintf(data->logPath, 1, lines.Of(source), name);
    WFormat(data->errorDetail, kMaxPathUnits, u"Missing file: %s", name);
    return RES_FAIL;
}

bool FindMemory(const char16_t* name, CWorldData* data, CMemoryRecord* record)
{
    return data->memoryLookup && Succeeded(data->memoryLookup(name, record));
}

bool FindPacker(const char16_t* name, CWorldData* data)
{
    return data->pakLookup && Succeeded(data->pakLookup(name, &data->pak));
}

} // namespace

Result AutoLoadFontTTFFromParam(uint8_t source, const CParamsReader* params, const char16_t* section,
                                const char16_t* key, const char16_t* defaultValue, uint8_t charSize,
                                uint8_t spaceSize, CVarnFont* font, CWorldData* data)
{
    if (!IsFontSource(source))
        return RES_OK;
    char16_t name[kAutoLoadNameUnits];
    ReadName(source, params, section, key, defaultValue, data, name);
    Result result = RES_FAIL;
    CMemoryRecord record{};
    if (source == kFromMemory && FindMemory(name, data, &record))
        result = font->LoadTrueTypeFromAddress(name, record.data, record.size, charSize, spaceSize);
    else if (source == kFromPacker && FindPacker(name, data))
        result = font->LoadTrueTypeFromPacker(&data->pak, charSize, spaceSize);
    else if (source == kFromFile)
        result = font->LoadTrueTypeFromFile(name, charSize, spaceSize);
    return Failed(result) ? Fail(kTrueTypeLines, source, name, data) : RES_OK;
}

Result AutoLoadFontGlyphFromParam(uint8_t source, const CParamsReader* params, const char16_t* section,
                                  const char16_t* key, const char16_t* defaultValue, const char16_t* textureKey,
                                  const char16_t* textureDefault, CVarnFont* font, CWorldData* data)
{
    if (!IsFontSource(source))
        return RES_OK;
    char16_t name[kAutoLoadNameUnits];
    char16_t texture[kAutoLoadNameUnits];
    ReadName(source, params, section, key, defaultValue, data, name);
    ReadName(source, params, section, textureKey, textureDefault, data, texture);
    Result result = RES_FAIL;
    if (source == kFromMemory) {
        CMemoryRecord table{};
        CMemoryRecord picture{};
        if (FindMemory(name, data, &table) && FindMemory(texture, data, &picture))
            result = font->LoadGlyphFontFromAddress(picture.data, picture.size, table.data, table.size);
    } else if (source == kFromPacker) {
        // Both entries must exist before either is read.
        if (FindPacker(texture, data) && FindPacker(name, data) && Succeeded(font->ReadGlyphDescriptionFromPacker(&data->pak)) &&
            FindPacker(texture, data))
            result = font->LoadGlyphTextureFromPacker(&data->pak);
    } else {
        result = font->LoadGlyphFontFromFile(texture, name);
    }
    return Failed(result) ? Fail(kGlyphLines, source, name, data) : RES_OK;
}

Result LoadFontCharsetTextures(CVarnFontCharset* font, CWorldData* data, C3DTexture* const* textures, uint32_t count)
{
    if (font && Succeeded(font->SetPageTextures(textures, count)))
        return RES_OK;
    LogPrintf(data->logPath, 1, u"# LoadFontCharsetTextures::LoadTexturesCharset failed!\n");
    return RES_FAIL;
}
