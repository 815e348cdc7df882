#include <cstdio>
#include <cstring>
#include <new>

#include "base/FileSystem.h"
#include "base/WideFormat.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/FontAtlas.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"

namespace {

constexpr uint16_t kGlyphFileVersion = 2;
constexpr size_t kGlyphFileBytes = 2 + kAtlasCellCount * kGlyphRectBytes + kFontInfoBytes;
constexpr size_t kNameUnits = kScratchUnits;

// The atlas of the codes from 32, one per cell.
Result BuildCellAtlas(CFontFace& face, uint8_t charSize, uint8_t spaceSize, CFontAtlas* atlas)
{
    uint32_t codes[kAtlasCellCount];
    for (uint32_t i = 0; i < kAtlasCellCount; ++i)
        codes[i] = kAtlasFirstCode + i;
    return BuildFontAtlas(face, codes, kAtlasCellCount, charSize, spaceSize, atlas);
}

uint8_t* PutU16(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    return out + 2;
}

uint8_t* PutF32(uint8_t* out, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    return out + 4;
}

// The ".glyph" bytes: version, the cells' rectangles, the font info.
void EncodeGlyphFile(const CFontAtlas& atlas, uint8_t* out)
{
    out = PutU16(out, kGlyphFileVersion);
    for (uint32_t i = 0; i < kAtlasCellCount; ++i) {
        const GlyphRect& r = atlas.rects[i];
        out = PutF32(PutF32(PutF32(PutF32(out, r.left), r.top), r.right), r.bottom);
    }
    *out++ = atlas.info.charSize;
    std::memset(out, 0, 3);
    PutF32(PutF32(out + 3, atlas.info.textureWidth), atlas.info.textureHeight);
}

Result WriteGlyphFile(const CFontAtlas& atlas, const char16_t* path)
{
    FILE* file = OpenFile(path, "wb");
    if (!file)
        return RES_FAIL;
    uint8_t bytes[kGlyphFileBytes];
    EncodeGlyphFile(atlas, bytes);
    const bool written = fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
    if (fclose(file) != 0 || !written) {
        std::remove(ResolvePath(path).c_str());
        return RES_FAIL;
    }
    return RES_OK;
}

// The names "%s.%dx%d.%d.%d.glyph" and ".png"; false when they do not fit.
bool FormBakeNames(const char16_t* path, const CFontAtlas& atlas, uint8_t charSize, uint8_t spaceSize,
                   char16_t* glyphName, char16_t* pngName)
{
    const size_t glyph = WFormat(glyphName, kNameUnits, u"%s.%dx%d.%d.%d.glyph", path, kAtlasWidth, atlas.height,
                                 charSize, spaceSize);
    const size_t png = WFormat(pngName, kNameUnits, u"%s.%dx%d.%d.%d.png", path, kAtlasWidth, atlas.height, charSize,
                               spaceSize);
    return glyph + 1 < kNameUnits && png + 1 < kNameUnits;
}

} // namespace

Result CVarnFont::LoadTrueTypeFace(CFontFace& face, uint8_t charSize, uint8_t spaceSize)
{
    if (!m_pTextObject || !m_pEngine || m_glyphCount < kFontGlyphCount || m_infoCount == 0)
        return RES_FAIL;
    CFontAtlas atlas;
    if (Failed(BuildCellAtlas(face, charSize, spaceSize, &atlas)))
        return RES_FAIL;
    const size_t rowBytes = kAtlasWidth;
    std::unique_ptr<uint8_t[]> bottomUp(new (std::nothrow) uint8_t[rowBytes * atlas.height]);
    if (!bottomUp)
        return RES_OUT_OF_MEMORY;
    for (uint32_t k = 0; k < atlas.height; ++k)
        std::memcpy(&bottomUp[k * rowBytes], &atlas.pixels[(atlas.height - 1 - k) * rowBytes], rowBytes);
    C3DTexture* texture = m_pEngine->CreateTexture(kFontTextureFlags, kFontTextureParameter);
    if (!texture)
        return RES_FAIL;
    Result result = texture->Create(static_cast<uint16_t>(kAtlasWidth), static_cast<uint16_t>(atlas.height), 8,
                                    bottomUp.get(), nullptr);
    if (Succeeded(result)) {
        result = m_pTextObject->SetTextureAll(texture, 0);
        if (Succeeded(result))
            result = CommitGlyphTable(atlas.rects, kFontGlyphCount - kAtlasFirstCode, kAtlasFirstCode, atlas.info);
    }
    IgnoreResult(m_pEngine->DestroyTexture(texture));
    return result;
}

Result CVarnFont::LoadTrueTypeFromAddress(const char16_t*, const uint8_t* data, uint32_t size, uint8_t charSize,
                                          uint8_t spaceSize)
{
    CFontFace face;
    if (Failed(face.OpenMemory(data, size)))
        return RES_FAIL;
    return LoadTrueTypeFace(face, charSize, spaceSize);
}

Result CVarnFont::LoadTrueTypeFromPacker(CPackerFile* pak, uint8_t charSize, uint8_t spaceSize)
{
    return FromPakEntry(pak, [&](const uint8_t* data, uint32_t size) {
        return LoadTrueTypeFromAddress(pak->foundName, data, size, charSize, spaceSize);
    });
}

Result CVarnFont::LoadTrueTypeFromFile(const char16_t* path, uint8_t charSize, uint8_t spaceSize)
{
    CFontFace face;
    if (Failed(face.OpenPath(path)))
        return RES_FAIL;
    return LoadTrueTypeFace(face, charSize, spaceSize);
}

Result CVarnFont::BakeGlyphFile(const char16_t* path, uint8_t charSize, uint8_t spaceSize)
{
    CFontFace face;
    if (Failed(face.OpenPath(path)))
        return RES_FAIL;
    CFontAtlas atlas;
    if (Failed(BuildCellAtlas(face, charSize, spaceSize, &atlas)))
        return RES_FAIL;
    if (m_infoCount > 0)
        m_infos[0] = atlas.info;
    std::unique_ptr<char16_t[]> glyphName(new (std::nothrow) char16_t[kNameUnits]);
    std::unique_ptr<char16_t[]> pngName(new (std::nothrow) char16_t[kNameUnits]);
    if (!glyphName || !pngName)
        return RES_OUT_OF_MEMORY;
    if (!FormBakeNames(path, atlas, charSize, spaceSize, glyphName.get(), pngName.get()) ||
        Failed(WriteGlyphFile(atlas, glyphName.get())))
        return RES_FAIL;
    return Failed(SaveFontAtlasPng(m_pWorldData, atlas, pngName.get())) ? RES_FAIL : RES_OK;
}

Result CVarnFont::ReadPakEntry(CPackerFile* pak, std::unique_ptr<uint8_t[]>* bytes)
{
    if (!pak || !pak->file)
        return RES_FAIL;
    bytes->reset(new (std::nothrow) uint8_t[pak->foundSize > 0 ? pak->foundSize : 1]);
    if (!*bytes) {
        if (m_pWorldData)
            m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    if (fread(bytes->get(), 1, pak->foundSize, pak->file) != pak->foundSize) {
        bytes->reset();
        return RES_FAIL;
    }
    return RES_OK;
}
