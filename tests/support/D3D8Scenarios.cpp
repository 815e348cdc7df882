#include "tests/support/D3D8Scenarios.h"

#include <cstdlib>

namespace D3D8Scenarios {

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kYellow = 0xFFFFFF00;

// Two triangles, both clockwise on screen.
std::vector<CVertex> Quad(float left, float top, float right, float bottom, uint32_t color, float z = 0.5f)
{
    return {{left, top, z, color, 0.0f, 0.0f},      {right, top, z, color, 1.0f, 0.0f},
            {left, bottom, z, color, 0.0f, 1.0f},   {right, top, z, color, 1.0f, 0.0f},
            {right, bottom, z, color, 1.0f, 1.0f},  {left, bottom, z, color, 0.0f, 1.0f}};
}

CStep Clear(uint32_t color)
{
    CStep step;
    step.kind = CStep::EKind::Clear;
    step.clearColor = color;
    return step;
}

CStep Draw(const CDraw& draw)
{
    CStep step;
    step.kind = CStep::EKind::Draw;
    step.draw = draw;
    return step;
}

CStep CopyToTexture(int texture)
{
    CStep step;
    step.kind = CStep::EKind::CopyToTexture;
    step.texture = texture;
    return step;
}

CDraw Shape(std::vector<CVertex> vertices)
{
    CDraw draw;
    draw.vertices = std::move(vertices);
    return draw;
}

CTexture Quadrants(int size)
{
    CTexture texture{size, size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            bool right = x >= size / 2;
            bool bottom = y >= size / 2;
            texture.texels.push_back(bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed));
        }
    }
    return texture;
}

CScenario ClearScene()
{
    return {"clear", {}, {Clear(0xFF336699)}, {{0, 0, 0xFF336699}, {63, 63, 0xFF336699}, {32, 32, 0xFF336699}}};
}

CScenario TexturedQuad()
{
    CDraw quad = Shape(Quad(8, 8, 56, 56, kWhite));
    quad.transformed = false;
    quad.color = EColor::Texture;
    quad.texture = 0;
    return {"textured quad",
            {Quadrants(4)},
            {Clear(kBlack), Draw(quad)},
            {{16, 16, kRed}, {48, 16, kGreen}, {16, 48, kBlue}, {48, 48, kWhite}, {4, 4, kBlack}, {60, 60, kBlack}}};
}

CScenario TextureFactor()
{
    CDraw once = Shape(Quad(4, 8, 30, 56, kWhite));
    once.color = EColor::TextureFactor;
    once.texture = 0;
    once.factor = 0xFF808080;
    CDraw twice = Shape(Quad(34, 8, 60, 56, kWhite));
    twice.color = EColor::TextureFactorTwice;
    twice.texture = 0;
    twice.factor = 0xFF404040;
    return {"texture factor",
            {{2, 2, {0xFF80C040, 0xFF80C040, 0xFF80C040, 0xFF80C040}}},
            {Clear(kBlack), Draw(once), Draw(twice)},
            {{16, 32, 0xFF406020}, {48, 32, 0xFF406020}, {32, 32, kBlack}}};
}

CScenario AlphaBlending()
{
    CDraw alpha = Shape(Quad(4, 8, 20, 56, 0x80FF0000));
    alpha.blend = EBlend::Alpha;
    CDraw add = Shape(Quad(24, 8, 40, 56, 0xFF008000));
    add.blend = EBlend::Add;
    CDraw multiply = Shape(Quad(44, 8, 60, 56, 0xFF808080));
    multiply.blend = EBlend::Multiply;
    return {"alpha blending",
            {},
            {Clear(kBlue), Draw(alpha), Draw(add), Draw(multiply)},
            {{12, 32, 0xFF80007F}, {32, 32, 0xFF0080FF}, {52, 32, 0xFF000080}, {32, 2, kBlue}}};
}

CScenario AlphaTest()
{
    CDraw quad = Shape(Quad(0, 16, 64, 48, kWhite));
    quad.color = EColor::Texture;
    quad.texture = 0;
    quad.alphaReference = 1;
    return {"alpha test",
            {{4, 1, {0x00FF0000, 0x01FF0000, 0xC8FF0000, 0xFFFF0000}}},
            {Clear(kGreen), Draw(quad)},
            {{8, 32, kGreen}, {24, 32, kRed}, {40, 32, kRed}, {56, 32, kRed}, {32, 8, kGreen}}};
}

CScenario Culling(const char* name, ECull cull, uint32_t left, uint32_t right)
{
    CDraw triangles = Shape({{4, 8, 0.5f, kRed, 0, 0},
                             {28, 8, 0.5f, kRed, 0, 0},
                             {4, 56, 0.5f, kRed, 0, 0},
                             {36, 8, 0.5f, kGreen, 0, 0},
                             {36, 56, 0.5f, kGreen, 0, 0},
                             {60, 8, 0.5f, kGreen, 0, 0}});
    triangles.cull = cull;
    return {name, {}, {Clear(kBlack), Draw(triangles)}, {{10, 20, left}, {50, 20, right}, {32, 60, kBlack}}};
}

CScenario Stencil()
{
    CDraw first = Shape(Quad(8, 8, 40, 56, kWhite));
    first.writeColor = false;
    first.stencil = {true, ECompare::Always, 0, EStencilOp::Increment};
    CDraw second = first;
    second.vertices = Quad(24, 8, 56, 56, kWhite);
    CDraw once = Shape(Quad(0, 0, 64, 64, kWhite));
    once.stencil = {true, ECompare::Equal, 1, EStencilOp::Keep};
    CDraw twice = Shape(Quad(0, 0, 64, 64, kRed));
    twice.stencil = {true, ECompare::Equal, 2, EStencilOp::Keep};
    return {"stencil",
            {},
            {Clear(kBlack), Draw(first), Draw(second), Draw(once), Draw(twice)},
            {{14, 32, kWhite}, {32, 32, kRed}, {50, 32, kWhite}, {3, 32, kBlack}, {60, 32, kBlack}}};
}

CScenario Transformed()
{
    CDraw near = Shape(Quad(24, 24, 56, 56, kGreen, 0.25f));
    near.depthTest = true;
    CDraw middle = Shape(Quad(8, 8, 40, 40, kRed, 0.5f));
    middle.depthTest = true;
    CDraw far = Shape(Quad(0, 0, 64, 64, kBlue, 0.75f));
    far.depthTest = true;
    return {"transformed vertices",
            {},
            {Clear(kBlack), Draw(near), Draw(middle), Draw(far)},
            {{16, 16, kRed}, {48, 48, kGreen}, {32, 32, kGreen}, {58, 6, kBlue}, {12, 52, kBlue}}};
}

CScenario PointSprites()
{
    CDraw points = Shape({{16, 16, 0.5f, kWhite, 0, 0}, {48, 40, 0.5f, kWhite, 0, 0}});
    points.primitive = EPrimitive::PointList;
    points.color = EColor::Texture;
    points.texture = 0;
    points.pointSize = 16.0f;
    points.pointSprite = true;
    return {"point sprites",
            {Quadrants(2)},
            {Clear(kBlack), Draw(points)},
            {{12, 12, kRed},
             {20, 12, kGreen},
             {12, 20, kBlue},
             {20, 20, kWhite},
             {44, 36, kRed},
             {52, 44, kWhite},
             {32, 28, kBlack}}};
}

CScenario FrameCopy()
{
    CDraw picture = Shape(Quad(0, 0, 32, 32, kRed));
    for (const auto& part : {Quad(32, 0, 64, 32, kGreen), Quad(0, 32, 32, 64, kWhite), Quad(32, 32, 64, 64, kYellow)})
        picture.vertices.insert(picture.vertices.end(), part.begin(), part.end());
    CDraw copy = Shape(Quad(16, 16, 48, 48, kWhite));
    copy.color = EColor::Texture;
    copy.texture = 0;
    return {"frame copied into a texture",
            {{kWidth, kHeight, std::vector<uint32_t>(kWidth * kHeight, kBlack)}},
            {Clear(kBlack), Draw(picture), CopyToTexture(0), Clear(kBlue), Draw(copy)},
            {{20, 20, kRed}, {44, 20, kGreen}, {20, 44, kWhite}, {44, 44, kYellow}, {8, 8, kBlue}}};
}

} // namespace

const std::vector<CScenario>& All()
{
    static const std::vector<CScenario> scenarios = {
        ClearScene(),
        TexturedQuad(),
        TextureFactor(),
        AlphaBlending(),
        AlphaTest(),
        Culling("culling none", ECull::None, kRed, kGreen),
        Culling("culling clockwise", ECull::Clockwise, kBlack, kGreen),
        Culling("culling counter-clockwise", ECull::CounterClockwise, kRed, kBlack),
        Stencil(),
        Transformed(),
        PointSprites(),
        FrameCopy(),
    };
    return scenarios;
}

const CScenario& Named(const std::string& name)
{
    for (const CScenario& scenario : All()) {
        if (scenario.name == name)
            return scenario;
    }
    return All().front();
}

bool Near(uint32_t expected, uint32_t actual)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int difference = static_cast<int>((expected >> shift) & 0xFF) - static_cast<int>((actual >> shift) & 0xFF);
        if (std::abs(difference) > 1)
            return false;
    }
    return true;
}

} // namespace D3D8Scenarios
