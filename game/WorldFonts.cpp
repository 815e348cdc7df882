#include <memory>
#include <vector>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/FontCharset.h"
#include "engine3d/Texture.h"
#include "game/CharsetRemap.h"
#include "game/FontLoaders.h"
#include "game/VadadiDazidevWorld.h"

// The main font of the configured type: TrueType, glyph atlas or multi-page charset.

namespace {

constexpr uint8_t kFontInitFlags = 1;
constexpr uint32_t kFontInitBatch = 1024;
constexpr uint32_t kPageTextureFlags = 1;
constexpr uint32_t kPageTextureParameter = 0x52;

} // namespace

Result CVadadiDazidevWorld::MakeMainFont()
{
    const uint32_t type = m_GameData.m_nLoadFontType;
    if (type > kFontTypeCharset) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! m_pMainFont error\n");
        return RES_FAIL;
    }
    m_pOwnedFont = m_ComponentFactory.Make<CVarnFont>(kComponentFont, m_pData, m_p3DEngine.get(), type);
    m_pMainFont = m_GameData.m_pMainFont = m_pOwnedFont.get();
    if (!m_pMainFont || Failed(m_pMainFont->Create(kFontInitFlags, kFontInitBatch))) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! CVarnFont error\n");
        return RES_FAIL;
    }
    const CParamsReader& game = GameParams();
    if (type == kFontTypeTrueType)
        return AutoLoadFontTTFFromParam(kSourcePacker, &game, u"MAIN_FONT", u"MAIN_FONT_TTF_FILE_PATH", u"",
                                        game.GetU8(u"MAIN_FONT", u"MAIN_FONT_TTF_CHAR_SIZE_REF", 30),
                                        game.GetU8(u"MAIN_FONT", u"MAIN_FONT_TTF_SPACE_SIZE_REF", 3), m_pMainFont,
                                        m_pData);
    if (type == kFontTypeGlyph)
        return AutoLoadFontGlyphFromParam(kSourcePacker, &game, u"MAIN_FONT", u"MAIN_FONT_GLYPH_FILE_PATH", u"",
                                          u"MAIN_FONT_GLYPH_TEXTURE_PATH", u"", m_pMainFont, m_pData);
    auto* charset = dynamic_cast<CVarnFontCharset*>(m_pMainFont);
    if (!charset || Failed(LoadCharset(*charset)))
        return RES_FAIL;
    return LoadCharsetPages(*charset);
}

// The charset description from the external pak when it has it, else from the main pak.
Result CVadadiDazidevWorld::LoadCharset(CVarnFontCharset& font)
{
    char16_t name[kMaxPathUnits];
    IgnoreResult(GameParams().GetString(u"MAIN_FONT", u"MAIN_FONT_CHARSET_FILE_PATH", u"", name, kMaxPathUnits));
    CPackerFile* external = TextPak();
    if (external && m_pData->pakLookup && Succeeded(m_pData->pakLookup(name, external))) {
        if (Succeeded(font.LoadCharsetFromPacker(external)))
            return RES_OK;
        LogPrintf(m_pData->logPath, 1,
                  u"# CManagedWorld::LoadFont LoadFontCharsetFromPacker external failed! (\"%s\")\n", name);
        return RES_FAIL;
    }
    if (m_pData->pakLookup && Succeeded(m_pData->pakLookup(name, &m_pData->pak)) &&
        Succeeded(font.LoadCharsetFromPacker(&m_pData->pak)))
        return RES_OK;
    LogPrintf(m_pData->logPath, 1, u"# CManagedWorld::LoadFont LoadFontCharsetFromPacker failed! (\"%s\")\n", name);
    return RES_FAIL;
}

// One texture per page, every page from the pak that holds page 0 (the external one first).
Result CVadadiDazidevWorld::LoadCharsetPages(CVarnFontCharset& font)
{
    char16_t format[kMaxPathUnits];
    IgnoreResult(GameParams().GetString(u"MAIN_FONT", u"MAIN_FONT_CHARSET_TEXTURE_PATH", u"charset.%d.png", format,
                                        kMaxPathUnits));
    std::vector<C3DTexture*> textures;
    auto destroy = [this, &textures]() {
        for (C3DTexture* texture : textures)
            IgnoreResult(m_p3DEngine->DestroyTexture(texture));
    };
    CPackerFile* pak = &m_pData->pak;
    const char16_t* missing = u"# CManagedWorld::LoadFont failed! Can't retrieve packer file \"%s\"\n";
    for (uint32_t page = 0; page < font.GetPageCount(); ++page) {
        char16_t name[kMaxPathUnits];
        WFormat(name, kMaxPathUnits, format, page);
        CPackerFile* external = TextPak();
        if (page == 0 && external && m_pData->pakLookup && Succeeded(m_pData->pakLookup(name, external))) {
            pak = external;
            missing = u"# CManagedWorld::LoadFont failed! Can't retrieve external packer file \"%s\"\n";
        }
        if (!m_pData->pakLookup || Failed(m_pData->pakLookup(name, pak))) {
            LogPrintf(m_pData->logPath, 1, missing, name);
            destroy();
            return RES_FAIL;
        }
        C3DTexture* texture = m_p3DEngine->CreateTexture(kPageTextureFlags, kPageTextureParameter);
        if (texture)
            textures.push_back(texture);
        if (!texture || Failed(texture->LoadTextureFromPacker(pak))) {
            destroy();
            return RES_FAIL;
        }
    }
    m_GameData.m_pCharsetPak = pak == &m_pData->pak ? nullptr : pak;
    // The font's parts hold their own references.
    const Result result = LoadFontCharsetTextures(&font, m_pData, textures.data(), static_cast<uint32_t>(textures.size()));
    destroy();
    return result;
}
