#include "platform/dsound/AudioMixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

double Gain(int32_t hundredths)
{
    return std::pow(10.0, hundredths / 2000.0);
}

int16_t Expected(double value)
{
    return static_cast<int16_t>(std::lround(value));
}

class AudioMixerTest : public ::testing::Test {
protected:
    CMixerVoice* Voice16(const std::vector<int16_t>& samples, uint16_t channels, uint32_t rate, bool spatial = false)
    {
        CMixerVoice* voice = m_mixer.AddVoice({channels, 16, rate}, static_cast<uint32_t>(samples.size() * 2), spatial);
        EXPECT_NE(voice, nullptr);
        memcpy(m_mixer.Data(voice), samples.data(), samples.size() * 2);
        return voice;
    }

    std::vector<int16_t> Pull(uint32_t frames)
    {
        std::vector<int16_t> out(frames * 2);
        m_mixer.Mix(out.data(), frames);
        return out;
    }

    CAudioMixer m_mixer;
};

}  // namespace

TEST_F(AudioMixerTest, VolumeAndPanFollowTheDecibelLaw)
{
    CMixerVoice* voice = Voice16(std::vector<int16_t>(64, 10000), 1, kMixerRate);
    m_mixer.SetVolume(voice, -600);
    m_mixer.Play(voice, true);
    auto out = Pull(4);
    EXPECT_NEAR(out[0], Expected(10000 * Gain(-600)), 1);
    EXPECT_NEAR(out[1], Expected(10000 * Gain(-600)), 1);

    m_mixer.SetPan(voice, 1000);  // right: the left channel drops by 10 dB
    out = Pull(4);
    EXPECT_NEAR(out[0], Expected(10000 * Gain(-600) * Gain(-1000)), 1);
    EXPECT_NEAR(out[1], Expected(10000 * Gain(-600)), 1);

    m_mixer.SetPan(voice, -2500);
    out = Pull(4);
    EXPECT_NEAR(out[0], Expected(10000 * Gain(-600)), 1);
    EXPECT_NEAR(out[1], Expected(10000 * Gain(-600) * Gain(-2500)), 1);

    m_mixer.SetVolume(voice, 0);
    m_mixer.SetPan(voice, -10000);  // hard left: the right channel is silent
    out = Pull(4);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 0);
}

TEST_F(AudioMixerTest, FrequencyResamplesByLinearInterpolation)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < 32; ++i)
        ramp.push_back(static_cast<int16_t>(i * 1000));
    CMixerVoice* voice = Voice16(ramp, 1, kMixerRate / 2);
    m_mixer.Play(voice, false);
    auto out = Pull(8);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(out[4 * k], ramp[k]);                              // on a source frame
        EXPECT_NEAR(out[4 * k + 2], (ramp[k] + ramp[k + 1]) / 2, 1);  // halfway to the next
    }
    EXPECT_EQ(m_mixer.GetCursor(voice), 4u * 2);

    m_mixer.SetFrequency(voice, kMixerRate * 2);  // twice as fast: every other frame
    out = Pull(3);
    EXPECT_EQ(out[0], ramp[4]);
    EXPECT_EQ(out[2], ramp[6]);
    EXPECT_EQ(out[4], ramp[8]);

    m_mixer.SetFrequency(voice, 32000);
    m_mixer.SetCursor(voice, 0);
    out = Pull(2);
    double position = 32000.0 / kMixerRate;
    EXPECT_NEAR(out[2], ramp[0] + (ramp[1] - ramp[0]) * position, 1);
}

TEST_F(AudioMixerTest, LoopingWrapsAndOneShotsEndInSilence)
{
    std::vector<int16_t> four = {100, 200, 300, 400};
    CMixerVoice* looped = Voice16(four, 1, kMixerRate);
    m_mixer.Play(looped, true);
    auto out = Pull(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(out[2 * i], four[i % 4]) << i;
    bool looping = false;
    EXPECT_TRUE(m_mixer.IsPlaying(looped, &looping));
    EXPECT_TRUE(looping);
    EXPECT_EQ(m_mixer.GetCursor(looped), 2u * 2);
    m_mixer.Stop(looped);

    CMixerVoice* once = Voice16(four, 1, kMixerRate);
    m_mixer.SetCursor(once, 2);
    m_mixer.Play(once, false);
    out = Pull(6);
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[4], 400);
    EXPECT_EQ(out[6], 0);
    EXPECT_EQ(out[10], 0);
    EXPECT_FALSE(m_mixer.IsPlaying(once, nullptr));
    EXPECT_EQ(m_mixer.GetCursor(once), 0u);
    EXPECT_FALSE(m_mixer.SetCursor(once, 8));
}

TEST_F(AudioMixerTest, EightBitStereoAndSummingWithClamp)
{
    CMixerVoice* voice = m_mixer.AddVoice({2, 8, kMixerRate}, 4, false);
    ASSERT_NE(voice, nullptr);
    uint8_t* data = m_mixer.Data(voice);
    EXPECT_EQ(data[0], 128);  // made silent
    const uint8_t frames[] = {200, 56, 128, 255};
    memcpy(data, frames, 4);
    m_mixer.Play(voice, true);
    auto out = Pull(2);
    EXPECT_EQ(out[0], 72 * 256);
    EXPECT_EQ(out[1], -72 * 256);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 127 * 256);

    CMixerVoice* loud = Voice16({30000, -30000}, 2, kMixerRate);
    m_mixer.Play(loud, true);
    out = Pull(1);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);

    EXPECT_EQ(m_mixer.AddVoice({3, 16, kMixerRate}, 12, false), nullptr);
    EXPECT_EQ(m_mixer.AddVoice({1, 24, kMixerRate}, 12, false), nullptr);
    EXPECT_EQ(m_mixer.AddVoice({2, 16, kMixerRate}, 3, false), nullptr);
}

TEST_F(AudioMixerTest, AVoiceOpenForWritingIsSilentButKeepsTime)
{
    CMixerVoice* voice = Voice16({1000, 2000, 3000, 4000, 5000, 6000}, 1, kMixerRate);
    m_mixer.Play(voice, false);
    m_mixer.BeginWrite(voice);
    auto out = Pull(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 0);
    m_mixer.EndWrite(voice);
    out = Pull(1);
    EXPECT_EQ(out[0], 3000);
    m_mixer.BeginWrite(voice);
    Pull(10);
    EXPECT_FALSE(m_mixer.IsPlaying(voice, nullptr));  // ran out while written to
    m_mixer.EndWrite(voice);
}

TEST_F(AudioMixerTest, SpatialVoicesPanByDirectionAndFadeByDistance)
{
    CMixerVoice* voice = Voice16(std::vector<int16_t>(16, 10000), 1, kMixerRate, true);
    m_mixer.Play(voice, true);
    m_mixer.SetSpatial(voice, {{3.0f, 0.0f, 0.0f}, 1.0f, 100.0f, kMixerSpatialHeadRelative});
    auto out = Pull(1);
    double distance = 1.0 / (1.0 + (3.0 - 1.0));  // rolloff 1
    EXPECT_NEAR(out[0], Expected(10000 * distance * Gain(-kMixerSpatialPanRange)), 1);
    EXPECT_NEAR(out[1], Expected(10000 * distance), 1);

    MixerListener listener = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.0f};  // facing +x, no rolloff
    m_mixer.SetListener(listener);
    m_mixer.SetSpatial(voice, {{0.0f, 0.0f, -2.0f}, 1.0f, 100.0f, kMixerSpatialNormal});
    out = Pull(1);
    EXPECT_NEAR(out[0], Expected(10000 * Gain(-kMixerSpatialPanRange)), 1);  // -z is on the right
    EXPECT_EQ(out[1], 10000);

    m_mixer.SetSpatial(voice, {{0.0f, 0.0f, -2.0f}, 1.0f, 100.0f, kMixerSpatialDisabled});
    out = Pull(1);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 10000);
}
