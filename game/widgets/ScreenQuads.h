#pragma once
#include <cstdint>

#include "base/Result.h"
#include "core/Vector3.h"

class C3DEngine;
class C3DObject;
class C3DTexture;

// The virtual screen every widget draws in.
constexpr float kVirtualScreenWidth = 1024.0f;
constexpr float kVirtualScreenHeight = 768.0f;

// Object words of the screen quads without lighting, of the game's textured screen pictures and
// display sprites, and the words of their textures.
constexpr uint32_t kScreenQuadFlagsA = 0x8010;
constexpr uint32_t kScreenQuadFlagsB = 0xC29;
constexpr uint32_t kDisplayObjectFlagsA = 0x28010;
constexpr uint32_t kDisplayObjectFlagsB = 0x20C29;
constexpr uint32_t kGameTextureFlags = 1;
constexpr uint32_t kGameTextureParameter = 0x52;

// One flat part of four corners in strip order (top left, top right, bottom left, bottom right
// for an upright picture) with their texture coordinates.
struct CScreenQuad {
    Vector2 corners[4];
    Vector2 uvs[4];
};

// One part: a rectangle (y grows downwards) and the texture rectangle it shows (v 0 at the top).
struct CScreenRect {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
};

// A width x height quad centred on (x, y), the whole texture upright on it.
CScreenQuad CenteredQuad(float x, float y, float width, float height);
// A square of side `side` centred on the origin showing the texture cell (u0, v0)-(u1, v1).
CScreenRect CentredSquare(float side, float u0, float v0, float u1, float v1);

// A display object with one four-vertex triangle-strip part per quad: white, z 0, at the origin.
// Null when it cannot be made; nothing is left with the engine then.
C3DObject* MakeQuadObject(C3DEngine* engine, const CScreenQuad* quads, uint32_t count);

// A new object of the given words whose parts are the rectangles, each a white four-vertex strip
// (left-bottom, right-bottom, left-top, right-top) drawn without culling; null when the engine
// cannot make it.
C3DObject* CreateScreenQuads(C3DEngine* engine, uint32_t flagsA, uint32_t flagsB, const CScreenRect* rects,
                             uint32_t count);

// New texture coordinates for the four corners of a part, while the object is locked.
void SetQuadUVs(C3DObject* object, uint32_t part, const Vector2 uvs[4]);

// Detaches the object's textures and gives it back to the engine, clearing the pointer; RES_OK
// without an object.
Result ReleaseQuadObject(C3DEngine* engine, C3DObject*& object);
// Gives the texture back to the engine, clearing the pointer; RES_OK without a texture.
Result ReleaseScreenTexture(C3DEngine* engine, C3DTexture*& texture);
// Destroys the object through the engine and clears the pointer.
void DestroyScreenObject(C3DEngine* engine, C3DObject*& object);
