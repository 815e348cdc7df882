#include <algorithm>
#include <cmath>

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Container.h"
#include "engine3d/Font.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MenuWorld.h"
#include "modules/Audio.h"
#include "world/World.h"

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kDelete = 127;
constexpr char16_t kEnter = 13;
constexpr uint32_t kSizingUnits = 13;
constexpr uint32_t kEmailSizingUnits = 31;
constexpr uint32_t kSliderSteps = 11;
constexpr float kSampleStep = 0.075f;
constexpr float kUnitsPerSecond = 30.0f;

constexpr char16_t kLoginCharacters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr char16_t kPasswordCharacters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
constexpr char16_t kEmailCharacters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789@+-._";

// The blank and the signs, the digits but 9, the capitals but Z, the small letters, then the
// Latin-1 letters from U+00C0 without the division sign.
struct CNameCharacters {
    char16_t units[160] = {};
    CNameCharacters()
    {
        const char16_t* signs = u" +-*/=<>[](){}#.,;:!$&\"'|_@\u00A1\u00BF012345678ABCDEFGHIJKLMNOPQRSTUVWXY";
        size_t length = WStrCopy(units, 160, signs);
        for (char16_t c = u'a'; c <= u'z'; ++c)
            units[length++] = c;
        for (char16_t c = 0xC0; c <= 0xFF; ++c) {
            if (c != 0xF7)
                units[length++] = c;
        }
        units[length] = 0;
    }
};

bool Contains(const char16_t* set, char16_t unit)
{
    for (const char16_t* p = set; *p; ++p) {
        if (*p == unit)
            return true;
    }
    return false;
}

} // namespace

const char16_t* CMenuDialog::NameCharacters()
{
    static const CNameCharacters characters;
    return characters.units;
}

const char16_t* EntryCharacters(uint32_t page)
{
    switch (page) {
    case kPageProfileName: return CMenuDialog::NameCharacters();
    case kPageLogin: return kLoginCharacters;
    case kPagePassword: return kPasswordCharacters;
    case kPageEmail: return kEmailCharacters;
    default: return nullptr;
    }
}

Result CMenuDialog::TypeCharacter(uint32_t maxLength, const char16_t* allowed)
{
    const char16_t typed = static_cast<char16_t>(m_pData->lastChar);
    if (!typed || !m_pEntryNode || !allowed)
        return RES_FAIL;
    const size_t length = WStrLen(m_szEntry);
    if (typed == kEnter)
        return RES_OK;
    if (typed == kBackspace || typed == kDelete) {
        if (length == 0)
            return RES_FAIL;
        m_szEntry[length - 1] = 0;
    } else {
        if (length >= maxLength || length + 1 >= kMenuEntryUnits || !Contains(allowed, typed))
            return RES_FAIL;
        char16_t unit[2] = {typed, 0};
        if (IsCharsetMode(Game()))
            ApplyCharsetRemap(unit, m_pData);
        m_szEntry[length] = unit[0];
        m_szEntry[length + 1] = 0;
    }
    ShowEntryText();
    return RES_FAIL;
}

// The entry text and the field's suffix on the field, its frame grown to hold them.
void CMenuDialog::ShowEntryText()
{
    char16_t text[2 * kMenuEntryUnits];
    WFormat(text, 2 * kMenuEntryUnits, u"%s%s", m_szEntry, LineString(kLineEntryField));
    m_pEntryNode->SetText(text);
    for (uint32_t i = 0; i < m_nPlacedCount; ++i) {
        CPlacedLine& line = m_Placed[i];
        if (line.node != m_pEntryNode)
            continue;
        float width, height;
        MeasureLine(text, line.kind, &width, &height);
        line.width = std::max(line.width, width);
        line.height = std::max(line.height, height);
        m_pEntryNode->SetHitRect(line.width * 0.5f, line.height * 0.5f, line.width * 0.5f, line.height * 0.5f);
    }
}

void CMenuDialog::Unmap(char16_t* text) const
{
    if (IsCharsetMode(Game()))
        UnmapCharsetText(text, m_pData);
}

void CMenuDialog::CopyUnmapped(const char16_t* text, char16_t* out, uint32_t units) const
{
    WStrCopy(out, units, text);
    Unmap(out);
}

void CMenuDialog::FillEntry(uint32_t page)
{
    const CGameData& game = Game();
    const char16_t* stored = page == kPageLogin ? game.m_szLogin : page == kPageEmail ? game.m_szEmail : u"";
    WStrCopy(m_szEntry, kMenuEntryUnits, stored);
    if (IsCharsetMode(game))
        ApplyCharsetRemap(m_szEntry, m_pData);
}

void CMenuDialog::CommitProfileName(const char16_t* text)
{
    CGameData& game = Game();
    const uint32_t slot = game.m_nSlot % kProfileSlotCount;
    if (text[0] && WStrCmp(text, LineString(ProfileLine(slot))) != 0) {
        CopyUnmapped(text, game.m_szProfileNames[slot], kProfileNameUnits);
        IgnoreResult(m_pWorld->SaveOptions());
    }
    m_szEntry[0] = 0;
    SetPage(kPageProfiles);
}

void CMenuDialog::CommitLogin(const char16_t* text)
{
    if (!text[0])
        return;
    CopyUnmapped(text, Game().m_szLogin, kLoginUnits);
    m_szEntry[0] = 0;
    SetPage(kPagePassword);
}

void CMenuDialog::CommitPassword(const char16_t* text)
{
    if (!text[0])
        return;
    CopyUnmapped(text, Game().m_szPassword, kPasswordUnits);
    m_szEntry[0] = 0;
    SetPage(kPageEmail);
}

// Taken only with one '@', a '.' and more than four characters.
void CMenuDialog::CommitEmail(const char16_t* text)
{
    if (!text[0])
        return;
    char16_t mail[kMenuEntryUnits];
    CopyUnmapped(text, mail, kMenuEntryUnits);
    if (CountChar(mail, u'@') != 1 || CountChar(mail, u'.') == 0 || WStrLen(mail) <= 4)
        return;
    WStrCopy(Game().m_szEmail, kEmailUnits, mail);
    m_szEntry[0] = 0;
    SetPage(kPageSendingAccount);
    m_nWebSubState = kWebAccountWait;
}

float CMenuDialog::SliderValue(uint32_t sliderId)
{
    C3DContainer* slider = m_pPageContainer ? m_pPageContainer->FindById(sliderId) : nullptr;
    if (!slider)
        return 0.0f;
    Vector3 position;
    ContainerRect rect;
    slider->GetPosition(&position);
    slider->GetHitRect(&rect);
    const double left = position.x - rect.left - 2.0f * m_SliderHalf[0];
    const double right = position.x + rect.right + 2.0f * m_SliderHalf[0];
    const double steps = right > left ? (m_pData->pointerX - left) / (right - left) * kSliderSteps : 0.0;
    const auto lit = static_cast<int32_t>(std::trunc(std::clamp(steps, -1.0, double{kSliderSteps})));
    LightTicks(sliderId, lit);
    return lit <= 0 ? 0.0f : std::min(static_cast<float>(lit) * 0.1f, 1.0f);
}

void CMenuDialog::GetLineText(uint32_t lineId, uint32_t page, char16_t* out, bool editing)
{
    const CGameData& game = Game();
    const bool charset = IsCharsetMode(game);
    const char16_t separator = game.m_nSeparatorUnit;
    char16_t login[kLoginUnits], email[kEmailUnits];
    WStrCopy(login, kLoginUnits, game.m_szLogin);
    WStrCopy(email, kEmailUnits, game.m_szEmail);
    if (charset) {
        ApplyCharsetRemap(login, m_pData);
        ApplyCharsetRemap(email, m_pData);
    }
    out[0] = 0;
    if (lineId >= kLineNewStory && lineId <= kLineContinueTimed) {
        WFormat(out, kMenuEntryUnits, u"%s%c%s", LineString(lineId), separator,
                m_szTimeText[lineId >= kLineNewTimed ? 1 : 0]);
    } else if (lineId == kLineAccount) {
        WFormat(out, kMenuEntryUnits, u"%s%c%s\n%s", LineString(lineId), separator, login, email);
    } else if (lineId == kLineEntryField) {
        if (editing && EntryCharacters(page))
            FitToWidth(out, page == kPageEmail ? kEmailSizingUnits : kSizingUnits, EntryCharacters(page));
        else if (page == kPageLogin || page == kPageEmail)
            WStrCopy(out, kMenuEntryUnits, page == kPageLogin ? login : email);
    } else if (lineId >= ProfileLine(0) && lineId < ProfileLine(kProfileSlotCount) &&
               game.m_szProfileNames[lineId - kLineProfile1][0]) {
        WStrCopy(out, kMenuEntryUnits, game.m_szProfileNames[lineId - kLineProfile1]);
        if (charset)
            ApplyCharsetRemap(out, m_pData);
    } else {
        WStrCopy(out, kMenuEntryUnits, LineString(lineId));
    }
}

void CMenuDialog::FitToWidth(char16_t* out, uint32_t maxCount, const char16_t* allowed)
{
    const float* size = Game().m_TextStyles.m_MenuSize;
    CVarnFont* font = Game().m_pMainFont;
    char16_t widest = 0;
    float widestWidth = 0.0f;
    for (const char16_t* p = allowed; *p; ++p) {
        const char16_t one[2] = {*p, 0};
        Vector3 measured{0.0f, 0.0f, 0.0f};
        if (font)
            font->MeasureText(&measured, one, size[0], size[1]);
        if (!widest || std::fabs(measured.x) > widestWidth) {
            widest = *p;
            widestWidth = std::fabs(measured.x);
        }
    }
    const float room = std::trunc(m_NavNext[0] - m_NavPrev[0] - 3.0f * m_fNormalHalfWidth);
    uint32_t count = std::min(maxCount, kMenuEntryUnits - 1);
    if (widestWidth > 0.0f && static_cast<float>(count) * widestWidth >= room)
        count = room <= 0.0f ? 0 : std::min(count, static_cast<uint32_t>(room / widestWidth));
    if (!widest)
        count = 0;
    std::fill_n(out, count, widest);
    out[count] = 0;
    if (IsCharsetMode(Game()))
        ApplyCharsetRemap(out, m_pData);
}

void CMenuDialog::FormatProgressTime(const CProgressFields& record, char16_t* out)
{
    auto seconds = [](float units) {
        return static_cast<int32_t>(std::trunc(std::clamp(units, 0.0f, kUnitsPerMinute) / kUnitsPerSecond));
    };
    int32_t hours = 0, minutes = 0, secs = 0;
    if (record.m_bInUse) {
        hours = record.m_nPlayHours;
        minutes = record.m_nPlayMinutes;
        secs = 1 + seconds(record.m_fPlayUnits);
    } else if (record.m_nBestHours != kNoTimeCount && record.m_nBestMinutes != kNoTimeCount &&
               record.m_fBestUnits != kNoTimeUnits) {
        hours = record.m_nBestHours;
        minutes = record.m_nBestMinutes;
        secs = seconds(record.m_fBestUnits);
    }
    if (secs > 59) {
        secs -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++hours;
    }
    WFormat(out, kMenuTimeTextUnits, u"(%02d:%02d:%02d)", hours, minutes, secs);
    if (IsCharsetMode(Game()))
        ApplyCharsetRemap(out, m_pData);
}

bool CMenuDialog::AudioReady() const { return m_pData->world && m_pData->world->GetAudioEngine(); }

// The click sound names an entry of the sound bank.
bool CMenuDialog::ClickSoundInBank() const
{
    const CGameData& game = Game();
    return m_nClickSound < game.m_nSoundCount && game.m_pSounds && game.m_pSounds[m_nClickSound].m_pSound;
}

void CMenuDialog::PlayClickSound()
{
    if (AudioReady() && ClickSoundInBank() && Game().m_fSoundVolume != 0.0f)
        IgnoreResult(Game().m_pSounds[m_nClickSound].m_pSound->Play());
}

void CMenuDialog::PlaySound()
{
    if (m_nClickSound < Game().m_nSoundCount)
        m_pWorld->AddAudio(m_nClickSound, 0);
}

// The click sound at a new sound volume, heard again once the volume moved far enough.
void CMenuDialog::PlaySample(float volume)
{
    if (!AudioReady() || !ClickSoundInBank() || std::fabs(volume - m_fLastSampleVolume) <= kSampleStep)
        return;
    CAudio* sound = Game().m_pSounds[m_nClickSound].m_pSound;
    IgnoreResult(sound->SetVolume(volume));
    if (volume != 0.0f)
        IgnoreResult(sound->Play());
    m_fLastSampleVolume = volume;
}
