// Scenes drawn through the Direct3D 8 module and through the OpenGL module and compared pixel by
// pixel; where the two renderers differ on purpose, each is checked against its own formula.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/OpenGLTestRig.h"

namespace {

// Objects apply their recorded state when drawn, as the game's do.
constexpr uint32_t kSolid = kObjectStateBlock | kObjectDepthTest | kObjectDepthWrite;
constexpr uint32_t kLit = kObjectLights | kObjectLighting | kObjectMaterials;
constexpr uint32_t kBackground = 0xFF202020;

// A vertex in clip space (the scene's projection and view are identity); depth in [0, 1].
struct Vertex {
    float x, y, z;
    uint32_t colour;
    float nx = 0.0f, ny = 0.0f, nz = -1.0f;
};

struct SceneObject {
    uint32_t flagsA = kFormatNormalTex;
    uint32_t flagsB = kSolid;
    uint32_t primitive = kPrimitiveTriangleStrip;
    std::vector<Vertex> vertices;
    uint32_t colour = 0xFFFFFFFF;  // the object's colour, the texture factor
    float pointSize = 0.0f;  // a fraction of the size range of the data block
    std::array<int, 2> stageGreys{-1, -1};  // >= 0: a one-texel texture of that grey on the stage
};

struct Scene {
    int width = 64;
    int height = 64;
    std::function<void(CWorldData&)> settings = [](CWorldData&) {};
    std::vector<SceneObject> objects;
};

// A quad as a strip, one colour and normal.
SceneObject Quad(float left, float top, float right, float bottom, float z, uint32_t colour, uint32_t flagsB = kSolid,
                 float nx = 0.0f, float ny = 0.0f, float nz = -1.0f)
{
    SceneObject object;
    object.flagsB = flagsB;
    for (int corner = 0; corner < 4; ++corner)
        object.vertices.push_back(Vertex{corner % 2 ? right : left, corner / 2 ? bottom : top, z, colour, nx, ny, nz});
    return object;
}

// Points of the largest sprite size.
SceneObject Points(const std::vector<Vertex>& points, uint32_t flagsB = kObjectStateBlock, uint32_t colour = 0xFFFFFFFF)
{
    SceneObject object;
    object.flagsA = kFormatColor;
    object.flagsB = flagsB;
    object.primitive = kPrimitivePointList;
    object.vertices = points;
    object.pointSize = 1.0f;
    object.colour = colour;
    return object;
}

// Both lights on: light 0 directional from the upper left, light 1 a point light in front.
void TwoLights(CWorldData& d)
{
    d.lighting[0] = d.lighting[1] = 1;
    d.ambientColor = 0xFF333333;  // OpenGL's own global ambient, 0.2
    d.lights[0] = CLightRecord{{1, 1}, 0, {-1.0f, 1.0f, -1.0f}, {}, 0.6f, 0.0f, 0.1f, 0, 0, 0};
    d.lights[1] = CLightRecord{{1, 1}, 1, {0.5f, -0.5f, -0.5f}, {}, 0.4f, 0.0f, 0.05f, 0, 0, 0};
}

// Sprites of size pixels.
void SpriteSize(CWorldData& d, float size)
{
    d.pointSpriteMinSize = 0.0f;
    d.pointSpriteMaxSize = size;
}

void LinearFog(CWorldData& d)
{
    d.fog = CFogRecord{{1, 1}, 0xFF8090A0, 0.2f, 0.8f, 0.0f, 0, 3, 0};
}

using Frame = std::vector<uint32_t>;  // 0x00RRGGBB, rows from the top

// Draws the scene through the rig's engine and reads the frame before it is presented.
template <typename TRig>
Frame Draw(const Scene& scene, const std::function<Frame(TRig&)>& read)
{
    TRig rig(static_cast<uint16_t>(scene.width), static_cast<uint16_t>(scene.height));
    CWorldData& d = *rig.Data();
    d.clearColor = kBackground;
    scene.settings(d);
    if (rig.Load() != RES_OK)
        return {};
    C3DEngine* engine = rig.Engine();
    EXPECT_EQ(engine->FogingInit(), RES_OK);
    EXPECT_EQ(engine->LightingInit(0xFFFFFFFFu), RES_OK);
    EXPECT_EQ(engine->PointSpriteInit(), RES_OK);
    d.math->Identity(&d.matrices[kMatrixProjection]);
    EXPECT_EQ(engine->GetCamera()->ApplyProjection(), RES_OK);
    std::vector<C3DObject*> objects;
    std::vector<C3DTexture*> textures;
    for (const SceneObject& from : scene.objects) {
        C3DObject* object = engine->CreateObject(from.flagsA, from.flagsB);
        const auto count = static_cast<uint32_t>(from.vertices.size());
        EXPECT_EQ(object->Create(1, count, count), RES_OK);
        object->SetColor(from.colour);
        if (from.pointSize > 0.0f)
            object->SetPointSize(from.pointSize);
        EXPECT_EQ(object->Lock(), RES_OK);
        for (uint32_t i = 0; i < count; ++i) {
            const Vertex& v = from.vertices[i];
            // Unit normals: the OpenGL renderer does not normalise them.
            const float length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
            object->SetVertex(i, v.x, v.y, v.z, v.colour, 0.0f, 0.0f, v.nx / length, v.ny / length, v.nz / length, 0);
        }
        object->FillIndexRange(0, count);
        const uint32_t primitives = from.primitive == kPrimitivePointList
                                        ? count
                                        : (from.primitive == kPrimitiveTriangleList ? count / 3 : count - 2);
        EXPECT_EQ(
            object->SetPrimitiveGroup(0, 0, count, 0, count, primitives, from.primitive, kCullNone, kPartNumberId),
            RES_OK);
        EXPECT_EQ(object->Unlock(1), RES_OK);
        for (uint32_t stage = 0; stage < 2; ++stage) {
            if (from.stageGreys[stage] < 0)
                continue;
            const auto grey = static_cast<uint8_t>(from.stageGreys[stage]);
            const uint8_t texel[4] = {grey, grey, grey, 255};
            C3DTexture* texture = engine->CreateTexture(0, 0);
            EXPECT_EQ(texture->Create(1, 1, 32, texel, nullptr), RES_OK);
            EXPECT_EQ(object->SetPartTexture(texture, 0, stage), RES_OK);
            textures.push_back(texture);
        }
        objects.push_back(object);
    }
    EXPECT_EQ(engine->BeginFrame(), RES_OK);
    for (C3DObject* object : objects)
        EXPECT_EQ(object->Render(), RES_OK);
    Frame frame = read(rig);
    EXPECT_EQ(engine->EndFrame(), RES_OK);
    for (C3DObject* object : objects)
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    for (C3DTexture* texture : textures)
        EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
    return frame;
}

Frame DrawDirect3D(const Scene& scene)
{
    return Draw<D3D8RendererTestRig>(scene, [](D3D8RendererTestRig& rig) {
        Frame frame;
        IDirect3DSurface8* target = nullptr;
        D3DSURFACE_DESC desc{};
        D3DLOCKED_RECT locked{};
        if (rig.Device()->GetRenderTarget(&target) < 0)
            return frame;
        target->GetDesc(&desc);
        if (target->LockRect(&locked, nullptr, D3DLOCK_READONLY) >= 0) {
            for (UINT y = 0; y < desc.Height; ++y) {
                const auto* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y;
                for (UINT x = 0; x < desc.Width; ++x) {
                    uint32_t pixel = 0;
                    memcpy(&pixel, row + 4 * x, sizeof pixel);
                    frame.push_back(pixel & 0xFFFFFFu);
                }
            }
            target->UnlockRect();
        }
        target->Release();
        return frame;
    });
}

Frame DrawOpenGL(const Scene& scene)
{
    return Draw<OpenGLTestRig>(scene, [&scene](OpenGLTestRig&) {
        std::vector<uint8_t> rgba(static_cast<size_t>(scene.width) * scene.height * 4);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, scene.width, scene.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Frame frame(static_cast<size_t>(scene.width) * scene.height);
        for (int y = 0; y < scene.height; ++y) {
            for (int x = 0; x < scene.width; ++x) {
                const uint8_t* p = &rgba[(static_cast<size_t>(scene.height - 1 - y) * scene.width + x) * 4];
                frame[static_cast<size_t>(y) * scene.width + x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
            }
        }
        return frame;
    });
}

bool Close(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

std::string Hex(uint32_t colour)
{
    char text[12];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

class RendererEquivalenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RendererTestRig::HasDisplay())
            GTEST_SKIP() << "needs an X display";
    }

    // Every pixel of one frame lies, channel by channel, within the colours of the pixels around
    // it in the other frame (Direct3D's pixel centres sit half a pixel off OpenGL's; outside the
    // frame counts as background), give or take tolerance. A gap or line one pixel wide may close
    // or open with that offset: at most one pixel in a thousand may miss. The scene drew something.
    static void ExpectAlike(const Scene& scene, int tolerance = 3)
    {
        const Frame direct3D = DrawDirect3D(scene);
        const Frame openGL = DrawOpenGL(scene);
        const size_t size = static_cast<size_t>(scene.width) * scene.height;
        ASSERT_EQ(direct3D.size(), size);
        ASSERT_EQ(openGL.size(), size);
        ExpectCovered(direct3D, openGL, scene, tolerance, "Direct3D 8", "OpenGL");
        ExpectCovered(openGL, direct3D, scene, tolerance, "OpenGL", "Direct3D 8");
        size_t drawn = 0;
        for (uint32_t pixel : direct3D)
            drawn += pixel != (kBackground & 0xFFFFFFu) ? 1 : 0;
        EXPECT_GT(drawn, size / 8);
    }

    static bool Between(uint32_t pixel, const Frame& other, const Scene& scene, int x, int y, int tolerance)
    {
        for (int shift = 0; shift <= 16; shift += 8) {
            int low = 255;
            int high = 0;
            for (int oy = y - 1; oy <= y + 1; ++oy) {
                for (int ox = x - 1; ox <= x + 1; ++ox) {
                    const bool inside = ox >= 0 && oy >= 0 && ox < scene.width && oy < scene.height;
                    const uint32_t near = inside ? other[static_cast<size_t>(oy) * scene.width + ox] : kBackground;
                    low = std::min(low, static_cast<int>((near >> shift) & 0xFF));
                    high = std::max(high, static_cast<int>((near >> shift) & 0xFF));
                }
            }
            const int value = static_cast<int>((pixel >> shift) & 0xFF);
            if (value < low - tolerance || value > high + tolerance)
                return false;
        }
        return true;
    }

    static void ExpectCovered(const Frame& frame, const Frame& other, const Scene& scene, int tolerance,
                              const char* name, const char* otherName)
    {
        size_t misses = 0;
        std::string first;
        for (int y = 0; y < scene.height; ++y) {
            for (int x = 0; x < scene.width; ++x) {
                const uint32_t pixel = frame[static_cast<size_t>(y) * scene.width + x];
                if (!Between(pixel, other, scene, x, y, tolerance) && misses++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + name + " " + Hex(pixel) +
                            ", " + otherName + " " + Hex(other[static_cast<size_t>(y) * scene.width + x]);
            }
        }
        EXPECT_LE(misses, frame.size() / 1000)
            << "pixels of " << name << " outside " << otherName << "'s, first at " << first;
    }

    // The centre pixel of each renderer's frame is within one step of that renderer's colour.
    static void ExpectOwnColours(const Scene& scene, uint32_t direct3D, uint32_t openGL)
    {
        const Frame drawn[] = {DrawDirect3D(scene), DrawOpenGL(scene)};
        const uint32_t expected[] = {direct3D, openGL};
        const size_t centre = static_cast<size_t>(scene.height / 2) * scene.width + scene.width / 2;
        for (int i = 0; i < 2; ++i) {
            ASSERT_GT(drawn[i].size(), centre);
            EXPECT_TRUE(Close(drawn[i][centre], expected[i], 1))
                << (i == 0 ? "Direct3D 8 " : "OpenGL ") << Hex(drawn[i][centre]) << ", expected " << Hex(expected[i]);
        }
    }
};

} // namespace

TEST_F(RendererEquivalenceTest, LitObjectsWithBothLightsAndMaterialColours)
{
    Scene scene;
    scene.settings = TwoLights;
    // A fan of quads whose corners face different ways, in several material colours.
    const uint32_t colours[] = {0xFFFFFFFF, 0xFFFF8040, 0xFF40C0FF, 0xFF80FF80};
    for (int i = 0; i < 4; ++i) {
        const float left = -0.9f + 0.45f * static_cast<float>(i);
        SceneObject quad = Quad(left, 0.8f, left + 0.4f, -0.8f, 0.5f, colours[i], kSolid | kLit);
        const float tilt = 0.3f * static_cast<float>(i) - 0.45f;
        quad.vertices[0].nx = -0.6f;
        quad.vertices[1].nx = tilt;
        quad.vertices[2].ny = -0.7f;
        quad.vertices[3].nx = 0.5f;
        quad.vertices[3].ny = 0.5f;
        scene.objects.push_back(quad);
    }
    // Each computes the light per vertex its own way; two lights together come out up to 2% apart.
    ExpectAlike(scene, 6);
}

TEST_F(RendererEquivalenceTest, LinearFogAtSeveralDepths)
{
    Scene scene;
    scene.settings = LinearFog;
    const float depths[] = {0.1f, 0.3f, 0.45f, 0.6f, 0.75f, 0.95f};
    for (int i = 0; i < 6; ++i) {
        const float left = -1.0f + static_cast<float>(i) / 3.0f;
        scene.objects.push_back(Quad(left, 1.0f, left + 1.0f / 3.0f, -1.0f, depths[i], 0xFFE03020, kSolid | kObjectFog));
    }
    ExpectAlike(scene);
}

TEST_F(RendererEquivalenceTest, PointSprites)
{
    Scene scene;
    scene.settings = [](CWorldData& d) { SpriteSize(d, 9.0f); };
    std::vector<Vertex> points;
    for (int i = 0; i < 16; ++i)
        points.push_back(Vertex{-0.75f + 0.1f * static_cast<float>(i), 0.6f - 0.08f * static_cast<float>(i), 0.5f,
                                0xFF000000u | (0x10u * static_cast<uint32_t>(i)) << 8 | 0xFF0000u});
    scene.objects.push_back(Quad(-1.0f, 1.0f, 1.0f, -1.0f, 0.9f, 0xFF4060A0));
    scene.objects.push_back(Points(points));
    ExpectAlike(scene);
}

TEST_F(RendererEquivalenceTest, TranslucentTextureFactorObjects)
{
    Scene scene;
    scene.objects.push_back(Quad(-1.0f, 1.0f, 0.2f, -1.0f, 0.9f, 0xFF2080FF));
    scene.objects.push_back(Quad(-0.2f, 1.0f, 1.0f, -1.0f, 0.8f, 0xFFFFE040));
    for (int i = 0; i < 3; ++i) {
        const float top = 0.9f - 0.6f * static_cast<float>(i);
        SceneObject glass = Quad(-0.8f, top, 0.8f, top - 0.5f, 0.5f - 0.1f * static_cast<float>(i), 0xFFFFFFFF,
                                 kSolid | kObjectTextureFactor | kObjectAlphaBlend);
        const uint32_t tints[] = {0xFF3030, 0x30FF30, 0x3030FF};
        glass.colour = (0x40u * static_cast<uint32_t>(i + 1)) << 24 | tints[i];
        scene.objects.push_back(glass);
    }
    ExpectAlike(scene);
}

TEST_F(RendererEquivalenceTest, AFullFrameOfAHundredMixedObjects)
{
    Scene scene;
    scene.width = 1024;
    scene.height = 768;
    scene.settings = [](CWorldData& d) {
        TwoLights(d);
        LinearFog(d);
        SpriteSize(d, 12.0f);
    };
    uint32_t seed = 12345;
    auto next = [&seed](float low, float high) {
        seed = seed * 1103515245u + 12345u;
        return low + (high - low) * static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    const uint32_t kinds[] = {kSolid, kSolid | kLit, kSolid | kObjectFog, kSolid | kObjectTextureFactor | kObjectAlphaBlend};
    for (int i = 0; i < 96; ++i) {
        const float x = next(-1.0f, 0.8f);
        const float y = next(-0.8f, 1.0f);
        const float size = next(0.05f, 0.25f);
        const auto colour = 0xFF000000u | static_cast<uint32_t>(next(0.0f, 16777215.0f));
        SceneObject quad = Quad(x, y, x + size, y - size, next(0.05f, 0.95f), colour, kinds[i % 4], next(-0.5f, 0.5f),
                                next(-0.5f, 0.5f), -1.0f);
        if (i % 4 == 3) {
            // Coloured by the factor alone: Direct3D 8 also modulates the vertex colour with it.
            quad.colour = (colour & 0xFFFFFFu) | 0x80000000u;
            for (Vertex& v : quad.vertices)
                v.colour = 0xFFFFFFFF;
        }
        scene.objects.push_back(quad);
    }
    std::vector<Vertex> points;
    for (int i = 0; i < 40; ++i)
        points.push_back(Vertex{next(-0.95f, 0.95f), next(-0.95f, 0.95f), 0.02f, 0xFFFFFFFF});
    for (int i = 0; i < 4; ++i)
        scene.objects.push_back(Points({points.begin() + 10 * i, points.begin() + 10 * (i + 1)}));
    ExpectAlike(scene);
}

// ---- Where the renderers differ on purpose --------------------------------------------------------

// Direct3D 8 takes the global ambient from the data block, OpenGL keeps its own 0.2.
TEST_F(RendererEquivalenceTest, AmbientColourFollowsEachRenderersOwnRule)
{
    Scene scene;
    scene.settings = [](CWorldData& d) {
        d.lighting[0] = d.lighting[1] = 1;
        d.ambientColor = 0xFF808080;
        d.lights[0] = CLightRecord{{1, 1}, 0, {0.0f, 0.0f, 1.0f}, {}, 0.0f, 0.0f, 0.0f, 0, 0, 0};
        d.lights[1] = CLightRecord{};
    };
    scene.objects.push_back(Quad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f, 0xFFFFFFFF, kSolid | kLit));
    ExpectOwnColours(scene, 0x808080, 0x333333);
}

// Blended objects test alpha too: Direct3D 8 drops pixels whose alpha is below 1, so they leave
// no depth behind; OpenGL keeps its test passing everything, and such pixels hide what comes later.
TEST_F(RendererEquivalenceTest, AlphaTestFollowsEachRenderersOwnRule)
{
    Scene scene;
    SceneObject clear = Quad(-1.0f, 1.0f, 1.0f, -1.0f, 0.3f, 0xFFFFFFFF, kSolid | kObjectTextureFactor | kObjectAlphaBlend);
    clear.colour = 0x00FFFFFF;
    scene.objects.push_back(clear);
    scene.objects.push_back(Quad(-1.0f, 1.0f, 1.0f, -1.0f, 0.6f, 0xFFC08040));
    ExpectOwnColours(scene, 0xC08040, kBackground & 0xFFFFFFu);
}

// Points of an object coloured by its texture factor: Direct3D 8 modulates the vertex colour
// with the factor, OpenGL draws the object's colour.
TEST_F(RendererEquivalenceTest, PointColourUnderTheFactorFlagFollowsEachRenderersOwnRule)
{
    Scene scene;
    scene.settings = [](CWorldData& d) { SpriteSize(d, 16.0f); };
    scene.objects.push_back(Points({Vertex{0.0f, 0.0f, 0.5f, 0xFFFF0000}}, kObjectStateBlock | kObjectTextureFactor,
                                    0xFF80C0FF));
    ExpectOwnColours(scene, 0x800000, 0x80C0FF);
}

// Direct3D 8's second stage modulates its texture with the vertex colour, OpenGL's with the result
// of the first stage.
TEST_F(RendererEquivalenceTest, SecondTextureStageFollowsEachRenderersOwnRule)
{
    Scene scene;
    SceneObject quad = Quad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f, 0xFFFFFFFF, kSolid | kTextureStage0 | kTextureStage1);
    quad.flagsA = kFormatNormalTex2;
    quad.stageGreys = {0x80, 0xC0};
    scene.objects.push_back(quad);
    ExpectOwnColours(scene, 0xC0C0C0, 0x606060);
}
