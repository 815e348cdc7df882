#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "base/WideFormat.h"
#include "core/FileSave.h"
#include "core/Stream.h"
#include "game/PopupText.h"
#include "game/StreamValues.h"
#include "game/VadadiDazidevWorld.h"

// The profile files "profile_<mode>_full_<slot>.sav": a progress record, then the game state.

namespace {

constexpr uint16_t kProfileVersion = 63;

bool IsValid(uint32_t mode, uint32_t slot)
{
    return mode < kProfileModeCount && slot < kProfileSlotCount;
}

bool WriteLevelTime(CStream& stream, const CLevelTime& time)
{
    return WriteValue(stream, time.m_fUnits) && WriteValue(stream, time.m_nMinutes) &&
           WriteValue(stream, time.m_nHours);
}

// A zoom that is unset (below 0) or a finite ratio above 0, and a finite position.
bool IsCamera(const std::array<float, 3>& camera)
{
    return (camera[0] < 0.0f || (camera[0] > 0.0f && std::isfinite(camera[0]))) && std::isfinite(camera[1]) &&
           std::isfinite(camera[2]);
}

bool ReadLevelTime(CStream& stream, CLevelTime& time)
{
    return ReadValue(stream, time.m_fUnits) && ReadValue(stream, time.m_nMinutes) && ReadValue(stream, time.m_nHours);
}

// The string index a pop-up shows; none while it holds no text.
uint32_t PopupIndex(const CPopupText* popup)
{
    return popup && popup->HoldsText() && popup->GetStringIndex() >= 0 ? static_cast<uint32_t>(popup->GetStringIndex())
                                                                        : kNoIndex;
}

} // namespace

Result CVadadiDazidevWorld::LoadProfile(CStream& stream, CProfileProgress& record, bool withGame, bool force)
{
    for (CPopupText* popup : {m_pPopupWaiting.get(), m_pPopupIngame.get(), m_pPopupTuto.get()}) {
        if (popup)
            popup->Clear();
    }
    if (Failed(ReadProfileHeader(stream)))
        return RES_FAIL;
    // The record is read into a copy, so that a profile refused for its level indexes stores
    // nothing, while a cut file keeps what was read before the failing field.
    CProfileProgress staged;
    static_cast<CProgressFields&>(staged) = record;
    bool read = ReadProfileRecord(stream, staged);
    bool withState = read && withGame && (staged.m_bInUse || force);
    uint32_t scenes[3];
    if (withState) {
        read = stream.Read(scenes, sizeof(uint32_t), 3);
        if (read && (!IsLevelOrNone(scenes[0]) || !IsLevelOrNone(scenes[1]) ||
                     !IsRecordOrNone(scenes[1] != kNoIndex ? scenes[1] : scenes[0], scenes[2]))) {
            LogLine(u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile level index is out of range !!!\n");
            return RES_FAIL;
        }
    }
    static_cast<CProgressFields&>(record) = staged;
    if (staged.m_pLevelTimes)
        record.m_pLevelTimes = std::move(staged.m_pLevelTimes);
    if (!read)
        return RES_FAIL;
    return withState ? ReadProfileGame(stream, kProfileVersion, scenes) : RES_OK;
}

Result CVadadiDazidevWorld::ReadProfileHeader(CStream& stream)
{
    uint16_t version = 0;
    if (!ReadValue(stream, version) || version != kProfileVersion) {
        LogLine(u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile files version has changed !!!\n");
        return RES_FAIL;
    }
    const struct {
        uint32_t expected;
        const char16_t* line;
    } counts[] = {
        {m_nSceneCount, u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile levels count has changed !!!\n"},
        {m_nTooltipCount, u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile tooltips count has changed !!!\n"},
        {m_GameData.m_nElementTotal,
         u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile element count has changed !!!\n"},
        {m_GameData.m_nParamTotal, u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile param count has changed !!!\n"},
    };
    for (const auto& count : counts) {
        uint32_t value = 0;
        if (!ReadValue(stream, value) || value != count.expected) {
            LogLine(count.line);
            return RES_FAIL;
        }
    }
    return RES_OK;
}

// The record's fields in file order; each group is stored only when it was read whole. The level
// times, read whole, come in a new array.
bool CVadadiDazidevWorld::ReadProfileRecord(CStream& stream, CProfileProgress& r)
{
    std::unique_ptr<CLevelTime[]> times(new (std::nothrow) CLevelTime[m_nSceneCount]);
    if (!times)
        return false;
    bool read =
        ReadField<Bytes<3>>(stream, [&](const Bytes<3>& v) { r.m_bInUse = v[0], r.m_bFinished = v[1], r.m_bSent = v[2]; }) &&
        ReadField<float>(stream, [&](float v) { r.m_fPlayUnits = v; }) &&
        ReadField<Bytes<2>>(stream, [&](const Bytes<2>& v) { r.m_nPlayMinutes = v[0], r.m_nPlayHours = v[1]; }) &&
        ReadField<float>(stream, [&](float v) { r.m_fBestUnits = v; }) &&
        ReadField<Bytes<2>>(stream, [&](const Bytes<2>& v) { r.m_nBestMinutes = v[0], r.m_nBestHours = v[1]; }) &&
        ReadField<Bytes<3>>(stream, [&](const Bytes<3>& v) { r.m_nHour = v[0], r.m_nMinute = v[1], r.m_nSecond = v[2]; }) &&
        ReadField<uint16_t>(stream, [&](uint16_t v) { r.m_nYear = v; }) &&
        ReadField<Bytes<3>>(stream, [&](const Bytes<3>& v) { r.m_nMonth = v[0], r.m_nDay = v[1], r.m_bDateSet = v[2]; }) &&
        ReadField<Bytes<4>>(stream, [&](const Bytes<4>& v) { std::copy(v.begin(), v.end(), r.m_FirstVisit); });
    for (uint32_t i = 0; read && i < m_nSceneCount; ++i)
        read = ReadLevelTime(stream, times[i]);
    if (read)
        r.m_pLevelTimes = std::move(times);
    return read;
}

// The world's game state after the scene indexes, then the registered sections.
Result CVadadiDazidevWorld::ReadProfileGame(CStream& stream, uint16_t version, const uint32_t scenes[3])
{
    m_nCurrentScene = scenes[0];
    m_nNextScene = scenes[1];
    m_nSceneArgument = scenes[2];
    uint32_t popups[2];  // the waiting and the in-game pop-up's string indexes
    std::array<float, 3> camera{};
    bool read = ReadField<float>(stream, [&](float v) { m_fAbuseTimer = std::isfinite(v) ? v : 0.0f; }) &&
                ReadField<uint8_t>(stream, [&](uint8_t v) { m_nMisses = v; }) && ReadValue(stream, camera);
    if (read && !IsCamera(camera)) {
        LogLine(u"# CVadadiDazidevWorld::LoadProfile failed! SAVE profile camera is out of range !!!\n");
        return RES_FAIL;
    }
    if (read) {
        m_fZoom = camera[0];
        m_vCamera = {camera[1], camera[2], 0.0f};
    }
    if (!read || !stream.Read(popups, sizeof(uint32_t), 2))
        return RES_FAIL;
    RestorePopup(popups);
    for (uint32_t slot = 0; slot < kProfileSectionCount; ++slot) {
        CProfileSection* section = m_pProfileSections[slot];
        if (slot == kProfileSectionScenes && m_nCurrentScene == kNoIndex)
            break;
        if (section && Failed(section->LoadFromProfile(stream, version)))
            return RES_FAIL;
    }
    return RES_OK;
}

// The waiting pop-up's string, else the in-game pop-up's; an index past the game table is none.
void CVadadiDazidevWorld::RestorePopup(const uint32_t popups[2])
{
    CPopupText* targets[2] = {m_pPopupWaiting.get(), m_pPopupIngame.get()};
    for (uint32_t i = 0; i < 2; ++i) {
        if (popups[i] == kNoIndex)
            continue;
        if (targets[i] && popups[i] < m_GameData.m_GameStrings.m_nCount)
            targets[i]->SetText(popups[i], kGameTable);
        return;
    }
}

bool CVadadiDazidevWorld::IsLevelOrNone(uint32_t level) const
{
    return level == kNoIndex || level < m_nSceneCount;
}

// The record a level starts with: none, or one the level has (any while the level is not made).
bool CVadadiDazidevWorld::IsRecordOrNone(uint32_t level, uint32_t record) const
{
    CGameLevel* starting = GetScene(level);
    return record == kNoIndex || !starting || starting->GetRecord(record) != nullptr;
}

Result CVadadiDazidevWorld::WriteProfile(CStream& stream, const CProfileProgress& record)
{
    const CGameData& g = m_GameData;
    bool written = WriteValue(stream, kProfileVersion) && WriteValue(stream, m_nSceneCount) &&
                   WriteValue(stream, m_nTooltipCount) && WriteValue(stream, g.m_nElementTotal) &&
                   WriteValue(stream, g.m_nParamTotal) && WriteProfileRecord(stream, record) && WriteProfileGame(stream);
    return written ? RES_OK : RES_FAIL;
}

bool CVadadiDazidevWorld::WriteProfileRecord(CStream& stream, const CProfileProgress& r)
{
    if (m_nSceneCount && !r.m_pLevelTimes)
        return false;
    const Bytes<3> flags = {r.m_bInUse, r.m_bFinished, r.m_bSent};
    const Bytes<3> time = {r.m_nHour, r.m_nMinute, r.m_nSecond};
    const Bytes<3> date = {r.m_nMonth, r.m_nDay, r.m_bDateSet};
    bool written = WriteValue(stream, flags) && WriteValue(stream, r.m_fPlayUnits) &&
                   WriteValue(stream, Bytes<2>{r.m_nPlayMinutes, r.m_nPlayHours}) &&
                   WriteValue(stream, r.m_fBestUnits) && WriteValue(stream, Bytes<2>{r.m_nBestMinutes, r.m_nBestHours}) &&
                   WriteValue(stream, time) && WriteValue(stream, r.m_nYear) && WriteValue(stream, date) &&
                   stream.Write(r.m_FirstVisit, 1, sizeof(r.m_FirstVisit));
    for (uint32_t i = 0; written && i < m_nSceneCount; ++i)
        written = WriteLevelTime(stream, r.m_pLevelTimes[i]);
    return written;
}

bool CVadadiDazidevWorld::WriteProfileGame(CStream& stream)
{
    const uint32_t scenes[3] = {m_nCurrentScene, m_nNextScene, m_nSceneArgument};
    const float camera[3] = {m_fZoom, m_vCamera.x, m_vCamera.y};
    const uint32_t popups[2] = {PopupIndex(m_pPopupWaiting.get()), PopupIndex(m_pPopupIngame.get())};
    bool written = stream.Write(scenes, sizeof(uint32_t), 3) && WriteValue(stream, m_fAbuseTimer) &&
                   WriteValue(stream, m_nMisses) && stream.Write(camera, sizeof(float), 3) &&
                   stream.Write(popups, sizeof(uint32_t), 2);
    for (uint32_t slot = 0; written && slot < kProfileSectionCount; ++slot) {
        CProfileSection* section = m_pProfileSections[slot];
        if (slot == kProfileSectionScenes && m_nCurrentScene == kNoIndex)
            break;
        written = !section || Succeeded(section->SaveToProfile(stream));
    }
    return written;
}

Result CVadadiDazidevWorld::ProfilePath(uint32_t mode, uint32_t slot, bool noMove, char16_t* out)
{
    char16_t name[kMaxPathUnits];
    WFormat(name, kMaxPathUnits, u"profile_%s_%s_%u.sav", mode == 0 ? u"normal" : u"timed", u"full", slot);
    return SavePath(name, noMove, out, kMaxSavePathUnits);
}

Result CVadadiDazidevWorld::LoadProfileSlot(uint32_t mode, uint32_t slot, bool withGame)
{
    char16_t path[kMaxSavePathUnits];
    if (!IsValid(mode, slot) || Failed(ProfilePath(mode, slot, false, path)))
        return RES_FAIL;
    if (IsOtherThanFile(path)) {
        KeepDamagedSave(path);
        return RES_FAIL;
    }
    CStreamFile stream(kStreamRead, path);
    if (Failed(stream.Open()))
        return RES_FAIL;
    Result result = LoadProfile(stream, m_GameData.Progress(mode, slot), withGame, false);
    // An empty file is a slot reset on purpose; any other refused file is kept before a save
    // replaces it.
    if (Failed(result) && (stream.Seek(0, kStreamSeekEnd) && stream.Tell() > 0)) {
        IgnoreResult(stream.Close());
        KeepDamagedSave(path);
    }
    return result;
}

Result CVadadiDazidevWorld::SaveProfileSlot(uint32_t mode, uint32_t slot)
{
    char16_t path[kMaxSavePathUnits];
    if (!IsValid(mode, slot) || Failed(ProfilePath(mode, slot, true, path)))
        return RES_FAIL;
    const CProfileProgress& record = m_GameData.Progress(mode, slot);
    return SaveReplacing(path, [&](CStream& stream) { return Succeeded(WriteProfile(stream, record)); });
}

Result CVadadiDazidevWorld::SaveProfile(uint32_t slot, uint32_t mode)
{
    return SaveProfileSlot(mode, slot);
}

Result CVadadiDazidevWorld::ResetProfileSlot(uint32_t mode, uint32_t slot, bool clearName)
{
    if (!IsValid(mode, slot))
        return RES_FAIL;
    char16_t path[kMaxSavePathUnits];
    Result result = ProfilePath(mode, slot, false, path);
    if (Succeeded(result))
        result = SaveReplacing(path, [](CStream&) { return true; });
    if (clearName)
        memset(m_GameData.m_szProfileNames[slot], 0, sizeof(m_GameData.m_szProfileNames[slot]));
    CProfileProgress& record = m_GameData.Progress(mode, slot);
    ResetProgressRecord(record, m_nSceneCount);
    memset(record.m_FirstVisit, 0, sizeof(record.m_FirstVisit));
    return result;
}

Result CVadadiDazidevWorld::LoadProfiles()
{
    for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot) {
        for (uint32_t mode = 0; mode < kProfileModeCount; ++mode) {
            if (Failed(PrepareProgressRecord(m_GameData.Progress(mode, slot), m_nSceneCount)))
                return RES_OUT_OF_MEMORY;
        }
        // A slot without a readable save keeps its blank record.
        for (uint32_t mode = 0; mode < kProfileModeCount; ++mode)
            IgnoreResult(LoadProfileSlot(mode, slot, false));
    }
    return RES_OK;
}

void CVadadiDazidevWorld::AddPlayTime(uint32_t mode, uint32_t slot)
{
    if (!IsValid(mode, slot) || !m_pData)
        return;
    CProfileProgress& record = m_GameData.Progress(mode, slot);
    // The clock stops with the finish: the finishing frame's play time is in the best time.
    if (record.m_bFinished)
        return;
    const double frames = m_pData->frameFactor;
    AddToTime(record.m_fPlayUnits, record.m_nPlayMinutes, record.m_nPlayHours, frames);
    if (m_nCurrentScene < m_nSceneCount && record.m_pLevelTimes) {
        CLevelTime& level = record.m_pLevelTimes[m_nCurrentScene];
        AddToTime(level.m_fUnits, level.m_nMinutes, level.m_nHours, frames);
    }
}

void CVadadiDazidevWorld::MarkGameFinished()
{
    if (!IsValid(m_GameData.m_nMode, m_GameData.m_nSlot))
        return;
    CProfileProgress& record = m_GameData.Progress(m_GameData.m_nMode, m_GameData.m_nSlot);
    record.m_bFinished = 1;
    StampFinishDate(record);
    UpdateBestTime(record);
}

void CVadadiDazidevWorld::SetProfileSection(ProfileSectionSlot slot, CProfileSection* section)
{
    if (slot < kProfileSectionCount)
        m_pProfileSections[slot] = section;
}
