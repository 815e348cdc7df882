// A 16 x 12 jigsaw with its frame, textured by a 1024 x 1024 picture, drawn at 1024 x 768 through
// the Direct3D 8 module and the OpenGL module in alternating rounds: prints the median frames per
// second of each (wall clock, presents included). Then the median time of one shuffle of that
// board with shuffleCount 255 (every tool but shifting, one hole).
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "base/WideString.h"
#include "core/PackerFile.h"
#include "core/Stream.h"
#include "engine3d/Object.h"
#include "engine3d/SceneGameData.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "platform/win32/GLContext.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/OpenGLTestRig.h"
#include "tools/MiniGameFileWriter.h"
#include "tools/ObjectFileWriter.h"
#include "tools/PakWriter.h"
#include "tests/support/Median.h"

namespace {

constexpr int kFrames = 30;
constexpr int kRounds = 7;
constexpr int kShuffles = 41;

double Microseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

CJigsawModel Model()
{
    CJigsawModel model;
    model.level.scene.parts.resize(2);
    model.level.records.resize(1);
    model.layout.boardPart = 0;
    model.layout.maskPart = 1;
    CJigsawRecordModel& r = model.records.emplace_back();
    r.columns = 16, r.rows = 12, r.holePiece = 191, r.shuffleCount = 255;
    r.modeFlags = kJigsawSlide | kJigsawHorizontal | kJigsawVertical | kJigsawSwap | kJigsawRotate | kJigsawFlip;
    r.frontTextureName = "front.png";
    r.backTextureName = "front.png";
    r.showPicture = 1;
    return model;
}

// The board part (112, 84)-(912, 684) and the screen behind it, as one display object.
std::string DisplayBytes()
{
    C3dxModel model;
    const float rects[2][4] = {{112, 84, 912, 684}, {0, 0, 1024, 768}};
    for (const auto& q : rects) {
        const uint32_t first = static_cast<uint32_t>(model.vertices.size());
        C3dxPart part;
        part.record = {0xFFFFFFFFu, first, 4, static_cast<uint32_t>(model.indices.size()), 6, 2, 1, 0};
        model.parts.push_back(part);
        const float corners[4][4] = {{q[0], q[1], 0, 0}, {q[0], q[3], 0, 1}, {q[2], q[1], 1, 0}, {q[2], q[3], 1, 1}};
        for (const auto& c : corners)
            model.vertices.push_back(C3dxVertex{{c[0], c[1], 0}, {0, 0, 1}, 0xFFFFFFFFu, 0, {c[2], c[3]}});
        for (uint32_t i : {0u, 1u, 2u, 2u, 1u, 3u})
            model.indices.push_back(i);
    }
    return Make3dxBytes(model, 16, kWrite3dxEverything);
}

class CBenchJigsaw : public CLevelJigsaw {
public:
    using CLevelJigsaw::CLevelJigsaw;

    bool Prepare(const std::string& description, const std::string& display)
    {
        CStreamMemory stream(kStreamRead, description.data(), static_cast<uint32_t>(description.size()));
        const auto* bytes = reinterpret_cast<const uint8_t*>(display.data());
        const auto size = static_cast<uint32_t>(display.size());
        return Succeeded(stream.Open()) && Succeeded(LoadDescription(&stream)) && Succeeded(Init()) &&
               Succeeded(m_pDisplay->LoadFromAddress(bytes, size, u"display.3dx")) &&
               Succeeded(m_pCollision->LoadFromAddress(bytes, size, u"collision.3dx")) && Succeeded(BuildPieces()) &&
               Succeeded(Start(kSceneStateFresh));
    }
};

// A 1024 x 1024 RGB picture of gradients in a pak, opened in the data block; false when the pak
// cannot be written or opened.
bool OpenPicturePak(CWorldData* data, const std::string& path)
{
    PngFixture png;
    png.width = png.height = 1024;
    png.colorType = 2;
    for (uint32_t y = 0; y < png.height; ++y) {
        for (uint32_t x = 0; x < png.width; ++x)
            png.rows.insert(png.rows.end(), {uint8_t(x), uint8_t(y), uint8_t(x ^ y)});
    }
    CPakWriter pak;
    if (Failed(pak.Add("front.png", EncodePng(png))) || Failed(pak.Write(path)) ||
        Failed(OpenPackerFile(&data->pak, Utf8ToUtf16(path).c_str(), 0)))
        return false;
    data->pakLookup = FindPackerEntry;
    return true;
}

// 0.0 when a frame cannot begin or end.
template <class Engine>
double FramesPerSecond(Engine* engine, CLevelJigsaw& level)
{
    const double start = Microseconds(CLOCK_MONOTONIC);
    for (int frame = 0; frame < kFrames; ++frame) {
        if (Failed(engine->BeginFrame()))
            return 0.0;
        level.Render();
        if (Failed(engine->EndFrame()))
            return 0.0;
    }
    return kFrames * 1e6 / (Microseconds(CLOCK_MONOTONIC) - start);
}

} // namespace

int main()
{
    D3D8RendererTestRig direct3D(1024, 768);
    OpenGLTestRig openGL(1024, 768);
    if (direct3D.Load() != RES_OK || openGL.Load() != RES_OK) {
        std::fprintf(stderr, "cannot load the two modules (is there a display?)\n");
        return 1;
    }
    const std::string pakPath = (std::filesystem::temp_directory_path() / "bench_jigsaw.pak").string();
    CSceneGameData scene{};
    for (Matrix4& view : scene.m_matView) {
        view = Matrix4{};
        view.m[0] = view.m[5] = view.m[10] = view.m[15] = 1.0f;
    }
    for (CWorldData* data : {direct3D.Data(), openGL.Data()}) {
        data->sceneGameData = &scene;
        if (!OpenPicturePak(data, pakPath)) {
            std::fprintf(stderr, "cannot write or open the picture's pak\n");
            return 1;
        }
        RandomSeed(data->random, 1);
    }
    const std::string description = JigsawBody(Model()), display = DisplayBytes();
    CBenchJigsaw direct3DLevel(direct3D.Data(), direct3D.Engine(), 0);
    CBenchJigsaw openGLLevel(openGL.Data(), openGL.Engine(), 0);
    HDC dc = wglGetCurrentDC();
    HGLRC context = wglGetCurrentContext();
    if (!direct3DLevel.Prepare(description, display)) {
        std::fprintf(stderr, "cannot prepare the Direct3D 8 level\n");
        return 1;
    }
    wglMakeCurrent(dc, context);
    if (!openGLLevel.Prepare(description, display)) {
        std::fprintf(stderr, "cannot prepare the OpenGL level\n");
        return 1;
    }
    std::vector<double> direct3DRates, openGLRates;
    for (int round = 0; round < kRounds; ++round) {
        direct3DRates.push_back(FramesPerSecond(direct3D.Engine(), direct3DLevel));
        wglMakeCurrent(dc, context);
        openGLRates.push_back(FramesPerSecond(openGL.Engine(), openGLLevel));
        if (direct3DRates.back() == 0.0 || openGLRates.back() == 0.0) {
            std::fprintf(stderr, "a frame of round %d failed\n", round + 1);
            return 1;
        }
        std::printf("round %d: Direct3D 8 %.1f fps, OpenGL %.1f fps\n", round + 1, direct3DRates.back(),
                    openGLRates.back());
    }
    std::printf("16 x 12 jigsaw with its frame at 1024 x 768, medians of %d rounds of %d frames: Direct3D 8 %.1f "
                "fps, OpenGL %.1f fps\n",
                kRounds, kFrames, Median(direct3DRates), Median(openGLRates));
    std::vector<double> shuffles;
    for (int i = 0; i < kShuffles; ++i) {
        const double start = Microseconds(CLOCK_PROCESS_CPUTIME_ID);
        openGLLevel.Shuffle(true);
        shuffles.push_back(Microseconds(CLOCK_PROCESS_CPUTIME_ID) - start);
    }
    std::printf("one shuffle of the 16 x 12 board with shuffleCount 255, median of %d: %.1f us\n", kShuffles,
                Median(shuffles));
    IgnoreResult(direct3DLevel.Release());
    IgnoreResult(openGLLevel.Release());
    ClosePackerFile(&direct3D.Data()->pak);
    ClosePackerFile(&openGL.Data()->pak);
    std::filesystem::remove(pakPath);
    return 0;
}
