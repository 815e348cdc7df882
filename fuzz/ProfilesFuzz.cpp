// Profile files: a profile that loads (with or without its game state) saves to bytes that load
// back whole and save to the same bytes, and a loaded record holds every level's time.
// Input: u8 level count (below 8), u8 tooltip count (below 4), u8 bits (1 with the game
// state, 2 forced), then the file.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct CProfileSetup {
    uint32_t levels;
    uint32_t tooltips;
};

std::string Saved(CFuzzGame& game, const CProfileProgress& record)
{
    CFuzzWriteStream out;
    FUZZ_CHECK(game.World().WriteProfile(out, record) == RES_OK);
    return out.Bytes();
}

void Setup(CFuzzGame& game, const CProfileSetup& setup)
{
    game.World().m_nSceneCount = setup.levels;
    game.World().m_nTooltipCount = setup.tooltips;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const CProfileSetup setup{input.Take<uint8_t>() % 8u, input.Take<uint8_t>() % 4u};
    const uint8_t bits = input.Take<uint8_t>();
    CFuzzGame game;
    Setup(game, setup);
    CProfileProgress record{};
    CStreamMemory stream(kStreamRead, input.Data(), static_cast<uint32_t>(input.Left()));
    if (Failed(game.World().LoadProfile(stream, record, bits & 1, bits & 2)))
        return 0;
    FUZZ_CHECK(setup.levels == 0 || record.m_pLevelTimes);
    const std::string saved = Saved(game, record);

    CFuzzGame again;
    Setup(again, setup);
    CProfileProgress reread{};
    CStreamMemory savedStream(kStreamRead, saved.data(), static_cast<uint32_t>(saved.size()));
    FUZZ_CHECK(again.World().LoadProfile(savedStream, reread, true, true) == RES_OK);
    FUZZ_CHECK(Saved(again, reread) == saved);
    return 0;
}
