#include "levels/hiddenobject/HiddenObjectRecord.h"

#include "core/Stream.h"
#include "game/StreamValues.h"
#include "levels/Level.h"

namespace {

bool IsEnteredState(uint32_t state)
{
    return state <= kLastPlainState || state == kSceneStateFresh;
}

bool ReadGroup(CStream& s, CLevelPopupGroup& p)
{
    return ReadValue(s, p.popupId) && ReadValue(s, p.repeat) && ReadValue(s, p.value) && ReadValue(s, p.shown);
}

bool ReadAction(CStream& s, std::unique_ptr<CLevelAction>& action, LevelActionKind kind, CWorldData* data)
{
    action = MakeLevelAction(kind, data);
    return action && Succeeded(action->Load(s));
}

bool ReadStateBlock(CStream& s, CStateBlock& b, CWorldData* data)
{
    return ReadGroup(s, b.startPopup) && ReadGroup(s, b.endPopup) && ReadValue(s, b.randomPick) &&
           ReadValue(s, b.extraSeconds) && ReadValue(s, b.ghostsClickable) && ReadValue(s, b.endArgument) &&
           ReadValue(s, b.endTargetScene) && ReadValue(s, b.nextState) && IsEnteredState(b.nextState) &&
           ReadAction(s, b.hideTooltipsAction, LevelActionKind::HideTooltips, data) &&
           ReadAction(s, b.showTooltipsAction, LevelActionKind::ShowTooltips, data);
}

bool ReadOutcomeTail(CStream& s, CQuizOutcome& o)
{
    return ReadValue(s, o.argument) && ReadValue(s, o.targetScene) && ReadValue(s, o.soundId);
}

bool ReadOutcomeActions(CStream& s, CQuizOutcome& o, CWorldData* data)
{
    for (uint32_t i = 0; i < kOutcomeActionCount; ++i) {
        if (!ReadAction(s, o.actions[i], kOutcomeActionKinds[i], data))
            return false;
    }
    return true;
}

// The first outcome's actions are in the file only when it is the one chosen.
bool ReadAnswer(CStream& s, CQuizAnswer& a, CWorldData* data)
{
    CQuizOutcome& first = a.outcomes[0];
    CQuizOutcome& second = a.outcomes[1];
    return ReadValue(s, a.text) && ReadValue(s, a.firstOutcome) && ReadValue(s, first.popupId) &&
           (!a.firstOutcome || ReadOutcomeActions(s, first, data)) && ReadOutcomeTail(s, first) &&
           ReadValue(s, second.popupId) && ReadOutcomeActions(s, second, data) && ReadOutcomeTail(s, second);
}

bool ReadQuiz(CStream& s, CHiddenObjectFields& f, CWorldData* data)
{
    if (!ReadValue(s, f.quizQuestion) || !ReadValue(s, f.quizLayout))
        return false;
    bool present = false;
    for (CQuizAnswer& answer : f.answers) {
        if (!ReadAnswer(s, answer, data))
            return false;
        present = present || answer.IsPresent();
    }
    return present || !f.HasQuiz();
}

bool ReadSwitch(CStream& s, CHiddenObjectFields& f, CWorldData* data)
{
    return ReadAction(s, f.switchObjectsAction, LevelActionKind::SetSwitchObjects, data) &&
           ReadValue(s, f.switchRecord) && ReadValue(s, f.switchTargetScene) && ReadValue(s, f.switchNextState) &&
           IsEnteredState(f.switchNextState) && ReadGroup(s, f.switchPopup) &&
           ReadAction(s, f.markObjectsAction, LevelActionKind::MarkObjects, data);
}

} // namespace

Result ReadHiddenObjectFields(CStream& stream, CHiddenObjectFields& f, CWorldData* data)
{
    if (!ReadValue(stream, f.maxShownItems) || !ReadValue(stream, f.maxPickedItems) ||
        !ReadValue(stream, f.initialState) || f.initialState > kLastPlainState || !ReadSwitch(stream, f, data))
        return RES_FAIL;
    for (CStateBlock& block : f.states) {
        if (!ReadStateBlock(stream, block, data))
            return RES_FAIL;
    }
    if (!ReadValue(stream, f.ghostSound) || !ReadQuiz(stream, f, data) ||
        !stream.Read(f.hitSounds, sizeof(uint16_t), kSearchStateCount) ||
        !stream.Read(f.itemsDoneSounds, sizeof(uint16_t), kSearchStateCount))
        return RES_FAIL;
    return RES_OK;
}
