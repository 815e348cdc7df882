#include "backends/audio/AudioEngineDS8.h"
#include "backends/audio/AudioModule.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "tests/support/platform/MixerManualSink.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFixture.h"

#include <gtest/gtest.h>

using namespace wavfixture;

namespace {

int g_window;
const std::vector<int16_t> kSamples = {100, -200, 3000, -4000, 32767, -32768, 5, 6};

// A stereo 16-bit file in the extensible layout with the given sub-format code (1 PCM, 3 float).
std::string ExtensibleWav(uint16_t subFormat, uint16_t extraSize = 22)
{
    std::string guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    std::string extension = Le16(16) + Le32(3) + Le16(subFormat) + guidTail;
    std::string format = FormatBody(0xFFFE, 2, 44100, 16) + Le16(extraSize) + extension.substr(0, extraSize);
    return Riff(Chunk("fmt ", format) + Chunk("data", Samples16(kSamples)));
}

class ExtensibleWavTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMixerOutputFactory(&CMixerManualSink::Open);
        m_data->dataRootPrefixLength = -1;
        m_engine.reset(dynamic_cast<CAudioEngineDS8*>(CreateAudioDX81(m_data.get())));
        ASSERT_NE(m_engine, nullptr);
        ASSERT_EQ(m_engine->Load(&g_window), RES_OK);
    }
    void TearDown() override
    {
        if (m_engine) {
            EXPECT_EQ(m_engine->Unload(), RES_OK);
        }
        SetMixerOutputFactory(nullptr);
    }

    // Loads the file, plays it once and returns the first frames the mixer makes, or nothing.
    std::vector<int16_t> Heard(const std::string& bytes)
    {
        CAudio* sound = m_engine->CreateAudio(0, 0);
        std::vector<int16_t> frames;
        if (Succeeded(sound->LoadAudioFromFile(Utf8ToUtf16(m_dir.Write("a.wav", bytes)).c_str(), 0)) &&
            Succeeded(sound->Play()))
            frames = CMixerManualSink::Latest()->Pull(static_cast<uint32_t>(kSamples.size() / 2));
        EXPECT_EQ(m_engine->DestroyAudio(sound), RES_OK);
        return frames;
    }

    TempDir m_dir;
    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
    std::unique_ptr<CAudioEngineDS8> m_engine;
};

}  // namespace

TEST_F(ExtensibleWavTest, PcmSubFormatPlaysLikeItsPlainTwin)
{
    std::vector<int16_t> plain = Heard(PcmWav(2, 44100, 16, Samples16(kSamples)));
    ASSERT_EQ(plain, kSamples);
    EXPECT_EQ(Heard(ExtensibleWav(1)), plain);
}

TEST_F(ExtensibleWavTest, FloatOrMissingSubFormatIsRefused)
{
    EXPECT_TRUE(Heard(ExtensibleWav(3)).empty());
    EXPECT_TRUE(Heard(ExtensibleWav(1, 6)).empty());  // cut before the sub-format
    EXPECT_TRUE(Heard(ExtensibleWav(1, 0)).empty());
}
