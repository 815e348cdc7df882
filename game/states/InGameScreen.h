#pragma once
#include "game/states/GameScreen.h"

class CGameLevel;

// The level being played with the toolbar, the hint and the tooltips, and what interrupts it
// in place: the level's message, the click-abuse penalty and the in-game menu.
class CInGameScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override;
    void Render() override;

private:
    // The level objects, the level's own steps and, unless it shows a pop-up, the toolbar and hint.
    void UpdateLevel();
    // Once over, the game goes on with a fresh abuse window.
    void UpdatePenalty();
    // The level, its overlay and the widgets; once nothing is busy, the next pop-up, the quiz or
    // the first visit's intro.
    void RenderLevel();
    // The hint's glow, then what the level leaves of the toolbar: its strip with the labels
    // unless the level ignores its height, the menubar, the hint button and the tooltips unless
    // it hides it.
    void RenderWidgets(CGameLevel* level);
    void RenderLevelMessage();
    void RenderInGameMenu();
};
