// TrueType fonts rasterised into an atlas: the memory and pak loads agree, and the font draws
// whatever atlas it holds. Input: u8 character size, u8 space size, then the font file.

#include "engine3d/Font.h"
#include "fuzz/FuzzFonts.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint8_t charSize = input.Take<uint8_t>();
    const uint8_t spaceSize = input.Take<uint8_t>();
    const uint32_t fileSize = static_cast<uint32_t>(input.Left());
    MemoryRenderer renderer;
    CVarnFont memory(renderer.Data(), renderer.Engine());
    CVarnFont packed(renderer.Data(), renderer.Engine());
    FUZZ_CHECK(memory.Create(kFontScreenText, 64) == RES_OK && packed.Create(kFontScreenText, 64) == RES_OK);
    const Result fromMemory = memory.LoadTrueTypeFromAddress(u"font.ttf", input.Data(), fileSize, charSize, spaceSize);
    CFuzzPak pak(u"font.ttf", input.Data(), fileSize);
    FUZZ_CHECK(packed.LoadTrueTypeFromPacker(pak.Record(), charSize, spaceSize) == fromMemory);
    FUZZ_CHECK(GlyphTable(memory) == GlyphTable(packed));
    DrawEveryGlyph(memory, *renderer.Engine());
    FUZZ_CHECK(memory.Release() == RES_OK);
    FUZZ_CHECK(packed.Release() == RES_OK);
    return 0;
}
