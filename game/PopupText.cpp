#include "game/PopupText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "game/CharsetRemap.h"
#include "game/GameText.h"
#include "game/PopupScreens.h"
#include "game/GameData.h"
#include "game/GameLabels.h"
#include "world/World.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"

namespace {

const char16_t kVoiceOutOfMemory[] =
    u"# CPopupText::OnTextNext::LoadAudioFromFile failed with OUT OF MEMORY! (\"%s\")\n";
const char16_t kVoiceFailed[] = u"# CPopupText::OnTextNext::LoadAudioFromFile failed! (\"%s\")\n";
constexpr uint32_t kAllIds = 0xFFFFFFFFu;
constexpr uint16_t kCentredOnScreen = 12;
constexpr uint32_t kMaxTagUnits = 255;
constexpr char16_t kLineFeed = 10;

std::unique_ptr<char16_t[]> ZeroedUnits()
{
    return std::unique_ptr<char16_t[]>(new (std::nothrow) char16_t[kPopupTextUnits]());
}

// The value of a tag, from value up to end, into out (kMaxTagUnits + 1 units); false when it is
// empty or too long.
bool CopyTagValue(const char16_t* value, const char16_t* end, char16_t* out)
{
    const auto length = static_cast<size_t>(end - value);
    if (length == 0 || length > kMaxTagUnits)
        return false;
    std::copy(value, end, out);
    out[length] = 0;
    return true;
}

// The leading decimal digits of a text; -1 without any, or past 2^31 - 1.
int64_t LeadingNumber(const char16_t* text)
{
    int64_t number = -1;
    for (const char16_t* p = text; *p >= u'0' && *p <= u'9'; ++p) {
        number = (number < 0 ? 0 : number) * 10 + (*p - u'0');
        if (number > INT32_MAX)
            return -1;
    }
    return number;
}

} // namespace

CPopupText::CPopupText(CWorldData* data) : m_pData(data) {}

CPopupText::~CPopupText() = default;

Result CPopupText::Load(float scaleWidth, float scaleHeight)
{
    m_scale[0] = scaleWidth;
    m_scale[1] = scaleHeight;
    m_fLineY = m_pData->configuredHeight * 0.5f;
    CWorld* world = m_pData->world;
    if (CAudioEngine* audio = world->GetAudioEngine()) {
        m_pVoice = audio->CreateAudio(0, 0);
        if (!m_pVoice)
            return RES_FAIL;
    }
    m_text = ZeroedUnits();
    m_page = ZeroedUnits();
    if (!m_text || !m_page)
        return RES_OUT_OF_MEMORY;
    C3DEngine* engine = world->Get3DEngine();
    m_pTextNode = engine ? static_cast<C3DContainerText*>(engine->CreateContainerText(kAllIds, 0)) : nullptr;
    if (!m_pTextNode)
        return RES_FAIL;
    m_pTextNode->SetDrawRoutine(DrawTextObjectCallback);
    m_pTextNode->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
    m_pTextNode->SetScale(scaleWidth, scaleHeight);
    m_pTextNode->SetAlign(kCentredOnScreen);
    m_pTextNode->SetTextPointer(m_page.get());
    return RES_OK;
}

Result CPopupText::Release()
{
    CWorld* world = m_pData->world;
    Result result = RES_OK;
    if (m_pTextNode)
        result = world->Get3DEngine()->DestroyContainer(m_pTextNode);
    m_pTextNode = nullptr;
    if (m_pVoice)
        IgnoreResult(world->GetAudioEngine()->DestroyAudio(m_pVoice));
    m_pVoice = nullptr;
    Clear();
    m_text.reset();
    m_page.reset();
    return result;
}

Result CPopupText::Render()
{
    if (m_pTextNode)
        m_pTextNode->Render(0);
    return RES_OK;
}

void CPopupText::SetScreens(CPopupFader* fader, CPopupBackground* background, CPopupDialog* dialog)
{
    m_pFader = fader;
    m_pBackground = background;
    m_pDialog = dialog;
}

void CPopupText::Clear()
{
    m_pPageStart = nullptr;
    m_pNextPage = nullptr;
    m_nStringIndex = -1;
    if (m_text)
        std::fill_n(m_text.get(), kPopupTextUnits, 0);
    if (m_page)
        std::fill_n(m_page.get(), kPopupTextUnits, 0);
}

bool CPopupText::HoldsText() const
{
    return m_pNextPage || m_pPageStart || (m_text && m_text[0] != 0);
}

const char16_t* CPopupText::GetString(uint32_t index, uint32_t table, CWorldData* data)
{
    const CGameData& game = *data->gameData;
    const CStringTable* strings = table == kGameTable ? &game.m_GameStrings
                                  : table == kMoreGamesTable ? &game.m_MoreGamesStrings
                                                             : nullptr;
    if (!strings)
        return nullptr;
    if (strings->m_pUnits && index < strings->m_nCount)
        return &strings->m_pUnits[strings->m_pOffsets[index]];
    return kMissingString;
}

// The text taken: line-break marks become line feeds and the first page is next.
void CPopupText::TakeText()
{
    ReplaceChar(m_text.get(), m_pData->gameData->m_nLineBreakMark, kLineFeed);
    m_pNextPage = m_text.get();
    m_pPageStart = nullptr;
}

void CPopupText::SetText(uint32_t index, uint32_t table)
{
    if (!m_text)
        return;
    m_nStringIndex = static_cast<int32_t>(index);
    const char16_t* text = GetString(index, table, m_pData);
    WStrCopy(m_text.get(), kPopupTextUnits, text ? text : u"");
    TakeText();
}

void CPopupText::SetTextFormat(uint32_t index, uint32_t table, const int32_t* numbers, uint32_t count)
{
    if (!m_text)
        return;
    m_nStringIndex = static_cast<int32_t>(index);
    const CGameData& game = *m_pData->gameData;
    const char16_t marker = game.m_CharsetRemap['%'];
    const char16_t letter = game.m_CharsetRemap['d'];
    const char16_t* source = GetString(index, table, m_pData);
    char16_t* out = m_text.get();
    size_t length = 0;
    uint32_t used = 0;
    for (const char16_t* p = source ? source : u""; *p && length + 1 < kPopupTextUnits; ++p) {
        if (*p == marker && p[1] == letter && used < count) {
            char16_t digits[16];
            WFormat(digits, 16, u"%d", numbers[used++]);
            if (IsCharsetMode(game))
                ApplyCharsetRemap(digits, m_pData);
            length += WStrCopy(out + length, kPopupTextUnits - length, digits);
            ++p;
            continue;
        }
        if (*p == marker && p[1] == marker)
            ++p;
        out[length++] = *p;
    }
    out[length] = 0;
    TakeText();
}

uint32_t CPopupText::OnTextNext()
{
    if (!m_pNextPage || !m_pTextNode)
        return 1;
    const CGameData& game = *m_pData->gameData;
    const bool first = m_page[0] == 0;
    char16_t* page = m_pNextPage;
    char16_t* separator = page;
    while (*separator && *separator != game.m_nPageSeparator)
        ++separator;
    const bool more = *separator != 0;
    *separator = 0;
    int32_t maxWidth = m_pData->configuredWidth - game.m_TextStyles.m_nPopupBorder;
    m_nLabelsIndex = -1;
    const char16_t* text = ReadTags(page, &maxWidth);
    WrapGameText(m_pData, m_scale, text, m_page.get(), kPopupTextUnits, maxWidth);
    if (more)
        *separator = game.m_nPageSeparator;
    m_pNextPage = more ? separator + 1 : nullptr;
    m_pPageStart = page;
    m_pTextNode->SetTextPointer(m_page.get());
    PlaceText();
    return first ? 1 : 0;
}

// The tag list at the page's start (tags matched at the cursor; an unknown tag or the page end
// ends it); returns where the page's text begins.
const char16_t* CPopupText::ReadTags(const char16_t* cursor, int32_t* maxWidth)
{
    const uint16_t* remap = m_pData->gameData->m_CharsetRemap;
    const char16_t introducer = remap['\\'];
    // A remap table may give 0 for a marker: the page's end never matches one.
    if (*cursor == 0 || *cursor != introducer)
        return cursor;
    ++cursor;
    for (;;) {
        const bool label = cursor[0] && cursor[0] == remap['L'] && cursor[1] == remap['='];
        const bool voice = cursor[0] && cursor[0] == remap['S'] && cursor[1] == remap['='];
        if (!label && !voice)
            return cursor;
        cursor += 2;
        const char16_t* end = cursor;
        while (*end && *end != remap[','] && *end != introducer)
            ++end;
        char16_t value[kMaxTagUnits + 1];
        const bool read = CopyTagValue(cursor, end, value);
        if (read && IsCharsetMode(*m_pData->gameData))
            UnmapCharsetText(value, m_pData);
        if (label)
            UseLabel(read ? value : nullptr, maxWidth);
        else if (read)
            PlayVoice(value);
        if (*end == 0)
            return end;
        if (*end != remap[','])
            return end + 1;
        cursor = end + 1;
    }
}

// The labels record the value names, when it exists, gives the page its width.
void CPopupText::UseLabel(const char16_t* value, int32_t* maxWidth)
{
    CGameLabels* labels = m_pLabels ? m_pLabels->GetLabels() : nullptr;
    const int64_t number = value ? LeadingNumber(value) : -1;
    const CLabelRecord* record = labels && number >= 1 ? labels->GetLabel(static_cast<uint32_t>(number - 1)) : nullptr;
    if (!record)
        return;
    m_nLabelsIndex = static_cast<int32_t>(number - 1);
    if (record->kind != kLabelKindDialog)
        *maxWidth -= static_cast<int32_t>(std::min<uint32_t>(record->values[3], INT32_MAX / 2));
    else if (m_pDialog)
        *maxWidth -= static_cast<int32_t>(std::clamp(m_pDialog->GetFrameWidth(), 0.0f, 65535.0f));
}

void CPopupText::PlayVoice(const char16_t* value)
{
    if (!m_pVoice)
        return;
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s%s", m_pData->dataFolder, value);
    IgnoreResult(m_pVoice->Stop());
    if (Failed(m_pVoice->LoadAudioFromFile(path, 0))) {
        if (m_pData->lastError == RES_OUT_OF_MEMORY)
            LogPrintf(m_pData->logPath, 1, kVoiceOutOfMemory, value);
        LogPrintf(m_pData->logPath, 1, kVoiceFailed, value);
        return;
    }
    IgnoreResult(m_pVoice->SetVolume(m_pData->gameData->m_fSoundVolume));
    IgnoreResult(m_pVoice->Play());
}

uint32_t CPopupText::OnTextPrevious()
{
    char16_t* start = m_text.get();
    m_pNextPage = start;
    const uint16_t separator = m_pData->gameData->m_nPageSeparator;
    for (char16_t* p = m_pPageStart && m_pPageStart - start >= 2 ? m_pPageStart - 2 : nullptr; p; --p) {
        if (*p == separator) {
            m_pNextPage = p + 1;
            break;
        }
        if (p == start)
            break;
    }
    return OnTextNext();
}

// The node centres the page on the screen and moves it by its translation: the labels record's
// place, else the page's middle on the line m_fLineY. The page is kept wholly on the screen.
void CPopupText::PlaceText()
{
    CGameLabels* labels = m_pLabels ? m_pLabels->GetLabels() : nullptr;
    const CLabelRecord* record =
        labels && m_nLabelsIndex >= 0 ? labels->GetLabel(static_cast<uint32_t>(m_nLabelsIndex)) : nullptr;
    const float width = m_pData->configuredWidth, height = m_pData->configuredHeight;
    Vector3 place = record ? Vector3{static_cast<float>(record->values[0]), static_cast<float>(record->values[1]),
                                     static_cast<float>(record->values[2])}
                           : Vector3{0.0f, m_fLineY - height * 0.5f, 0.0f};
    Vector3 size{};
    if (CVarnFont* font = m_pData->gameData->m_pMainFont)
        font->MeasureText(&size, m_page.get(), m_scale[0], m_scale[1]);
    const float spareX = std::max(0.0f, (width - std::fabs(size.x)) * 0.5f);
    const float spareY = std::max(0.0f, (height - size.y) * 0.5f);
    place.x = std::clamp(place.x, -spareX, spareX);
    place.y = std::clamp(place.y, -spareY, spareY);
    IgnoreResult(m_pTextNode->SetTranslation(&place));
    m_pTextNode->UpdateWorldMatrix();
}

void CPopupText::PlayClickSound()
{
    if (m_pDialog)
        m_pDialog->PlayClickSound();
}

uint32_t CPopupText::OnButton(uint32_t button, float y)
{
    m_fLineY = y;
    if (m_pTextNode)
        PlaceText();
    switch (button) {
    case kPopupButtonNext:
    case kPopupButtonNextPage:
        PlayClickSound();
        if (m_pNextPage) {
            OnTextNext();
            return 0;
        }
        Clear();
        return kPopupButtonNext;
    case kPopupButtonBack:
        PlayClickSound();
        OnTextPrevious();
        return 0;
    case kPopupButtonClose:
        PlayClickSound();
        Clear();
        return kPopupButtonClose;
    default:
        return button;
    }
}

void CPopupText::DrawBackdrop(bool fade, bool background, bool loading)
{
    if (loading) {
        if (fade && m_pFader && !(m_pBackground && m_pBackground->HasScenePicture()))
            m_pFader->Show();
        if (m_pBackground)
            m_pBackground->DrawLoading(0, 0, 0, 1);
    } else if (background) {
        if (fade && m_pFader)
            m_pFader->Show();
        if (m_pBackground)
            m_pBackground->DrawBackground(255);
    }
    CGameLabels* labels = m_pLabels ? m_pLabels->GetLabels() : nullptr;
    if (m_nLabelsIndex != -1 && labels)
        labels->ShowLabel(m_nLabelsIndex);
}
