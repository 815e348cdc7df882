#pragma once
#include "game/states/GameScreen.h"

class CPopupScreen;

// The way from one level to the next behind the loading screen: the queued level's record and
// intro text, the waiting pop-up while the level switches, its pages, and the plain switch of a
// level without intro text.
class CSceneSwitchScreen : public CGameScreen {
public:
    CSceneSwitchScreen(CVadadiDazidevWorld& world, CPopupScreen& popups) : CGameScreen(world), m_popups(popups) {}

    // The intro text pages as the other pop-ups do.
    void Update() override;
    void Render() override;

private:
    // A scene index out of range returns to the main menu.
    void PrepareNextScene();
    void RenderSceneIntro();
    void SwitchWithoutIntro();

    CPopupScreen& m_popups;
};
