#include <algorithm>

#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "platform/win32/Win32Window.h"

// The developer keys (only with the developer switch) and the developer shortcut.

namespace {

constexpr float kSpeedStep = 0.2f;
// The play time the finishing key gives the current record.
constexpr uint8_t kFinishHours = 12;
constexpr uint8_t kFinishMinutes = 34;
constexpr float kFinishUnits = 56.0f;
constexpr WPARAM kFinishKey = 0xDE;

bool IsHeld(int key)
{
    return GetKeyState(key) < 0;
}

} // namespace

void CVadadiDazidevWorld::OnDeveloperKey(WPARAM key)
{
    const int code = static_cast<int>(key);
    if (code >= VK_F1 && code <= VK_F12)
        return OnFunctionKey(static_cast<uint32_t>(code - VK_F1 + 1));
    if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) {
        if (!IsHeld(VK_CONTROL))
            return;
        if (code == VK_NUMPAD0) {
            IgnoreResult(LoadLanguage(m_GameData.m_nLanguage));
        } else if (IsLanguageAvailable(static_cast<uint32_t>(code - VK_NUMPAD0 - 1))) {
            IgnoreResult(LoadLanguage(static_cast<uint32_t>(code - VK_NUMPAD0 - 1)));
        }
        return;
    }
    switch (code) {
    case VK_ESCAPE:
        if (m_nState >= GS_LOGO_1 && m_nState <= GS_LOGO_4) {
            SetState(m_nState + 1, 1);
        } else if (m_nState == GS_MAIN_MENU) {
            if (m_pMenuDialog)
                m_pMenuDialog->Back(false);
        } else if (m_nState != GS_INGAME_POPUP) {
            LeaveToMainMenu();
        }
        return;
    case VK_UP:
        return SetDisplayOrientation(kOrientationNormal);
    case VK_DOWN:
        return SetDisplayOrientation(kOrientationHalfTurn);
    case VK_RIGHT:
        return SetDisplayOrientation(kOrientationQuarterRight);
    case VK_LEFT:
        return SetDisplayOrientation(kOrientationQuarterLeft);
    default:
        if (key != kFinishKey)
            return OnSpeedKey(key);
        if (m_GameData.m_nMode != kModeNone) {
            CProfileProgress& record = m_GameData.Progress(m_GameData.m_nMode, m_GameData.m_nSlot);
            record.m_nPlayHours = kFinishHours;
            record.m_nPlayMinutes = kFinishMinutes;
            record.m_fPlayUnits = kFinishUnits;
            OnGameFinished(0);
        }
        return;
    }
}

void CVadadiDazidevWorld::OnSpeedKey(WPARAM key)
{
    switch (static_cast<int>(key)) {
    case VK_MULTIPLY:
        m_fSpeedFactor = 1.0f;
        break;
    case VK_ADD:
        m_fSpeedFactor += kSpeedStep;
        break;
    case VK_SUBTRACT:
        // A negative speed would run every fade backwards for good.
        m_fSpeedFactor = std::max(0.0f, m_fSpeedFactor - kSpeedStep);
        break;
    case VK_DIVIDE:
        m_fSpeedFactor = 0.0f;
        break;
    default:
        break;
    }
}

void CVadadiDazidevWorld::OnFunctionKey(uint32_t n)
{
    switch (n) {
    case 1:
        m_pData->wireframe = m_pData->wireframe ? 0 : 1;
        break;
    case 2:
        m_GameData.m_bDebugCollision = m_GameData.m_bDebugCollision ? 0 : 1;
        break;
    case 3:
        m_GameData.m_bOverlayLevelList = m_GameData.m_bOverlayLevelList ? 0 : 1;
        break;
    case 4:
        OnKeyShortcuts();
        break;
    case 5:
        StartSceneIntroStep(1);
        break;
    case 6:
        m_GameData.m_bOverlay = m_GameData.m_bOverlay ? 0 : 1;
        break;
    case 7:
        OpenInGameMenu();
        break;
    case 8:
        m_GameData.m_fMusicVolume = m_GameData.m_fMusicVolume == 0.0f ? 1.0f : 0.0f;
        ApplyMusicVolume();
        break;
    case 9:
        ReloadSavedGame(!IsHeld(VK_CONTROL));
        break;
    case 11:
        ReloadSavedGame(false);
        break;
    default:
        break;
    }
}

void CVadadiDazidevWorld::ReloadSavedGame(bool save)
{
    const uint32_t mode = m_GameData.m_nMode;
    if (mode == kModeNone)
        return;
    if (save)
        IgnoreResult(SaveProfile(m_GameData.m_nSlot, mode));
    IgnoreResult(LoadProfileSlot(mode, m_GameData.m_nSlot, true));
    GoToScene(m_nCurrentScene);
    SetState(GS_NONE, 0);
}

void CVadadiDazidevWorld::SetDisplayOrientation(uint32_t orientation)
{
    C3DCamera* camera = m_p3DEngine ? m_p3DEngine->GetCamera() : nullptr;
    if (!camera || camera->GetOrientation() == orientation)
        return;
    if (orientation == kOrientationNormal || orientation == kOrientationHalfTurn)
        IgnoreResult(camera->SetOrientation(orientation));
}

void CVadadiDazidevWorld::OnKeyShortcuts()
{
    std::unique_ptr<CPopupText>* popup = nullptr;
    if (m_nState == GS_INGAME_POPUP)
        popup = &m_pPopupIngame;
    else if (m_nState == GS_SCENE_INTRO_TEXT)
        popup = &m_pPopupWaiting;
    else if (m_nState == GS_SCENE_MODAL)
        popup = &m_pPopupTuto;
    if (popup && !IsHeld(VK_SHIFT)) {
        if (*popup)
            (*popup)->Clear();
        SetState(GS_IN_GAME, 0);
    } else if (m_nState == GS_IN_GAME) {
        if (CGameLevel* level = GetCurrentLevel())
            level->OnKeyShortcuts(IsHeld(VK_CONTROL));
    }
}
