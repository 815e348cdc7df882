#pragma once
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/d3d8/D3D8FixedFunction.h"
#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8State.h"

// Linked OpenGL programs by the key that made them, with their uniform locations.

enum class ED3D8Uniform {
    WorldView,
    Projection,
    NormalMatrix,
    Target,
    Point,
    PointScale,
    Fog,
    FogColor,
    TFactor,
    AlphaRef,
    MaterialDiffuse,
    MaterialAmbient,
    MaterialSpecular,
    MaterialEmissive,
    MaterialPower,
    Ambient,
    LightDiffuse,
    LightSpecular,
    LightAmbient,
    LightPosition,
    LightDirection,
    LightAttenuation,
    LightSpot,
    Sampler0,
    Count = Sampler0 + 8,
};

// Vertex attribute numbers the programs are linked with.
constexpr GLuint kD3D8AttributePosition = 0;
constexpr GLuint kD3D8AttributeNormal = 1;
constexpr GLuint kD3D8AttributeDiffuse = 2;
constexpr GLuint kD3D8AttributeSpecular = 3;
constexpr GLuint kD3D8AttributePointSize = 4;
constexpr GLuint kD3D8AttributeTexture0 = 5;
constexpr GLuint kD3D8AttributeCount = kD3D8AttributeTexture0 + 8;

struct CD3D8Program {
    GLuint name = 0;
    DWORD samplers = 0;  // bit s: the program samples the texture of stage s
    std::array<GLint, static_cast<size_t>(ED3D8Uniform::Count)> uniforms{};
    std::array<uint64_t, kD3D8ChangeGroups> loaded{};  // serials of the state groups last loaded

    GLint Location(ED3D8Uniform uniform) const { return uniforms[static_cast<size_t>(uniform)]; }
};

class CD3D8ProgramCache {
public:
    CD3D8ProgramCache() = default;
    CD3D8ProgramCache(const CD3D8ProgramCache&) = delete;
    CD3D8ProgramCache& operator=(const CD3D8ProgramCache&) = delete;
    ~CD3D8ProgramCache();  // the device's context must be current

    CD3D8Program* Find(const CD3D8ProgramKey& key) const;
    // Null when the sources do not compile or link; the message goes to standard error.
    CD3D8Program* Add(const CD3D8ProgramKey& key, const std::string& vertex, const std::string& fragment,
                      DWORD samplers);
    // Drops the programs of a pixel shader.
    void Forget(DWORD pixelShader);

    // Whether a fragment program compiles on its own.
    static bool Compiles(const std::string& fragment);

private:
    std::unordered_map<CD3D8ProgramKey, std::unique_ptr<CD3D8Program>, CD3D8ProgramKeyHash> m_programs;
};
