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
    // The tooltips' slides into the tooltip busy value, the current level's effects and stars,
    // and the timer's countdown in the timed mode.
    void UpdateLevelObjects();
    // The glow, and the recharge unless the level pauses it.
    void StepHint(CGameLevel& level);
    // Once over, the game goes on with a fresh abuse window.
    void UpdatePenalty();
    // The level, its overlay and the widgets; once nothing is busy, the next pop-up, the quiz or
    // the first visit's intro.
    void RenderLevel();
    // Over the level: its active star, and in the timed mode the timer, its badge and its text.
    void RenderLevelOverlay(CGameLevel& level);
    // In the quiz state of a hidden-object scene the page takes the frame: its step once no pop-up
    // shows, no state is pending and the fade is over, else the background alone. False for any
    // other level or state.
    bool RenderSceneQuiz(CGameLevel& level, bool popupShown);
    // The first visit of the level kind in this record starts the intro step once.
    void OfferFirstVisitIntro(CGameLevel& level);
    // The hint's glow, then what the level leaves of the toolbar: its strip with the labels
    // unless the level ignores its height, the menubar, the hint button and the tooltips unless
    // it hides it.
    void RenderWidgets(CGameLevel* level);
    void RenderLevelMessage();
    void RenderInGameMenu();
};
