#pragma once
#include <string>

#include "game/GameTooltip.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"

// A level whose input answers the test sets; what reaches it is noted in the shared log.
struct CInputLevel : CTestLevel {
    CInputLevel(CWorldData* data, uint32_t type, std::string& log) : CTestLevel(data, nullptr, 0, type), log(log) {}
    Result OnPress(float x, float y) override { return Note("press", x, y); }
    Result OnDrag(float x, float y, float) override { return Note("drag", x, y); }
    Result OnRelease(float x, float y) override { return Note("release", x, y); }
    Result OnClick(float x, float y) override
    {
        Note("click", x, y);
        return clickResult;
    }
    bool IsDragEnabled() override { return dragEnabled; }
    bool IsClickPenaltyFree() override { return penaltyFree; }
    bool IsCameraDraggable() override { return cameraDraggable; }
    void UseHint() override { log += "hint "; }
    void OnKeyShortcuts(bool control) override { log += control ? "shortcut+ctrl " : "shortcut "; }
    Result Note(const char* what, float x, float y)
    {
        log += std::string(what) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)) + " ";
        return RES_FAIL;
    }

    std::string& log;
    Result clickResult = RES_FAIL;
    bool dragEnabled = false, penaltyFree = false, cameraDraggable = false;
};

// A tooltip panel of the test's hidden flag, slide state and click answer.
struct CInputTooltip : CGameTooltip {
    CInputTooltip(CWorldData* data, uint32_t id, std::string& log) : CGameTooltip(data, nullptr, id), log(log) {}
    bool IsHidden() const override { return hidden; }
    uint32_t GetSlideState() const override { return slide; }
    void SetSlideState(uint32_t state) override { slide = state; }
    void PlayStepSound() override { log += "step" + std::to_string(GetId()) + " "; }
    Result OnClick(float, float) override
    {
        log += "tooltip" + std::to_string(GetId()) + " ";
        return clickResult;
    }

    std::string& log;
    bool hidden = false;
    uint32_t slide = kTooltipFolded;
    Result clickResult = RES_FAIL;
};

// Makes level (and tooltips) the world's current scene in the in-game state.
inline void PlayInputLevel(CTestWorld& world, std::unique_ptr<CGameLevel> level, uint32_t tooltips, std::string& log)
{
    world.m_pScenes = std::make_unique<std::unique_ptr<CGameLevel>[]>(1);
    world.m_pScenes[0] = std::move(level);
    world.m_nSceneCount = 1;
    world.m_nCurrentScene = 0;
    world.m_nState = GS_IN_GAME;
    world.m_pTooltips = std::make_unique<std::unique_ptr<CSceneObject3D>[]>(tooltips);
    world.m_nTooltipCount = tooltips;
    for (uint32_t i = 0; i < tooltips; ++i)
        world.m_pTooltips[i] = std::make_unique<CInputTooltip>(world.GetData(), i, log);
}

// A message record through the world; x and y packed as the window procedure gets them.
inline Result SendInput(CTestWorld& world, UINT message, int x, int y, WPARAM wParam = 0)
{
    CWorldMessage record{nullptr, message, wParam, MAKELPARAM(WORD(x), WORD(y)), {0, 0, 0}};
    return world.OnMessage(&record);
}
