#include "levels/actions/LevelActions.h"

#include <new>

#include "core/Log.h"
#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/GameLevel.h"
#include "game/GameTooltip.h"
#include "game/LevelHost.h"

namespace {

template <typename Action>
CLevelAction* New(CWorldData* data)
{
    return new (std::nothrow) Action(data);
}

} // namespace

std::unique_ptr<CLevelAction> MakeLevelAction(LevelActionKind kind, CWorldData* data)
{
    using Maker = CLevelAction* (*)(CWorldData*);
    static const Maker kMakers[] = {
        New<CLevelActionEnableObjects>, New<CLevelActionDisableObjects>,   New<CLevelActionHideObjects>,
        New<CLevelActionShowObjects>,   New<CLevelActionSetScenePhase>,    New<CLevelActionTooltipEvent>,
        New<CLevelActionShowTooltips>,  New<CLevelActionHideTooltips>,     New<CLevelActionMarkObjects>,
        New<CLevelActionSetSwitchObjects>,
    };
    return std::unique_ptr<CLevelAction>(kMakers[static_cast<uint8_t>(kind)](data));
}

namespace {

constexpr uint16_t kTooltipTableBit = 0x8000;

void Change(ScenePart* part, uint32_t set, uint32_t clear)
{
    if (part)
        part->flags = (part->flags | set) & ~clear;
}

} // namespace

CLevelHost* CLevelWorldAction::World() const
{
    return m_pWorldData && m_pWorldData->gameData ? m_pWorldData->gameData->m_pLevelHost : nullptr;
}

void CLevelWorldAction::LogSkipped(uint16_t element) const
{
    if (m_pWorldData)
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevelAction::Apply skipped! invalid reference (0x%04x)\n",
                  static_cast<uint32_t>(element));
}

ScenePart* CLevelWorldAction::ScenePartOf(uint32_t scene, uint32_t part, bool anyType) const
{
    CLevelHost* world = World();
    CGameLevel* level = world ? world->GetScene(scene) : nullptr;
    if (level && !anyType && level->GetType() != kLevelTypeHiddenObject)
        return nullptr;
    ScenePart* found = level ? level->GetPart(part) : nullptr;
    if (!found)
        LogSkipped(static_cast<uint16_t>(scene << 8 | part));
    return found;
}

CGameTooltip* CLevelWorldAction::TooltipOf(uint32_t tooltip) const
{
    CLevelHost* world = World();
    CGameTooltip* found = world ? world->GetTooltip(tooltip) : nullptr;
    if (!found)
        LogSkipped(static_cast<uint16_t>(tooltip));
    return found;
}

ScenePart* CLevelWorldAction::TooltipPartOf(uint32_t tooltip, uint32_t part) const
{
    CGameTooltip* found = TooltipOf(tooltip);
    ScenePart* result = found ? found->GetPart(part) : nullptr;
    if (found && !result)
        LogSkipped(static_cast<uint16_t>(kTooltipTableBit | tooltip << 8 | part));
    return result;
}

Result CLevelObjectAction::Apply(int32_t)
{
    for (uint8_t i = 0; i < m_nCount; ++i) {
        const uint16_t element = GetElement(i);
        const uint32_t index = (element >> 8) & 0x7F;
        const uint32_t part = element & 0xFF;
        if (element & kTooltipTableBit)
            Change(TooltipPartOf(index, part), m_masks.tooltipSet, m_masks.tooltipClear);
        else
            Change(ScenePartOf(index, part, false), m_masks.sceneSet, m_masks.sceneClear);
    }
    return RES_OK;
}

Result CLevelScenePairAction::Apply(int32_t)
{
    for (uint8_t i = 0; i < m_nCount; ++i) {
        const uint16_t element = GetElement(i);
        Change(ScenePartOf(element >> 8, element & 0xFF, true), m_nSet, 0);
    }
    return RES_OK;
}

Result CLevelActionSetScenePhase::Apply(int32_t)
{
    CLevelHost* world = World();
    for (uint8_t i = 0; i < m_nCount; ++i) {
        const uint16_t element = GetElement(i);
        CGameLevel* level = world ? world->GetScene(element >> 8) : nullptr;
        if (level && level->GetRecord(element & 0xFF))
            level->SetCurrentRecord(element & 0xFF);
        else
            LogSkipped(element);
    }
    return RES_OK;
}

Result CLevelActionTooltipEvent::Apply(int32_t argument)
{
    if (argument == -1)
        return RES_FAIL;
    for (uint8_t i = 0; i < m_nCount; ++i) {
        const uint16_t element = GetElement(i);
        if (CGameTooltip* tooltip = TooltipOf(element >> 8))
            tooltip->OnObjectEvent(static_cast<uint32_t>(argument), element & 0xFF);
    }
    return RES_OK;
}

Result CLevelActionShowTooltips::Apply(int32_t)
{
    for (uint8_t i = 0; i < m_nCount; ++i) {
        if (TooltipOf(GetElement(i)))
            World()->ShowTooltip(static_cast<uint8_t>(GetElement(i)));
    }
    return RES_OK;
}

Result CLevelActionHideTooltips::Apply(int32_t)
{
    for (uint8_t i = 0; i < m_nCount; ++i) {
        if (TooltipOf(GetElement(i)))
            World()->HideTooltip(static_cast<uint8_t>(GetElement(i)));
    }
    return RES_OK;
}
