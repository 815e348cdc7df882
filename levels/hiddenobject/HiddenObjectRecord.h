#pragma once
#include <cstdint>
#include <memory>

#include "game/LevelRecord.h"
#include "levels/actions/LevelActions.h"

class CStream;
struct CWorldData;

// Scene states of a hidden-object scene: 0 to 3 search the parts of that phase, 6 leads away
// by the arrows, 7 is the quiz page, 14 a fresh entry.
constexpr uint32_t kSearchStateCount = 4;
constexpr uint32_t kStateArrows = 6;
constexpr uint32_t kStateQuiz = 7;
constexpr uint32_t kLastPlainState = 7;
constexpr uint32_t kPhaseEffects = 5;
constexpr uint32_t kPhaseArrows = 6;
constexpr uint32_t kPhaseGhost = 8;
constexpr uint32_t kQuizAnswerCount = 4;
constexpr uint32_t kOutcomeActionCount = 6;
constexpr uint32_t kNoItem = 0xFFFFFFFFu;
constexpr uint32_t kNoQuestion = 0xFFFFFFFFu;
constexpr uint32_t kNoAnswerText = 0xFFFFFFFFu;
constexpr int32_t kNoTarget = -1;

constexpr LevelActionKind kOutcomeActionKinds[kOutcomeActionCount] = {
    LevelActionKind::TooltipEvent,   LevelActionKind::ShowObjects,   LevelActionKind::HideObjects,
    LevelActionKind::DisableObjects, LevelActionKind::EnableObjects, LevelActionKind::SetScenePhase,
};

// One search state's settings.
struct CStateBlock {
    CLevelPopupGroup startPopup;
    CLevelPopupGroup endPopup;
    uint8_t randomPick;
    uint32_t extraSeconds;  // timed mode
    uint8_t ghostsClickable;
    int32_t endArgument;     // record to reload the scene with; kNoTarget none
    int32_t endTargetScene;  // kNoTarget none; the scene count ends the game
    uint32_t nextState;
    std::unique_ptr<CLevelAction> hideTooltipsAction;
    std::unique_ptr<CLevelAction> showTooltipsAction;
};

// What choosing a quiz answer does. Actions in order: tooltip event, show, hide, disable,
// enable objects, record switch; each may be null (an outcome the file does not fill).
struct CQuizOutcome {
    int32_t popupId;
    std::unique_ptr<CLevelAction> actions[kOutcomeActionCount];
    int32_t argument;
    int32_t targetScene;
    uint16_t soundId;
};

struct CQuizAnswer {
    uint32_t text;  // commons string index; kNoAnswerText: absent
    uint8_t firstOutcome;
    CQuizOutcome outcomes[2];

    bool IsPresent() const { return text != kNoAnswerText; }
    const CQuizOutcome& Chosen() const { return outcomes[firstOutcome ? 0 : 1]; }
};

// The fields a hidden-object scene adds to its records.
struct CHiddenObjectFields {
    uint32_t maxShownItems;
    uint32_t maxPickedItems;
    uint32_t initialState;
    std::unique_ptr<CLevelAction> switchObjectsAction;
    int32_t switchRecord;
    int32_t switchTargetScene;
    uint32_t switchNextState;
    CLevelPopupGroup switchPopup;
    std::unique_ptr<CLevelAction> markObjectsAction;
    CStateBlock states[kSearchStateCount];
    uint16_t ghostSound;
    uint32_t quizQuestion;
    uint32_t quizLayout;  // 1 one column, else two
    CQuizAnswer answers[kQuizAnswerCount];
    uint16_t hitSounds[kSearchStateCount];
    uint16_t itemsDoneSounds[kSearchStateCount];

    bool HasQuiz() const { return quizQuestion != kNoQuestion; }
};

struct CHiddenObjectRecord : CLevelRecord, CHiddenObjectFields {
};

// The record's extension as a description holds it. RES_FAIL on a short read, an action that
// does not read, a state outside the scene states, or a quiz question without a present answer;
// what was read stays.
Result ReadHiddenObjectFields(CStream& stream, CHiddenObjectFields& fields, CWorldData* data);
