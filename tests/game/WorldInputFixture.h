#pragma once
#include <string>

#include "game/GameTooltip.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"

// A hidden-object level whose click answer the test sets; what reaches it goes to the log.
struct CInputLevel : CTestLevel {
    CInputLevel(CWorldData* data, std::string& log) : CTestLevel(data, nullptr, 0, kLevelTypeHiddenObject), log(log) {}
    Result OnRelease(float x, float y) override { return Note("release", x, y, RES_FAIL); }
    Result OnClick(float x, float y) override { return Note("click", x, y, clickResult); }
    bool IsDragEnabled() override { return dragEnabled; }
    bool IsClickPenaltyFree() override { return penaltyFree; }
    bool IsSceneOptionSet() override { return pageUp; }
    void UseHint() override { log += "hint "; }
    void OnKeyShortcuts(bool control) override { log += control ? "shortcut+ctrl " : "shortcut "; }
    Result Note(const char* what, float x, float y, Result result)
    {
        log += std::string(what) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)) + " ";
        return result;
    }

    std::string& log;
    Result clickResult = RES_FAIL;
    bool dragEnabled = false, penaltyFree = false, pageUp = false;
};

// A folded tooltip panel whose slide state and click answer the test sets.
struct CInputTooltip : CGameTooltip {
    CInputTooltip(CWorldData* data, uint32_t id, std::string& log) : CGameTooltip(data, nullptr, id), log(log) {}
    bool IsHidden() const override { return false; }
    void SetHidden(bool) override {}
    bool IsDone() const override { return false; }
    Result Update() override { return RES_OK; }
    void Reset() override {}
    bool OnObjectEvent(uint32_t, uint32_t) override { return false; }
    bool AllStepsDone() override { return false; }
    void Draw() override {}
    void RenderObject() override {}
    int32_t GetPendingPage() const override { return kNoPopupPage; }
    void SetPendingPage(int32_t) override {}
    uint32_t GetSlideState() const override { return slide; }
    void SetSlideState(uint32_t state) override { slide = state; }
    void PlayStepSound() override { log += "step" + std::to_string(GetId()) + " "; }
    Result OnClick(float, float) override
    {
        log += "tooltip" + std::to_string(GetId()) + " ";
        return clickResult;
    }

    std::string& log;
    uint32_t slide = kTooltipFolded;
    Result clickResult = RES_FAIL;
};

// The world in game on a new input level with that many tooltips; returns the level.
inline CInputLevel& PlayInputLevel(CTestWorld& world, uint32_t tooltips, std::string& log)
{
    world.m_pScenes = std::make_unique<std::unique_ptr<CGameLevel>[]>(1);
    world.m_pScenes[0] = std::make_unique<CInputLevel>(world.GetData(), log);
    world.m_nSceneCount = 1, world.m_nCurrentScene = 0, world.m_nState = GS_IN_GAME;
    world.m_pTooltips = std::make_unique<std::unique_ptr<CSceneObject3D>[]>(tooltips);
    world.m_nTooltipCount = tooltips;
    for (uint32_t i = 0; i < tooltips; ++i)
        world.m_pTooltips[i] = std::make_unique<CInputTooltip>(world.GetData(), i, log);
    return static_cast<CInputLevel&>(*world.m_pScenes[0]);
}
