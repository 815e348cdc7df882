#pragma once
#include <cstdint>

#include "engine3d/SceneObject3D.h"

// Slide states of a tooltip panel.
constexpr uint32_t kTooltipShown = 0;
constexpr uint32_t kTooltipFolded = 1;
constexpr uint32_t kTooltipUnfolding = 2;
constexpr uint32_t kTooltipFolding = 3;

// A level tooltip object (type 0x8004) as the game reaches it: a panel of step objects that
// slides in and out and finishes with actions once all its steps are done. The levels layer
// implements it.
class CGameTooltip : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;

    // The slide of one frame; 3 while sliding, else 0.
    virtual Result Update() = 0;
    // Folded, phase 0 (at each scene switch).
    virtual void Reset() = 0;
    virtual void PlayStepSound() = 0;
    // Marks the first step of level value and part object as done; false when none matches.
    virtual bool OnObjectEvent(uint32_t value, uint32_t object) = 0;
    // Finishes the tooltip when no step is left; true when finished now.
    virtual bool AllStepsDone() = 0;
    // The drawn parts, unless hidden.
    virtual void Draw() = 0;
    // The whole display object.
    virtual void RenderObject() = 0;

    virtual bool IsHidden() const = 0;
    virtual void SetHidden(bool hidden) = 0;
    virtual bool IsDone() const = 0;
    virtual uint32_t GetSlideState() const = 0;
    virtual void SetSlideState(uint32_t state) = 0;
    // The pop-up page the world shows next; kNoPopupPage when none.
    virtual int32_t GetPendingPage() const = 0;
    virtual void SetPendingPage(int32_t page) = 0;
};

constexpr int32_t kNoPopupPage = -1;
