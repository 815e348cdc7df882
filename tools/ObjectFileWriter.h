#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A 3D object laid out for writing ".3dx" files of any version (2, 4, 8 or 16), for tests and
// sample data. Each part names its vertex range and its index range; the indices count from the
// part's first vertex.
struct C3dxPart {
    // id, first vertex, vertex count, first index, index count, primitive count, type, cull mode
    std::array<uint32_t, 8> record{};
    std::string textureName;
    uint32_t textureFlags = 0;
    uint32_t textureParams = 0;
    // diffuse, ambient, specular and emissive RGBA, then power
    std::array<float, 17> material{};
};

struct C3dxVertex {
    float position[3];
    float normal[3];
    uint32_t colour;
    uint32_t colour2;
    float uv[2];
};

struct C3dxModel {
    std::vector<C3dxPart> parts;
    std::vector<C3dxVertex> vertices;
    std::vector<uint32_t> indices;
    uint32_t indexKind = 0;  // version 16: 1 stores u16 indices
};

// Content flags of the header, as the engine reads them.
constexpr uint32_t kWrite3dxPositions = 0x10000;
constexpr uint32_t kWrite3dxNormals = 0x20000;
constexpr uint32_t kWrite3dxColors = 0x40000;
constexpr uint32_t kWrite3dxColors2 = 0x80000;
constexpr uint32_t kWrite3dxUVs = 0x100000;
constexpr uint32_t kWrite3dxMaterials = 0x400000;
constexpr uint32_t kWrite3dxTextureNames = 0x800000;
constexpr uint32_t kWrite3dxTextureFlags = 0x1000000;
constexpr uint32_t kWrite3dxTextureParams = 0x2000000;
constexpr uint32_t kWrite3dxEverything = 0x3DF0000;

// The file's bytes. Version 2 stores every vertex field whatever the flags say (a reader wants
// them all flagged), its diffuse, ambient and specular colours without alpha, and fills its
// skipped fields with 0xCD. Versions 2 and 4 store each part's own vertex and index ranges
// (empty when a range lies outside the model). Texture names are cut to a fixed field (128
// bytes in versions 4 and 8, 511 in version 2); version 16 stores the whole name, even one no
// reader takes. Empty for an unknown version.
std::string Make3dxBytes(const C3dxModel& model, uint32_t version, uint32_t flags);

// Appends a quad part (two triangles, white, normal towards the viewer): corners top left, top
// right, bottom left, bottom right of rect {left, top, right, bottom} with the texture
// coordinates of uv in the same order. A texture is loaded as the engine loads objects' ones,
// blended by its alpha.
void Add3dxQuad(C3dxModel& model, const std::array<float, 4>& rect, const std::array<float, 4>& uv,
                const std::string& texture);

// Writes the bytes to a file; false when it cannot be written.
bool Write3dxFile(const std::string& path, const C3dxModel& model, uint32_t version, uint32_t flags);
