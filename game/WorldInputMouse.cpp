#include <cmath>

#include "game/GameTooltip.h"
#include "game/VadadiDazidevWorld.h"
#include "game/widgets/Hint.h"
#include "game/widgets/InertiaPosition.h"
#include "game/widgets/Toolbar.h"
#include "game/widgets/TouchScreen.h"

// The pointer reactions: presses, drags, clicks and their routing, the click-abuse count and
// the wheel.

namespace {

constexpr float kClickDistance = 3.0f;
constexpr float kFramesPerSecond = 30.0f;
constexpr uint32_t kSceneStateCompleting = 7;
constexpr uint32_t kSceneStateTargets = 6;

bool IsLogoState(uint32_t state)
{
    return state >= GS_LOGO_1 && state <= GS_LOGO_4;
}

bool IsScrollingState(uint32_t state)
{
    return state == GS_CREDITS || state == GS_LEGALS;
}

} // namespace

Result CVadadiDazidevWorld::OnMouseLeftDown(float x, float y, float)
{
    m_vLastMouse = m_vPressPoint = {x, y};
    m_bPressTaken = m_nState == GS_IN_GAME ? 1 : 0;
    if (m_nState == GS_IN_GAME)
        StopCameraMove();
    if (m_nPendingState == GS_NONE && IsLogoState(m_nState) && m_pBackground)
        m_pBackground->ResetLogoTimer();
    if (m_nState == GS_IN_GAME) {
        if (m_pTouchScreen)
            m_pTouchScreen->Touch(x, y, false);
        CGameLevel* level = GetCurrentLevel();
        if (level && level->IsDragEnabled())
            IgnoreResult(level->OnPress(x, y));
    }
    if (IsScrollingState(m_nState) && m_Scroll.m_pInertia)
        IgnoreResult(m_Scroll.m_pInertia->Begin(x, y));
    return RES_FAIL;
}

Result CVadadiDazidevWorld::OnMouseMove(float x, float y, float)
{
    if (!m_pData->mouseDown[0])
        return RES_FAIL;
    const Vector2 delta = {x - m_vLastMouse.x, y - m_vLastMouse.y};
    m_vLastMouse = {x, y};
    if (IsTooltipOut())
        return RES_FAIL;
    CGameLevel* level = GetCurrentLevel();
    if (m_nState == GS_IN_GAME && m_nPendingState == GS_NONE && level) {
        const float sign = level->IsCameraDraggable() ? -1.0f : 1.0f;
        m_vCamera.x += sign * delta.x;
        m_vCamera.y += sign * delta.y;
    }
    if (IsScrollingState(m_nState)) {
        m_Scroll.m_fOffset += delta.y;
        if (m_Scroll.m_pInertia)
            IgnoreResult(m_Scroll.m_pInertia->Move(x, y));
    }
    if (m_nState == GS_IN_GAME) {
        if (m_pTouchScreen)
            m_pTouchScreen->Touch(x, y, false);
        if (level && level->IsDragEnabled())
            IgnoreResult(level->OnDrag(x, y, std::hypot(delta.x, delta.y)));
    }
    return RES_FAIL;
}

Result CVadadiDazidevWorld::OnMouseLeftUp(float x, float y, float)
{
    const float distance = std::hypot(x - m_vPressPoint.x, y - m_vPressPoint.y);
    m_vLastMouse = {};
    // A press that was dropped, or taken in another state, leaves no click and no drag.
    const bool pressed = m_bPressTaken != 0;
    m_bPressTaken = 0;
    if (m_nState == GS_IN_GAME) {
        CGameLevel* level = GetCurrentLevel();
        if (pressed && distance < kClickDistance && m_nPendingState == GS_NONE)
            RouteClick(x, y);
        else if (pressed && distance > kClickDistance && level && level->IsDragEnabled())
            IgnoreResult(level->OnRelease(x, y));
    } else if (IsScrollingState(m_nState) && m_Scroll.m_pInertia) {
        IgnoreResult(m_Scroll.m_pInertia->End(x, y));
    }
    return RES_FAIL;
}

void CVadadiDazidevWorld::RouteClick(float x, float y)
{
    CGameLevel* level = GetCurrentLevel();
    // The glow only fades: the click goes on, to the object the hint points at too.
    if (m_pHint)
        m_pHint->FadeOut();
    // A page of the level over the scene (the quiz) hides the widgets under it: only the level
    // hears the click, and no tooltip folds away unseen.
    if (!(level && level->IsSceneOptionSet()) && RouteClickToWidgets(level, x, y))
        return;
    if (!level)
        return;
    const Result result = level->OnClick(x, y);
    if (level->GetType() == kLevelTypeHiddenObject)
        CountClick(*level, result);
}

bool CVadadiDazidevWorld::RouteClickToWidgets(CGameLevel* level, float x, float y)
{
    const bool toolbarHidden = level && level->IsToolbarHidden();
    if (!toolbarHidden && Succeeded(OnToolbarClick(x, y)))
        return true;
    if (!(level && level->IsPlayerHelpLocked()) && m_pHint && Succeeded(m_pHint->TryUseHint())) {
        if (level)
            level->UseHint();
        return true;
    }
    if (!toolbarHidden && m_pToolbar) {
        m_pToolbar->SetMenubarActions(&m_MenubarHandler);
        if (Succeeded(m_pToolbar->OnMenubarClick())) {
            if (m_pMenuDialog)
                m_pMenuDialog->PlayClickSound();
            return true;
        }
    }
    return !(level && level->IsToolbarHeightIgnored()) && m_pToolbar && m_pToolbar->IsPointOnBars();
}

void CVadadiDazidevWorld::CountClick(CGameLevel& level, Result result)
{
    const float window = m_GameData.m_fIsAbusingUnderSeconds * kFramesPerSecond;
    const uint32_t sceneState = level.GetSceneState();
    if (Succeeded(result) || sceneState == kSceneStateCompleting || level.IsClickPenaltyFree()) {
        m_nMisses = 1;
        m_fAbuseTimer = window;
        return;
    }
    if (sceneState == kSceneStateTargets || !(m_fAbuseTimer < window)) {
        m_nMisses = 1;
        m_fAbuseTimer = 0.0f;
        return;
    }
    if (m_nMisses < UINT8_MAX)
        ++m_nMisses;
    if (m_nMisses >= m_GameData.m_nAbuseOverClick) {
        m_fPenaltyTime = m_GameData.m_fAbuseSecondsShowed * kFramesPerSecond;
        SetState(GS_ABUSE_PENALTY, 1);
    }
}

CGameTooltip* CVadadiDazidevWorld::TooltipAt(uint32_t n) const
{
    return m_pTooltips && n < m_nTooltipCount ? dynamic_cast<CGameTooltip*>(m_pTooltips[n].get()) : nullptr;
}

bool CVadadiDazidevWorld::IsTooltipOut() const
{
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        const CGameTooltip* tooltip = TooltipAt(i);
        if (tooltip && !tooltip->IsHidden() && tooltip->GetSlideState() != kTooltipFolded)
            return true;
    }
    return false;
}

Result CVadadiDazidevWorld::OnToolbarClick(float x, float y)
{
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        CGameTooltip* tooltip = TooltipAt(i);
        if (tooltip && !tooltip->IsHidden() && tooltip->GetSlideState() == kTooltipShown) {
            tooltip->PlayStepSound();
            tooltip->SetSlideState(kTooltipFolding);
            return RES_OK;
        }
    }
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        CGameTooltip* tooltip = TooltipAt(i);
        if (tooltip && Succeeded(tooltip->OnClick(x, y)))
            return RES_OK;
    }
    return RES_FAIL;
}

void CVadadiDazidevWorld::OnMouseWheel(float step)
{
    if (m_nState == GS_IN_GAME)
        StopCameraMove();
    if (!IsZoomLocked() && m_nState > GS_MAIN_MENU && m_nState != GS_ABUSE_PENALTY && m_nPendingState == GS_NONE)
        m_fWheelStep = step;
}

void CVadadiDazidevWorld::RequestZoomToggle()
{
    if (m_nState > GS_MAIN_MENU && m_nState != GS_ABUSE_PENALTY && m_nPendingState == GS_NONE)
        m_bZoomToggle = 1;
}
