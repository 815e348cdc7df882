// ".glyph" font descriptions: the memory and pak reads agree, read nothing past the entry, and
// the font draws whatever table it holds.

#include "engine3d/Font.h"
#include "fuzz/FuzzFonts.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryRenderer renderer;
    CVarnFont memory(renderer.Data(), renderer.Engine());
    CVarnFont packed(renderer.Data(), renderer.Engine());
    FUZZ_CHECK(memory.Create(kFontScreenText, 64) == RES_OK && packed.Create(kFontScreenText, 64) == RES_OK);
    const Result fromMemory = memory.ReadGlyphDescriptionFromAddress(data, static_cast<uint32_t>(size));
    CFuzzPak pak(u"font.glyph", data, size);
    FUZZ_CHECK(packed.ReadGlyphDescriptionFromPacker(pak.Record()) == fromMemory);
    FUZZ_CHECK(pak.Position() <= static_cast<long>(size));
    FUZZ_CHECK(GlyphTable(memory) == GlyphTable(packed));
    DrawEveryGlyph(memory, *renderer.Engine());
    FUZZ_CHECK(memory.Release() == RES_OK);
    FUZZ_CHECK(packed.Release() == RES_OK);
    return 0;
}
