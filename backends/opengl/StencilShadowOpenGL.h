#pragma once
#include <cstdint>

#include "engine3d/StencilShadow.h"

class C3DEngine;

// The OpenGL stencil shadow: counts a caster's volume into the stencil buffer (walls and caps
// seen clockwise add one, counter-clockwise ones take one away), then blends black over every
// pixel whose count is not zero with opacity 1 - A / 255, A the alpha byte of the shadow colour.
// The darkening covers the whole window. Needs the engine's context current.
class C3DStencilShadowOpenGL : public C3DStencilShadow {
public:
    C3DStencilShadowOpenGL(CWorldData* data, C3DEngine* engine) : C3DStencilShadow(data), m_pEngine(engine) {}

    // The base table; RES_FAIL when it cannot be made.
    Result Create(uint32_t casterCount, uint32_t colour) override;
    // Draws caster index's volume and the darkening, then the wireframe of the volume when the
    // show-construct switch is set. A caster without side points draws nothing; RES_FAIL for an
    // index past the table.
    Result Render(uint32_t index) override;

private:
    void BeginVolume();
    void CountVolume(const C3DShadowCaster& caster);
    void Darken();
    void RestoreState();
    void DrawConstruct(const C3DShadowCaster& caster);
    void ApplyProjection();
    // The window's client size; the working size when the window cannot tell.
    void WindowSize(int32_t* width, int32_t* height) const;

    C3DEngine* m_pEngine;
};
