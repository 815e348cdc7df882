#pragma once
#include <cstdint>

#include "game/states/GameScreen.h"

// The main menu: the intro screen's layered menu at rest under the menu dialog, whose actions
// start or continue a game or lead to the extra pages.
class CMainMenuScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override;
    // The layered menu, the dialog with its navigation buttons (close on every page but the
    // first), then its action.
    void Render() override;

private:
    void RunMenuAction(uint32_t action, uint32_t clicked);
};
