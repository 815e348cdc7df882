// A level of the small game's first description, then the input as its saved state and
// progress: counts past the level's records or the stream are refused, and what loads saves and
// loads back the same.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzLevels.h"
#include "tests/support/LevelTestKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    game.World().m_nSceneCount = 2;
    CTestLevel level(game.World().GetData(), nullptr, 0, kLevelTypeHiddenObject);
    FUZZ_CHECK(level.Init() == RES_OK);
    const std::string description = GameRawFiles()[GameRawName("_level_0.raw")];
    const size_t header = 2 + 4 + sizeof("VadadiDazidev");
    CStreamMemory body(kStreamRead, description.data() + header, static_cast<uint32_t>(description.size() - header));
    FUZZ_CHECK(body.Open() == RES_OK);
    FUZZ_CHECK(level.LoadDescription(&body) == RES_OK);
    CStreamMemory stream = InputStream(data, size);
    IgnoreResult(level.LoadObjects(&stream, 63));
    IgnoreResult(level.LoadProgress(&stream, 63));
    FUZZ_CHECK(level.GetPopupQueueCount() <= 1024);
    FUZZ_CHECK(level.GetActiveStar() == kNoStar || level.GetActiveStar() < level.GetStarCount());
    IgnoreResult(level.Start(kSceneStateFresh));
    level.Stop();
    CheckSavedSection(level, &CSceneObject3D::SaveObjects, &CSceneObject3D::LoadObjects);
    CheckSavedSection(level, &CSceneObject3D::SaveProgress, &CSceneObject3D::LoadProgress);
    FUZZ_CHECK(level.Release() == RES_OK);
    return 0;
}
