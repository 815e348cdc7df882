#pragma once
#include <cstdint>
#include <memory>

#include "game/PopupScreens.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MoreGamesNavigation.h"
#include "game/screens/KvoBackground.h"
#include "game/screens/KvoScreenshot.h"

// The world's screenshot fader and background as the pop-ups and the more-games page use them.
// Each reaches the component through the world's own pointer, so a released one is never used.
class CWorldPopupScreens : public CPopupFader, public CPopupBackground {
public:
    CWorldPopupScreens(const std::unique_ptr<CKvoScreenshot>& fader, const std::unique_ptr<CKvoBackground>& background)
        : m_fader(fader), m_background(background)
    {
    }

    // Null while the world holds no such component.
    CPopupFader* Fader() { return m_fader ? this : nullptr; }
    CPopupBackground* Background() { return m_background ? this : nullptr; }

    void Show() override
    {
        if (m_fader)
            IgnoreResult(m_fader->Show());
    }
    bool HasScenePicture() override { return m_background && m_background->HasScenePicture(); }
    void DrawLoading(uint8_t small, uint8_t big, uint8_t background, uint8_t picture) override
    {
        if (m_background)
            IgnoreResult(m_background->DrawLoading(small != 0, big != 0, background != 0, picture != 0));
    }
    void DrawBackground(uint8_t alpha) override
    {
        if (m_background)
            IgnoreResult(m_background->DrawBackground(alpha));
    }

private:
    const std::unique_ptr<CKvoScreenshot>& m_fader;
    const std::unique_ptr<CKvoBackground>& m_background;
};

// The menu dialog's navigation layer as the more-games page uses it.
class CDialogNavigation : public CMoreGamesNavigation {
public:
    explicit CDialogNavigation(const std::unique_ptr<CMenuDialog>& dialog) : m_dialog(dialog) {}

    // Null while the world holds no menu dialog.
    CMoreGamesNavigation* Get() { return m_dialog ? this : nullptr; }

    void PlayClickSound() override { m_dialog->PlayClickSound(); }
    float GetFrameWidth() override { return m_dialog->GetFrameWidth(); }
    uint32_t GetClickedButton() override { return m_dialog->GetClickedButton(0); }
    void HideNavButtons() override { m_dialog->HideNavButtons(); }
    void ShowNavButtons(bool previous, bool close, bool next) override { m_dialog->ShowNavButtons(previous, close, next); }
    void ShowMoreGamesButton() override { m_dialog->ShowMoreGamesButton(); }
    void ShowCollectionButton(bool highlight) override { m_dialog->ShowCollectionButton(highlight); }
    void UpdateNavButtons() override { m_dialog->UpdateNavButtons(); }
    void RenderNavButtons() override { m_dialog->RenderNavButtons(); }
    float GetNavigationMargin() override { return m_dialog->GetNavigationMargin(); }

private:
    const std::unique_ptr<CMenuDialog>& m_dialog;
};
