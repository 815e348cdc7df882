#pragma once
#include <cstdint>

// One part of an object: its vertex range, index range and how it is drawn. Indices count from
// the group's first vertex. Stored as is in ".3dx" files.
struct C3DPrimitiveGroup {
    uint32_t id;
    uint32_t firstVertex;
    uint32_t vertexCount;
    uint32_t firstIndex;
    uint32_t indexCount;
    uint32_t primitiveCount;
    uint32_t primitiveType;  // 0 strip, 1 list, 2 fan, 3 lines, 4 line strip, 5 points
    uint32_t cullMode;       // 0 none, 1 counter-clockwise, 2 clockwise, 3 as 1
};

static_assert(sizeof(C3DPrimitiveGroup) == 32, "a primitive group is eight packed u32");
