#include "core/FrameTimer.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/states/StateScreens.h"
#include "game/widgets/TouchScreen.h"

// The draw pass: the current state's screen, then the end of the pass (pending state, fader,
// touch markers, focus cover).

namespace {

constexpr uint8_t kFullAlpha = 255;

} // namespace

Result CVadadiDazidevWorld::Render()
{
    const uint32_t state = m_nState;
    RenderState();
    if (m_pScreenshot && m_nPendingState == GS_NONE)
        IgnoreResult(m_pScreenshot->Render());
    else if (m_nPendingState != GS_NONE) {
        if (m_pScreenshot)
            IgnoreResult(m_pScreenshot->StartFade(0, 0, 0, 0));
        ApplyPendingState();
    }
    if (m_pTouchScreen)
        IgnoreResult(m_pTouchScreen->Render());
    if (state == GS_LOAD_OUTRO_SCREEN && m_pPopupIngame) {
        if (m_pScreenshot)
            m_pScreenshot->StopFade();
        m_pPopupIngame->DrawBackdrop(true, true, false);
        IgnoreResult(m_pPopupIngame->Render());
        RenderNavButtons();
    }
    if (!m_pData->hasFocus && m_pBackground) {
        IgnoreResult(m_pBackground->DrawBackground(kFullAlpha));
        IgnoreResult(m_pBackground->DrawBackground(kFullAlpha));
    }
    if (m_GameData.m_bDebugKeys && m_GameData.m_bOverlay && m_nState == GS_IN_GAME)
        DrawDeveloperOverlay();
    return RES_OK;
}

void CVadadiDazidevWorld::RenderState()
{
    if (CGameScreen* screen = m_pScreens->ScreenOf(m_nState))
        screen->Render();
}

// The folded tooltips last, so that they lie on top.
void CVadadiDazidevWorld::DrawTooltips()
{
    for (const bool folded : {false, true}) {
        for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
            CGameTooltip* tooltip = GetTooltip(i);
            if (tooltip && (tooltip->GetSlideState() == kTooltipFolded) == folded)
                tooltip->Draw();
        }
    }
}

void CVadadiDazidevWorld::DrawBackdrop()
{
    if (m_pScreenshot)
        IgnoreResult(m_pScreenshot->Show());
}

void CVadadiDazidevWorld::Resync()
{
    if (m_pTimerFactor)
        IgnoreResult(m_pTimerFactor->Tick());
    m_bIgnoreMouse = 1;
}
