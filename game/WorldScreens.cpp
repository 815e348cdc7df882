#include <new>

#include "base/WideFormat.h"
#include "core/Log.h"
#include "game/ComponentSteps.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/screens/Stars.h"

// The world's making and release of its screens: the stars, the background with the logos, the
// screenshot fader and the intro and outro layered menus.

namespace {

const char16_t kLoadFailed[] = u"# CVadadiDazidevWorld::Load failed! %s error\n";
const char16_t kRawMissing[] = u"# CVadadiDazidevWorld::Load failed! \"%s\" is missing !!!\n";

struct CMenuLines {
    const char16_t* component;
    const char16_t* description;
};

const CMenuLines kMenuLines[2] = {
    {u"CScreenLayeredMenu intro", u"m_pMenuIntro"},
    {u"CScreenLayeredMenu outro", u"m_pMenuConclu"},
};

} // namespace

Result CVadadiDazidevWorld::MakeStars()
{
    if (Failed(MakeComponent(m_ComponentFactory, kComponentStars, m_pData, m_p3DEngine.get(), m_pStars, u"CStars")))
        return RES_FAIL;
    return ReadComponentFile(kComponentStars, m_pStars.get(), u"%s_menu_stars.raw", u"m_pStars");
}

Result CVadadiDazidevWorld::MakeBackground()
{
    if (Failed(MakeComponent(m_ComponentFactory, kComponentBackground, m_pData, m_p3DEngine.get(), m_pBackground,
                             u"CKvoBackground")))
        return RES_FAIL;
    if (m_pBackground->IsLogoShown())
        m_nState = m_pBackground->GetLogoStep() + 1;
    return RES_OK;
}

Result CVadadiDazidevWorld::MakeScreenshot()
{
    return MakeComponent(m_ComponentFactory, kComponentFader, m_pData, m_p3DEngine.get(), m_pScreenshot, u"CKvoScreenshot");
}

Result CVadadiDazidevWorld::MakeLayeredMenus()
{
    std::unique_ptr<CScreenLayeredMenu>* menus[2] = {&m_pMenuIntro, &m_pMenuConclu};
    for (uint32_t n = 0; n < 2; ++n) {
        std::unique_ptr<CScreenLayeredMenu>& menu = *menus[n];
        menu = m_ComponentFactory.Make<CScreenLayeredMenu>(kComponentLayeredMenu, m_pData, m_p3DEngine.get(), n);
        if (!menu || Failed(menu->Init())) {
            LogPrintf(m_pData->logPath, 1, kLoadFailed, kMenuLines[n].component);
            return RES_FAIL;
        }
        char16_t path[kMaxPathUnits];
        WFormat(path, kMaxPathUnits, u"%s_menu_%u.raw", m_GameData.m_szRawFolder, n);
        std::unique_ptr<CStream> stream = OpenRawFile(path, true, kRawMissing);
        if (!stream)
            return RES_FAIL;
        if (Failed(menu->LoadDescription(stream.get()))) {
            LogPrintf(m_pData->logPath, 1, kLoadFailed, kMenuLines[n].description);
            return RES_FAIL;
        }
    }
    return RES_OK;
}

void CVadadiDazidevWorld::ReleaseScreens()
{
    ReleaseComponent(m_pStars);
    ReleaseComponent(m_pBackground);
    ReleaseComponent(m_pScreenshot);
    m_pMenuCurrent = nullptr;
    ReleaseComponent(m_pMenuIntro);
    ReleaseComponent(m_pMenuConclu);
}
