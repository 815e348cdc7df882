#pragma once
#include <cstdint>
#include <vector>

#include "core/Vector3.h"

class C3DEngine;
class C3DObject;
class C3DTexture;

// Objects and textures the OpenGL shader and shadow tests draw with; each is made through the
// engine's factories and destroyed by the caller.

// A square of format 0x10 over the virtual screen from (0, 0) to (size, size) in one ARGB colour.
C3DObject* MakeScreenSquare(C3DEngine* engine, float size, uint32_t colour);
// A rectangle of format 0x02 in the plane z, from (left, bottom) to (right, top), in one ARGB
// colour, drawn through the perspective with depth test and depth writes.
C3DObject* MakeWorldRectangle(C3DEngine* engine, float left, float bottom, float right, float top, float z,
                              uint32_t colour);
// A one-part triangle list of format 0x02 (a shadow caster; never drawn).
C3DObject* MakeTriangleMesh(C3DEngine* engine, const std::vector<Vector3>& positions,
                            const std::vector<uint32_t>& indices);
// A 1 x 1 texture of one ARGB colour, sampled nearest.
C3DTexture* MakeTexelTexture(C3DEngine* engine, uint32_t colour);
