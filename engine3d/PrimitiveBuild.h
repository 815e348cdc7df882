#pragma once
#include <cstdint>

#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/PrimitiveParams.h"

class C3DObject;

// Shared steps of the shape generators behind C3DObject::CreatePrimitive. Every generator
// checks its block first and answers RES_FAIL with the object untouched when a count is 0
// where it divides, would overflow 32 bits, or an axis is unknown.

constexpr float kShapePi = 3.1415927f;
constexpr float kShapeTwoPi = 6.2831855f;
constexpr float kShapeHalfPi = 1.5707964f;

// True when both counts fit in 32 bits.
bool ShapeCountsFit(uint64_t vertices, uint64_t indices);
// Cull code of flags B, tested in the order 0x40, 0x100, 0x80; fallback when none is set.
uint32_t ShapeCull(uint32_t flagsB, uint32_t fallback);
// (0, 0, -1), (1, 0, 0) or (0, 1, 0); axis must be below 3.
Vector3 ShapeAxisNormal(uint32_t axis);
// Optionally drops the pending-normals bits of flags A, then Create and Lock.
Result BeginShape(C3DObject& object, uint32_t parts, uint32_t vertices, uint32_t indices, bool dropPendingNormals);
// Part 0 over every vertex and index, then Unlock with the render state rebuilt.
Result FinishShape(C3DObject& object, uint32_t vertices, uint32_t indices, uint32_t primitives, uint32_t type,
                   uint32_t cull);
// Unlock with the render state rebuilt.
Result EndShape(C3DObject& object);

Result BuildSphere(C3DObject& object, SphereParams* params, bool half);
Result BuildDisc(C3DObject& object, DiscParams* params);
Result BuildTube(C3DObject& object, TubeParams* params);
Result BuildDish(C3DObject& object, const DishParams* params);
Result BuildPlane(C3DObject& object, const PlaneParams* params);
Result BuildBox(C3DObject& object, const BoxParams* params);
Result BuildAxes(C3DObject& object, const AxesParams* params);
Result BuildFrustum(C3DObject& object, const FrustumParams* params);
Result BuildTerrain(C3DObject& object, const TerrainParams* params);
