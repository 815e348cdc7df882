#pragma once
#include "game/states/GameScreen.h"

// The logos shown before the game, each for its time.
class CLogoScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    // Once the logo's time is over, the next named logo, else the fade to the loading screen.
    void Update() override;
    // The logo of the state; the load of a new one does not count as a frame.
    void Render() override;
};
