// The charset mode's remap table: the input is the symbols file. With the page separator, the
// line-break mark, the tag and format markers it gives, a text of every unit up to 300 and of the
// markers' codes, and that text filling a pop-up and ending in unit 0x1234, are shown page by page
// as the pop-up walker checks, and a title is made of the first.

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/PopupText.h"

namespace {

std::u16string EveryUnit()
{
    std::u16string text = u"\\L=1,S=a.wav\\Page %d of %d|%%#two#";
    for (char16_t unit = 1; unit <= 300; ++unit)
        text += unit;
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string full = EveryUnit();
    full.resize(kPopupTextUnits - 2, u'x');
    full += u'\x1234';
    std::map<std::string, std::string> files = StringTables({EveryUnit(), full}, {}, true);
    files["strings/_symbols.utf8.indexed.ucs2.raw"] = std::string(reinterpret_cast<const char*>(data), size);
    CFuzzTextGame game(true);
    if (Failed(game.Open(files)))
        return 0;
    char16_t title[64];
    FUZZ_CHECK(game.World().GetTitle(nullptr, nullptr, title, 64) == RES_OK && WStrLen(title) < 64);
    WalkPopupPages(game, 2);
    return 0;
}
