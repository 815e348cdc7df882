#include <algorithm>

#include "base/WideString.h"
#include "core/FrameTimer.h"
#include "game/GameTimer.h"
#include "game/VadadiDazidevWorld.h"
#include "game/states/StateScreens.h"
#include "game/widgets/Hint.h"
#include "game/widgets/TouchScreen.h"
#include "platform/win32/Win32Window.h"

// The game's state machine: state requests, scene queueing, the flow operations and the frame
// update.

namespace {

constexpr float kFramesPerSecond = 30.0f;

bool IsSceneChangeState(uint32_t state)
{
    return state >= GS_SCENE_CHANGE && state <= GS_INGAME_POPUP;
}

float PointerAxis(float position, uint16_t size)
{
    if (size == 0)
        return 0.0f;
    return std::clamp(-2.0f * (position / size - 0.5f), -1.0f, 1.0f);
}

} // namespace

void CVadadiDazidevWorld::SetState(uint32_t state, uint8_t deferred)
{
    if (m_GameData.m_bDebugKeys && GetKeyState(VK_CONTROL) < 0)
        deferred = 0;
    if (deferred) {
        m_nPendingState = state;
    } else {
        m_nPreviousState = m_nState;
        m_nState = state;
    }
    m_nLevelBusy = 0;
    m_nTooltipBusy = 0;
    m_pData->mouseDown[0] = 0;
    m_pData->mouseReleased[0] = 0;
}

void CVadadiDazidevWorld::ApplyPendingState()
{
    m_nPreviousState = m_nState;
    m_nState = m_nPendingState;
    m_nPendingState = 0;
    if ((m_nPreviousState == GS_CREDITS || m_nPreviousState == GS_LEGALS) && m_nState != m_nPreviousState)
        FreeTextPages();
}

void CVadadiDazidevWorld::GoToScene(uint32_t scene)
{
    CGameLevel* current = GetCurrentLevel();
    if (current && !(scene == m_nCurrentScene && m_nSceneArgument == kNoIndex))
        current->OnLeave();
    m_nNextScene = scene;
}

void CVadadiDazidevWorld::ReloadSceneWithArgument(uint32_t record)
{
    m_nSceneArgument = record;
    GoToScene(m_nCurrentScene);
}

Result CVadadiDazidevWorld::StartNewGame(uint32_t mode)
{
    const uint32_t before = m_GameData.m_nMode;
    m_GameData.m_nMode = mode;
    if (Failed(OnLoadVirginProfile(mode, m_GameData.m_nSlot))) {
        m_GameData.m_nMode = before;
        return RES_FAIL;
    }
    if (m_pHint)
        m_pHint->EmptyTimer();
    GoToScene(0);
    return RES_OK;
}

Result CVadadiDazidevWorld::ContinueGame(uint32_t mode)
{
    const uint32_t before = m_GameData.m_nMode;
    const uint32_t scenes[3] = {m_nCurrentScene, m_nNextScene, m_nSceneArgument};
    m_GameData.m_nMode = mode;
    if (Failed(LoadProfileSlot(mode, m_GameData.m_nSlot, true))) {
        // A file refused part-way must not leave a level queued with half its state.
        m_GameData.m_nMode = before;
        m_nCurrentScene = scenes[0];
        m_nNextScene = scenes[1];
        m_nSceneArgument = scenes[2];
        return RES_FAIL;
    }
    GoToScene(m_nCurrentScene);
    return RES_OK;
}

void CVadadiDazidevWorld::TellGameUnreadable(uint32_t mode)
{
    if (mode < kProfileModeCount) {
        CProfileProgress& record = m_GameData.Progress(mode, m_GameData.m_nSlot);
        ResetProgressRecord(record, m_nSceneCount);
    }
    if (m_pMenuDialog)
        m_pMenuDialog->ShowNotice(kPageGameUnreadable, kPagePlay);
}

// The finished record is saved at once with what the last level gave (its hints), as a scene
// switch saves the game.
void CVadadiDazidevWorld::OnGameFinished(uint8_t skip)
{
    const uint32_t mode = m_GameData.m_nMode, slot = m_GameData.m_nSlot;
    if (!skip && mode != kModeNone) {
        MarkGameFinished();
        if (mode < kProfileModeCount && slot < kProfileSlotCount && m_GameData.Progress(mode, slot).m_bInUse &&
            !m_GameData.m_bDebugKeys)
            IgnoreResult(SaveProfile(slot, mode));
    }
    SetState(GS_GAME_FINISHED, 1);
}

void CVadadiDazidevWorld::ChangeLanguage(uint32_t language)
{
    m_nPendingLanguage = language;
    SetState(GS_CHANGE_LANGUAGE, 1);
}

void CVadadiDazidevWorld::ShowLevelMessage()
{
    SetState(GS_LEVEL_MESSAGE, 1);
}

void CVadadiDazidevWorld::OpenInGameMenu()
{
    SetState(GS_INGAME_MENU, 1);
}

void CVadadiDazidevWorld::LeaveToMainMenu()
{
    const uint32_t mode = m_GameData.m_nMode;
    if (mode < kProfileModeCount && m_GameData.Progress(mode, m_GameData.m_nSlot).m_bInUse)
        IgnoreResult(SaveProfile(m_GameData.m_nSlot, mode));
    ShowMenuPage(kPageMain);
    SetState(GS_FADE_TO_LOADING, 1);
}

void CVadadiDazidevWorld::LeaveToProfileMenu()
{
    ShowMenuPage(kPagePlay);
    SetState(GS_FADE_TO_LOADING, 1);
}

void CVadadiDazidevWorld::Quit()
{
    OpenWebLink(nullptr);
    PostQuitMessage(0);
}

void CVadadiDazidevWorld::StartSceneIntroStep(uint8_t direct)
{
    if (m_GameData.m_bDebugKeys && !direct)
        return OnKeyShortcuts();
    if (CGameLevel* level = GetCurrentLevel()) {
        level->BeginModal();
        SetState(GS_SCENE_MODAL, 1);
    }
}

bool CVadadiDazidevWorld::IsFadeOver() const
{
    return !m_pScreenshot || m_pScreenshot->GetAlpha() == 0.0f;
}

void CVadadiDazidevWorld::StorePointerVector()
{
    m_GameData.m_vPointerOffset = {PointerAxis(m_pData->pointerX, m_pData->workingWidth),
                                   PointerAxis(m_pData->pointerY, m_pData->workingHeight), 0.0f};
}

Result CVadadiDazidevWorld::Update()
{
    if (!m_pData->hasFocus) {
        if (m_pTimerFactor)
            IgnoreResult(m_pTimerFactor->Tick());
        return RES_OK;
    }
    m_pData->frameFactor *= m_fSpeedFactor;
    IgnoreResult(CWorld::Update());
    m_bIgnoreMouse = 0;
    if (m_nState == GS_IN_GAME) {
        StepCamera(IsFadeOver());
    } else {
        // A wheel turn or zoom request outside the game is not kept for its return.
        m_fWheelStep = 0.0f;
        m_bZoomToggle = 0;
    }
    UpdateViewMatrices();
    const float abuseWindow = m_GameData.m_fIsAbusingUnderSeconds * kFramesPerSecond;
    m_fAbuseTimer = std::min(abuseWindow, m_fAbuseTimer + static_cast<float>(m_pData->frameFactor));
    if (m_pScreenshot)
        IgnoreResult(m_pScreenshot->Process());
    if (m_pTouchScreen)
        IgnoreResult(m_pTouchScreen->Process());
    UpdateState();
    if (m_nNextScene != kNoIndex && m_nPendingState == 0 && !IsSceneChangeState(m_nState) && IsFadeOver()) {
        if (m_pBackground)
            m_pBackground->RandomizeLoadingIcons();
        SetState(GS_SCENE_CHANGE, 1);
    }
    return RES_OK;
}

void CVadadiDazidevWorld::UpdateState()
{
    if (CGameScreen* screen = m_pScreens->ScreenOf(m_nState))
        screen->Update();
}
