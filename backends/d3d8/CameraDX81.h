#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "engine3d/Camera.h"
#include "platform/d3d8/D3D8.h"

// The Direct3D 8 engine's camera: puts the data block's matrices on the device's projection and
// view transforms, sets the viewport and the gamma ramp. Scissor boxes are not supported.
class C3DCameraDX81 : public C3DCamera {
public:
    explicit C3DCameraDX81(CWorldData* data) : C3DCamera(data) {}

    // PROJECTION := the perspective matrix, VIEW := the view matrix.
    Result ApplyProjection() override;
    // PROJECTION := the screen matrix, VIEW := the screen view matrix.
    Result ApplyScreenProjection() override;
    // Per channel: 65535 x (i / 255) ^ (ln s / ln 0.5), s = (GAMMA_INITIAL + correction) / 255,
    // held within 0 .. 65535.
    Result SetGamma() override;
    // The depth range is the view distances when they lie within 0 .. 1 (near below far), else
    // the whole 0 .. 1. RES_FAIL when the device refuses the rectangle.
    Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height) override;
    // Not supported: RES_FAIL, nothing changes.
    Result SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height) override;

    const D3DGAMMARAMP& GetGammaRamp() const { return m_ramp; }

private:
    Result SetTransforms(const Matrix4& projection, const Matrix4& view);

    D3DGAMMARAMP m_ramp{};
};
