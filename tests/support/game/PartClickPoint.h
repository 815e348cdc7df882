#pragma once
#include <cstdint>
#include <functional>

#include "core/Vector3.h"

class CSceneObject3D;

// Where a click finds a part of a scene picture, in virtual-screen units.
struct CPartClickPoint {
    Vector2 point;
    // A rectangle centred on the point and inside the part's bounds: left, top, width, height.
    float rect[4];
};

// A point inside one of the part's collision triangles (the largest first, placed by the view
// matrix its flags choose) that the part's hit test confirms and that accept takes; the point is
// moved by offset (a part drawn away from where it is hit-tested). Reads only: the triangles and
// the hit test. False when no triangle's centre will do.
bool FindPartClickPoint(CSceneObject3D& scene, uint32_t part, const Vector2& offset,
                        const std::function<bool(float x, float y)>& accept, CPartClickPoint* out);
