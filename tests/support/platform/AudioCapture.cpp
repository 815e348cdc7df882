#include "tests/support/platform/AudioCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "tests/support/platform/MixerManualSink.h"

namespace {

int g_file = -1;

}  // namespace

bool StartAudioCapture(const std::string& path)
{
    if (g_file >= 0)
        close(g_file);
    g_file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (g_file < 0)
        return false;
    SetMixerOutputFactory(&CMixerManualSink::Open);
    return true;
}

void CaptureStepAudio()
{
    if (g_file < 0)
        return;
    CMixerManualSink* sink = CMixerManualSink::Latest();
    const std::vector<int16_t> samples =
        sink ? sink->Pull(kCaptureFramesPerStep) : std::vector<int16_t>(kCaptureFramesPerStep * kMixerChannels, 0);
    const auto bytes = static_cast<ssize_t>(samples.size() * sizeof(int16_t));
    // Written straight through, so that the test reads every frame stepped so far.
    if (write(g_file, samples.data(), static_cast<size_t>(bytes)) != bytes) {
        close(g_file);
        g_file = -1;
    }
}
