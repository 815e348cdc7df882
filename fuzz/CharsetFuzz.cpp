// ".charset" multi-page fonts: the memory and pak reads agree on every page, read nothing past
// the entry, and the font remaps, draws and wraps texts of every page.

#include <string>

#include "engine3d/FontCharset.h"
#include "fuzz/FuzzFonts.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

namespace {

std::u16string Pages(const CVarnFontCharset& font)
{
    std::u16string pages;
    for (uint32_t p = 0; p < font.GetPageCount(); ++p) {
        const CharsetPage* page = font.GetPage(p);
        FUZZ_CHECK(page && page->count <= kCharsetSlots);
        pages.append(page->characters.get(), page->count);
        pages += static_cast<char16_t>(page->scriptFlags);
        pages += static_cast<char16_t>(page->secondWord);
    }
    return pages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryRenderer renderer;
    CVarnFontCharset memory(renderer.Data(), renderer.Engine());
    CVarnFontCharset packed(renderer.Data(), renderer.Engine());
    FUZZ_CHECK(memory.Create(kFontScreenText, 64) == RES_OK && packed.Create(kFontScreenText, 64) == RES_OK);
    const Result fromMemory = memory.LoadCharsetFromAddress(data, static_cast<uint32_t>(size));
    CFuzzPak pak(u"font.charset", data, size);
    FUZZ_CHECK(packed.LoadCharsetFromPacker(pak.Record()) == fromMemory);
    FUZZ_CHECK(pak.Position() <= static_cast<long>(size));
    FUZZ_CHECK(memory.GetPageCount() == packed.GetPageCount() && Pages(memory) == Pages(packed));
    FUZZ_CHECK(memory.GetPageCount() <= kCharsetMaxPages);
    std::u16string text = u"abc 日本語 \x0100\x0201\xFFFF";
    memory.RemapText(text.data());
    DrawEveryGlyph(memory, *renderer.Engine());
    FUZZ_CHECK(memory.Release() == RES_OK);
    FUZZ_CHECK(packed.Release() == RES_OK);
    return 0;
}
