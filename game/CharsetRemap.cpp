#include "game/CharsetRemap.h"

#include <algorithm>
#include <iterator>

#include "core/WorldData.h"
#include "engine3d/FontCharset.h"
#include "engine3d/Texture.h"
#include "game/GameData.h"

namespace {

constexpr uint32_t kLastCode = kCharsetRemapEntries - 1;

// Latin-1 signs the game's fonts do not draw.
constexpr uint8_t kUnprintedSigns[] = {164, 166, 168, 170, 172, 173, 175, 180, 182, 183, 184};

bool IsUnprinted(uint32_t code)
{
    return code <= 9 || code == 11 || code == 12 || (code >= 14 && code <= 31) || (code >= 127 && code <= 160) ||
           std::find(std::begin(kUnprintedSigns), std::end(kUnprintedSigns), code) != std::end(kUnprintedSigns);
}

Result LoadPageTexture(C3DTexture* texture, CPackerFile* pak, CWorldData* data)
{
    const char16_t* name = texture->GetName();
    if (!name || !data->pakLookup || Failed(data->pakLookup(name, pak)))
        return RES_FAIL;
    return Failed(texture->LoadTextureFromPacker(pak)) ? RES_FAIL : RES_OK;
}

} // namespace

bool IsCharsetMode(const CGameData& game)
{
    return game.m_nLoadFontType == kFontTypeCharset;
}

uint16_t DefaultCharsetRemap(uint32_t code)
{
    if (code >= kLastCode)
        return 0;
    return IsUnprinted(code) ? u' ' : static_cast<uint16_t>(code);
}

void CopyDefaultCharsetRemap(uint16_t* table)
{
    for (uint32_t c = 0; c < kCharsetRemapEntries; ++c)
        table[c] = DefaultCharsetRemap(c);
}

void ApplyCharsetRemap(char16_t* text, CWorldData* data)
{
    const uint16_t* remap = data->gameData->m_CharsetRemap;
    for (char16_t* p = text; p && *p; ++p) {
        if (*p <= kLastCode)
            *p = remap[*p];
    }
}

void UnmapCharsetText(char16_t* text, CWorldData* data)
{
    const uint16_t* remap = data->gameData->m_CharsetRemap;
    for (char16_t* p = text; p && *p; ++p) {
        const uint16_t* found = std::find(remap, remap + kCharsetRemapEntries, *p);
        if (found != remap + kCharsetRemapEntries)
            *p = DefaultCharsetRemap(static_cast<uint32_t>(found - remap));
    }
}

Result LoadFontPagesForScripts(CVarnFontCharset* font, uint32_t bits, CWorldData* data)
{
    CPackerFile* pak = data->gameData->m_pCharsetPak ? data->gameData->m_pCharsetPak : &data->pak;
    for (uint32_t page = 0; page < font->GetPageCount(); ++page) {
        C3DTexture* texture = font->GetTexture(page);
        if (!texture)
            continue;
        Result result = RES_OK;
        if ((font->GetPage(page)->scriptFlags & bits) != bits)
            result = texture->Release();
        else if (!texture->IsLoaded())
            result = LoadPageTexture(texture, pak, data);
        if (Failed(result))
            return RES_FAIL;
    }
    return RES_OK;
}
