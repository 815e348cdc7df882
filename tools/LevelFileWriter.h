#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/LevelRecord.h"
#include "levels/actions/LevelActions.h"
#include "levels/hiddenobject/HiddenObjectRecord.h"
#include "tools/ByteWriter.h"

// Models and writers of the description files of scene objects: the scene-object block, the
// level base with its records and actions, and the tooltip, labels and timer objects. Each
// writer gives the bytes after the raw header (RawFileBytes adds it).

struct CScenePartModel {
    uint8_t kind = 0;
    uint32_t phase = 0;
    uint32_t flags = 0;
    uint32_t itemId = 0xFFFFFFFFu;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float radius = 0.0f;
};

struct CSceneBlockModel {
    float refWidth = 1024.0f;
    float refHeight = 768.0f;
    uint32_t word = 0;  // a level's writer puts its record count here
    std::vector<CScenePartModel> parts;
    std::vector<uint16_t> order;  // one per part; a part without an entry gets its own index
};

// An action's elements; the action's place decides whether each takes one byte or two.
using CActionModel = std::vector<uint16_t>;

struct CPopupGroupModel {
    int32_t popupId = kNoPopup;
    uint8_t repeat = 0;
    uint32_t value = 0;
    uint8_t shown = 0;
};

struct CTimedEffectModel {
    float minFrames = 0.0f;
    float maxFrames = 0.0f;
    uint16_t soundId = kNoSound;
    uint8_t loop = 0;
};

struct CLevelRecordModel {
    uint8_t clickPenaltyFree = 0;
    uint32_t cameraMode = 0;
    uint8_t dragEnabled = 0;
    uint8_t cameraDraggable = 0;
    uint8_t toolbarHidden = 0;
    uint8_t toolbarHeightIgnored = 0;
    uint32_t value0C = 0;
    float zoom = 1.0f;
    uint16_t introSound = kNoSound;
    CPopupGroupModel introPopup;
    std::string backgroundName;  // cut to 259 bytes
    CPopupGroupModel startPopup;
    std::array<CActionModel, kStartActionCount> startActions;
    CPopupGroupModel popupGroup3;
    uint16_t soundId = kNoSound;
    CPopupGroupModel leavePopup;
    std::array<CActionModel, kLeaveActionCount> leaveActions;
    std::array<CTimedEffectModel, kTimedEffectCount> effects;
    std::vector<uint16_t> pairSounds;  // one per click target; missing ones are kNoSound
};

struct CLevelPairModel {
    uint32_t part = 0;
    uint32_t targetScene = 0;
};

struct CLevelModel {
    CSceneBlockModel scene;
    uint32_t startRecord = 0;
    std::vector<CLevelPairModel> pairs;
    std::vector<CLevelRecordModel> records;
};

struct CStateBlockModel {
    CPopupGroupModel startPopup;
    CPopupGroupModel endPopup;
    uint8_t randomPick = 0;
    uint32_t extraSeconds = 0;
    uint8_t ghostsClickable = 0;
    int32_t endArgument = kNoTarget;
    int32_t endTargetScene = kNoTarget;
    uint32_t nextState = kStateArrows;
    CActionModel hideTooltips;
    CActionModel showTooltips;
};

struct CQuizOutcomeModel {
    int32_t popupId = kNoPopup;
    // tooltip event, show, hide, disable, enable objects, record switch
    std::array<CActionModel, kOutcomeActionCount> actions;
    int32_t argument = kNoTarget;
    int32_t targetScene = kNoTarget;
    uint16_t soundId = kNoSound;
};

struct CQuizAnswerModel {
    uint32_t text = kNoAnswerText;
    uint8_t firstOutcome = 0;  // 0: the first outcome's actions are not written
    CQuizOutcomeModel outcomes[2];
};

// The fields a hidden-object scene adds to a record.
struct CHiddenObjectRecordModel {
    uint32_t maxShownItems = 12;
    uint32_t maxPickedItems = 0;
    uint32_t initialState = 1;
    CActionModel switchObjects;
    int32_t switchRecord = kNoTarget;
    int32_t switchTargetScene = kNoTarget;
    uint32_t switchNextState = kStateArrows;
    CPopupGroupModel switchPopup;
    CActionModel markObjects;
    std::array<CStateBlockModel, kSearchStateCount> states;
    uint16_t ghostSound = kNoSound;
    uint32_t quizQuestion = kNoQuestion;
    uint32_t quizLayout = 0;
    std::array<CQuizAnswerModel, kQuizAnswerCount> answers;
    std::array<uint16_t, kSearchStateCount> hitSounds{kNoSound, kNoSound, kNoSound, kNoSound};
    std::array<uint16_t, kSearchStateCount> itemsDoneSounds{kNoSound, kNoSound, kNoSound, kNoSound};
};

// A hidden-object level: the base level, then one extension per record (missing ones are the
// model's defaults).
struct CHiddenObjectLevelModel {
    CLevelModel level;
    std::vector<CHiddenObjectRecordModel> extensions;
};

struct CTooltipStepModel {
    int32_t part = -1;
    int32_t eventValue = 0;
    int32_t eventObject = 0;
    int32_t nextPage = -1;
};

struct CTooltipModel {
    CSceneBlockModel scene;
    uint8_t hidden = 0;
    uint32_t slideState = 1;
    float offsetX = 0.0f;
    std::vector<CTooltipStepModel> steps;
    int32_t finalPage = -1;
    // record switch, show objects, hide objects, disable objects, enable objects
    std::array<CActionModel, kTooltipActionCount> actions;
    uint16_t doneSound = kNoSound;
    uint16_t stepSound = kNoSound;
};

struct CLabelModel {
    uint32_t part = 0;
    uint16_t value = 0;
    std::array<uint32_t, 4> values{};
};

struct CLabelsModel {
    CSceneBlockModel scene;
    std::vector<CLabelModel> labels;
};

struct CTimerModel {
    CSceneBlockModel scene;
    float x = 0.0f;
    float y = 0.0f;
    float value50 = 0.0f;
    float size = 0.0f;
};

void WritePopup(CByteWriter& out, const CPopupGroupModel& popup);
void WriteSceneBlock(CByteWriter& out, const CSceneBlockModel& scene);
// The u8 count, then the elements of the kind's width.
void WriteAction(CByteWriter& out, const CActionModel& elements, LevelActionKind kind);
// The scene block with the record count as its word, R, the start record, the click targets,
// then the records.
std::string LevelBody(const CLevelModel& level);
void WriteHiddenObjectFields(CByteWriter& out, const CHiddenObjectRecordModel& record);
std::string HiddenObjectLevelBody(const CHiddenObjectLevelModel& model);
std::string TooltipBody(const CTooltipModel& tooltip);
std::string LabelsBody(const CLabelsModel& labels);
std::string TimerBody(const CTimerModel& timer);
// A fresh timer's profile section: its parts' flags with alpha 0, phase 0, hidden, no time left.
std::string FreshTimerSection(const CTimerModel& timer);
