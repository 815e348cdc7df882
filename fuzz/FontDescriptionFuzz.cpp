// [FONT] descriptions of charset-image fonts: the cells read with a texture from memory and
// from a pak agree, and the font draws whatever cells it holds.

#include "core/ParamsReader.h"
#include "engine3d/Font.h"
#include "fuzz/FuzzFonts.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const uint8_t kTexture[] = "texture bytes, not decoded by the memory renderer";
    const CParamsText description(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    MemoryRenderer renderer;
    CVarnFont memory(renderer.Data(), renderer.Engine());
    CVarnFont packed(renderer.Data(), renderer.Engine());
    FUZZ_CHECK(memory.Create(kFontScreenText, 64) == RES_OK && packed.Create(kFontScreenText, 64) == RES_OK);
    const Result fromMemory = memory.MakeTextureFromAddress(&description, u"font.png", kTexture, sizeof kTexture);
    CFuzzPak pak(u"font.png", kTexture, sizeof kTexture);
    FUZZ_CHECK(packed.LoadTextureFromPacker(&description, pak.Record()) == fromMemory);
    FUZZ_CHECK(GlyphTable(memory) == GlyphTable(packed));
    DrawEveryGlyph(memory, *renderer.Engine());
    FUZZ_CHECK(memory.Release() == RES_OK);
    FUZZ_CHECK(packed.Release() == RES_OK);
    return 0;
}
