#pragma once

class CVadadiDazidevWorld;

// One screen of the game: the frame step and the drawing of the states it owns. The world keeps
// the state number and the pending state; each frame it calls the current state's screen once in
// its update and once in its draw pass, between its own steps.
class CGameScreen {
public:
    explicit CGameScreen(CVadadiDazidevWorld& world) : m_world(world) {}
    virtual ~CGameScreen() = default;
    CGameScreen(const CGameScreen&) = delete;
    CGameScreen& operator=(const CGameScreen&) = delete;

    virtual void Update() {}
    // May request a state or switch resources, as the draw pass of these states does.
    virtual void Render() = 0;

protected:
    CVadadiDazidevWorld& m_world;
};
