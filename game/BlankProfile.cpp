#include <new>

#include "base/WideFormat.h"
#include "game/VadadiDazidevWorld.h"

// The blank profile: the starting state of a new game, a raw file in the profile file's layout.

Result CVadadiDazidevWorld::OnLoadVirginProfile(uint32_t mode, uint32_t slot)
{
    if (mode >= kProfileModeCount || slot >= kProfileSlotCount)
        return RES_FAIL;
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s_profile.full.raw", m_GameData.m_szRawFolder);
    std::unique_ptr<CStream> stream =
        OpenRawFile(path, true, u"# CVadadiDazidevWorld::OnLoadVirginProfile failed! \"%s\" is missing !!!\n");
    if (!stream)
        return RES_FAIL;
    CProfileProgress blank{};
    blank.m_pLevelTimes.reset(new (std::nothrow) CLevelTime[m_nSceneCount ? m_nSceneCount : 1]());
    if (!blank.m_pLevelTimes)
        return RES_OUT_OF_MEMORY;
    Result result = LoadProfile(*stream, blank, true, true);
    IgnoreResult(stream->Close());
    if (Failed(result))
        return result;
    CProfileProgress& record = m_GameData.Progress(mode, slot);
    const uint8_t dateSet = record.m_bDateSet;
    CopyProgressRecord(record, blank, m_nSceneCount);
    record.m_bDateSet = dateSet;
    return result;
}
