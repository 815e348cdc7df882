// Hidden-object scene descriptions (the level base, then each record's extension): whatever
// reads keeps its states inside the scene states and each quiz with a present answer; a read
// scene then enters, plays a few frames without a toolbar and leaves; a failed read releases
// what it left.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"

namespace {

bool IsEntered(uint32_t state)
{
    return state <= kStateQuiz || state == kSceneStateFresh;
}

void CheckRecord(const CHiddenObjectRecord& record)
{
    FUZZ_CHECK(record.initialState <= kStateQuiz);
    FUZZ_CHECK(IsEntered(record.switchNextState));
    for (const CStateBlock& block : record.states)
        FUZZ_CHECK(IsEntered(block.nextState));
    bool present = false;
    for (const CQuizAnswer& answer : record.answers)
        present = present || answer.IsPresent();
    FUZZ_CHECK(present || !record.HasQuiz());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    game.World().m_nSceneCount = 3;
    CLevelVadadiDazidev level(game.World().GetData(), nullptr, 0);
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    FUZZ_CHECK(stream.Open() == RES_OK);
    const Result read = level.LoadDescription(&stream);
    for (uint32_t n = 0; Succeeded(read) && n < level.GetRecordCount(); ++n)
        CheckRecord(*static_cast<CHiddenObjectRecord*>(level.GetRecord(n)));
    if (Succeeded(read) && level.GetRecordCount()) {
        IgnoreResult(level.AdvanceSceneState(true));
        for (int frame = 0; frame < 4; ++frame)
            IgnoreResult(level.Update());
        level.Stop();
    }
    FUZZ_CHECK(level.Release() == RES_OK);
    return 0;
}
