#pragma once
#include <cstdint>
#include <memory>

#include "engine3d/Font.h"

// One page of a multi-page font: its script flags, a word kept for the game, and the real
// characters its slots draw.
struct CharsetPage {
    uint32_t scriptFlags = 0;
    uint32_t secondWord = 0;
    std::unique_ptr<char16_t[]> characters;
    uint32_t count = 0;
};

// Limits of a ".charset" description: a unit is page x 256 + slot, so 256 pages cover every
// 16-bit unit, and a page lists at most one character per slot.
constexpr uint32_t kCharsetMaxPages = 256;
constexpr uint32_t kCharsetSlots = 256;
constexpr uint16_t kCharsetVersion = 6;

// A font whose glyphs are spread over pages of 256, each with its own texture (one part of the
// text object), glyph rectangles and font info. Texts are in page code: page x 256 + slot.
// Create, one charset loader, SetPageTextures, then draw; every new read drops the textures.
class CVarnFontCharset : public CVarnFont {
public:
    CVarnFontCharset(CWorldData* data, C3DEngine* engine);
    ~CVarnFontCharset() override;

    // The source must be a charset font; pages, tables and textures as the source's.
    Result CreateFrom(const CVarnFont* source, uint32_t batchSize) override;
    // The text object only; the geometry and tables come with the first charset read.
    Result Create(uint8_t flags, uint32_t batchSize) override;
    Result Release() override;
    // One primitive group per page, part p drawing page p.
    Vector3* DrawText(Vector3* out, const char16_t* text, float startX, Vector3* pen, uint32_t flags,
                      uint32_t colour, float scale, float lineHeight, const Vector2* hover, const void* growth,
                      uint32_t growthStride) override;

    using CVarnFont::WrapText;
    // The base wrapping without keeping a trailing break character; units of unknown pages are
    // copied without being measured.
    uint32_t WrapText(float scale, float ignored, const char16_t* source, char16_t* destination, uint32_t capacity,
                      uint16_t maxWidth, char16_t breakChar, const char16_t* noBreakAfter,
                      const char16_t* noBreakBefore);
    // A failed read leaves the font as it was.
    virtual Result LoadCharsetFromAddress(const uint8_t* data, uint32_t size);
    virtual Result LoadCharsetFromPacker(CPackerFile* pak);
    virtual Result LoadCharsetFromFile(const char16_t* path);
    // Texture i onto part i, stage 0. RES_FAIL, nothing set, for more textures than the
    // texture page limit or the pages.
    virtual Result SetPageTextures(C3DTexture* const* textures, uint32_t count);
    // Each unit of a known page and slot becomes the real character the page lists there.
    virtual void RemapText(char16_t* text) const;
    virtual Result ReadCharset(CStream* stream);

    uint32_t GetPageCount() const { return m_pageCount; }
    uint32_t GetTexturePageLimit() const { return m_texturePageLimit; }
    // Null for a page past the count.
    const CharsetPage* GetPage(uint32_t page) const;
    const FontInfo* GetPageInfo(uint32_t page) const;

protected:
    bool LookupGlyph(uint32_t unit, const GlyphRect** rect, const FontInfo** info) const override;

private:
    // Everything one read or copy produces, committed in one step.
    struct Tables {
        std::unique_ptr<CharsetPage[]> pages;
        std::unique_ptr<GlyphRect[]> glyphs;
        std::unique_ptr<FontInfo[]> infos;
        std::unique_ptr<uint32_t[]> counts;
        uint32_t pageCount = 0;
        uint32_t texturePageLimit = 0;
    };

    static Result AllocateTables(Tables* tables, uint32_t pageCount);
    static Result ReadPage(CStream* stream, CharsetPage* page);
    Result CopyTables(const CVarnFontCharset& source, Tables* tables) const;
    // A new text object like the current one with the geometry of the pages; the old object
    // (and its textures) is destroyed only when the new one is ready.
    Result RebuildTextObject(uint32_t pageCount);
    void Commit(Tables* tables);
    void FreePages();
    Result ReadCharsetStream(CStream* stream);

    std::unique_ptr<CharsetPage[]> m_pages;
    uint32_t m_pageCount = 0;
    uint32_t m_texturePageLimit = 0;
    std::unique_ptr<uint32_t[]> m_pageVertexCounts;
};
