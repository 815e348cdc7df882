#include "game/states/LogoScreen.h"

#include "game/VadadiDazidevWorld.h"

void CLogoScreen::Update()
{
    CKvoBackground* background = m_world.m_pBackground.get();
    if (!background) {
        m_world.SetState(GS_FADE_TO_LOADING, 1);
        return;
    }
    const uint32_t state = m_world.m_nState;
    const bool over = state == GS_LOGO_4 ? background->IsLogoTimeOver() : background->IsLogoTimeOverReset();
    if (!over)
        return;
    uint32_t next = GS_FADE_TO_LOADING;
    for (uint32_t logo = state; logo < kLogoCount; ++logo) {
        if (m_world.m_GameData.m_szLogoKey[logo][0] || (logo == 1 && background->HasSplashPicture(1))) {
            next = logo + 1;
            break;
        }
    }
    m_world.SetState(next, 1);
}

void CLogoScreen::Render()
{
    CKvoBackground* background = m_world.m_pBackground.get();
    if (!background)
        return;
    const uint32_t state = m_world.m_nState;
    const Result shown = state == GS_LOGO_1   ? background->ShowLogo1()
                         : state == GS_LOGO_2 ? background->ShowLogo2()
                         : state == GS_LOGO_3 ? background->ShowLogo3()
                                              : background->ShowLogo4();
    if (Succeeded(shown))
        m_world.Resync();
    IgnoreResult(background->DrawLogo());
}
