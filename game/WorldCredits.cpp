#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "core/PlatformTable.h"
#include "engine3d/Font.h"
#include "game/GameText.h"
#include "game/PopupText.h"
#include "game/StringFile.h"
#include "game/VadadiDazidevWorld.h"

// The credits text, the legal texts and the more-games table of a language.

namespace {

const char16_t kWhoisMissing[] = u"# CVadadiDazidevWorld::OnWhoisTextEx failed! \"%s\" is missing !!!\n";
const char16_t kWhoisTooBig[] = u"# CVadadiDazidevWorld::OnWhoisTextEx failed! \"%s\" is too big !!!\n";
const char16_t kLegalsMissing[] = u"# CVadadiDazidevWorld::Load_Legals failed! \"%s\" is missing !!!\n";
const char16_t kMoreGamesMissing[] = u"# CVadadiDazidevWorld::Load_MoreGames failed! \"%s\" is missing !!!\n";
const char16_t kMissingCommons[] = u"MISSING COMMONS STRING !!!";
constexpr uint32_t kExtraNameUnits = 32;
constexpr char16_t kLineFeed = 10;
constexpr uint16_t kLinkMark = 64;  // '@'

std::unique_ptr<char16_t[]> ZeroedText()
{
    return std::unique_ptr<char16_t[]>(new (std::nothrow) char16_t[kCreditTextUnits + 1]());
}

} // namespace

Result CVadadiDazidevWorld::OnWhoisTextEx(const char16_t* name, char16_t* out, CPackerFile* pak)
{
    std::unique_ptr<CStream> stream = OpenRawFile(name, false, kWhoisMissing, pak);
    uint32_t units = 0;
    uint32_t count = 0;
    if (!stream || !ReadStringCount(*stream, units))
        return RES_FAIL;
    if (units > kCreditTextUnits) {
        LogPrintf(m_pData->logPath, 1, kWhoisTooBig, name);
        return RES_FAIL;
    }
    if (!ReadStringCount(*stream, count) || !stream->Read(out, sizeof(char16_t), units))
        return RES_FAIL;
    out[units] = 0;
    for (uint32_t i = 0; i + 1 < units; ++i) {
        if (out[i] == 0 || out[i] == m_GameData.m_nLineBreakMark)
            out[i] = kLineFeed;
    }
    return RES_OK;
}

// The language's file "<code>.<extra>" as one running text, from the external pak when open,
// else the main pak.
bool CVadadiDazidevWorld::ReadExtraCredits(uint32_t language, char16_t* out)
{
    const CParamsText none(nullptr, 0);
    const CParamsReader& game = m_pData->gameParams ? *m_pData->gameParams : static_cast<const CParamsReader&>(none);
    char16_t key[kExtraNameUnits * 2];
    char16_t extra[kExtraNameUnits];
    WFormat(key, std::size(key), u"EXTRA_CREDITS_NAME_%s", PlatformKey(m_GameData.m_nPlatform));
    IgnoreResult(game.GetString(u"LOGOS_CREDITS", key, u"", extra, kExtraNameUnits));
    char16_t section[kExtraNameUnits + 1];
    WFormat(section, std::size(section), u".%s", extra);
    char16_t path[kMaxPathUnits];
    return extra[0] && StringFilePath(path, language, section) && Succeeded(OnWhoisTextEx(path, out, TextPak()));
}

// "<main string 1>\n<commons string 0>\n<main string 0>\n", each missing one named so.
void CVadadiDazidevWorld::AppendCreditLines(char16_t* text)
{
    const uint32_t commons = m_GameData.m_nCommonsCount;
    const uint32_t mainCount = m_GameData.m_GameStrings.m_nCount - commons;
    auto string = [this](uint32_t index) { return CPopupText::GetString(index, kGameTable, m_pData); };
    const size_t length = WStrLen(text);
    WFormat(text + length, kCreditTextUnits - length, u"%s\n%s\n%s\n", mainCount >= 2 ? string(1) : kMissingString,
            commons > 0 ? string(mainCount) : kMissingCommons, mainCount >= 1 ? string(0) : kMissingString);
}

Result CVadadiDazidevWorld::LoadCredits(uint32_t index)
{
    std::unique_ptr<char16_t[]> text = ZeroedText();
    std::unique_ptr<char16_t[]> extra = ZeroedText();
    if (!m_Scroll.m_pText)
        m_Scroll.m_pText.reset(new (std::nothrow) char16_t[kCreditTextUnits]());
    if (!text || !extra || !m_Scroll.m_pText)
        return RES_OUT_OF_MEMORY;
    char16_t path[kMaxPathUnits];
    if (!StringFilePath(path, index, u".credits_main"))
        return RES_FAIL;
    CPackerFile* pak = TextPak();
    if (Failed(OnWhoisTextEx(path, text.get(), pak)) && (!pak || Failed(OnWhoisTextEx(path, text.get(), nullptr))))
        return RES_FAIL;
    text[kCreditTextUnits - 1] = 0;
    if (ReadExtraCredits(index, extra.get()))
        WStrAppend(text.get(), kCreditTextUnits, extra.get());
    AppendCreditLines(text.get());
    const CTextStyles& styles = m_GameData.m_TextStyles;
    if (!WrapGameText(m_pData, styles.m_LegalsSize, text.get(), m_Scroll.m_pText.get(), kCreditTextUnits,
                      m_pData->configuredWidth - styles.m_nPopupBorder))
        return RES_FAIL;
    Vector3 size;
    m_pMainFont->MeasureText(&size, m_Scroll.m_pText.get(), styles.m_GameSize[0], styles.m_GameSize[1]);
    m_Scroll.m_fHeight = size.y;
    m_Scroll.m_bEntering = 1;
    m_Scroll.m_fOffset = m_pData->configuredHeight;
    return RES_OK;
}

Result CVadadiDazidevWorld::Load_Legals(uint32_t index)
{
    FreeLegals();
    CStringFile file;
    if (Failed(ReadLanguageFile(index, u".copyrights", kLegalsMissing, file)))
        return RES_FAIL;
    const double screen = m_pData->configuredWidth;
    const double width = std::trunc(screen - m_GameData.m_TextStyles.m_nPopupBorder - screen * 0.1);
    m_Scroll.m_fHeight = 0.0f;
    for (uint32_t i = 0; i < file.count; ++i) {
        if (Failed(AddLegalItem(file.String(i), width)))
            return RES_FAIL;
    }
    m_Scroll.m_fOffset = 0.0f;
    m_Scroll.m_bEntering = 1;
    return RES_OK;
}

// One legal text, wrapped, measured and added to the block's height; a text starting with the
// link mark is a marked item without it.
Result CVadadiDazidevWorld::AddLegalItem(const char16_t* text, double width)
{
    std::unique_ptr<CLegalItem> item(new (std::nothrow) CLegalItem());
    if (!item)
        return RES_OUT_OF_MEMORY;
    if (text[0] != 0 && text[0] == m_GameData.m_CharsetRemap[kLinkMark]) {
        item->m_bMarked = 1;
        ++text;
    }
    char16_t plain[kCreditTextUnits];
    WStrCopy(plain, kCreditTextUnits, text);
    ReplaceChar(plain, m_GameData.m_nLineBreakMark, kLineFeed);
    if (item->m_bMarked)
        WStrCopy(item->m_szRaw, kCreditTextUnits, plain);
    const float* size = m_GameData.m_TextStyles.m_LegalsSize;
    if (!WrapGameText(m_pData, size, plain, item->m_szWrapped, kCreditTextUnits, width))
        return RES_FAIL;
    m_pMainFont->MeasureText(&item->m_Size, item->m_szWrapped, size[0], size[1]);
    m_Scroll.m_fHeight += item->m_Size.y;
    m_Scroll.m_Legals.push_back(std::move(item));
    return RES_OK;
}

void CVadadiDazidevWorld::FreeLegals()
{
    m_Scroll.m_Legals.clear();
}

Result CVadadiDazidevWorld::Load_MoreGames(uint32_t index)
{
    FreeMoreGames();
    CStringFile file;
    if (Failed(ReadLanguageFile(index, u".moregames", kMoreGamesMissing, file)))
        return RES_FAIL;
    std::unique_ptr<uint32_t[]> offsets(new (std::nothrow) uint32_t[file.count ? file.count : 1]);
    if (!offsets)
        return RES_OUT_OF_MEMORY;
    std::copy_n(file.offsets.get(), file.count, offsets.get());
    CStringTable& table = m_GameData.m_MoreGamesStrings;
    table.m_pUnits = std::move(file.units);
    table.m_pOffsets = std::move(offsets);
    table.m_nCount = file.count;
    return RES_OK;
}

void CVadadiDazidevWorld::FreeMoreGames()
{
    m_GameData.m_MoreGamesStrings = CStringTable{};
}
