// Pop-up pages: the input is the main string table; its first strings are shown page by page,
// tags and format markers included, as the pop-up walker checks.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::map<std::string, std::string> files = StringTables({});
    files[StringTableName("en", "")] = std::string(reinterpret_cast<const char*>(data), size);
    CFuzzTextGame game;
    game.UseSoundBank(1);
    if (Succeeded(game.Open(files)))
        WalkPopupPages(game, std::min(game.Data().m_GameStrings.m_nCount, 4u));
    return 0;
}
