// The level timer's description, then the rest of the input as its saved section: what it
// keeps saves and loads back the same.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzLevels.h"
#include "levels/objects/LevelTimer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    CLevelTimer timer(game.World().GetData(), nullptr, 0);
    CStreamMemory stream = InputStream(data, size);
    IgnoreResult(timer.LoadDescription(&stream));
    IgnoreResult(timer.LoadObjects(&stream, 63));
    IgnoreResult(timer.Update());
    CheckSavedSection(timer, &CSceneObject3D::SaveObjects, &CSceneObject3D::LoadObjects);
    FUZZ_CHECK(timer.GetSlideState() <= kTimerDisappearing);
    return 0;
}
