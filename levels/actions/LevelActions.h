#pragma once
#include <cstdint>
#include <memory>

#include "game/LevelAction.h"
#include "game/LevelRecord.h"

// The ten kinds of level action. Scene-part kinds hold object references or scene pairs (two
// bytes each); the two tooltip visibility kinds hold one-byte tooltip indexes.
enum class LevelActionKind : uint8_t {
    EnableObjects,
    DisableObjects,
    HideObjects,
    ShowObjects,
    SetScenePhase,  // the record switch
    TooltipEvent,
    ShowTooltips,
    HideTooltips,
    MarkObjects,
    SetSwitchObjects,
};

constexpr uint8_t LevelActionElementBytes(LevelActionKind kind)
{
    return kind == LevelActionKind::ShowTooltips || kind == LevelActionKind::HideTooltips ? 1 : 2;
}

// The kinds by their place in a scene record and in a tooltip description.
constexpr LevelActionKind kStartActionKinds[kStartActionCount] = {
    LevelActionKind::ShowObjects,    LevelActionKind::HideObjects,  LevelActionKind::DisableObjects,
    LevelActionKind::EnableObjects,  LevelActionKind::HideTooltips, LevelActionKind::ShowTooltips,
};
constexpr LevelActionKind kLeaveActionKinds[kLeaveActionCount] = {
    LevelActionKind::HideTooltips,   LevelActionKind::ShowTooltips, LevelActionKind::SetScenePhase,
    LevelActionKind::ShowObjects,    LevelActionKind::HideObjects,  LevelActionKind::DisableObjects,
    LevelActionKind::EnableObjects,
};
constexpr uint32_t kTooltipActionCount = 5;
constexpr LevelActionKind kTooltipActionKinds[kTooltipActionCount] = {
    LevelActionKind::SetScenePhase, LevelActionKind::ShowObjects,   LevelActionKind::HideObjects,
    LevelActionKind::DisableObjects, LevelActionKind::EnableObjects,
};

// A new empty action of the kind; null without memory.
std::unique_ptr<CLevelAction> MakeLevelAction(LevelActionKind kind, CWorldData* data);

// Object references: bit 15 tooltip table, bits 8 to 14 index, low byte part.
class CLevelActionEnableObjects : public CLevelAction {
public:
    explicit CLevelActionEnableObjects(CWorldData* data) : CLevelAction(data, 2) {}
};

class CLevelActionDisableObjects : public CLevelAction {
public:
    explicit CLevelActionDisableObjects(CWorldData* data) : CLevelAction(data, 2) {}
};

class CLevelActionHideObjects : public CLevelAction {
public:
    explicit CLevelActionHideObjects(CWorldData* data) : CLevelAction(data, 2) {}
};

class CLevelActionShowObjects : public CLevelAction {
public:
    explicit CLevelActionShowObjects(CWorldData* data) : CLevelAction(data, 2) {}
};

// Scene pairs: high byte the scene, low byte a record, or a part.
class CLevelActionSetScenePhase : public CLevelAction {
public:
    explicit CLevelActionSetScenePhase(CWorldData* data) : CLevelAction(data, 2) {}
};

// High byte the tooltip, low byte an object value.
class CLevelActionTooltipEvent : public CLevelAction {
public:
    explicit CLevelActionTooltipEvent(CWorldData* data) : CLevelAction(data, 2) {}
};

class CLevelActionShowTooltips : public CLevelAction {
public:
    explicit CLevelActionShowTooltips(CWorldData* data) : CLevelAction(data, 1) {}
};

class CLevelActionHideTooltips : public CLevelAction {
public:
    explicit CLevelActionHideTooltips(CWorldData* data) : CLevelAction(data, 1) {}
};

class CLevelActionMarkObjects : public CLevelAction {
public:
    explicit CLevelActionMarkObjects(CWorldData* data) : CLevelAction(data, 2) {}
};

class CLevelActionSetSwitchObjects : public CLevelAction {
public:
    explicit CLevelActionSetSwitchObjects(CWorldData* data) : CLevelAction(data, 2) {}
};
