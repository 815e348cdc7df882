#include <new>

#include "base/WideString.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MoreGamesPage.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"

void CVadadiDazidevWorld::OpenWebLink(const char16_t* url)
{
    char16_t* pending = m_GameData.m_szPendingUrl;
    if (url) {
        WStrCopy(pending, kUrlUnits, url);
        ShowMenuPage(kPageQuit);
        SetState(GS_MAIN_MENU, 1);
        return;
    }
    if (!pending[0])
        return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = u"open";
    info.lpFile = pending;
    info.nShow = SW_SHOW;
    ShellExecuteExW(&info);
    pending[0] = 0;
}

Result CVadadiDazidevWorld::ReloadMoreGames(uint32_t index)
{
    if (Failed(Load_MoreGames(index)))
        return RES_FAIL;
    delete m_pMoreGames;
    m_pMoreGames = new (std::nothrow) CMoreGamesPage(m_pData);
    if (m_pMoreGames) {
        m_pMoreGames->SetScreens(m_pMoreGamesNavigation, m_pMoreGamesBackground);
        m_pMoreGames->SetWorld(this, this);
    }
    if (!m_pMoreGames || Failed(m_pMoreGames->Load())) {
        ReleaseMoreGames();
        return RES_FAIL;
    }
    return RES_OK;
}

void CVadadiDazidevWorld::ReleaseMoreGames()
{
    delete m_pMoreGames;
    m_pMoreGames = nullptr;
    FreeMoreGames();
}
