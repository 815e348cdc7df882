#pragma once
#include <cstdint>

#include "game/PopupScreens.h"

// What the more-games page uses of the menu dialog: its navigation layer and click sound.
class CMoreGamesNavigation : public CPopupDialog {
public:
    // The navigation button clicked this frame; 0 when none.
    virtual uint32_t GetClickedButton() = 0;
    virtual void HideNavButtons() = 0;
    // Previous (26), close (24) and next (55 beside close, else 25).
    virtual void ShowNavButtons(bool previous, bool close, bool next) = 0;
    // The more-games button (29).
    virtual void ShowMoreGamesButton() = 0;
    // The web-site button (1002) when highlighted.
    virtual void ShowCollectionButton(bool highlight) = 0;
    virtual void UpdateNavButtons() = 0;
    virtual void RenderNavButtons() = 0;
    // From the navigation line to the bottom of the virtual screen.
    virtual float GetNavigationMargin() = 0;

protected:
    ~CMoreGamesNavigation() = default;
};
