// Seeds of the font harnesses: ".glyph" and ".charset" files from the font-file writer, [FONT]
// descriptions, and a TrueType font of two glyphs laid out here (the system's fonts are too large
// to fuzz well).

#include <map>

#include "fuzz/seeds/Seeds.h"
#include "tests/support/FontFixtures.h"
#include "tools/FontFileWriter.h"

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

// A square glyph: one contour of four on-curve points, 16-bit coordinate deltas.
std::string SquareGlyph()
{
    CSfntWriter g;
    for (uint32_t word : {1u, 100u, 0u, 500u, 700u, 3u, 0u})  // contours, box, last point, no instructions
        g.U16(word);
    g.Bytes().append(4, '\x01');
    for (uint32_t dx : {100u, 400u, 0u, 0x10000u - 400u})
        g.U16(dx);
    for (uint32_t dy : {0u, 0u, 700u, 0u})
        g.U16(dy);
    return g.Bytes();
}

std::map<std::string, std::string> TrueTypeTables()
{
    const std::string glyph = SquareGlyph();
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
    // Format 4: ' ' to '~' map to glyph 1, then the closing segment.
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

// The table directory, then each table padded to four bytes (no checksums: FreeType reads none).
std::string TrueTypeFont()
{
    const std::map<std::string, std::string> tables = TrueTypeTables();
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

} // namespace

FUZZ_SEEDS(Glyph)
{
    return {{"fixture.glyph", GlyphFileBytes(FixtureGlyphRecords(), kFixtureInfo)},
            {"version-one.glyph", GlyphFileBytes(FixtureGlyphRecords(), kFixtureInfo, 1)}};
}

FUZZ_SEEDS(Charset)
{
    std::vector<CharsetFilePage> one = TwoPageCharset();
    one.resize(1);
    return {{"two-pages.charset", CharsetFileBytes(TwoPageCharset(), 2)},
            {"one-page.charset", CharsetFileBytes(one, 1)}};
}

FUZZ_SEEDS(FontDescription)
{
    return {{"default.params", "[FONT]\n"},
            {"cells.params", "[FONT]\nNB_COL=10\nNB_ROW=256\nMAJ_A=3.2\nMIN_z=16.16\n}=2.1\nSPACE=1.1\nPOURCENT=4.4\n"},
            {"refused.params", "[FONT]\nNB_COL=0\n"}};
}

// The harness reads the character and space sizes first.
FUZZ_SEEDS(TrueType)
{
    const std::string font = TrueTypeFont();
    return {{"size16.ttf", std::string("\x10\x02") + font}, {"size40.ttf", std::string("\x28\x00", 2) + font}};
}
