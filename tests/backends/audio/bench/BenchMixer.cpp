// Measures the mixer's cost: 32 looping voices of mixed formats and rates mixed into 16-bit
// stereo at 44100 Hz in blocks of 1024 frames, as SDL pulls them.
#include "platform/dsound/AudioMixer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kVoices = 32;
constexpr uint32_t kBlockFrames = 1024;

double ThreadCpuSeconds()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

void AddVoices(CAudioMixer& mixer)
{
    const MixerVoiceFormat formats[] = {{2, 16, 44100}, {1, 16, 48000}, {1, 16, 22050}, {2, 8, 11025}};
    for (int i = 0; i < kVoices; ++i) {
        const MixerVoiceFormat& format = formats[i % 4];
        uint32_t bytes = format.rate * format.channels * format.bits / 8;  // one second
        CMixerVoice* voice = mixer.AddVoice(format, bytes, false);
        if (!voice) {
            fprintf(stderr, "cannot make voice %d\n", i);
            exit(1);
        }
        uint8_t* data = mixer.Data(voice);
        for (uint32_t b = 0; b < bytes; ++b)
            data[b] = static_cast<uint8_t>(rand());
        mixer.SetVolume(voice, -100 * (i % 20));
        mixer.SetPan(voice, (i % 2 ? 1 : -1) * 250 * (i % 7));
        mixer.Play(voice, true);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    double audioSeconds = argc > 1 ? atof(argv[1]) : 60.0;
    CAudioMixer mixer;
    AddVoices(mixer);
    static int16_t out[kBlockFrames * kMixerChannels];
    uint32_t blocks = static_cast<uint32_t>(audioSeconds * kMixerRate / kBlockFrames);
    double cpuStart = ThreadCpuSeconds();
    auto wallStart = std::chrono::steady_clock::now();
    long checksum = 0;
    for (uint32_t b = 0; b < blocks; ++b) {
        mixer.Mix(out, kBlockFrames);
        checksum += out[b % (kBlockFrames * kMixerChannels)];
    }
    double cpu = ThreadCpuSeconds() - cpuStart;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    double mixed = static_cast<double>(blocks) * kBlockFrames / kMixerRate;
    printf("%d voices, %.1f s of 44.1 kHz stereo mixed in %.3f s CPU (%.3f s wall)\n", kVoices, mixed, cpu, wall);
    printf("CPU share of one core: %.2f %% (checksum %ld)\n", 100.0 * cpu / mixed, checksum);
    return 0;
}
