#include <cstring>
#include <memory>

#include "core/Stream.h"
#include "engine3d/Font.h"
#include "engine3d/FontAtlas.h"
#include "engine3d/FontSources.h"
#include "engine3d/Object.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "font files are read straight into little-endian records");

namespace {

constexpr uint16_t kGlyphFileVersion = 2;

} // namespace

Result CVarnFont::MakeGlyphTextureFromAddress(const uint8_t* data, uint32_t size)
{
    if (!m_pTextObject)
        return RES_FAIL;
    const Result result =
        m_pTextObject->MakeTextureFromAddress(kFontTextureFlags, kFontTextureParameter, data, size, 0, nullptr);
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result CVarnFont::LoadGlyphTextureFromPacker(CPackerFile* pak)
{
    if (!pak)
        return RES_OK;
    if (!m_pTextObject)
        return RES_FAIL;
    const Result result = m_pTextObject->LoadTextureFromPacker(kFontTextureFlags, kFontTextureParameter, pak, 0);
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result CVarnFont::LoadGlyphTextureFromFile(const char16_t* path)
{
    if (!m_pTextObject)
        return RES_FAIL;
    const Result result = m_pTextObject->LoadTextureFromFile(kFontTextureFlags, kFontTextureParameter, path, 0);
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result CVarnFont::ReadGlyphTable(CStream* stream)
{
    GlyphRect rects[kAtlasCellCount];
    uint8_t info[kFontInfoBytes];
    if (!stream || !stream->Read(rects, 4, kAtlasCellCount * 4) || !stream->Read(info, kFontInfoBytes, 1))
        return RES_FAIL;
    FontInfo fontInfo;
    std::memcpy(&fontInfo, info, sizeof fontInfo);
    return CommitGlyphTable(rects, kFontGlyphCount - kAtlasFirstCode, kAtlasFirstCode, fontInfo);
}

Result CVarnFont::ReadGlyphDescription(CStream* stream)
{
    uint16_t version = 0;
    Result result = RES_FAIL;
    if (stream->Read(&version, 2, 1) && version == kGlyphFileVersion)
        result = ReadGlyphTable(stream);
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result CVarnFont::ReadGlyphDescriptionFromAddress(const uint8_t* data, uint32_t size)
{
    return ReadFromAddress(data, size, [this](CStream* stream) { return ReadGlyphDescription(stream); });
}

Result CVarnFont::ReadGlyphDescriptionFromPacker(CPackerFile* pak)
{
    return FromPakEntry(pak, [this](const uint8_t* data, uint32_t size) {
        return ReadGlyphDescriptionFromAddress(data, size);
    });
}

Result CVarnFont::ReadGlyphDescriptionFromFile(const char16_t* path)
{
    return ReadFromFile(path, [this](CStream* stream) { return ReadGlyphDescription(stream); });
}

Result CVarnFont::LoadGlyphFontFromAddress(const uint8_t* textureData, uint32_t textureSize,
                                           const uint8_t* descriptionData, uint32_t descriptionSize)
{
    if (Failed(MakeGlyphTextureFromAddress(textureData, textureSize)) ||
        Failed(ReadGlyphDescriptionFromAddress(descriptionData, descriptionSize)))
        return RES_FAIL;
    return RES_OK;
}

Result CVarnFont::LoadGlyphFontFromPacker(CPackerFile* texture, CPackerFile* description)
{
    if (texture && Failed(LoadGlyphTextureFromPacker(texture)))
        return RES_FAIL;
    if (description && Failed(ReadGlyphDescriptionFromPacker(description)))
        return RES_FAIL;
    return RES_OK;
}

Result CVarnFont::LoadGlyphFontFromFile(const char16_t* texturePath, const char16_t* descriptionPath)
{
    if (Failed(LoadGlyphTextureFromFile(texturePath)) || Failed(ReadGlyphDescriptionFromFile(descriptionPath)))
        return RES_FAIL;
    return RES_OK;
}
