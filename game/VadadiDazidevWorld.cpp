#include "game/VadadiDazidevWorld.h"

#include "core/Log.h"
#include "engine3d/Font.h"
#include "game/KvoMusicManager.h"
#include "game/PopupText.h"
#include "game/SystemLanguage.h"
#include "game/menus/MoreGamesPage.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/screens/Stars.h"
#include "game/states/StateScreens.h"
#include "game/widgets/Hint.h"
#include "game/widgets/InertiaPosition.h"
#include "game/widgets/Toolbar.h"
#include "game/widgets/TouchScreen.h"

namespace {

constexpr uint32_t kFirstTutorialStep = 33;

} // namespace

CVadadiDazidevWorld::CVadadiDazidevWorld() : m_GameData(), m_pScreens(std::make_unique<CStateScreens>(*this))
{
    m_GameData.m_pLevelHost = this;
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

CVadadiDazidevWorld::~CVadadiDazidevWorld()
{
    delete m_pMoreGames;
}

void CVadadiDazidevWorld::LogLine(const char16_t* text)
{
    LogPrintf(m_pData ? m_pData->logPath : nullptr, 1, u"%s", text);
}
