#pragma once
#include <cstdint>

#include "engine3d/SceneObject3D.h"

// Slide states of the level timer.
constexpr uint32_t kTimerShown = 0;
constexpr uint32_t kTimerHidden = 1;
constexpr uint32_t kTimerAppearing = 2;
constexpr uint32_t kTimerDisappearing = 3;
// Update's answer when the time has run out.
constexpr Result kTimerRanOut = static_cast<Result>(2);

// The level timer (type 0x8002) as the game reaches it: the remaining time of the timed mode.
// The levels layer implements it.
class CGameTimer : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;

    // The slide and the countdown of one frame; kTimerRanOut on every counting frame at zero.
    virtual Result Update() = 0;
    // The remaining time as "mm:ss" with the timer's alpha.
    virtual void DrawText() = 0;
    // Another time drawn the same way; the timer's own time and slide stay as they are.
    virtual void DrawSeconds(float seconds) = 0;
    // Sets the time and lets a hidden or disappearing timer appear.
    virtual void SetSeconds(float seconds) = 0;
    virtual void AddSeconds(float seconds) = 0;
    // A shown or appearing timer starts disappearing.
    virtual void Hide() = 0;

    virtual uint32_t GetSlideState() const = 0;
    virtual float GetAlpha() const = 0;
    virtual float GetRemainingFrames() const = 0;
};
