#pragma once
#include <cfloat>
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Vector3.h"

class C3DObject;
class CMath3D;

// Room of each volume buffer per vertex of the caster's object, in points.
constexpr uint32_t kShadowPointsPerVertex = 200;
// Points each silhouette edge adds to each buffer: two triangles.
constexpr uint32_t kShadowPointsPerEdge = 6;
// How far the silhouette is pushed away from the light, in units of the light vector.
constexpr float kShadowExtrusion = 10.0f;
// Highest vertex number a silhouette edge can hold.
constexpr uint32_t kShadowMaxVertex = 0xFFFF;

// One shadow caster: the object, the matrix that places it and the volume built for it. Both
// buffers hold triangles as consecutive triples of world-space points (12 bytes each).
struct C3DShadowCaster {
    C3DObject* object = nullptr;
    Matrix4* matrix = nullptr;  // the caller's
    Vector3 minimum{FLT_MAX, FLT_MAX, FLT_MAX};
    Vector3 maximum{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    std::unique_ptr<Vector3[]> sideVertices;
    uint32_t capacity = 0;  // points each buffer holds
    uint32_t sideCount = 0;
    std::unique_ptr<Vector3[]> capVertices;
    uint32_t capCount = 0;
};

// Builds the caster's volume for a light in direction `light` (the light's position taken as a
// vector): both counts restart at 0; the object takes the caster's matrix as its current matrix
// and is locked. Per part, the silhouette of the triangles facing the light (triangle lists
// and fans; other types add nothing) is walked into side walls (A, B, A') and (B, B', A') and
// into a near cap (M1, A, B) and a far cap (M2, A', B'), with X' = X - 10 x light and M1, M2 the
// means of the silhouette's near and far points. A caster without an object is left alone.
// A caster that does not fit (no matrix, records or indices outside the object's buffers, a
// triangle list not a multiple of 3, a vertex number above 0xFFFF, buffers too small) answers
// RES_FAIL with both counts 0; the object is unlocked in every case.
Result BuildShadowVolume(C3DShadowCaster* caster, const Vector3& light, CMath3D* math);
