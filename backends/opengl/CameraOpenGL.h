#pragma once
#include <cstdint>

#include "engine3d/Camera.h"

// The OpenGL engine's camera: loads the data block's matrices into the projection matrix and
// sets the viewport and scissor box. Needs the engine's context current.
class C3DCameraOpenGL : public C3DCamera {
public:
    explicit C3DCameraOpenGL(CWorldData* data) : C3DCamera(data) {}

    // Projection matrix mode, the perspective matrix loaded.
    Result ApplyProjection() override;
    // Projection matrix mode, the screen matrix loaded.
    Result ApplyScreenProjection() override;
    Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height) override;
    Result DisableScissor() override;
    // The box is given from the top of the configured screen; OpenGL counts from the bottom.
    Result SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height) override;
};
