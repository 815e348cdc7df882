// Runs empty 1024 x 768 frames (begin, clear, end and present) through the Direct3D 8 module and
// through the OpenGL module, each on a window of its own, the two alternating round by round, and
// prints the median processor time of the whole process per frame of each and their ratio.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "backends/opengl/EngineOpenGL.h"
#include "base/Result.h"
#include "platform/win32/GLContext.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/OpenGLTestRig.h"
#include "tests/support/Median.h"

namespace {

constexpr uint16_t kWidth = 1024;
constexpr uint16_t kHeight = 768;
constexpr int kFrames = 60;
constexpr int kRounds = 9;

double ProcessMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Processor time per frame over a run of frames of the engine; counts the frames that failed.
template <class Engine>
double PerFrame(Engine* engine, int* failedFrames)
{
    double start = ProcessMicroseconds();
    for (int frame = 0; frame < kFrames; ++frame) {
        bool failed = Failed(engine->BeginFrame());
        failed = Failed(engine->EndFrame()) || failed;
        *failedFrames += failed ? 1 : 0;
    }
    return (ProcessMicroseconds() - start) / kFrames;
}

} // namespace

int main()
{
    D3D8RendererTestRig direct3D(kWidth, kHeight);
    OpenGLTestRig openGL(kWidth, kHeight);
    if (direct3D.Load() != RES_OK || openGL.Load() != RES_OK) {
        std::fprintf(stderr, "cannot load the two modules (is there a display?)\n");
        return 1;
    }
    HDC dc = wglGetCurrentDC();
    HGLRC context = wglGetCurrentContext();
    int failedFrames = 0;
    PerFrame(direct3D.Engine(), &failedFrames);
    wglMakeCurrent(dc, context);
    PerFrame(openGL.Engine(), &failedFrames);
    std::vector<double> direct3DTimes;
    std::vector<double> openGLTimes;
    for (int round = 0; round < kRounds; ++round) {
        direct3DTimes.push_back(PerFrame(direct3D.Engine(), &failedFrames));
        wglMakeCurrent(dc, context);
        openGLTimes.push_back(PerFrame(openGL.Engine(), &failedFrames));
        std::printf("round %d: Direct3D 8 %.0f us/frame, OpenGL %.0f us/frame\n", round + 1, direct3DTimes.back(),
                    openGLTimes.back());
    }
    double d = Median(direct3DTimes);
    double o = Median(openGLTimes);
    std::printf("processor time per empty frame, medians of %d rounds of %d frames: Direct3D 8 %.0f us, OpenGL "
                "%.0f us, ratio %.2f\n",
                kRounds, kFrames, d, o, d / o);
    if (failedFrames != 0) {
        std::fprintf(stderr, "%d frames failed: the times measure no real frames\n", failedFrames);
        return 1;
    }
    return 0;
}
