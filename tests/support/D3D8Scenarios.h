#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Small scenes that both renderers must draw alike, described without either's interface, with
// the colours expected at probe points (kept clear of edges, where the two pixel-centre rules
// may differ). Targets are kWidth x kHeight pixels; positions are pixels from the top-left, depth
// in [0, 1]; colours are 0xAARRGGBB; texels run in rows from the top; texture coordinates have
// (0, 0) at the top-left texel corner; every texture is sampled with point filtering and
// clamped at its edges. Targets are opaque: a renderer passes when red, green and blue of every
// probe are within one of the expected colour.
namespace D3D8Scenarios {

constexpr int kWidth = 64;
constexpr int kHeight = 64;

struct CVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};

struct CTexture {
    int width;
    int height;
    std::vector<uint32_t> texels;
};

enum class EPrimitive { TriangleList, TriangleStrip, PointList };

// Where a pixel's colour and alpha come from.
enum class EColor {
    Vertex,             // the vertex colour
    Texture,            // texel x vertex colour
    TextureFactor,      // texel x the draw's factor colour
    TextureFactorTwice  // texel x factor x 2, clamped
};

enum class EBlend {
    None,
    Alpha,    // source x source alpha + target x (1 - source alpha)
    Add,      // source + target
    Multiply  // target x source
};

// Which winding on screen is removed.
enum class ECull { None, Clockwise, CounterClockwise };

enum class ECompare { Always, Equal, NotEqual };
enum class EStencilOp { Keep, Increment };

struct CStencil {
    bool enabled = false;
    ECompare compare = ECompare::Always;
    int reference = 0;
    EStencilOp pass = EStencilOp::Keep;  // applied where the stencil and depth tests pass
};

struct CDraw {
    EPrimitive primitive = EPrimitive::TriangleList;
    std::vector<CVertex> vertices;
    bool transformed = true;  // positions given as screen pixels; else through an orthographic
                              // projection that maps the same pixels (the renderers' screen projection)
    EColor color = EColor::Vertex;
    int texture = -1;
    uint32_t factor = 0xFFFFFFFF;
    EBlend blend = EBlend::None;
    int alphaReference = -1;  // >= 0: keep pixels whose alpha (0-255) is at least this
    ECull cull = ECull::None;
    bool depthTest = false;  // less-or-equal, writing depth
    bool writeColor = true;
    CStencil stencil;
    float pointSize = 1.0f;
    bool pointSprite = false;  // every texture read uses the sprite's own coordinates
};

struct CStep {
    enum class EKind { Clear, Draw, CopyToTexture };
    EKind kind = EKind::Clear;
    uint32_t clearColor = 0xFF000000;  // clears colour, depth to 1 and stencil to 0
    CDraw draw;
    int texture = -1;  // CopyToTexture: the whole target into this texture (same size)
};

struct CProbe {
    int x;
    int y;
    uint32_t color;
};

struct CScenario {
    std::string name;
    std::vector<CTexture> textures;
    std::vector<CStep> steps;
    std::vector<CProbe> probes;
};

const std::vector<CScenario>& All();
const CScenario& Named(const std::string& name);

// Whether red, green and blue differ by at most one.
bool Near(uint32_t expected, uint32_t actual);

} // namespace D3D8Scenarios
