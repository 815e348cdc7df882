#pragma once
#include <cstdint>
#include <memory>

#include "core/FrameTimer.h"
#include "core/Vector3.h"
#include "game/WorldComponent.h"

struct CWorldData;

// Turns a drag into a throw: samples the pointer's movements while it is held and, when it is
// let go fast enough, keeps a velocity that slows down a little every frame.
class CInertiaPosition : public CWorldComponent {
public:
    explicit CInertiaPosition(CWorldData* data) : m_pData(data) {}

    // Reads [DRAGGING_INERTIA] and makes the timer. Result 0, with or without a timer.
    Result Load() override;
    Result Release() override;

    // The pointer was pressed, moved while pressed, or let go. Result RES_FAIL (not consumed).
    Result Begin(float x, float y);
    Result Move(float x, float y);
    Result End(float x, float y);
    // This frame's displacement (z 0); the velocity then slows by the ratio.
    void Step(Vector3* out);
    void Stop();

private:
    struct Sample {
        uint64_t elapsed;  // microseconds since the sample before
        float dx, dy;
    };
    static constexpr uint32_t kSampleCount = 4;

    void AddSample(float x, float y);

    CWorldData* m_pData;
    std::unique_ptr<CHighResTimer> m_pTimer;
    Vector2 m_vVelocity = {};
    Sample m_Samples[kSampleCount] = {};
    uint32_t m_nCount = 0;
    float m_fTestRef = 30.0f;
    float m_fSlowDown = 0.95f;
    float m_fSpeed = 30.0f;
    Vector2 m_vLast = {};
};
