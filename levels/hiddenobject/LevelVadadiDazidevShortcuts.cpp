#include "game/GameTooltip.h"
#include "game/LevelHost.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"

namespace {

constexpr uint32_t kCollectionState = 2;

bool IsOpen(const ScenePart& part)
{
    return (part.flags & (kPartClickable | kPartWaiting)) == kPartClickable;
}

} // namespace

// A search state is found whole and finishes; with control, the one arrow left is taken.
void CLevelVadadiDazidev::OnKeyShortcuts(bool control)
{
    CLevelHost* world = World();
    const uint32_t state = m_nSceneState;
    if (state < kSearchStateCount) {
        for (uint32_t n = 0; n < m_nPartCount; ++n) {
            ScenePart& part = m_pParts[n];
            if (part.phase != state || !IsOpen(part))
                continue;
            part.flags = ((part.flags | kPartWaiting) ^ kPartDrawn) & ~(kPartFadingIn | kPartFadingOut);
            for (uint32_t t = 0; state == kCollectionState && world && t < world->GetTooltipCount(); ++t) {
                if (CGameTooltip* tooltip = world->GetTooltip(t))
                    tooltip->OnObjectEvent(m_nId, n);
            }
        }
        IgnoreResult(AdvanceSceneState(false));
        if (state == kCollectionState)
            CheckTooltips();
    }
    if (control)
        TakeOnlyArrow();
}

void CLevelVadadiDazidev::TakeOnlyArrow()
{
    uint32_t arrow = kNoPart;
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        if (m_pParts[n].phase != kPhaseArrows || !IsOpen(m_pParts[n]))
            continue;
        if (arrow != kNoPart)
            return;
        arrow = n;
    }
    for (uint32_t n = 0; arrow != kNoPart && n < m_nPairCount; ++n) {
        if (m_pPairs[n].part == arrow) {
            FinishSceneChange(static_cast<int32_t>(m_pPairs[n].targetScene));
            return;
        }
    }
}
