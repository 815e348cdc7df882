#include "tests/support/FontFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "engine3d/Font.h"
#include "engine3d/Object.h"

float FixtureWidth(char16_t unit)
{
    if (unit < 32 || unit > 126)
        return 0.0f;
    switch (unit) {
    case u' ': return 4.0f;
    case u'i': return 2.0f;
    case u'm': return 12.0f;
    case u'W': return 16.0f;
    default: return 8.0f;
    }
}

GlyphRect FixtureRect(uint32_t code)
{
    const float width = code < 0x10000 ? FixtureWidth(static_cast<char16_t>(code)) : 0.0f;
    if (width == 0.0f)
        return GlyphRect{0.0f, 0.0f, 0.0f, 0.0f};
    const float left = static_cast<float>(code % 16) / 16.0f;
    const float top = static_cast<float>(code / 16) / 16.0f;
    return GlyphRect{left, top, left + width / 256.0f, top + 1.0f / 16.0f};
}

void LoadFixtureGlyphs(CVarnFont* font)
{
    for (uint32_t code = 0; code < kFontGlyphCount; ++code)
        font->SetGlyph(code, FixtureRect(code));
    EXPECT_EQ(font->SetFontInfo(kFixtureInfo), RES_OK);
}

CNotingFont::CNotingFont(CWorldData* data, C3DEngine* engine) : CVarnFont(data, engine)
{
    EXPECT_EQ(Create(kFontScreenText, 64), RES_OK);
    LoadFixtureGlyphs(this);
}

Vector3* CNotingFont::HitTestText(Vector3* out, const char16_t* text, const Vector3* position, uint16_t flags,
                                  uint32_t colour, float scale, float lineHeight, const Vector2* point,
                                  const void* extra, uint32_t extraWord)
{
    m_drawn.push_back({text ? text : u"", position ? *position : Vector3{}, colour, scale});
    return CVarnFont::HitTestText(out, text, position, flags, colour, scale, lineHeight, point, extra, extraWord);
}

const CNotingFont::Drawn* CNotingFont::Find(const std::u16string& part) const
{
    for (const Drawn& drawn : m_drawn) {
        if (drawn.text.find(part) != std::u16string::npos)
            return &drawn;
    }
    return nullptr;
}

std::vector<GlyphRect> FixtureGlyphRecords()
{
    std::vector<GlyphRect> rects;
    for (uint32_t code = 32; code < 32 + 256; ++code)
        rects.push_back(FixtureRect(code));
    return rects;
}

std::vector<CharsetFilePage> TwoPageCharset()
{
    CharsetFilePage latin;
    latin.scriptFlags = 0x01;
    latin.secondWord = 0x1234;
    for (char16_t c = 0; c < 128; ++c)
        latin.characters.push_back(c);
    for (uint32_t slot = 0; slot < 256; ++slot)
        latin.rects.push_back(FixtureRect(slot));
    latin.info = kFixtureInfo;

    CharsetFilePage cjk;
    cjk.scriptFlags = 0x0C;
    cjk.characters = kPageOneCharacters;
    cjk.rects.assign(256, GlyphRect{0.0f, 0.0f, 0.0f, 0.0f});
    for (uint32_t slot = 0; slot < 4; ++slot) {
        const float left = static_cast<float>(slot) / 16.0f;
        cjk.rects[slot] = GlyphRect{left, 0.5f, left + 1.0f / 16.0f, 0.5f + 1.0f / 16.0f};
    }
    cjk.info = FontInfo{32, {0, 0, 0}, 512.0f, 512.0f};
    return {latin, cjk};
}

FontVertex ReadFontVertex(C3DObject* object, uint32_t index)
{
    FontVertex vertex{};
    EXPECT_EQ(object->Lock(), RES_OK);
    object->GetVertex(index, &vertex.position, &vertex.colour, &vertex.uv, nullptr, nullptr);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    return vertex;
}

namespace {

std::string IfPresent(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return {};
    fclose(file);
    return path;
}

} // namespace

std::string DejaVuSansPath() { return IfPresent("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }

std::string MicroHeiPath() { return IfPresent("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"); }

namespace {

// Big-endian words, as TrueType stores them.
class CSfntWriter {
public:
    void U16(uint32_t value) { m_bytes += {static_cast<char>(value >> 8), static_cast<char>(value)}; }
    void U32(uint32_t value)
    {
        U16(value >> 16);
        U16(value & 0xFFFF);
    }
    std::string& Bytes() { return m_bytes; }

private:
    std::string m_bytes;
};

// A box glyph: one contour of four on-curve points, 16-bit coordinate deltas.
std::string BoxGlyph(uint16_t height)
{
    CSfntWriter g;
    for (uint32_t word : {1u, 100u, 0u, 500u, uint32_t{height}, 3u, 0u})  // contours, box, last point, no instructions
        g.U16(word);
    g.Bytes().append(4, '\x01');
    for (uint32_t dx : {100u, 400u, 0u, 0x10000u - 400u})
        g.U16(dx);
    for (uint32_t dy : {0u, 0u, uint32_t{height}, 0u})
        g.U16(dy);
    return g.Bytes();
}

std::map<std::string, std::string> TrueTypeTables(uint16_t glyphHeight)
{
    const std::string glyph = BoxGlyph(glyphHeight);
    CSfntWriter head, hhea, maxp, hmtx, loca, cmap, post, name;
    for (uint32_t word : {0x00010000u, 0x00010000u, 0u, 0x5F0F3CF5u})
        head.U32(word);
    for (uint32_t word : {0x000Bu, 1000u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 500u, 700u, 0u, 8u, 2u, 1u, 0u})
        head.U16(word);
    hhea.U32(0x00010000u);
    for (uint32_t word : {800u, 0x10000u - 200u, 0u, 600u, 0u, 0u, 500u, 1u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 2u})
        hhea.U16(word);
    maxp.U32(0x00010000u);
    for (uint32_t word : {2u, 4u, 1u, 0u, 0u, 2u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u})
        maxp.U16(word);
    for (uint32_t word : {500u, 0u, 600u, 100u})
        hmtx.U16(word);
    for (uint32_t offset : {0u, 0u, static_cast<uint32_t>(glyph.size())})
        loca.U32(offset);
    // Format 4: ' ' to '~' map to glyph (code - 31), of which only ' ' exists; then the closing segment.
    for (uint32_t word : {0u, 1u, 3u, 1u})
        cmap.U16(word);
    cmap.U32(12);
    for (uint32_t word : {4u, 32u, 0u, 4u, 4u, 1u, 0u, 0x7Eu, 0xFFFFu, 0u, 0x20u, 0xFFFFu, 0x10000u - 0x1Fu, 1u, 0u, 0u})
        cmap.U16(word);
    for (uint32_t word : {0x00030000u, 0u})
        post.U32(word);
    for (uint32_t word : {0x10000u - 100u, 50u})
        post.U16(word);
    for (int i = 0; i < 5; ++i)
        post.U32(0);
    for (uint32_t word : {0u, 0u, 6u})
        name.U16(word);
    return {{"cmap", cmap.Bytes()}, {"glyf", glyph},        {"head", head.Bytes()}, {"hhea", hhea.Bytes()},
            {"hmtx", hmtx.Bytes()}, {"loca", loca.Bytes()}, {"maxp", maxp.Bytes()}, {"name", name.Bytes()},
            {"post", post.Bytes()}};
}

} // namespace

// The table directory, then each table padded to four bytes (no checksums: FreeType reads none).
std::string TinyTrueTypeFont(uint16_t glyphHeight)
{
    const std::map<std::string, std::string> tables = TrueTypeTables(glyphHeight);
    CSfntWriter font;
    font.U32(0x00010000u);
    for (uint32_t word : {static_cast<uint32_t>(tables.size()), 128u, 3u, 16u})
        font.U16(word);
    uint32_t offset = 12 + 16 * static_cast<uint32_t>(tables.size());
    std::string data;
    for (const auto& [tag, bytes] : tables) {
        font.Bytes() += tag;
        font.U32(0);
        font.U32(offset);
        font.U32(static_cast<uint32_t>(bytes.size()));
        data += bytes;
        data.resize((data.size() + 3) & ~size_t{3}, '\0');
        offset = 12 + 16 * static_cast<uint32_t>(tables.size()) + static_cast<uint32_t>(data.size());
    }
    return font.Bytes() + data;
}
