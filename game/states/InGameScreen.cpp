#include "game/states/InGameScreen.h"

#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/HiddenObjectScene.h"
#include "game/LevelRecord.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"

namespace {

constexpr float kFramesPerSecond = 30.0f;
constexpr uint32_t kModeTimed = 1;
constexpr uint8_t kFullAlpha = 255;

} // namespace

void CInGameScreen::Update()
{
    CVadadiDazidevWorld& world = m_world;
    switch (world.m_nState) {
    case GS_IN_GAME: return UpdateLevel();
    case GS_ABUSE_PENALTY: return UpdatePenalty();
    case GS_LEVEL_MESSAGE:
        world.ShowNavButtons(false, false, true);
        if (world.ClickedButton() == kPopupButtonNext) {
            world.m_pMenuDialog->PlayClickSound();
            world.SetState(GS_IN_GAME, 1);
        }
        return;
    case GS_INGAME_MENU:
        world.ShowNavButtons(false, false, true);
        if (world.m_pMenuDialog)
            world.m_pMenuDialog->OnUpdate();
        return;
    default:
        return;
    }
}

void CInGameScreen::Render()
{
    CVadadiDazidevWorld& world = m_world;
    switch (world.m_nState) {
    case GS_IN_GAME: return RenderLevel();
    case GS_LEVEL_MESSAGE: return RenderLevelMessage();
    case GS_ABUSE_PENALTY:
        world.DrawBackdrop();
        if (world.m_pBackground)
            IgnoreResult(world.m_pBackground->DrawAbuseFlash());
        return;
    case GS_INGAME_MENU: return RenderInGameMenu();
    default: return;
    }
}

void CInGameScreen::UpdateLevel()
{
    CVadadiDazidevWorld& world = m_world;
    UpdateLevelObjects();
    if (CGameLevel* level = world.GetCurrentLevel()) {
        level->PreUpdate();
        world.m_nLevelBusy = static_cast<uint32_t>(level->Update());
        level->PostUpdate();
        if (level->PeekPopup() == kNoPopup) {
            if (world.m_pToolbar)
                IgnoreResult(world.m_pToolbar->Process());
            StepHint(*level);
        }
    }
    world.AddPlayTime(world.m_GameData.m_nMode, world.m_GameData.m_nSlot);
}

void CInGameScreen::UpdatePenalty()
{
    CVadadiDazidevWorld& world = m_world;
    world.m_fPenaltyTime -= static_cast<float>(world.m_pData->frameFactor);
    if (world.m_fPenaltyTime < 0.0f) {
        world.m_nMisses = 1;
        world.m_fPenaltyTime = 0.0f;
        world.m_fAbuseTimer = world.m_GameData.m_fIsAbusingUnderSeconds * kFramesPerSecond;
        world.SetState(GS_IN_GAME, 1);
    }
    world.AddPlayTime(world.m_GameData.m_nMode, world.m_GameData.m_nSlot);
}

void CInGameScreen::UpdateLevelObjects()
{
    CVadadiDazidevWorld& world = m_world;
    world.m_nTooltipBusy = 0;
    for (uint32_t i = 0; i < world.m_nTooltipCount; ++i) {
        CGameTooltip* tooltip = world.GetTooltip(i);
        const Result busy = tooltip ? tooltip->Update() : RES_OK;
        if (busy != RES_OK)
            world.m_nTooltipBusy = static_cast<uint32_t>(busy);
    }
    if (CGameLevel* level = world.GetCurrentLevel()) {
        level->UpdateEffects();
        level->UpdateStars();
    }
    CGameTimer* timer = world.GetTimer();
    if (timer && timer->Update() == kTimerRanOut && world.m_GameData.m_nMode == kModeTimed)
        world.OnTimeUp();
}

void CInGameScreen::StepHint(CGameLevel& level)
{
    CHint* hint = m_world.m_pHint.get();
    if (!hint)
        return;
    hint->ProcessGlow();
    if (!level.IsHintRechargePaused())
        hint->Recharge();
}

void CInGameScreen::RenderLevel()
{
    CVadadiDazidevWorld& world = m_world;
    CGameLevel* level = world.GetCurrentLevel();
    if (level) {
        level->Render();
        RenderLevelOverlay(*level);
    }
    RenderWidgets(level);
    if (world.m_nLevelBusy == 0 && world.m_nTooltipBusy == 0 && world.m_nPendingState != GS_SCENE_MODAL) {
        world.m_nPreviousState = GS_NONE;
        const bool shown = Succeeded(world.ShowNextPopup(GS_INGAME_POPUP));
        if (level && !RenderSceneQuiz(*level, shown) && !shown)
            OfferFirstVisitIntro(*level);
    }
}

void CInGameScreen::RenderLevelOverlay(CGameLevel& level)
{
    CVadadiDazidevWorld& world = m_world;
    level.RenderStar();
    CGameTimer* timer = world.GetTimer();
    if (!timer || world.m_GameData.m_nMode != kModeTimed)
        return;
    timer->Render();
    if (world.m_pMenuDialog && Succeeded(world.RenderTimerBadge(*world.m_pMenuDialog, timer->GetAlpha()))) {
        world.m_pMenuDialog->PlayClickSound();
        world.OnTimeUp();
    }
    timer->DrawText();
}

bool CInGameScreen::RenderSceneQuiz(CGameLevel& level, bool popupShown)
{
    auto* scene = level.GetType() == kLevelTypeHiddenObject ? dynamic_cast<CHiddenObjectScene*>(&level) : nullptr;
    if (!scene || level.GetSceneState() != kSceneStateQuiz)
        return false;
    if (!popupShown && m_world.m_nPendingState == GS_NONE && m_world.IsFadeOver())
        scene->StepQuiz();
    else if (m_world.m_pBackground)
        IgnoreResult(m_world.m_pBackground->DrawBackground(kFullAlpha));
    return true;
}

void CInGameScreen::OfferFirstVisitIntro(CGameLevel& level)
{
    CGameData& game = m_world.m_GameData;
    const uint32_t mode = game.m_nMode, slot = game.m_nSlot, visit = level.GetFirstVisitIndex();
    if (mode >= kProfileModeCount || slot >= kProfileSlotCount || visit >= sizeof(CProfileProgress::m_FirstVisit) ||
        level.IsToolbarHidden())
        return;
    uint8_t& seen = game.Progress(mode, slot).m_FirstVisit[visit];
    if (seen == 0) {
        seen = 1;
        m_world.StartSceneIntroStep(1);
    }
}

void CInGameScreen::RenderWidgets(CGameLevel* level)
{
    CVadadiDazidevWorld& world = m_world;
    if (world.m_pHint)
        world.m_pHint->RenderGlow();
    if (world.m_pToolbar && !(level && level->IsToolbarHeightIgnored())) {
        world.m_pToolbar->RenderToolbarStrip();
        world.m_pToolbar->RenderItems();
    }
    if (level && level->IsToolbarHidden())
        return;
    if (world.m_pToolbar)
        world.m_pToolbar->RenderMenubar();
    if (world.m_pHint)
        world.m_pHint->RenderAt(0.0f);
    world.DrawTooltips();
}

void CInGameScreen::RenderLevelMessage()
{
    CVadadiDazidevWorld& world = m_world;
    world.DrawBackdrop();
    if (world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawBackground(kFullAlpha));
    if (CGameLevel* level = world.GetCurrentLevel())
        level->RenderMessage();
    world.RenderNavButtons();
}

// The dialog's own step and drawing under the next button, which leads back to the game.
void CInGameScreen::RenderInGameMenu()
{
    CVadadiDazidevWorld& world = m_world;
    if (world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawBackground(kFullAlpha));
    if (CMenuDialog* dialog = world.m_pMenuDialog.get()) {
        IgnoreResult(dialog->Process());
        IgnoreResult(dialog->Render());
    }
    world.RenderNavButtons();
    if (world.ClickedButton() == kPopupButtonNext) {
        world.m_pMenuDialog->PlayClickSound();
        world.SetState(GS_IN_GAME, 1);
    }
}
