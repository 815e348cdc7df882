#include "platform/dsound/DSound.h"
#include "tests/support/platform/MixerManualSink.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int g_window;
constexpr WAVEFORMATEX kMono16 = {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
constexpr WAVEFORMATEX kStereo16 = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

std::unique_ptr<CMixerOutput> NoOutput(const MixerPtr&)
{
    return nullptr;
}

DSBUFFERDESC Desc(uint32_t flags, uint32_t bytes, const WAVEFORMATEX* format, uint32_t algorithm = DS3DALG_DEFAULT)
{
    return {sizeof(DSBUFFERDESC), flags, bytes, 0, format, algorithm};
}

class DSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMixerOutputFactory(&CMixerManualSink::Open);
        ASSERT_EQ(DirectSoundCreate8(&m_device), DS_OK);
        m_sink = CMixerManualSink::Latest();
        ASSERT_NE(m_sink, nullptr);
    }
    void TearDown() override
    {
        if (m_device)
            m_device->Release();
        SetMixerOutputFactory(nullptr);
    }

    IDirectSoundBuffer* Secondary(uint32_t flags, uint32_t bytes, const WAVEFORMATEX& format)
    {
        DSBUFFERDESC desc = Desc(flags, bytes, &format);
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DS_OK);
        return buffer;
    }

    void Write16(IDirectSoundBuffer* buffer, const std::vector<int16_t>& samples)
    {
        void* block = nullptr;
        uint32_t bytes = 0;
        ASSERT_EQ(buffer->Lock(0, 0, &block, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        ASSERT_EQ(bytes, samples.size() * 2);
        memcpy(block, samples.data(), bytes);
        ASSERT_EQ(buffer->Unlock(block, bytes, nullptr, 0), DS_OK);
    }

    IDirectSound8* m_device = nullptr;
    CMixerManualSink* m_sink = nullptr;
};

}  // namespace

TEST_F(DSoundTest, CooperativeLevelComesFirstAndThePrimaryFormatNeedsPriority)
{
    DSBUFFERDESC primaryDesc = Desc(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    EXPECT_EQ(m_device->CreateSoundBuffer(&primaryDesc, &primary), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(m_device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(m_device->SetCooperativeLevel(&g_window, 7), DSERR_INVALIDPARAM);

    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_NORMAL), DS_OK);
    ASSERT_EQ(m_device->CreateSoundBuffer(&primaryDesc, &primary), DS_OK);
    EXPECT_EQ(primary->SetFormat(&kStereo16), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX adpcm = kStereo16;
    adpcm.wFormatTag = 2;
    EXPECT_EQ(primary->SetFormat(&adpcm), DSERR_BADFORMAT);
    EXPECT_EQ(primary->SetFormat(&kStereo16), DS_OK);
    WAVEFORMATEX read = {};
    ASSERT_EQ(primary->GetFormat(&read, sizeof(read), nullptr), DS_OK);
    EXPECT_EQ(read.nSamplesPerSec, 44100u);
    EXPECT_EQ(read.wBitsPerSample, 16);
    EXPECT_EQ(read.nChannels, 2);
    IDirectSound3DListener8* listener = nullptr;
    EXPECT_EQ(primary->QueryListener(&listener), DSERR_NOINTERFACE);  // made without DSBCAPS_CTRL3D
    EXPECT_EQ(primary->Play(0, 0, 0), DSERR_INVALIDCALL);
    primary->Release();

    DSBUFFERDESC sized = Desc(DSBCAPS_PRIMARYBUFFER, 16, nullptr);
    EXPECT_EQ(m_device->CreateSoundBuffer(&sized, &primary), DSERR_INVALIDPARAM);
    DSBUFFERDESC wrongSize = primaryDesc;
    wrongSize.dwSize = 36;
    EXPECT_EQ(m_device->CreateSoundBuffer(&wrongSize, &primary), DSERR_INVALIDPARAM);
}

TEST_F(DSoundTest, SecondaryBuffersCheckFormatSizeAndFlags)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer = nullptr;
    WAVEFORMATEX adpcm = kMono16;
    adpcm.wFormatTag = 2;
    DSBUFFERDESC desc = Desc(DSBCAPS_CTRLVOLUME, 64, &adpcm);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_BADFORMAT);
    desc = Desc(DSBCAPS_CTRLVOLUME, 2, &kMono16);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_INVALIDPARAM);
    desc = Desc(DSBCAPS_CTRL3D, 64, &kStereo16, DS3DALG_HRTF_FULL);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_INVALIDPARAM);  // 3D needs mono
    desc = Desc(DSBCAPS_CTRL3D | DSBCAPS_CTRLPAN, 64, &kMono16, DS3DALG_HRTF_FULL);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_INVALIDPARAM);
    desc = Desc(DSBCAPS_CTRLPAN, 64, &kMono16, DS3DALG_HRTF_FULL);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_INVALIDPARAM);  // algorithm without 3D
    desc = Desc(0x100, 64, &kMono16);
    EXPECT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);

    buffer = Secondary(DSBCAPS_CTRLPAN, 64, kMono16);
    ASSERT_NE(buffer, nullptr);
    int32_t volume = 0;
    uint32_t frequency = 0;
    EXPECT_EQ(buffer->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->GetVolume(&volume), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->GetFrequency(&frequency), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(-10000), DS_OK);
    IDirectSound3DBuffer* buffer3D = nullptr;
    EXPECT_EQ(buffer->Query3DBuffer(&buffer3D), DSERR_NOINTERFACE);
    EXPECT_EQ(buffer->SetFormat(&kMono16), DSERR_INVALIDCALL);
    buffer->Release();
}

TEST_F(DSoundTest, LockHandsOutTheWrappedRegionsOnce)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer = Secondary(DSBCAPS_CTRLVOLUME, 100, kMono16);
    ASSERT_NE(buffer, nullptr);
    void *first = nullptr, *second = nullptr;
    uint32_t firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(buffer->Lock(80, 50, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 20u);
    EXPECT_EQ(secondBytes, 30u);
    EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 80);
    void* again = nullptr;
    uint32_t againBytes = 0;
    EXPECT_EQ(buffer->Lock(0, 10, &again, &againBytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(second, 30, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DSERR_INVALIDCALL);

    ASSERT_EQ(buffer->Lock(80, 50, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(firstBytes, 20u);  // without a second pointer the lock stops at the end
    EXPECT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);
    EXPECT_EQ(buffer->Lock(100, 1, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DSoundTest, PlayStatusCursorAndControlsReachTheOutput)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer =
        Secondary(DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY, 2 * 8, kMono16);
    ASSERT_NE(buffer, nullptr);
    Write16(buffer, {8000, 8000, 8000, 8000, 8000, 8000, 8000, 8000});
    uint32_t status = 99;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(buffer->Play(0, 0, 0x8), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->SetVolume(-1000), DS_OK);
    ASSERT_EQ(buffer->SetPan(600), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

    auto out = m_sink->Pull(3);
    EXPECT_NEAR(out[0], std::lround(8000 * std::pow(10.0, -1600 / 2000.0)), 1);
    EXPECT_NEAR(out[1], std::lround(8000 * std::pow(10.0, -1000 / 2000.0)), 1);
    uint32_t play = 0, write = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 6u);
    EXPECT_EQ(buffer->GetCurrentPosition(nullptr, nullptr), DSERR_INVALIDPARAM);

    ASSERT_EQ(buffer->Stop(), DS_OK);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 6u);  // Stop keeps the cursor
    EXPECT_EQ(buffer->SetCurrentPosition(16), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(4), DS_OK);

    uint32_t frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(200001), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->SetFrequency(22050), DS_OK);
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    int32_t volume = 0, pan = 0;
    ASSERT_EQ(buffer->GetVolume(&volume), DS_OK);
    ASSERT_EQ(buffer->GetPan(&pan), DS_OK);
    EXPECT_EQ(volume, -1000);
    EXPECT_EQ(pan, 600);
    buffer->Release();
}

TEST_F(DSoundTest, ALostBufferRefusesPlayAndLockUntilRestored)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer = Secondary(DSBCAPS_CTRLVOLUME, 64, kMono16);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    buffer->MarkLost(2, DSERR_BUFFERLOST);
    uint32_t status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* block = nullptr;
    uint32_t bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 4, &block, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DS_OK);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    buffer->Release();
}

TEST_F(DSoundTest, ThreeDimensionalParametersAndTheListener)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    DSBUFFERDESC primaryDesc = Desc(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(m_device->CreateSoundBuffer(&primaryDesc, &primary), DS_OK);
    IDirectSound3DListener8* listener = nullptr;
    ASSERT_EQ(primary->QueryListener(&listener), DS_OK);
    primary->Release();
    DS3DLISTENER heard = {};
    EXPECT_EQ(listener->GetAllParameters(&heard), DSERR_INVALIDPARAM);  // size not set
    heard.dwSize = sizeof(heard);
    ASSERT_EQ(listener->GetAllParameters(&heard), DS_OK);
    EXPECT_EQ(heard.flRolloffFactor, 1.0f);
    EXPECT_EQ(heard.vOrientFront.z, 1.0f);
    DS3DLISTENER bad = heard;
    bad.vOrientTop = bad.vOrientFront;
    EXPECT_EQ(listener->SetAllParameters(&bad, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    bad = heard;
    bad.flRolloffFactor = 11.0f;
    EXPECT_EQ(listener->SetAllParameters(&bad, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    heard.flRolloffFactor = 0.0f;
    ASSERT_EQ(listener->SetAllParameters(&heard, DS3D_IMMEDIATE), DS_OK);

    DSBUFFERDESC desc = Desc(DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME, 8, &kMono16, DS3DALG_HRTF_FULL);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(m_device->CreateSoundBuffer(&desc, &buffer), DS_OK);
    Write16(buffer, {5000, 5000, 5000, 5000});
    IDirectSound3DBuffer* buffer3D = nullptr;
    ASSERT_EQ(buffer->Query3DBuffer(&buffer3D), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    buffer->Release();  // the 3D interface keeps the buffer
    DS3DBUFFER params = {};
    params.dwSize = sizeof(params);
    ASSERT_EQ(buffer3D->GetAllParameters(&params), DS_OK);
    EXPECT_EQ(params.dwMode, DS3DMODE_NORMAL);
    EXPECT_EQ(params.flMinDistance, 1.0f);
    EXPECT_EQ(params.dwInsideConeAngle, 360u);
    params.dwMode = DS3DMODE_HEADRELATIVE;
    params.vPosition = {-10.0f, 0.0f, 0.0f};
    EXPECT_EQ(buffer3D->SetAllParameters(&params, 1), DSERR_INVALIDPARAM);
    DS3DBUFFER badParams = params;
    badParams.flMinDistance = 0.0f;
    EXPECT_EQ(buffer3D->SetAllParameters(&badParams, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer3D->SetAllParameters(&params, DS3D_IMMEDIATE), DS_OK);
    auto out = m_sink->Pull(1);  // far left, no rolloff: the right ear 20 dB down
    EXPECT_EQ(out[0], 5000);
    EXPECT_EQ(out[1], 500);
    buffer3D->Release();  // last reference: the buffer goes too
    listener->Release();
    EXPECT_EQ(m_sink->Pull(1)[0], 0);
}

TEST_F(DSoundTest, APlayingBufferOutlivesItsDevice)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer = Secondary(DSBCAPS_CTRLVOLUME, 64, kMono16);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(m_device->Release(), 0u);
    m_device = nullptr;
    EXPECT_EQ(CMixerManualSink::Latest(), nullptr);
    EXPECT_EQ(buffer->SetVolume(-500), DS_OK);
    EXPECT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST(DSoundDevice, CreationFailsWithoutAnAudioOutput)
{
    SetMixerOutputFactory(&NoOutput);
    IDirectSound8* device = reinterpret_cast<IDirectSound8*>(&g_window);
    EXPECT_EQ(DirectSoundCreate8(&device), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    SetMixerOutputFactory(nullptr);

    ScopedEnv driver("SDL_AUDIODRIVER", "vd-no-such-driver");
    EXPECT_EQ(DirectSoundCreate8(&device), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
}

TEST(DSoundDevice, SdlDummyOutputOpens)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(&device), DS_OK);
    EXPECT_EQ(device->Release(), 0u);
}

// With no driver named, the output opens, or is found missing, without a word on standard error:
// a machine without a sound card must not hear from ALSA.
TEST(DSoundDevice, TheDefaultOutputOpensQuietly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("SDL_AUDIODRIVER");
            IDirectSound8* device = nullptr;
            const auto result = DirectSoundCreate8(&device);
            if (device)
                device->Release();
            fprintf(stderr, "done\n");
            exit(result == DS_OK || result == DSERR_NODRIVER ? 0 : 1);
        },
        testing::ExitedWithCode(0), testing::MatchesRegex("^done\n$"));
}

TEST_F(DSoundTest, AOneShotPlaysToItsEndAndStops)
{
    ASSERT_EQ(m_device->SetCooperativeLevel(&g_window, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* buffer = Secondary(DSBCAPS_CTRLVOLUME, 4410 * 2, kMono16);  // 0.1 s
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    uint32_t status = 0;
    m_sink->Pull(4409);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    m_sink->Pull(1);
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    buffer->Release();
}
