#pragma once
#include <cstddef>
#include <cstdint>

#include "core/Vector3.h"
#include "game/GameTimer.h"

// The level timer: the remaining time of the timed mode, shown as "mm:ss" at its place, fading
// in and out. Counts while shown or appearing.
class CLevelTimer : public CGameTimer {
public:
    CLevelTimer(CWorldData* data, C3DEngine* engine, uint32_t id);

    // "<raw>_timer_<id>.obj.3dx" into the display object.
    Result LoadFiles() override;
    Result UnloadFiles() override;
    // Part states, then the fade phase, the slide state and the remaining frames.
    Result SaveObjects(CStream* stream) override;
    // The same; a slide state past the four is refused.
    Result LoadObjects(CStream* stream, uint32_t version) override;
    // The scene-object block, then x, y, an unused value and the size.
    Result LoadDescription(CStream* stream) override;

    Result Update() override;
    void DrawText() override;
    void DrawSeconds(float seconds) override;
    void SetSeconds(float seconds) override;
    void AddSeconds(float seconds) override;
    void Hide() override;

    uint32_t GetSlideState() const override { return m_nSlideState; }
    float GetAlpha() const override { return m_fAlpha; }
    float GetRemainingFrames() const override { return m_fRemainingFrames; }
    // The remaining whole seconds as "mm:ss" into out.
    void FormatTime(char16_t* out, size_t capacity) const;
    // The text colour: the game's text colour with the timer's alpha (at least 1).
    uint32_t GetTextColour() const;

private:
    void DrawFrames(float frames);

    Vector3 m_vPosition = {};
    float m_fValue50 = 0.0f;  // read, not used
    float m_fSize = 0.0f;
    uint32_t m_nSlideState = kTimerHidden;
    float m_fAlpha = 0.0f;
    float m_fRemainingFrames = 0.0f;
};

constexpr float kFramesPerSecond = 30.0f;
