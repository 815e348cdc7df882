#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/states/GameScreen.h"

// The game's screens and the state each one owns.
class CStateScreens {
public:
    static constexpr uint32_t kStateCount = 35;

    explicit CStateScreens(CVadadiDazidevWorld& world);
    ~CStateScreens();

    // The screen of the state; null for a state that none owns (0, 7 and past the states).
    CGameScreen* ScreenOf(uint32_t state) const { return state < kStateCount ? m_byState[state] : nullptr; }

private:
    template <class Screen, class... Args>
    Screen& Add(std::initializer_list<uint32_t> states, Args&&... args);

    std::vector<std::unique_ptr<CGameScreen>> m_screens;
    std::array<CGameScreen*, kStateCount> m_byState{};
};
