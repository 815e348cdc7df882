#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "core/Vector3.h"
#include "engine3d/ObjectTypes.h"

class C3DObject;

// What one vertex of an object holds, read through GetVertex.
struct ProbeVertex {
    Vector3 position;
    uint32_t colour;
    Vector2 uv;
    Vector3 normal;
    uint32_t specular;
};

// An object's vertices, indices of its active index buffer and part records, read between
// Lock and Unlock(0).
struct ObjectSnapshot {
    std::vector<ProbeVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<C3DPrimitiveGroup> records;
};

ObjectSnapshot TakeSnapshot(C3DObject* object);

using Triangle = std::array<uint32_t, 3>;

// The triangles a record draws, in drawing order (odd strip triangles with their first two
// corners exchanged), as vertex numbers with the record's first vertex added.
std::vector<Triangle> DrawnTriangles(const ObjectSnapshot& snapshot, const C3DPrimitiveGroup& record);

// (second - first) x (third - first).
Vector3 TriangleCross(const ObjectSnapshot& snapshot, const Triangle& triangle);
Vector3 TriangleCentroid(const ObjectSnapshot& snapshot, const Triangle& triangle);

inline float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
