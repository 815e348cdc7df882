#include "levels/actions/LevelActions.h"

#include <new>

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
