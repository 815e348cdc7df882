// Seeds of the font harnesses: ".glyph" and ".charset" files from the font-file writer, [FONT]
// descriptions, and the tiny TrueType font of the fixtures (the system's fonts are too large to
// fuzz well).

#include "fuzz/seeds/Seeds.h"
#include "tests/support/FontFixtures.h"
#include "tools/FontFileWriter.h"

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
    const std::string font = TinyTrueTypeFont();
    return {{"size16.ttf", std::string("\x10\x02") + font}, {"size40.ttf", std::string("\x28\x00", 2) + font}};
}
