#pragma once
#include <cstdint>

// Kinds of C3DObject::CreatePrimitive and their parameter blocks: plain records of 32-bit
// fields (the terrain's flag is one byte). Counts marked "written back" are clamped in the
// caller's block.
enum PrimitiveShape : uint32_t {
    kShapeSphere = 1,
    kShapeHalfSphere = 2,
    kShapeDisc = 3,
    kShapePlane = 4,
    kShapeBox = 5,
    kShapeAxes = 6,
    kShapeFrustum = 7,
    kShapeTerrain = 8,
    kShapeTube = 9,
    kShapeDish = 10,
};

// Plane of a disc, grid or dish, and the normal its vertices get.
enum PrimitiveAxis : uint32_t {
    kAxisXY = 0,  // normal (0, 0, -1)
    kAxisYZ = 1,  // normal (1, 0, 0)
    kAxisXZ = 2,  // normal (0, 1, 0)
};

// Sphere and half sphere.
struct SphereParams {
    float radius;
    uint32_t segments;  // 3..255, written back
    uint32_t colour;
    uint32_t specular;
};

struct DiscParams {
    float diameter;
    uint32_t segments;  // at least 3, written back
    float height;
    uint32_t axis;
    uint32_t uvMode;  // 0 or 1: mapped texture; other: (0, 0)
    uint32_t colour;
    uint32_t specular;
    float uScale;
    float vScale;
};

struct PlaneParams {
    float width;
    float depth;
    uint32_t columns;
    uint32_t rows;
    uint32_t axis;
    uint32_t colour;
    uint32_t specular;
    float uScale;
    float vScale;
};

struct BoxParams {
    float halfX;
    float halfY;
    float halfZ;
    uint32_t layout;  // 0, 1: seen from outside; 2: from inside; other: no vertices
    uint32_t colour;
    uint32_t specular;
    float uvLow;
    float uvHigh;
};

struct AxesParams {
    float length;
    uint32_t colourX;
    uint32_t colourY;
    uint32_t colourZ;
};

struct FrustumParams {
    uint32_t sides;  // 4: window-shaped base; other: circular base
    float eyeOffset;
    float distance;
    float spread;
    uint32_t apexColour;
    uint32_t baseColour;
};

struct TerrainParams {
    float size;
    int32_t segments;
    float lowHeight;
    float highHeight;
    uint8_t keepBorder;  // 0: border heights 0
    uint32_t unused[2];
    float uScale;
    float vScale;
};

struct TubeParams {
    float topDiameter;
    float bottomDiameter;
    float height;
    uint32_t stacks;    // set to 1
    uint32_t segments;  // at least 3, written back
    uint32_t axis;      // 0 and 1: along Y; 2: along Z
    uint32_t uvMode;    // 0: wrapped; 1: fixed; other: (0, 0)
    uint32_t colour;
    uint32_t specular;
    float uScale;
    float vScale;
};

struct DishParams {
    float diameter;
    uint32_t segments;
    float depth;
    float ringFactor;
    uint32_t rings;
    uint32_t axis;
    uint32_t colour;
    uint32_t specular;
};
