#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialogParts.h"

// The world's side of the menu dialog: its pages and navigation buttons as the screens use them.

Result CVadadiDazidevWorld::ToggleFullscreen(uint8_t fullscreen)
{
    return CWorld::ToggleFullscreen(fullscreen);
}

// The main and play pages come after the notice of a save that failed, once.
void CVadadiDazidevWorld::ShowMenuPage(uint32_t page)
{
    if (!m_pMenuDialog)
        return;
    if ((page == kPageMain || page == kPagePlay) && m_SaveFolder.TakeNotice())
        m_pMenuDialog->ShowNotice(kPageNotSaved, page);
    else
        m_pMenuDialog->SetPage(page);
}

void CVadadiDazidevWorld::ShowNavButtons(bool previous, bool close, bool next)
{
    if (!m_pMenuDialog)
        return;
    m_pMenuDialog->HideNavButtons();
    m_pMenuDialog->ShowNavButtons(previous, close, next);
    m_pMenuDialog->UpdateNavButtons();
}

void CVadadiDazidevWorld::RenderNavButtons()
{
    if (m_pMenuDialog)
        m_pMenuDialog->RenderNavButtons();
}

uint32_t CVadadiDazidevWorld::ClickedButton()
{
    return m_pMenuDialog ? m_pMenuDialog->GetClickedButton(0) : 0;
}

void CVadadiDazidevWorld::FreeTextPages()
{
    if (m_pMenuDialog)
        m_pMenuDialog->ReleaseCredits();
    m_Scroll.m_pText.reset();
    FreeLegals();
}
