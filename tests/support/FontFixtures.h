#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/Vector3.h"
#include "engine3d/Font.h"
#include "engine3d/FontTypes.h"
#include "tools/FontFileWriter.h"

class C3DObject;

// The fixture font: character size 16 in a 256 x 256 texture, so that at kFixtureScale every
// glyph is as wide on screen as its pixel width: space 4, 'i' 2, 'm' 12, 'W' 16, every other
// printable ASCII character 8. Codes from 127 up have no glyph.
constexpr float kFixtureScale = 16.0f;
constexpr float kFixtureLineHeight = 20.0f;
constexpr FontInfo kFixtureInfo = {16, {0, 0, 0}, 256.0f, 256.0f};

// Pixel width of a fixture glyph; 0 without a glyph.
float FixtureWidth(char16_t unit);
// The fixture rectangle of a code (all zero without a glyph).
GlyphRect FixtureRect(uint32_t code);
// Fills a created font's table and font info with the fixture.
void LoadFixtureGlyphs(CVarnFont* font);

// A screen-text fixture font that notes every text laid out through HitTestText.
class CNotingFont : public CVarnFont {
public:
    struct Drawn {
        std::u16string text;
        Vector3 position;
        uint32_t colour;
        float scale;
    };
    CNotingFont(CWorldData* data, C3DEngine* engine);
    Vector3* HitTestText(Vector3* out, const char16_t* text, const Vector3* position, uint16_t flags, uint32_t colour,
                         float scale, float lineHeight, const Vector2* point, const void* extra,
                         uint32_t extraWord) override;
    // The first noted text that holds part; null when none does.
    const Drawn* Find(const std::u16string& part) const;

    std::vector<Drawn> m_drawn;
};

// The fixture's rectangles for the codes 32 to 287, as a ".glyph" file lists them.
std::vector<GlyphRect> FixtureGlyphRecords();

// Two pages: page 0 the fixture font (script 0x01, listing the characters 0 to 127), page 1 four
// CJK glyphs 16 pixels wide at kFixtureScale in slots 0 to 3 (character size 32, 512 x 512
// texture; script 0x0C), listing 日 本 語 中 and one more character without a glyph.
std::vector<CharsetFilePage> TwoPageCharset();
constexpr char16_t kPageOneCharacters[] = u"日本語中文";

// A vertex of the text object read back (locks and unlocks the object).
struct FontVertex {
    Vector3 position;
    uint32_t colour;
    Vector2 uv;
};
FontVertex ReadFontVertex(C3DObject* object, uint32_t index);

// A TrueType font whose ' ' is a box glyph 400 x glyphHeight font units (other codes have no
// glyph of their own), in a face whose bounding box the head table gives as 500 x 700 units
// (1000 units to the em).
std::string TinyTrueTypeFont(uint16_t glyphHeight = 700);

// Debian's DejaVu Sans and WenQuanYi Micro Hei, or an empty path when the package is missing.
std::string DejaVuSansPath();
std::string MicroHeiPath();
