#pragma once
#include <cstdint>

#include "core/Vector3.h"

class C3DObject;
class CMath3D;

// Checks shared by MergeObjects and CreateNormalLines, made before the target is released:
// a list (when count is not 0) of set entries other than the target; withIndices: each with
// an active index buffer holding a record for every part.
bool UsableSources(const C3DObject* target, C3DObject* const* sources, uint32_t count, bool withIndices);

// A source vertex position placed by the source's current matrix (as is without one).
Vector3 PlacedPosition(CMath3D& math, const C3DObject& source, const Vector3& position);
