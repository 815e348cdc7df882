#include <algorithm>

#include "core/FileSave.h"
#include "core/Stream.h"
#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "game/StreamValues.h"
#include "game/VadadiDazidevWorld.h"

// "options.sav": the player's choices, in the save folder. "prefetch.params": the developer
// switches, beside the pak.

namespace {

constexpr uint16_t kOptionsVersion = 12;
constexpr uint8_t kOptionsMarker = 2;
constexpr uint8_t kNameMarker = 2;
constexpr uint8_t kSavedBrightness = 127;
constexpr uint32_t kLastLanguage = kLanguageCount - 1;
constexpr uint32_t kLoginFileUnits = 12;
constexpr uint32_t kEmailFileUnits = 30;
constexpr uint32_t kLongestFileText = kProfileNameUnits;
constexpr uint8_t kPrefetchVersion = 2;

constexpr uint32_t kNameFieldOffset = 18;  // after the header and the fields before the names

const char16_t kOptionsFile[] = u"options.sav";

bool IsVolume(float volume)
{
    return volume >= 0.0f && volume <= 1.0f;
}

float ClampVolume(float volume)
{
    if (!(volume > 0.0f))
        return 0.0f;
    return std::min(volume, 1.0f);
}

// No unit below a blank before the terminator (the writer never stores one).
bool IsPlainText(const char16_t* text, uint32_t units)
{
    for (uint32_t i = 0; i < units && text[i]; ++i) {
        if (text[i] < u' ')
            return false;
    }
    return true;
}

// A text field of fileUnits units into out (capacity units, terminator included), cut where it
// must end, then complemented back when stored complemented. sound turns false for a text the
// writer cannot have stored.
bool ReadText(CStream& stream, uint32_t fileUnits, bool complemented, char16_t* out, uint32_t capacity, bool& sound)
{
    char16_t text[kLongestFileText + 1] = {};
    if (!stream.Read(text, sizeof(char16_t), fileUnits))
        return false;
    text[std::min(fileUnits, capacity - 1)] = 0;
    if (complemented)
        InvertString(text);
    sound = IsPlainText(text, fileUnits) && sound;
    WStrCopy(out, capacity, text);
    return true;
}

// A text field of fileUnits units: the text up to its terminator, zeros after it.
bool WriteText(CStream& stream, const char16_t* text, uint32_t capacity, uint32_t fileUnits, bool complemented)
{
    char16_t field[kLongestFileText + 1] = {};
    uint32_t length = 0;
    while (length < capacity && length < fileUnits && text[length])
        ++length;
    std::copy(text, text + length, field);
    if (complemented)
        InvertString(field);
    return stream.Write(field, sizeof(char16_t), fileUnits);
}

// One profile name field: its marker, then its units. A name is kept only behind the right marker
// and without control units; false when the field is cut.
bool ReadProfileName(CStream& stream, char16_t* name, bool& sound)
{
    uint8_t marker = 0;
    char16_t text[kProfileNameUnits] = {};
    if (!ReadValue(stream, marker))
        return false;
    bool plain = true;
    if (!ReadText(stream, kProfileNameUnits, false, text, kProfileNameUnits, plain))
        return false;
    if (marker == kNameMarker && plain)
        WStrCopy(name, kProfileNameUnits, text);
    sound = marker == kNameMarker && plain && sound;
    return true;
}

} // namespace

Result CVadadiDazidevWorld::LoadOptions(uint32_t language)
{
    if (!m_pData)
        return RES_FAIL;
    IgnoreResult(GetDataFolder());
    char16_t path[kMaxSavePathUnits];
    OptionsRead read = OptionsRead::Foreign;
    if (Succeeded(SavePath(kOptionsFile, false, path, kMaxSavePathUnits)))
        read = ReadOptionsFile(path);
    if (read != OptionsRead::Cut && language < kLanguageCount) {
        m_GameData.m_bLanguageForced = 1;
        m_GameData.m_nLanguage = language;
    }
    return read == OptionsRead::Whole ? RES_OK : RES_FAIL;
}

// A missing file reads as foreign and is no damage; anything else the writer cannot have left
// there is kept aside as damaged once what reads soundly was taken from it.
CVadadiDazidevWorld::OptionsRead CVadadiDazidevWorld::ReadOptionsFile(const char16_t* path)
{
    bool sound = true;
    OptionsRead read = OptionsRead::Foreign;
    if (IsOtherThanFile(path)) {
        sound = false;
    } else {
        CStreamFile stream(kStreamRead, path);
        if (Failed(stream.Open()))
            return read;
        read = ReadOptions(stream, sound);
    }
    if (!sound)
        KeepDamagedSave(path);
    return read;
}

// The header, then the fields; under a foreign header only the profile names are taken, where
// they read soundly.
CVadadiDazidevWorld::OptionsRead CVadadiDazidevWorld::ReadOptions(CStream& stream, bool& sound)
{
    uint16_t version = 0;
    uint8_t marker = 0;
    if (!ReadValue(stream, version) || version != kOptionsVersion || !ReadValue(stream, marker) ||
        marker != kOptionsMarker) {
        sound = false;
        if (stream.Seek(kNameFieldOffset, kStreamSeekStart))
            ReadProfileNames(stream, sound);
        return OptionsRead::Foreign;
    }
    if (!ReadOptionFields(stream, sound)) {
        sound = false;
        return OptionsRead::Cut;
    }
    uint8_t extra = 0;
    sound = !ReadValue(stream, extra) && sound;
    return OptionsRead::Whole;
}

// Each field is stored only when it was read whole, a value out of its range clamped; the first
// failed read ends the reading. A name behind a wrong marker is left out, the next one read.
bool CVadadiDazidevWorld::ReadOptionFields(CStream& stream, bool& sound)
{
    CGameData& g = m_GameData;
    bool read = ReadField<uint8_t>(stream, [&](uint8_t v) {
                    m_pData->fullscreen = v;
                    sound = v <= 1 && sound;
                }) &&
                ReadField<uint32_t>(stream, [&](uint32_t v) {
                    g.m_nLanguage = std::min(v, kLastLanguage);
                    sound = v <= kLastLanguage && sound;
                }) &&
                ReadField<uint8_t>(stream, [&](uint8_t v) {
                    g.m_nSlot = v < kProfileSlotCount ? v : 0;
                    sound = v < kProfileSlotCount && sound;
                }) &&
                ReadField<float>(stream, [&](float v) {
                    g.m_fMusicVolume = ClampVolume(v);
                    sound = IsVolume(v) && sound;
                }) &&
                ReadField<float>(stream, [&](float v) {
                    g.m_fSoundVolume = ClampVolume(v);
                    sound = IsVolume(v) && sound;
                }) &&
                ReadField<uint8_t>(stream, [&](uint8_t v) { g.m_nBrightness = v; }) && ReadProfileNames(stream, sound);
    return read && ReadField<uint8_t>(stream, [&](uint8_t v) {
               g.m_bAccount = v;
               sound = v <= 1 && sound;
           }) &&
           ReadText(stream, kLoginFileUnits, true, g.m_szLogin, kLoginUnits, sound) &&
           ReadText(stream, kLoginFileUnits, true, g.m_szPassword, kPasswordUnits, sound) &&
           ReadText(stream, kEmailFileUnits, true, g.m_szEmail, kEmailUnits, sound);
}

bool CVadadiDazidevWorld::ReadProfileNames(CStream& stream, bool& sound)
{
    bool read = true;
    for (uint32_t slot = 0; read && slot < kProfileSlotCount; ++slot)
        read = ReadProfileName(stream, m_GameData.m_szProfileNames[slot], sound);
    return read;
}

Result CVadadiDazidevWorld::SaveOptions()
{
    char16_t path[kMaxSavePathUnits];
    if (!m_pData || Failed(SavePath(kOptionsFile, true, path, kMaxSavePathUnits)))
        return RES_FAIL;
    return SaveReplacing(path, [this](CStream& stream) { return WriteOptions(stream); });
}

bool CVadadiDazidevWorld::WriteOptions(CStream& stream)
{
    const CGameData& g = m_GameData;
    bool written = WriteValue(stream, kOptionsVersion) && WriteValue(stream, kOptionsMarker) &&
                   WriteValue(stream, m_pData->fullscreen) && WriteValue(stream, g.m_nLanguage) &&
                   WriteValue(stream, static_cast<uint8_t>(g.m_nSlot)) && WriteValue(stream, g.m_fMusicVolume) &&
                   WriteValue(stream, g.m_fSoundVolume) && WriteValue(stream, kSavedBrightness);
    for (uint32_t slot = 0; written && slot < kProfileSlotCount; ++slot)
        written = WriteValue(stream, kNameMarker) &&
                  WriteText(stream, g.m_szProfileNames[slot], kProfileNameUnits, kProfileNameUnits, false);
    return written && WriteValue(stream, g.m_bAccount) &&
           WriteText(stream, g.m_szLogin, kLoginUnits, kLoginFileUnits, true) &&
           WriteText(stream, g.m_szPassword, kPasswordUnits, kLoginFileUnits, true) &&
           WriteText(stream, g.m_szEmail, kEmailUnits, kEmailFileUnits, true);
}

Result CVadadiDazidevWorld::LoadPrefetchParams()
{
    CGameData& g = m_GameData;
    g.m_bWebScoringEnabled = 0;
    g.m_bWebLinks = 1;
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s%s", m_pData ? m_pData->dataFolder : u"", u"prefetch.params");
    CStreamFile stream(kStreamRead, path);
    Result opened = stream.Open();
    uint8_t version = 0;
    uint8_t switches[5];
    if (Succeeded(opened) && ReadValue(stream, version) && version == kPrefetchVersion &&
        stream.Read(switches, 1, sizeof(switches))) {
        g.m_bDebugKeys = switches[0];
        g.m_bWebScoringEnabled = switches[1];
        g.m_bWebLinks = switches[2];
        g.m_bForceCharsetFont = switches[4];
    }
    g.m_bOverlay = g.m_bDebugKeys;
    return Succeeded(opened) ? RES_OK : RES_FAIL;
}
