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

// What decides where a click may land.
struct CClickRules {
    // The screen point where a click lands when aimed at a point (the report's rounding).
    std::function<Vector2(float x, float y)> reached;
    // True when a click landing there reaches the part (nothing else takes it first).
    std::function<bool(float x, float y)> accept;
    // How far the part is drawn from where it is hit-tested.
    Vector2 offset = {0.0f, 0.0f};
};

// The centre of one of the part's collision triangles (the largest first, placed by the view
// matrix its flags choose, moved by the offset) where a click lands on the screen and on the part,
// as its hit test confirms, and that the rules accept. Reads only: the triangles and the hit test. False when no
// triangle's centre will do.
bool FindPartClickPoint(CSceneObject3D& scene, uint32_t part, const CClickRules& rules, CPartClickPoint* out);
