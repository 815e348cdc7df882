#include <algorithm>
#include <iterator>
#include <new>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "engine3d/Font.h"
#include "engine3d/FontCharset.h"
#include "engine3d/SceneObject.h"
#include "game/CharsetRemap.h"
#include "game/Construction.h"
#include "game/PopupText.h"
#include "game/StringFile.h"
#include "game/SystemLanguage.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/widgets/Toolbar.h"

// The string tables of the languages, the choice of the language, the remap table and the window
// title.

namespace {

const char16_t kLanguageMissing[] = u"# CVadadiDazidevWorld::LoadLanguage failed! \"%s\" is missing !!!\n";
const char16_t kSymbolsMissing[] = u"# CVadadiDazidevWorld::OnSymbols failed! \"%s\" is missing !!!\n";
const char16_t kSymbolsFile[] = u"strings/_symbols.utf8.indexed.ucs2.raw";
const char16_t kCommonsSection[] = u".commons";
// Characters never left at a line end, and never put at a line start.
const char16_t kOpeningChars[] = {0x00AB, 0};
const char16_t kClosingChars[] = {u'!', u'?', u':', u';', u',', u'.', u'"', u'\'', u')', u']', u'}', 0x00BB, 0};

// The last string of a main table ends at the table's end, so that commons strings follow it.
bool EndsAtUnitCount(const CStringFile& file)
{
    if (file.count == 0)
        return false;
    const uint32_t last = file.offsets[file.count - 1];
    return last + WStrLen(&file.units[last]) + 1 == file.unitCount;
}

// The main table followed by the commons table, whose offsets move past the main units.
bool JoinTables(const CStringFile& main, const CStringFile& commons, CStringTable& table)
{
    const uint64_t units = uint64_t{main.unitCount} + commons.unitCount;
    table.m_pUnits.reset(new (std::nothrow) char16_t[units + 1]());
    table.m_pOffsets.reset(new (std::nothrow) uint32_t[uint64_t{main.count} + commons.count + 1]);
    if (!table.m_pUnits || !table.m_pOffsets)
        return false;
    std::copy_n(main.units.get(), main.unitCount, table.m_pUnits.get());
    std::copy_n(commons.units.get(), commons.unitCount, table.m_pUnits.get() + main.unitCount);
    std::copy_n(main.offsets.get(), main.count, table.m_pOffsets.get());
    for (uint32_t k = 0; k < commons.count; ++k)
        table.m_pOffsets[main.count + k] = commons.offsets[k] + main.unitCount;
    table.m_nCount = main.count + commons.count;
    return true;
}

} // namespace

CPackerFile* CVadadiDazidevWorld::TextPak()
{
    return m_GameData.m_ExternalPak.file ? &m_GameData.m_ExternalPak : nullptr;
}

bool CVadadiDazidevWorld::StringFilePath(char16_t* path, uint32_t language, const char16_t* section)
{
    const char16_t* code = SceneLanguageCode(language);
    if (!code)
        return false;
    const char16_t* extension = IsCharsetMode(m_GameData) ? u".utf8.indexed.ucs2.raw" : u".utf8.ucs2.raw";
    WFormat(path, kMaxPathUnits, u"strings/_strings.%s%s%s", code, section, extension);
    return true;
}

Result CVadadiDazidevWorld::ReadLanguageFile(uint32_t language, const char16_t* section, const char16_t* missingLine,
                                             CStringFile& file)
{
    char16_t path[kMaxPathUnits];
    if (!StringFilePath(path, language, section))
        return RES_FAIL;
    std::unique_ptr<CStream> stream = OpenRawFile(path, false, missingLine, TextPak());
    return stream ? ReadStringFile(*stream, file) : RES_FAIL;
}

void CVadadiDazidevWorld::ScanLanguages()
{
    char16_t detail[kMaxPathUnits];
    WStrCopy(detail, kMaxPathUnits, m_pData->errorDetail);
    m_GameData.m_nLanguageCount = 0;
    for (uint32_t language = 0; language < kLanguageCount; ++language) {
        bool available = true;
        for (const char16_t* section : {u"", kCommonsSection}) {
            char16_t path[kMaxPathUnits];
            StringFilePath(path, language, section);
            available = available && CheckConstruction(m_pData, path, false, TextPak()) != nullptr;
        }
        m_GameData.m_bLanguageAvailable[language] = available;
        m_GameData.m_nLanguageCount += available;
    }
    WStrCopy(m_pData->errorDetail, kMaxPathUnits, detail);
}

bool CVadadiDazidevWorld::IsLanguageAvailable(uint32_t language) const
{
    return language < kLanguageCount && m_GameData.m_bLanguageAvailable[language];
}

Result CVadadiDazidevWorld::ChooseLanguage()
{
    uint32_t& language = m_GameData.m_nLanguage;
    if (!IsLanguageAvailable(language)) {
        m_GameData.m_bLanguageForced = 0;
        language = GetSystemLanguage();
        const uint8_t* flags = m_GameData.m_bLanguageAvailable;
        const uint8_t* first = std::find(flags, flags + kLanguageCount, 1);
        if (!IsLanguageAvailable(language) && first != flags + kLanguageCount)
            language = static_cast<uint32_t>(first - flags);
    }
    if (Failed(LoadLanguage(language))) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! OnLanguage error\n");
        return RES_FAIL;
    }
    IgnoreResult(RaiseHostEvent(kHostEventLanguage));
    if (Failed(OnSymbols())) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! OnSymbols error\n");
        return RES_FAIL;
    }
    if (Failed(OnIndivisibleChars())) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! OnIndivisibleChars error\n");
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::LoadLanguage(uint32_t index)
{
    CStringFile main;
    CStringFile commons;
    if (Failed(ReadLanguageFile(index, u"", kLanguageMissing, main)) ||
        Failed(ReadLanguageFile(index, kCommonsSection, kLanguageMissing, commons)) || !EndsAtUnitCount(main))
        return RES_FAIL;
    CStringTable table;
    if (!JoinTables(main, commons, table))
        return RES_OUT_OF_MEMORY;
    m_GameData.m_GameStrings = std::move(table);
    m_GameData.m_nCommonsCount = commons.count;
    auto* charset = IsCharsetMode(m_GameData) ? dynamic_cast<CVarnFontCharset*>(m_pMainFont) : nullptr;
    if (charset && Failed(LoadFontPagesForScripts(charset, LanguageScripts(index), m_pData)))
        return RES_FAIL;
    m_GameData.m_nLanguage = index;
    IgnoreResult(RaiseHostEvent(kHostEventLanguage));
    if (m_pToolbar)
        m_pToolbar->RefreshItemTexts();
    ReloadLanguageFiles();
    return RES_OK;
}

// The pictures of the active layered menu and of the labels object follow the language.
void CVadadiDazidevWorld::ReloadLanguageFiles()
{
    for (CSceneObject* object : {static_cast<CSceneObject*>(m_pMenuCurrent), static_cast<CSceneObject*>(m_pLabels.get())}) {
        if (object && object->IsLoaded()) {
            IgnoreResult(object->UnloadFiles());
            IgnoreResult(object->LoadFiles());
        }
    }
}

Result CVadadiDazidevWorld::OnSymbols()
{
    CGameData& g = m_GameData;
    if (IsCharsetMode(g)) {
        std::unique_ptr<CStream> stream = OpenRawFile(kSymbolsFile, false, kSymbolsMissing);
        uint32_t units = 0;
        uint32_t count = 0;
        uint16_t table[kCharsetRemapEntries];
        if (!stream || !ReadStringCount(*stream, units) || units != kCharsetRemapEntries ||
            !ReadStringCount(*stream, count) || !stream->Read(table, sizeof(uint16_t), kCharsetRemapEntries))
            return RES_FAIL;
        std::copy(std::begin(table), std::end(table), g.m_CharsetRemap);
    } else {
        CopyDefaultCharsetRemap(g.m_CharsetRemap);
    }
    g.m_nPageSeparator = g.m_CharsetRemap['#'];
    g.m_nLineBreakMark = g.m_CharsetRemap['|'];
    g.m_nSeparatorUnit = g.m_CharsetRemap[' '];
    return RES_OK;
}

Result CVadadiDazidevWorld::OnIndivisibleChars()
{
    std::copy(std::begin(kOpeningChars), std::end(kOpeningChars), m_GameData.m_OpeningChars);
    std::copy(std::begin(kClosingChars), std::end(kClosingChars), m_GameData.m_ClosingChars);
    if (IsCharsetMode(m_GameData)) {
        ApplyCharsetRemap(m_GameData.m_OpeningChars, m_pData);
        ApplyCharsetRemap(m_GameData.m_ClosingChars, m_pData);
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::GetTitle(const char16_t*, const char16_t* fallback, char16_t* out, size_t capacity)
{
    if (!m_GameData.m_GameStrings.m_pUnits) {
        WStrCopy(out, capacity, fallback ? fallback : u"");
        return RES_OK;
    }
    WStrCopy(out, capacity, CPopupText::GetString(1, kGameTable, m_pData));
    auto* charset = dynamic_cast<CVarnFontCharset*>(m_pMainFont);
    if (IsCharsetMode(m_GameData) && charset && capacity > 0)
        charset->RemapText(out);
    return RES_OK;
}
