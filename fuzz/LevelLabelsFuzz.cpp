// The level labels' description: every label's part is -1 or lies in the part table, and every
// label can be asked for and shown.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzLevels.h"
#include "levels/objects/LevelLabels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    CLevelLabels labels(game.World().GetData(), nullptr, 0);
    CStreamMemory stream = InputStream(data, size);
    if (Succeeded(labels.LoadDescription(&stream))) {
        for (uint32_t i = 0; i < labels.GetLabelCount(); ++i) {
            const uint32_t part = labels.GetLabel(i)->part;
            FUZZ_CHECK(part == kNoPart || part < labels.GetPartCount());
            labels.ShowLabel(static_cast<int32_t>(i));
        }
    }
    FUZZ_CHECK(!labels.GetLabel(labels.GetLabelCount()));
    FUZZ_CHECK(labels.Release() == RES_OK);
    return 0;
}
