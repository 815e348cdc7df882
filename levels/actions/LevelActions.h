#pragma once
#include <cstdint>
#include <memory>

#include "game/LevelAction.h"
#include "game/LevelRecord.h"
#include "engine3d/SceneObject3D.h"

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

class CGameTooltip;
class CLevelHost;

constexpr uint32_t kPartFades = kPartFadingIn | kPartFadingOut;

// An action of the world's levels and tooltips: it reaches them through the engine data block
// and skips, with one log line, an index past the world's arrays or a part past a part table.
class CLevelWorldAction : public CLevelAction {
protected:
    using CLevelAction::CLevelAction;

    CLevelHost* World() const;
    // The part of a scene (type 0x4001 only unless anyType) or tooltip; null, logged, past them.
    ScenePart* ScenePartOf(uint32_t scene, uint32_t part, bool anyType) const;
    ScenePart* TooltipPartOf(uint32_t tooltip, uint32_t part) const;
    CGameTooltip* TooltipOf(uint32_t tooltip) const;
    void LogSkipped(uint16_t element) const;
};

// Object references: bit 15 selects the tooltip table, bits 8 to 14 the index, the low byte the
// part; the flags to set and clear on a scene part and on a tooltip part.
class CLevelObjectAction : public CLevelWorldAction {
public:
    Result Apply(int32_t argument) override;

protected:
    struct Masks {
        uint32_t sceneSet, sceneClear, tooltipSet, tooltipClear;
    };
    CLevelObjectAction(CWorldData* data, Masks masks) : CLevelWorldAction(data, 2), m_masks(masks) {}

private:
    Masks m_masks;
};

// Clickable and no longer waiting; a tooltip step becomes done.
class CLevelActionEnableObjects : public CLevelObjectAction {
public:
    explicit CLevelActionEnableObjects(CWorldData* data)
        : CLevelObjectAction(data, {kPartClickable, kPartWaiting, kPartWaiting, 0})
    {
    }
};

class CLevelActionDisableObjects : public CLevelObjectAction {
public:
    explicit CLevelActionDisableObjects(CWorldData* data)
        : CLevelObjectAction(data, {0, kPartClickable | kPartWaiting, 0, kPartWaiting})
    {
    }
};

// Hidden at once, no fade.
class CLevelActionHideObjects : public CLevelObjectAction {
public:
    explicit CLevelActionHideObjects(CWorldData* data)
        : CLevelObjectAction(data, {0, kPartFades | kPartDrawn, 0, kPartFades | kPartDrawn})
    {
    }
};

// Shown at once, no fade.
class CLevelActionShowObjects : public CLevelObjectAction {
public:
    explicit CLevelActionShowObjects(CWorldData* data)
        : CLevelObjectAction(data, {kPartDrawn, kPartFades, kPartDrawn, kPartFades})
    {
    }
};

// Scene pairs: the high byte is the scene, the low byte a part to flag.
class CLevelScenePairAction : public CLevelWorldAction {
public:
    Result Apply(int32_t argument) override;

protected:
    CLevelScenePairAction(CWorldData* data, uint32_t set) : CLevelWorldAction(data, 2), m_nSet(set) {}

private:
    uint32_t m_nSet;
};

// The record switch: the low byte becomes the scene's current record.
class CLevelActionSetScenePhase : public CLevelWorldAction {
public:
    explicit CLevelActionSetScenePhase(CWorldData* data) : CLevelWorldAction(data, 2) {}
    Result Apply(int32_t argument) override;
};

// High byte the tooltip, low byte an object value; the argument is the level id (-1 fails).
class CLevelActionTooltipEvent : public CLevelWorldAction {
public:
    explicit CLevelActionTooltipEvent(CWorldData* data) : CLevelWorldAction(data, 2) {}
    Result Apply(int32_t argument) override;
};

// One-byte tooltip indexes the world shows.
class CLevelActionShowTooltips : public CLevelWorldAction {
public:
    explicit CLevelActionShowTooltips(CWorldData* data) : CLevelWorldAction(data, 1) {}
    Result Apply(int32_t argument) override;
};

class CLevelActionHideTooltips : public CLevelWorldAction {
public:
    explicit CLevelActionHideTooltips(CWorldData* data) : CLevelWorldAction(data, 1) {}
    Result Apply(int32_t argument) override;
};

// Drawn in the second pass with the second view matrix.
class CLevelActionMarkObjects : public CLevelScenePairAction {
public:
    explicit CLevelActionMarkObjects(CWorldData* data) : CLevelScenePairAction(data, kPartSecondView) {}
};

// A click then toggles the part instead of collecting it.
class CLevelActionSetSwitchObjects : public CLevelScenePairAction {
public:
    explicit CLevelActionSetSwitchObjects(CWorldData* data) : CLevelScenePairAction(data, kPartToggles) {}
};
