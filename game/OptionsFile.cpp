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

const char16_t kOptionsFile[] = u"options.sav";

float ClampVolume(float volume)
{
    if (!(volume > 0.0f))
        return 0.0f;
    return std::min(volume, 1.0f);
}

// A text field of fileUnits units into out (capacity units, terminator included), cut where it
// must end, then complemented back when stored complemented.
bool ReadText(CStream& stream, uint32_t fileUnits, bool complemented, char16_t* out, uint32_t capacity)
{
    char16_t text[kLongestFileText + 1] = {};
    if (!stream.Read(text, sizeof(char16_t), fileUnits))
        return false;
    text[std::min(fileUnits, capacity - 1)] = 0;
    if (complemented)
        InvertString(text);
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

} // namespace

Result CVadadiDazidevWorld::LoadOptions(uint32_t language)
{
    if (!m_pData)
        return RES_FAIL;
    GetDataFolder();
    char16_t* path = m_pData->scratch;
    OptionsRead read = OptionsRead::Foreign;
    if (Succeeded(SavePath(kOptionsFile, false, path, kMaxPathUnits))) {
        CStreamFile stream(kStreamRead, path);
        if (Succeeded(stream.Open()))
            read = ReadOptions(stream);
    }
    if (read != OptionsRead::Cut && language < kLanguageCount) {
        m_GameData.m_bLanguageForced = 1;
        m_GameData.m_nLanguage = language;
    }
    return read == OptionsRead::Whole ? RES_OK : RES_FAIL;
}

CVadadiDazidevWorld::OptionsRead CVadadiDazidevWorld::ReadOptions(CStream& stream)
{
    uint16_t version = 0;
    uint8_t marker = 0;
    if (!ReadValue(stream, version) || version != kOptionsVersion || !ReadValue(stream, marker) ||
        marker != kOptionsMarker)
        return OptionsRead::Foreign;
    return ReadOptionFields(stream) ? OptionsRead::Whole : OptionsRead::Cut;
}

// Each field is stored only when it was read whole; the first failed read ends the reading.
bool CVadadiDazidevWorld::ReadOptionFields(CStream& stream)
{
    CGameData& g = m_GameData;
    bool read = ReadField<uint8_t>(stream, [&](uint8_t v) { m_pData->fullscreen = v; }) &&
                ReadField<uint32_t>(stream, [&](uint32_t v) { g.m_nLanguage = std::min(v, kLastLanguage); }) &&
                ReadField<uint8_t>(stream, [&](uint8_t v) { g.m_nSlot = v < kProfileSlotCount ? v : 0; }) &&
                ReadField<float>(stream, [&](float v) { g.m_fMusicVolume = ClampVolume(v); }) &&
                ReadField<float>(stream, [&](float v) { g.m_fSoundVolume = ClampVolume(v); }) &&
                ReadField<uint8_t>(stream, [&](uint8_t v) { g.m_nBrightness = v; });
    for (uint32_t slot = 0; read && slot < kProfileSlotCount; ++slot) {
        uint8_t marker = 0;
        read = ReadValue(stream, marker) && marker == kNameMarker &&
               ReadText(stream, kProfileNameUnits, false, g.m_szProfileNames[slot], kProfileNameUnits);
    }
    return read && ReadField<uint8_t>(stream, [&](uint8_t v) { g.m_bAccount = v; }) &&
           ReadText(stream, kLoginFileUnits, true, g.m_szLogin, kLoginUnits) &&
           ReadText(stream, kLoginFileUnits, true, g.m_szPassword, kPasswordUnits) &&
           ReadText(stream, kEmailFileUnits, true, g.m_szEmail, kEmailUnits);
}

Result CVadadiDazidevWorld::SaveOptions()
{
    char16_t path[kMaxPathUnits];
    if (!m_pData || Failed(SavePath(kOptionsFile, true, path, kMaxPathUnits)))
        return RES_FAIL;
    return SaveFileReplacing(path, [this](CStream& stream) { return WriteOptions(stream); });
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
