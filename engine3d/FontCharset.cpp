#include "engine3d/FontCharset.h"

#include <cstring>
#include <new>

#include "core/Stream.h"
#include "base/WideString.h"
#include "engine3d/Engine.h"
#include "engine3d/FontSources.h"
#include "engine3d/Object.h"

namespace {

constexpr char16_t kLineFeed = 10;
constexpr char16_t kCarriageReturn = 13;

} // namespace

CVarnFontCharset::CVarnFontCharset(CWorldData* data, C3DEngine* engine) : CVarnFont(data, engine) {}

CVarnFontCharset::~CVarnFontCharset() = default;

void CVarnFontCharset::FreePages()
{
    m_pages.reset();
    m_pageCount = 0;
    m_texturePageLimit = 0;
    m_pageVertexCounts.reset();
}

Result CVarnFontCharset::Release()
{
    IgnoreResult(CVarnFont::Release());
    FreePages();
    return RES_OK;
}

Result CVarnFontCharset::Create(uint8_t flags, uint32_t batchSize)
{
    const Result result = MakeTextObject(flags, batchSize);
    if (Failed(result))
        IgnoreResult(Release());
    return result;
}

const CharsetPage* CVarnFontCharset::GetPage(uint32_t page) const
{
    return page < m_pageCount ? &m_pages[page] : nullptr;
}

const FontInfo* CVarnFontCharset::GetPageInfo(uint32_t page) const
{
    return page < m_pageCount && page < m_infoCount ? &m_infos[page] : nullptr;
}

bool CVarnFontCharset::LookupGlyph(uint32_t unit, const GlyphRect** rect, const FontInfo** info) const
{
    const uint32_t page = unit / kCharsetSlots;
    if (page >= m_pageCount || unit >= m_glyphCount || page >= m_infoCount)
        return false;
    *rect = &m_glyphs[unit];
    *info = &m_infos[page];
    return true;
}

Result CVarnFontCharset::AllocateTables(Tables* tables, uint32_t pageCount)
{
    tables->pageCount = pageCount;
    if (pageCount == 0)
        return RES_OK;
    tables->pages.reset(new (std::nothrow) CharsetPage[pageCount]);
    tables->glyphs = ZeroedArray<GlyphRect>(pageCount * kCharsetSlots);
    tables->infos = ZeroedArray<FontInfo>(pageCount);
    tables->counts = ZeroedArray<uint32_t>(pageCount);
    if (!tables->pages || !tables->glyphs || !tables->infos || !tables->counts)
        return RES_OUT_OF_MEMORY;
    return RES_OK;
}

void CVarnFontCharset::Commit(Tables* tables)
{
    m_pages = std::move(tables->pages);
    m_pageCount = tables->pageCount;
    m_texturePageLimit = tables->texturePageLimit;
    m_pageVertexCounts = std::move(tables->counts);
    m_glyphs = std::move(tables->glyphs);
    m_glyphCount = tables->pageCount * kCharsetSlots;
    m_infos = std::move(tables->infos);
    m_infoCount = tables->pageCount;
}

Result CVarnFontCharset::CopyTables(const CVarnFontCharset& source, Tables* tables) const
{
    const uint32_t pages = source.m_pageCount;
    if (Failed(AllocateTables(tables, pages)))
        return RES_OUT_OF_MEMORY;
    tables->texturePageLimit = source.m_texturePageLimit;
    for (uint32_t p = 0; p < pages; ++p) {
        const CharsetPage& from = source.m_pages[p];
        CharsetPage& to = tables->pages[p];
        to.scriptFlags = from.scriptFlags;
        to.secondWord = from.secondWord;
        to.characters = ZeroedArray<char16_t>(from.count + 1);
        if (!to.characters)
            return RES_OUT_OF_MEMORY;
        if (from.count > 0)
            std::memcpy(to.characters.get(), from.characters.get(), from.count * sizeof(char16_t));
        to.count = from.count;
    }
    if (pages > 0) {
        std::memcpy(tables->glyphs.get(), source.m_glyphs.get(), size_t{pages} * kCharsetSlots * sizeof(GlyphRect));
        std::memcpy(tables->infos.get(), source.m_infos.get(), size_t{pages} * sizeof(FontInfo));
    }
    return RES_OK;
}

Result CVarnFontCharset::CreateFrom(const CVarnFont* source, uint32_t batchSize)
{
    const auto* charset = dynamic_cast<const CVarnFontCharset*>(source);
    if (Failed(StartCreateFrom(charset, batchSize)))
        return RES_FAIL;
    Tables tables;
    Result result = CopyTables(*charset, &tables);
    if (Succeeded(result) && tables.pageCount > 0 && !BuildGeometry(m_pTextObject, tables.pageCount))
        result = RES_FAIL;
    if (Succeeded(result)) {
        Commit(&tables);
        result = ShareTexturesOf(charset);
    }
    if (Failed(result)) {
        IgnoreResult(Release());
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVarnFontCharset::ReadPage(CStream* stream, CharsetPage* page)
{
    uint32_t count = 0;
    if (!stream->Read(&page->scriptFlags, 4, 1) || !stream->Read(&page->secondWord, 4, 1) ||
        !stream->Read(&count, 4, 1) || count > kCharsetSlots)
        return RES_FAIL;
    page->characters = ZeroedArray<char16_t>(count + 1);
    if (!page->characters)
        return RES_OUT_OF_MEMORY;
    if (count > 0 && !stream->Read(page->characters.get(), 2, count))
        return RES_FAIL;
    page->count = count;
    return RES_OK;
}

Result CVarnFontCharset::RebuildTextObject(uint32_t pageCount)
{
    C3DObject* fresh = MakeObjectLike(m_pTextObject);
    if (!fresh)
        return RES_FAIL;
    if (!BuildGeometry(fresh, pageCount)) {
        IgnoreResult(m_pEngine->DestroyObject(fresh));
        return RES_FAIL;
    }
    DestroyTextObject();
    m_pTextObject = fresh;
    return RES_OK;
}

Result CVarnFontCharset::ReadCharset(CStream* stream)
{
    uint16_t version = 0;
    uint32_t pageCount = 0;
    Tables tables;
    if (!stream || !m_pTextObject || !stream->Read(&version, 2, 1) || version != kCharsetVersion ||
        !stream->Read(&pageCount, 4, 1) || pageCount == 0 || pageCount > kCharsetMaxPages ||
        !stream->Read(&tables.texturePageLimit, 4, 1))
        return RES_FAIL;
    Result result = AllocateTables(&tables, pageCount);
    for (uint32_t p = 0; p < pageCount && Succeeded(result); ++p)
        result = ReadPage(stream, &tables.pages[p]);
    if (Failed(result))
        return result;
    if (!stream->Read(tables.glyphs.get(), 4, pageCount * kCharsetSlots * 4) ||
        !stream->Read(tables.infos.get(), kFontInfoBytes, pageCount))
        return RES_FAIL;
    if (Failed(RebuildTextObject(pageCount)))
        return RES_FAIL;
    Commit(&tables);
    return RES_OK;
}

Result CVarnFontCharset::ReadCharsetStream(CStream* stream)
{
    const Result result = ReadCharset(stream);
    return result == RES_OUT_OF_MEMORY ? result : (Failed(result) ? RES_FAIL : RES_OK);
}

Result CVarnFontCharset::LoadCharsetFromAddress(const uint8_t* data, uint32_t size)
{
    return ReadFromAddress(data, size, [this](CStream* stream) { return ReadCharsetStream(stream); });
}

Result CVarnFontCharset::LoadCharsetFromPacker(CPackerFile* pak)
{
    return FromPakEntry(pak, [this](const uint8_t* data, uint32_t size) { return LoadCharsetFromAddress(data, size); });
}

Result CVarnFontCharset::LoadCharsetFromFile(const char16_t* path)
{
    return ReadFromFile(path, [this](CStream* stream) { return ReadCharsetStream(stream); });
}

Result CVarnFontCharset::SetPageTextures(C3DTexture* const* textures, uint32_t count)
{
    if (!m_pTextObject || count > m_texturePageLimit || count > m_pTextObject->GetPartCount() ||
        (count > 0 && !textures))
        return RES_FAIL;
    for (uint32_t i = 0; i < count; ++i) {
        if (textures[i] && m_pEngine->GetTextureRefCount(textures[i]) == 0)
            return RES_FAIL;
    }
    Result result = RES_OK;
    for (uint32_t i = 0; i < count; ++i) {
        if (Failed(m_pTextObject->SetPartTexture(textures[i], i, 0)))
            result = RES_FAIL;
    }
    return result;
}

void CVarnFontCharset::RemapText(char16_t* text) const
{
    for (char16_t* p = text; p && *p; ++p) {
        const uint32_t page = *p / kCharsetSlots;
        const uint32_t slot = *p % kCharsetSlots;
        if (page < m_pageCount && slot < m_pages[page].count)
            *p = m_pages[page].characters[slot];
    }
}

uint32_t CVarnFontCharset::WrapText(float scale, float ignored, const char16_t* source, char16_t* destination,
                                    uint32_t capacity, uint16_t maxWidth, char16_t breakChar,
                                    const char16_t* noBreakAfter, const char16_t* noBreakBefore)
{
    return CVarnFont::WrapText(scale, ignored, source, destination, capacity, maxWidth, breakChar, noBreakAfter,
                               noBreakBefore, 0);
}

Vector3* CVarnFontCharset::DrawText(Vector3* out, const char16_t* text, float startX, Vector3* pen, uint32_t flags,
                                    uint32_t colour, float scale, float lineHeight, const Vector2* hover,
                                    const void* growth, uint32_t growthStride)
{
    uint32_t n = 0;
    float advance = 0.0f;
    if (!BeginDrawText(out, text, pen, flags, scale, lineHeight, hover, &colour, &n, &advance))
        return out;
    const uint32_t perPage = 6 * m_batchSize;
    for (uint32_t p = 0; p < m_pageCount; ++p)
        m_pageVertexCounts[p] = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const char16_t unit = text[i];
        const uint32_t page = unit / kCharsetSlots;
        if (page >= m_pageCount)
            continue;
        if (unit == kLineFeed) {
            pen->x = startX;
            pen->y += lineHeight;
            continue;
        }
        const GlyphRect& rect = m_glyphs[unit];
        if (unit == kCarriageReturn || IsEmptyRect(rect))
            continue;
        const float width = GlyphWidth(rect, m_infos[page], scale);
        EmitQuad(m_pageVertexCounts[page] + perPage * page, unit, rect, width, *pen, flags, colour, lineHeight,
                 growth, growthStride);
        m_pageVertexCounts[page] += 6;
        pen->x += width;
    }
    for (uint32_t p = 0; p < m_pageCount; ++p) {
        const uint32_t count = m_pageVertexCounts[p];
        IgnoreResult(m_pTextObject->SetPrimitiveGroup(p, perPage * p, count, perPage * p, count, count / 3,
                                                      kPrimitiveTriangleList, m_cullCode, kPartNumberId));
    }
    return EndDrawText(out, text, n, *pen, advance);
}
