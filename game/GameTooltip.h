#pragma once
#include <cstdint>

#include "engine3d/SceneObject3D.h"

// Slide states of a tooltip panel.
enum TooltipSlide : uint32_t {
    kTooltipShown = 0,
    kTooltipFolded = 1,
    kTooltipUnfolding = 2,
    kTooltipFolding = 3,
};

// A tooltip object (type 0x8004) as the world's input reactions reach it; the levels layer
// implements it.
class CGameTooltip : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;

    // True while the world keeps the panel hidden: nothing is drawn or clicked then.
    virtual bool IsHidden() const = 0;
    virtual uint32_t GetSlideState() const = 0;
    virtual void SetSlideState(uint32_t state) = 0;
    virtual void PlayStepSound() = 0;
};
