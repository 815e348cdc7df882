// The blank profile "_profile.full.raw" (behind its raw header) that a new game starts from, and
// its copy into a slot: read into a prepared game of two levels and a tooltip for a mode and slot.
// A blank that is refused leaves the slot's record as it was; one that is read gives the slot the
// blank's play and level times, keeps its date-set flag and touches no other record; the game then
// saves a profile that reads back whole. Input: u8 (bit 0 the mode, then the slot), then the body.

#include <cstring>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "tools/RawFileWriter.h"

namespace {

template <typename T>
void Put(std::string& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Every field of a record as bytes, the level times after them.
std::string Fields(const CProfileProgress& r, uint32_t levels)
{
    std::string bytes;
    for (uint8_t byte : {r.m_bInUse, r.m_bFinished, r.m_bSent, r.m_nHour, r.m_nMinute, r.m_nSecond, r.m_nMonth,
                         r.m_nDay, r.m_bDateSet, r.m_nPlayMinutes, r.m_nPlayHours, r.m_nBestMinutes, r.m_nBestHours})
        Put(bytes, byte);
    Put(bytes, r.m_nYear);
    Put(bytes, r.m_fPlayUnits);
    Put(bytes, r.m_fBestUnits);
    Put(bytes, r.m_FirstVisit);
    for (uint32_t i = 0; r.m_pLevelTimes && i < levels; ++i) {
        Put(bytes, r.m_pLevelTimes[i].m_fUnits);
        Put(bytes, r.m_pLevelTimes[i].m_nMinutes);
        Put(bytes, r.m_pLevelTimes[i].m_nHours);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint8_t choice = input.Take<uint8_t>();
    const uint32_t mode = choice & 1, slot = (choice >> 1) % kProfileSlotCount;
    const std::string body = input.TakeBytes(input.Left());
    std::map<std::string, std::string> files = GameRawFiles();
    files[GameRawName("_profile.full.raw")] = RawFileBytes("VadadiDazidev", body);
    CFuzzGame game;
    if (Failed(game.Prepare(files)))
        return 0;
    CTestWorld& world = game.World();
    FUZZ_CHECK(world.LoadProfiles() == RES_OK);
    const uint32_t levels = world.GetSceneCount();
    CProfileProgress& record = game.Data().Progress(mode, slot);
    record.m_bDateSet = 1;
    record.m_nYear = 2026;
    std::string before[kProfileModeCount * kProfileSlotCount];
    for (uint32_t n = 0; n < kProfileModeCount * kProfileSlotCount; ++n)
        before[n] = Fields(game.Data().m_Progress[n], levels);

    const Result result = world.OnLoadVirginProfile(mode, slot);
    for (uint32_t n = 0; n < kProfileModeCount * kProfileSlotCount; ++n) {
        if (&game.Data().m_Progress[n] != &record || Failed(result))
            FUZZ_CHECK(Fields(game.Data().m_Progress[n], levels) == before[n]);
    }
    if (Failed(result))
        return 0;
    FUZZ_CHECK(record.m_bDateSet == 1 && record.m_nYear == 2026);
    FUZZ_CHECK(levels == 0 || record.m_pLevelTimes);
    CFuzzWriteStream saved;
    FUZZ_CHECK(world.WriteProfile(saved, record) == RES_OK);
    CProfileProgress reread{};
    CStreamMemory stream(kStreamRead, saved.Bytes().data(), static_cast<uint32_t>(saved.Bytes().size()));
    FUZZ_CHECK(world.LoadProfile(stream, reread, true, true) == RES_OK);
    return 0;
}
