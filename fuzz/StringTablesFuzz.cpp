// String tables: the input gives the main, commons and more-games tables of a second language.
// A language that loads holds its commons after its main strings, every string ending inside the
// table; one that fails leaves the language before it in place. Input: u16 main size, u16
// commons size, the main table, the commons table, then the more-games table.

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/PopupText.h"

namespace {

constexpr uint32_t kSecondLanguage = 1;  // "fr"

std::u16string String(CFuzzTextGame& game, uint32_t index, uint32_t table)
{
    return CPopupText::GetString(index, table, game.World().GetData());
}

void CheckTable(CFuzzTextGame& game, uint32_t count, uint32_t table)
{
    for (uint32_t i = 0; i < count; ++i)
        WStrLen(CPopupText::GetString(i, table, game.World().GetData()));
    FUZZ_CHECK(String(game, count, table) == kMissingString);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint16_t mainSize = input.Take<uint16_t>();
    const uint16_t commonsSize = input.Take<uint16_t>();
    std::map<std::string, std::string> files = StringTables({u"zero", u"one"});
    files[StringTableName("fr", "")] = input.TakeBytes(mainSize);
    files[StringTableName("fr", ".commons")] = input.TakeBytes(commonsSize);
    files[StringTableName("fr", ".moregames")] = input.TakeBytes(input.Left());
    CFuzzTextGame game;
    FUZZ_CHECK(game.Open(files) == RES_OK);
    CGameData& g = game.Data();
    if (Succeeded(game.World().LoadLanguage(kSecondLanguage))) {
        FUZZ_CHECK(g.m_nLanguage == kSecondLanguage && g.m_nCommonsCount <= g.m_GameStrings.m_nCount);
        CheckTable(game, g.m_GameStrings.m_nCount, kGameTable);
        char16_t title[64];
        FUZZ_CHECK(game.World().GetTitle(nullptr, nullptr, title, 64) == RES_OK && WStrLen(title) < 64);
    } else {
        FUZZ_CHECK(g.m_nLanguage == 0 && g.m_GameStrings.m_nCount == 2 && String(game, 1, kGameTable) == u"one");
    }
    if (Succeeded(game.World().Load_MoreGames(kSecondLanguage)))
        CheckTable(game, g.m_MoreGamesStrings.m_nCount, kMoreGamesTable);
    else
        FUZZ_CHECK(g.m_MoreGamesStrings.m_nCount == 0 && String(game, 0, kMoreGamesTable) == kMissingString);
    return 0;
}
