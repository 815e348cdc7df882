// A tooltip's description (without its 3D files), then the rest of the input as its saved
// section: every step part lies in the part table, and the tooltip's steps, events and
// completion run on what was read.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzLevels.h"
#include "levels/objects/LevelTooltip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    CLevelTooltip tooltip(game.World().GetData(), nullptr, 0);
    CStreamMemory stream = InputStream(data, size);
    if (Succeeded(tooltip.ReadDescription(&stream))) {
        for (uint32_t i = 0; i < tooltip.GetStepCount(); ++i) {
            const int32_t part = tooltip.GetStep(i)->part;
            FUZZ_CHECK(part == -1 || tooltip.GetPart(static_cast<uint32_t>(part)));
        }
    }
    IgnoreResult(tooltip.LoadObjects(&stream, 63));
    tooltip.OnObjectEvent(0, 1);
    tooltip.AllStepsDone();
    CheckSavedSection(tooltip, &CSceneObject3D::SaveObjects, &CSceneObject3D::LoadObjects);
    FUZZ_CHECK(tooltip.Release() == RES_OK);
    return 0;
}
