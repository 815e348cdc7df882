#pragma once
#include "game/states/GameScreen.h"

// The intro screen's layered menu coming in and opening onto the main menu, and the outro
// screen's coming in reversed, opening and waiting for the close button.
class CLayeredMenuScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override;
    void Render() override;

private:
    // The outro menu's continue button: the account or score pages when the scores can go out,
    // else the profiles.
    void LeaveOutroMenu();
};
