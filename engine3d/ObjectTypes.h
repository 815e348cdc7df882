#pragma once
#include <cstdint>

// Records and flag words shared by 3D objects, index buffers, object files and the renderers.

// One part of an object: eight u32, the same 32 bytes in memory and in ".3dx" files.
struct C3DPrimitiveGroup {
    uint32_t id;
    uint32_t firstVertex;  // added to every index value of the group
    uint32_t vertexCount;
    uint32_t firstIndex;
    uint32_t indexCount;
    uint32_t primitiveCount;
    uint32_t primitiveType;  // PrimitiveType
    uint32_t cullCode;       // CullCode
};

static_assert(sizeof(C3DPrimitiveGroup) == 32, "a primitive group is eight packed u32");

enum PrimitiveType : uint32_t {
    kPrimitiveTriangleStrip = 0,
    kPrimitiveTriangleList = 1,
    kPrimitiveTriangleFan = 2,
    kPrimitiveLineList = 3,
    kPrimitiveLineStrip = 4,
    kPrimitivePointList = 5,
};

enum CullCode : uint32_t {
    kCullNone = 0,
    kCullCounterClockwise = 1,
    kCullClockwise = 2,
    kCullCounterClockwiseAlt = 3,  // drawn as kCullCounterClockwise
};

// Per-part material: 17 f32.
struct C3DMaterial {
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float emissive[4];
    float power;
};

static_assert(sizeof(C3DMaterial) == 17 * sizeof(float), "a material is seventeen packed f32");

// Diffuse (1, 1, 1, 0), ambient (1, 1, 1, 1), specular (0, 0, 0, 1), emissive (0, 0, 0, 1), power 20.
C3DMaterial DefaultMaterial();

// Flags A: vertex format and object state.
constexpr uint32_t kFormatNormalTex = 0x02;   // 40 bytes: position, normal, colour, specular, uv
constexpr uint32_t kFormatNormalTex2 = 0x04;  // 48 bytes: as 0x02 plus a second uv
constexpr uint32_t kFormatColor = 0x08;       // 16 bytes: position, colour; drawn as points
constexpr uint32_t kFormatColorTex = 0x10;    // 24 bytes: position, colour, uv
constexpr uint32_t kFormatMask = kFormatNormalTex | kFormatNormalTex2 | kFormatColor | kFormatColorTex;
constexpr uint32_t kFlatNormalsPending = 0x2000;
constexpr uint32_t kSmoothNormalsPending = 0x4000;
constexpr uint32_t kForce16BitIndices = 0x8000;
constexpr uint32_t kForce32BitIndices = 0x10000;

// Flags B: creation options. The renderers read the bits not named here as render options.
constexpr uint32_t kObjectLights = 0x01;
constexpr uint32_t kObjectLighting = 0x02;
constexpr uint32_t kObjectFog = 0x04;
constexpr uint32_t kObjectAlphaBlend = 0x08;
constexpr uint32_t kObjectSpecular = 0x10;
constexpr uint32_t kObjectMaterials = 0x20;
constexpr uint32_t kLoadCullNone = 0x40;
constexpr uint32_t kLoadCullCounterClockwise = 0x80;
constexpr uint32_t kLoadCullClockwise = 0x100;
constexpr uint32_t kObjectStateBlock = 0x400;
constexpr uint32_t kTextureStage0 = 0x800;
constexpr uint32_t kTextureStage1 = 0x1000;
constexpr uint32_t kObjectAlphaTest = 0x2000;
constexpr uint32_t kObjectWireframe = 0x4000;
constexpr uint32_t kObjectDepthTest = 0x8000;
constexpr uint32_t kObjectDepthWrite = 0x10000;
// In flags B: colour and alpha from the object's colour. Init copies it into flags A.
constexpr uint32_t kObjectTextureFactor = 0x20000;

// Index buffer kinds.
constexpr uint32_t kIndexKind16 = 1;
constexpr uint32_t kIndexKind32 = 2;

// Part number meaning "every part" in the single-part texture loaders.
constexpr uint32_t kAllParts = 0xFFFFFFFFu;
// Id asking SetPrimitiveGroup / SetRecord for the part number.
constexpr uint32_t kPartNumberId = 0xFFFFFFFFu;
// What GetIndex answers when there is no index to read.
constexpr uint32_t kNoIndex = 0xFFFFFFFFu;

// Indices that primitiveCount primitives of a type consume; 0 for an unknown type.
uint64_t IndicesForPrimitives(uint32_t type, uint32_t primitiveCount);
