#pragma once
#include <array>

#include "platform/d3d8/D3D8BackBuffer.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8State.h"

// The OpenGL viewport, depth range, scissor box, depth, stencil, blending, culling, fill, colour
// mask, shading and point sprite states of the device's render states. Transformed vertices use
// the whole target and the full depth range, clipped to the viewport.
CD3D8RasterSetting D3D8Raster(const CD3D8State& state, const CD3D8BackBuffer& target, bool transformed, bool sprite);

// Direct3D comparison functions as OpenGL's; GL_ALWAYS for values that are none.
GLenum D3D8Compare(DWORD func);
