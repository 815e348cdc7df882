#include "backends/audio/AudioDS8.h"
#include "backends/audio/AudioEngineDS8.h"
#include "backends/audio/AudioModule.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "tests/support/platform/MixerManualSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

int g_window;
const char* const kAlsaSounds = "/usr/share/sounds/alsa";

struct WavFile {
    std::string path;
    uint32_t rate = 0;
    std::vector<int16_t> samples;
};

uint32_t Le32(const std::string& bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

// Reads a mono 16-bit file independently of the code under test: chunk by chunk.
WavFile ReadMono16(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavFile file;
    file.path = path;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        std::string id = bytes.substr(at, 4);
        uint32_t size = Le32(bytes, at + 4);
        if (id == "fmt ")
            file.rate = Le32(bytes, at + 12);
        if (id == "data") {
            size = std::min<uint32_t>(size, static_cast<uint32_t>(bytes.size() - at - 8));
            for (uint32_t i = 0; i + 1 < size; i += 2)
                file.samples.push_back(static_cast<int16_t>(
                    static_cast<uint8_t>(bytes[at + 8 + i]) | static_cast<uint8_t>(bytes[at + 9 + i]) << 8));
        }
        at += 8 + size + (size & 1);
    }
    return file;
}

std::vector<WavFile> AlsaFiles()
{
    std::vector<WavFile> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kAlsaSounds, error))
        if (entry.path().extension() == ".wav")
            files.push_back(ReadMono16(entry.path().string()));
    return files;
}

}  // namespace

TEST(AlsaSounds, EveryFilePlaysThroughTheWholeChain)
{
    std::vector<WavFile> files = AlsaFiles();
    if (files.empty())
        GTEST_SKIP() << "no WAV files in " << kAlsaSounds;

    SetMixerOutputFactory(&CMixerManualSink::Open);
    auto data = std::make_unique<CWorldData>();
    data->dataRootPrefixLength = -1;
    std::unique_ptr<CBaseObject> module(CreateAudioDX81(data.get()));
    auto* engine = dynamic_cast<CAudioEngine*>(module.get());
    ASSERT_NE(engine, nullptr);
    ASSERT_EQ(engine->Load(&g_window), RES_OK);
    CMixerManualSink* sink = CMixerManualSink::Latest();
    ASSERT_NE(sink, nullptr);

    for (const WavFile& file : files) {
        SCOPED_TRACE(file.path);
        ASSERT_FALSE(file.samples.empty());
        auto* sound = static_cast<CAudioDS8*>(engine->CreateAudio(0, 0));
        ASSERT_NE(sound, nullptr);
        ASSERT_EQ(sound->LoadAudioFromFile(Utf8ToUtf16(file.path).c_str(), 0), RES_OK);
        EXPECT_EQ(WString(sound->GetName()), Utf8ToUtf16(std::filesystem::path(file.path).filename().string()));
        EXPECT_EQ(sound->GetBufferSize(), file.samples.size() * 2);
        ASSERT_EQ(sound->SetVolume(0.5f), RES_OK);
        ASSERT_EQ(sound->Play(), RES_OK);

        // The file's rate is kept: output frame k reads the source at k * rate / 44100.
        double step = static_cast<double>(file.rate) / kMixerRate;
        uint32_t frames = static_cast<uint32_t>(file.samples.size() / step) + 64;
        std::vector<int16_t> out = sink->Pull(frames);
        double gain = std::pow(10.0, -1000 / 2000.0);
        double peak = 0.0;
        for (uint32_t k = 0; k + 2 < frames; k += 97) {
            double position = k * step;
            size_t index = static_cast<size_t>(position);
            if (index + 1 >= file.samples.size())
                break;
            double source = file.samples[index] + (file.samples[index + 1] - file.samples[index]) * (position - index);
            ASSERT_NEAR(out[2 * k], source * gain, 2.0) << "frame " << k;
            ASSERT_EQ(out[2 * k], out[2 * k + 1]);
            peak = std::max(peak, std::fabs(source));
        }
        EXPECT_GT(peak, 1000.0);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(out[2 * (frames - 1)], 0);
        EXPECT_EQ(engine->DestroyAudio(sound), RES_OK);
    }

    // Mono PCM also loads as a 3D sound.
    auto* positioned = static_cast<CAudioDS8*>(engine->CreateAudio(kAudioFlag3D, kAudioParamLooping));
    ASSERT_EQ(positioned->LoadAudioFromFile(Utf8ToUtf16(files[0].path).c_str(), 1), RES_OK);
    EXPECT_EQ(WString(positioned->GetName()), Utf8ToUtf16(files[0].path));
    ASSERT_EQ(positioned->SetPosition(-1.0f, 0.0f, 1.0f), RES_OK);
    ASSERT_EQ(positioned->Play(), RES_OK);
    sink->Pull(static_cast<uint32_t>(files[0].samples.size()));
    EXPECT_TRUE(positioned->IsPlaying());  // looping

    EXPECT_EQ(engine->Unload(), RES_OK);
    module.reset();
    SetMixerOutputFactory(nullptr);
}
