// Credits and legal texts: the input gives the language's credits file and its legal table. The
// credits text and every legal item, wrapped and raw, end inside their buffers and measure to a
// finite height. Input: u16 credits size, the credits file, then the legal table.

#include <algorithm>
#include <cmath>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/CreditTexts.h"

namespace {

bool EndsInside(const char16_t* text)
{
    return std::find(text, text + kCreditTextUnits, 0) != text + kCreditTextUnits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint16_t creditsSize = input.Take<uint16_t>();
    std::map<std::string, std::string> files = StringTables({u"zero", u"Title"}, {u"common"});
    files[StringTableName("en", ".credits_main")] = input.TakeBytes(creditsSize);
    files[StringTableName("en", ".copyrights")] = input.TakeBytes(input.Left());
    CFuzzTextGame game;
    FUZZ_CHECK(game.Open(files) == RES_OK);
    CTestWorld& world = game.World();
    if (Succeeded(world.LoadCredits(0)))
        FUZZ_CHECK(EndsInside(world.m_Scroll.m_pText.get()) && std::isfinite(world.m_Scroll.m_fHeight));
    if (Succeeded(world.Load_Legals(0))) {
        for (const auto& item : world.m_Scroll.m_Legals)
            FUZZ_CHECK(EndsInside(item->m_szWrapped) && EndsInside(item->m_szRaw) && std::isfinite(item->m_Size.y));
        FUZZ_CHECK(std::isfinite(world.m_Scroll.m_fHeight));
    }
    return 0;
}
