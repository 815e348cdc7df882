#pragma once
#include "game/states/GameScreen.h"

// The loading screen: the fade towards it (at start and when a game ends), the load of the intro
// or outro screen behind it, and a change of language.
class CLoadingScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    // While fading, the sound bank's volume follows the fader.
    void Update() override;
    void Render() override;

private:
    // The intro or outro screen loads between the loading events.
    void LoadLayeredScreen();
    // The chosen language, else the one before; the options saved, back to the state before.
    void ChangeLanguage();
};
