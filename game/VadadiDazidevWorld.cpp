#include "game/VadadiDazidevWorld.h"

#include <cmath>

#include "core/Log.h"
#include "game/SystemLanguage.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr uint32_t kFirstTutorialStep = 33;

bool IsPointerMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

// What the default window procedure acts on: Alt+F4 becomes the close command, and that the close.
bool IsLeftToTheSystem(UINT message)
{
    return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCOMMAND || message == WM_CLOSE;
}

WORD ScaleCoordinate(WORD value, float factor)
{
    if (!(factor > 0.0f))
        return value;
    return static_cast<WORD>(std::floor(static_cast<float>(value) / factor));
}

} // namespace

CVadadiDazidevWorld::CVadadiDazidevWorld() : m_GameData()
{
    m_GameData.m_pWorld = this;
    if (m_pData) {
        m_pData->gameData = &m_GameData;
        m_pData->sceneGameData = &m_GameData;
    }
    m_GameData.m_nBrightness = kBrightnessUnset;
    m_GameData.m_nLanguage = GetSystemLanguage();
    m_GameData.m_nSlot = 0;
    m_GameData.m_fMusicVolume = 1.0f;
    m_GameData.m_fSoundVolume = 1.0f;
    m_GameData.m_nTutorialStep = kFirstTutorialStep;
    m_GameData.m_bTutorial = 1;
    m_GameData.m_fMaxZoomRefRatio = 1.0f;
}

Result CVadadiDazidevWorld::OnMessage(CWorldMessage* message)
{
    if (!message || !m_pData)
        return RES_FAIL;
    if (IsPointerMessage(message->message)) {
        auto position = static_cast<uintptr_t>(message->lParam);
        message->lParam = MAKELPARAM(ScaleCoordinate(LOWORD(position), m_pData->scaleX),
                                     ScaleCoordinate(HIWORD(position), m_pData->scaleY));
    }
    // A window destroyed other than by a switch of modes ends the run.
    if (message->message == WM_DESTROY && !m_pData->recreating)
        PostQuitMessage(0);
    Result recorded = CWorld::OnMessage(message);
    return IsLeftToTheSystem(message->message) ? RES_OK : recorded;
}

void CVadadiDazidevWorld::LogLine(const char16_t* text)
{
    LogPrintf(m_pData ? m_pData->logPath : nullptr, 1, u"%s", text);
}
