#pragma once
#include "platform/d3d8/D3D8ProgramCache.h"
#include "platform/d3d8/D3D8State.h"

// Loads the values a generated program reads (matrices, viewport, point, fog, texture factor,
// alpha reference, material and the enabled lights, at most eight, in camera space) that changed
// since the program last had them. The target size may change only with a reset of the state.
void D3D8LoadUniforms(CD3D8Program& program, const CD3D8State& state, const D3DCAPS8& caps, UINT targetWidth,
                      UINT targetHeight);

// The number of lights the programs light with: the enabled ones, at most eight.
UINT D3D8ActiveLights(const CD3D8State& state);
