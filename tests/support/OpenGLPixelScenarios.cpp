#include "tests/support/OpenGLPixelScenarios.h"

#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/Texture.h"

namespace {

constexpr float kFull = static_cast<float>(kScenarioSize);
constexpr uint32_t kScreenFormat = kFormatColorTex;
constexpr uint32_t kPlain = kObjectStateBlock;
constexpr uint32_t kTextured = kObjectStateBlock | kTextureStage0;
constexpr uint32_t kNearest = 0x0B;  // nearest minification and magnification, no mipmaps
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// A quad as a four-vertex strip, top left, top right, bottom left, bottom right: clockwise on
// the screen. Counter-clockwise swaps the two middle vertices.
std::vector<ScenarioVertex> Quad(float left, float top, float right, float bottom, float z, uint32_t colour,
                                 bool clockwise = true)
{
    std::vector<ScenarioVertex> v = {{left, top, z, colour, 0.0f, 0.0f},
                                     {right, top, z, colour, 1.0f, 0.0f},
                                     {left, bottom, z, colour, 0.0f, 1.0f},
                                     {right, bottom, z, colour, 1.0f, 1.0f}};
    if (!clockwise)
        std::swap(v[1], v[2]);
    return v;
}

ScenarioPart StripPart(uint32_t firstVertex, uint32_t cull = kCullNone)
{
    return ScenarioPart{firstVertex, 4, kPrimitiveTriangleStrip, 2, cull};
}

ScenarioStep DrawStep(uint32_t flagsB, std::vector<ScenarioVertex> vertices, std::vector<ScenarioPart> parts,
                      int texture = -1, uint32_t objectColour = kWhite)
{
    ScenarioStep step{};
    step.kind = ScenarioStepKind::Draw;
    step.draw = ScenarioDraw{kScreenFormat, flagsB, objectColour, std::move(vertices), std::move(parts), texture};
    return step;
}

ScenarioStep FullQuad(uint32_t flagsB, int texture, uint32_t objectColour = kWhite, uint32_t vertexColour = kWhite)
{
    return DrawStep(flagsB, Quad(0.0f, 0.0f, kFull, kFull, 0.0f, vertexColour), {StripPart(0)}, texture, objectColour);
}

ScenarioImage Image(uint16_t width, uint16_t height, uint8_t bits, std::vector<uint8_t> pixels,
                    uint32_t sampling = kNearest)
{
    return ScenarioImage{width, height, bits, std::move(pixels), 0, sampling};
}

ScenarioProbe Probe(int x, int y, uint32_t rgb)
{
    return ScenarioProbe{x, y, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

// Probes at the middle of the top half and of the bottom half.
std::vector<ScenarioProbe> TopBottom(uint32_t top, uint32_t bottom)
{
    return {Probe(32, 16, top), Probe(32, 48, bottom)};
}

PixelScenario Scenario(std::string name, uint32_t clearColour)
{
    PixelScenario s{};
    s.name = std::move(name);
    s.clearColour = clearColour;
    s.sameOnBothRenderers = true;
    return s;
}

PixelScenario ClearColour()
{
    PixelScenario s = Scenario("ClearColour", 0xFF336699);
    s.probes = {Probe(1, 1, 0x336699), Probe(62, 62, 0x336699)};
    return s;
}

// 2 x 2: bottom row red, green; top row blue, white. The top of the image shows at the top.
PixelScenario TexturedQuad()
{
    PixelScenario s = Scenario("TexturedQuad", 0xFF000000);
    s.images = {Image(2, 2, 32, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255})};
    s.steps = {FullQuad(kTextured, 0)};
    s.probes = {Probe(16, 16, 0x0000FF), Probe(48, 16, 0xFFFFFF), Probe(16, 48, 0xFF0000), Probe(48, 48, 0x00FF00)};
    return s;
}

// A white texture with alpha, tinted half-transparent red by the object's colour over blue;
// the green vertex colours are ignored.
PixelScenario TranslucentTextureFactor()
{
    PixelScenario s = Scenario("TranslucentTextureFactor", 0xFF0000FF);
    s.images = {Image(1, 1, 32, {255, 255, 255, 255}, kNearest | 0x40)};
    const uint32_t flags = kTextured | kObjectAlphaBlend | kObjectTextureFactor;
    s.steps = {FullQuad(flags, 0, 0x80FF0000, 0xFF00FF00)};
    s.probes = {Probe(32, 32, 0x80007F)};
    return s;
}

// Column c uses cull code c; the top row is wound clockwise on the screen, the bottom row
// counter-clockwise. Code 1 draws both, like code 0.
PixelScenario CullCodes()
{
    PixelScenario s = Scenario("CullCodes", 0xFF000000);
    std::vector<ScenarioVertex> vertices;
    std::vector<ScenarioPart> parts;
    for (int row = 0; row < 2; ++row) {
        for (uint32_t code = 0; code < 4; ++code) {
            const float left = 16.0f * static_cast<float>(code);
            const float top = 32.0f * static_cast<float>(row);
            parts.push_back(StripPart(static_cast<uint32_t>(vertices.size()), code));
            for (const ScenarioVertex& v : Quad(left, top, left + 16.0f, top + 32.0f, 0.0f, kWhite, row == 0))
                vertices.push_back(v);
        }
    }
    s.steps = {DrawStep(kPlain, vertices, parts)};
    const uint32_t seen[2][4] = {{0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF}, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000}};
    for (int row = 0; row < 2; ++row) {
        for (int code = 0; code < 4; ++code)
            s.probes.push_back(Probe(8 + 16 * code, 16 + 32 * row, seen[row][code]));
    }
    return s;
}

// Red near the viewer first, then green further away over it: the overlap stays red.
PixelScenario Depth()
{
    PixelScenario s = Scenario("Depth", 0xFF000000);
    const uint32_t flags = kPlain | kObjectDepthTest | kObjectDepthWrite;
    s.steps = {DrawStep(flags, Quad(8.0f, 8.0f, 40.0f, 40.0f, -100.0f, 0xFFFF0000), {StripPart(0)}),
               DrawStep(flags, Quad(24.0f, 24.0f, 56.0f, 56.0f, -500.0f, 0xFF00FF00), {StripPart(0)})};
    s.probes = {Probe(16, 16, 0xFF0000), Probe(32, 32, 0xFF0000), Probe(48, 48, 0x00FF00), Probe(4, 60, 0x000000)};
    return s;
}

// Four coloured quadrants copied into a texture, the frame cleared, the texture drawn again.
PixelScenario FrameCopy()
{
    PixelScenario s = Scenario("FrameCopy", 0xFF000000);
    s.images = {Image(kScenarioSize, kScenarioSize, 32, std::vector<uint8_t>(kScenarioSize * kScenarioSize * 4, 0x40))};
    std::vector<ScenarioVertex> vertices;
    std::vector<ScenarioPart> parts;
    const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (uint32_t q = 0; q < 4; ++q) {
        const float left = 32.0f * static_cast<float>(q % 2);
        const float top = 32.0f * static_cast<float>(q / 2);
        parts.push_back(StripPart(static_cast<uint32_t>(vertices.size())));
        for (const ScenarioVertex& v : Quad(left, top, left + 32.0f, top + 32.0f, 0.0f, colours[q]))
            vertices.push_back(v);
    }
    ScenarioStep copy{};
    copy.kind = ScenarioStepKind::CopyFrame;
    copy.texture = 0;
    ScenarioStep clear{};
    clear.kind = ScenarioStepKind::Clear;
    clear.clearColour = 0xFF000000;
    s.steps = {DrawStep(kPlain, vertices, parts), copy, clear, FullQuad(kTextured, 0)};
    s.probes = {Probe(16, 16, 0xFF0000), Probe(48, 16, 0x00FF00), Probe(16, 48, 0x0000FF), Probe(48, 48, 0xFFFF00)};
    return s;
}

// 4 x 2, 24 bits: first stored row red, second blue; blue shows on top.
PixelScenario RowOrder24()
{
    PixelScenario s = Scenario("RowOrder24", 0xFF000000);
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 4; ++i)
        pixels.insert(pixels.end(), {255, 0, 0});
    for (int i = 0; i < 4; ++i)
        pixels.insert(pixels.end(), {0, 0, 255});
    s.images = {Image(4, 2, 24, pixels)};
    s.steps = {FullQuad(kTextured, 0)};
    s.probes = TopBottom(0x0000FF, 0xFF0000);
    return s;
}

// 1 x 2, 24 bits: rows of three bytes, packed without padding.
PixelScenario PackedRows24()
{
    PixelScenario s = Scenario("PackedRows24", 0xFF000000);
    s.images = {Image(1, 2, 24, {0, 255, 0, 255, 0, 0})};
    s.steps = {FullQuad(kTextured, 0)};
    s.probes = TopBottom(0xFF0000, 0x00FF00);
    return s;
}

// 2 x 2 luminance, rows of two bytes.
PixelScenario Luminance8()
{
    PixelScenario s = Scenario("Luminance8", 0xFF000000);
    s.images = {Image(2, 2, 8, {0x20, 0x40, 0x80, 0xC0})};
    s.steps = {FullQuad(kTextured, 0)};
    s.probes = {Probe(16, 16, 0x808080), Probe(48, 16, 0xC0C0C0), Probe(16, 48, 0x202020), Probe(48, 48, 0x404040)};
    return s;
}

// 1 x 2 luminance and alpha over blue: the bottom texel grey at half alpha, the top one opaque.
PixelScenario LuminanceAlpha16()
{
    PixelScenario s = Scenario("LuminanceAlpha16", 0xFF0000FF);
    s.images = {Image(1, 2, 16, {0xFF, 0x80, 0x60, 0xFF}, kNearest | 0x40)};
    s.steps = {FullQuad(kTextured | kObjectAlphaBlend, 0)};
    s.probes = TopBottom(0x606060, 0x8080FF);
    return s;
}

// 8 bits with the alpha flag: alpha from the texture, colour from the vertices.
PixelScenario Alpha8()
{
    PixelScenario s = Scenario("Alpha8", 0xFF0000FF);
    s.images = {Image(1, 1, 8, {0x80}, kNearest | 0x40)};
    s.steps = {FullQuad(kTextured | kObjectAlphaBlend, 0)};
    s.probes = {Probe(32, 32, 0x8080FF)};
    s.sameOnBothRenderers = false;
    s.note = "Direct3D 8 makes the 8-bit alpha image a luminance texture with alpha 255 (opaque grey 0x80)";
    return s;
}

Result DrawObject(C3DEngine* engine, const ScenarioDraw& draw, const std::vector<C3DTexture*>& textures)
{
    C3DObject* object = engine->CreateObject(draw.flagsA, draw.flagsB);
    if (!object)
        return RES_FAIL;
    const uint32_t count = static_cast<uint32_t>(draw.vertices.size());
    const uint32_t partCount = static_cast<uint32_t>(draw.parts.size());
    Result result = object->Create(partCount, count, count);
    if (Succeeded(result))
        result = object->Lock();
    if (Succeeded(result)) {
        for (uint32_t i = 0; i < count; ++i) {
            const ScenarioVertex& v = draw.vertices[i];
            object->SetVertex(i, v.x, v.y, v.z, v.colour, v.u, v.v, 0.0f, 0.0f, -1.0f, 0);
        }
        for (uint32_t p = 0; p < partCount && Succeeded(result); ++p) {
            const ScenarioPart& part = draw.parts[p];
            object->FillIndexRange(part.firstVertex, part.vertexCount);
            result = object->SetPrimitiveGroup(p, part.firstVertex, part.vertexCount, part.firstVertex,
                                               part.vertexCount, part.primitiveCount, part.type, part.cull,
                                               kPartNumberId);
        }
        if (Succeeded(result) && draw.texture >= 0)
            result = object->SetTextureAll(textures[static_cast<size_t>(draw.texture)], 0);
        const Result unlocked = object->Unlock(1);
        if (Succeeded(result))
            result = unlocked;
    }
    if (Succeeded(result)) {
        object->SetColor(draw.objectColour);
        result = object->Render();
    }
    const Result destroyed = engine->DestroyObject(object);
    return Failed(result) ? result : destroyed;
}

Result RunStep(C3DEngine* engine, const ScenarioStep& step, const std::vector<C3DTexture*>& textures)
{
    switch (step.kind) {
    case ScenarioStepKind::Draw: return DrawObject(engine, step.draw, textures);
    case ScenarioStepKind::CopyFrame: return textures[static_cast<size_t>(step.texture)]->CopyFrom(0, 0, 0, 0);
    case ScenarioStepKind::Clear:
        engine->GetWorldData()->clearColor = step.clearColour;
        engine->Clear();
        return RES_OK;
    }
    return RES_FAIL;
}

} // namespace

std::vector<PixelScenario> OpenGLPixelScenarios()
{
    return {ClearColour(), TexturedQuad(), TranslucentTextureFactor(), CullCodes(), Depth(), FrameCopy(),
            RowOrder24(), PackedRows24(), Luminance8(), LuminanceAlpha16(), Alpha8()};
}

Result DrawPixelScenario(C3DEngine* engine, const PixelScenario& scenario)
{
    engine->GetWorldData()->clearColor = scenario.clearColour;
    std::vector<C3DTexture*> textures;
    Result result = engine->BeginFrame();
    for (const ScenarioImage& image : scenario.images) {
        C3DTexture* texture = engine->CreateTexture(image.flags, image.sampling);
        if (texture && Failed(texture->Create(image.width, image.height, image.bits, image.pixels.data(), nullptr)))
            result = RES_FAIL;
        if (!texture)
            result = RES_FAIL;
        textures.push_back(texture);
    }
    for (size_t i = 0; i < scenario.steps.size() && Succeeded(result); ++i)
        result = RunStep(engine, scenario.steps[i], textures);
    for (C3DTexture* texture : textures) {
        if (texture && Failed(engine->DestroyTexture(texture)))
            result = RES_FAIL;
    }
    return result;
}
