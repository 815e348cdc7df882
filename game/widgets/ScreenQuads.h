#pragma once
#include <cstdint>

#include "base/Result.h"

class C3DEngine;
class C3DObject;

// The virtual screen every widget draws in.
constexpr float kVirtualScreenWidth = 1024.0f;
constexpr float kVirtualScreenHeight = 768.0f;

// Object words of the screen quads without lighting and of the textured display sprites.
constexpr uint32_t kScreenQuadFlagsA = 0x8010;
constexpr uint32_t kScreenQuadFlagsB = 0xC29;
constexpr uint32_t kSpriteFlagsA = 0x28010;
constexpr uint32_t kSpriteFlagsB = 0x20C29;

// One part: a rectangle (y grows downwards) and the texture rectangle it shows (v 0 at the top).
struct ScreenQuad {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
};

// A square of side `side` centred on the origin showing the texture cell (u0, v0)-(u1, v1).
ScreenQuad CentredSquare(float side, float u0, float v0, float u1, float v1);

// A new object of the given words whose parts are the quads, each a white four-vertex strip
// (left-bottom, right-bottom, left-top, right-top) drawn without culling; null when the engine
// cannot make it.
C3DObject* CreateScreenQuads(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, const ScreenQuad* quads,
                             uint32_t count);

// Destroys the object through the engine and clears the pointer.
void DestroyScreenObject(C3DEngine* engine, C3DObject*& object);
