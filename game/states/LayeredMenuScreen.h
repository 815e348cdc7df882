#pragma once
#include <cstdint>

#include "game/states/GameScreen.h"

// The intro screen's layered menu coming in and opening onto the main menu, and the outro
// screen's coming in reversed, opening and waiting for the close button.
class CLayeredMenuScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override;
    void Render() override;

private:
    // One frame of the menu coming in once ready; entered, the pointer is kept and the state
    // moves to next.
    void StepEnter(bool ready, uint32_t next);
    // One frame of the menu opening; opened, the state moves to next.
    void StepLeave(uint32_t next);
    // The outro menu's continue button: the account or score pages when the scores can go out,
    // else the profiles.
    void LeaveOutroMenu();
};
