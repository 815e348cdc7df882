// A SHOOT level's description: a level that reads has usable targets on parts inside the part
// table, entries for every target and spawn and life spans that do not run backwards; a hundred
// frames of its round keep every slot on a target or free.

#include "fuzz/FuzzMiniGames.h"
#include "levels/shoot/LevelShoot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadMiniGameDescription<CLevelShoot>(
        data, size,
        [](CLevelShoot& level) {
            const CShootTargets& targets = level.GetTargets();
            FUZZ_CHECK(targets.count > 0 && targets.count < 256);
            for (uint32_t k = 0; k < level.GetRecordCount(); ++k) {
                const auto* r = static_cast<CLevelShootRecord*>(level.GetRecord(k));
                FUZZ_CHECK(r->minSpawnSeconds <= r->maxSpawnSeconds && r->minLifeSeconds <= r->maxLifeSeconds);
                for (uint32_t t = 0; t < targets.count; ++t)
                    FUZZ_CHECK(r->entryOfTarget[t] < r->entryCount);
            }
        },
        [](CLevelShoot& level) {
            level.ResetRound();
            for (int frame = 0; frame < 100; ++frame)
                IgnoreResult(level.Update());
            CShootField& field = level.GetField();
            for (uint32_t n = 0; n < field.SlotCount(); ++n)
                FUZZ_CHECK(field.Slot(n)->target == kFreeSlot || field.Slot(n)->target < level.GetTargets().count);
        });
    return 0;
}
