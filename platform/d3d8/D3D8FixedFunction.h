#pragma once
#include <array>
#include <string>
#include <cstdint>

#include "platform/d3d8/D3D8Types.h"

// OpenGL Shading Language programs that do what Direct3D 8's fixed-function pipeline does for
// one combination of states. Keys hold only what changes the program text; values that do not
// (matrices, colours, light parameters) travel as uniforms.

// Where a lit colour comes from.
enum class ED3D8ColorSource { Material, VertexDiffuse, VertexSpecular };

enum class ED3D8Fog {
    None,
    PixelDepth,   // table fog: the factor follows from the depth per pixel
    VertexFactor, // the factor comes per vertex (vertex fog, or the specular alpha)
};

struct CD3D8VertexKey {
    bool transformed = false;
    bool normal = false;
    bool diffuse = false;
    bool specular = false;
    bool pointSize = false;
    UINT texSets = 0;
    std::array<UINT, 8> texComponents{};
    std::array<UINT, 8> texCoordIndex{};  // per stage: the coordinate set it reads
    UINT stagesWithCoordinates = 0;
    bool lighting = false;
    UINT lights = 0;
    ED3D8ColorSource diffuseSource = ED3D8ColorSource::Material;
    ED3D8ColorSource ambientSource = ED3D8ColorSource::Material;
    ED3D8ColorSource specularSource = ED3D8ColorSource::Material;
    ED3D8ColorSource emissiveSource = ED3D8ColorSource::Material;
    bool specularLighting = false;
    bool localViewer = false;
    bool normalize = false;
    ED3D8Fog fog = ED3D8Fog::None;
    DWORD fogFormula = D3DFOG_NONE;  // for vertex fog; D3DFOG_NONE takes the specular alpha
    bool rangeFog = false;
    bool fogFromW = false;  // table fog on the w of a perspective projection, else on z
    bool pointScale = false;
};

struct CD3D8StageKey {
    DWORD colorOp = D3DTOP_DISABLE;
    std::array<DWORD, 3> colorArgs{};  // arg0, arg1, arg2
    DWORD alphaOp = D3DTOP_DISABLE;
    std::array<DWORD, 3> alphaArgs{};
    bool toTemp = false;
    bool texture = false;  // a texture is bound on the stage
};

struct CD3D8CombinerKey {
    std::array<CD3D8StageKey, 8> stages;  // up to the first disabled one
    UINT count = 0;
    bool specularAdd = false;
};

struct CD3D8FragmentKey {
    ED3D8Fog fog = ED3D8Fog::None;
    DWORD fogFormula = D3DFOG_NONE;
    DWORD alphaFunc = D3DCMP_ALWAYS;
    bool sprite = false;  // point sprite: every stage reads the sprite's own coordinates
};

// The program of a draw as bytes: the three keys, and the handle of the pixel shader that
// replaces the texture stages (0: none). The keys must hold only values that change the program
// text (arguments without unused bits, unknown operations and fog formulas as one value each),
// so that equal programs have equal keys.
struct CD3D8ProgramKey {
    std::array<uint8_t, 128> bytes{};

    bool operator==(const CD3D8ProgramKey& other) const { return bytes == other.bytes; }
};

struct CD3D8ProgramKeyHash {
    size_t operator()(const CD3D8ProgramKey& key) const;
};

CD3D8ProgramKey D3D8ProgramKey(DWORD pixelShader, const CD3D8VertexKey& vertex, const CD3D8FragmentKey& fragment,
                               const CD3D8CombinerKey& combiner);
DWORD D3D8ProgramKeyShader(const CD3D8ProgramKey& key);

std::string D3D8VertexSource(const CD3D8VertexKey& key);
// The texture stages as statements leaving the colour in "color"; samplers gets a bit per stage
// whose texture is read.
std::string D3D8CombinerBody(const CD3D8CombinerKey& key, DWORD& samplers);
// A whole fragment program around such statements, with fog and the alpha test after them.
std::string D3D8FragmentSource(const std::string& body, DWORD samplers, const CD3D8FragmentKey& key);
