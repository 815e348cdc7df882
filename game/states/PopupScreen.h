#pragma once
#include "game/states/GameScreen.h"

// The pop-ups over the game: the end text before the outro screen, the in-game pop-up and the
// level's modal step (the tutorial), each paged through the navigation buttons.
class CPopupScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override { StepPages(); }
    void Render() override;

    // The state's pop-up pages through the navigation buttons; its answer leads on. The scene
    // intro text pages the same way.
    void StepPages();
};
