// The construction files of the hint and of the stars, a sound-bank index each: whatever index
// reads, the click sounds play only sounds of the bank.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    game.UseSoundBank(2);
    CWorldData* world = game.World().GetData();
    CHint hint(world);
    CStars stars(world, nullptr);
    CStreamMemory hintStream(kStreamRead, data, static_cast<uint32_t>(size));
    CStreamMemory starsStream(kStreamRead, data, static_cast<uint32_t>(size));
    const Result read = hint.ReadConstruction(hintStream);
    FUZZ_CHECK(stars.ReadConstruction(&starsStream) == read);
    FUZZ_CHECK(Succeeded(read) == (size >= sizeof(uint32_t)));
    hint.PlayClickSound();
    stars.PlayClickSound();
    return 0;
}
