// The cost of the screenshot fader's frame copy: CKvoScreenshot::StartFade on a 1024 x 768 frame,
// 20 copies on each real renderer under the X display, each waited for with glFinish; prints the
// median and the best time per renderer.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "game/screens/KvoScreenshot.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/OpenGLTestRig.h"
#include "tests/support/ScreenshotSource.h"
#include "world/ModuleRegistry.h"

namespace {

constexpr uint16_t kWidth = 1024;
constexpr uint16_t kHeight = 768;
constexpr int kCopies = 20;

template <class Rig>
bool Measure(const char* renderer, uint16_t module)
{
    Rig rig(kWidth, kHeight);
    if (Failed(rig.Load()))
        return false;
    CScreenshotSource source(rig.Data(), module);
    CKvoScreenshot fader(rig.Data(), rig.Engine());
    if (Failed(fader.Load()))
        return false;
    std::vector<double> times;
    for (int i = 0; i < kCopies; ++i) {
        if (Failed(rig.Engine()->BeginFrame()))
            return false;
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        const Result copied = fader.StartFade(0, 0, 0, 0);
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        const Result ended = rig.Engine()->EndFrame();
        if (Failed(copied) || Failed(ended))
            return false;
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    printf("%s: StartFade copy of a %ux%u frame, %d copies: median %.3f ms, best %.3f ms\n", renderer, kWidth, kHeight,
           kCopies, times[times.size() / 2], times.front());
    IgnoreResult(fader.Release());  // measured: nothing is drawn with it again
    return true;
}

} // namespace

int main()
{
    if (!RendererTestRig::HasDisplay()) {
        fprintf(stderr, "needs an X display\n");
        return 1;
    }
    bool ok = Measure<OpenGLTestRig>("OpenGL", kModuleId3DOpenGL);
    ok = Measure<D3D8RendererTestRig>("Direct3D 8.1", kModuleId3DDX81) && ok;
    return ok ? 0 : 1;
}
