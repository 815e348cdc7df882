#include "backends/audio/AudioBufferFill.h"
#include "backends/audio/AudioDS8.h"
#include "backends/audio/AudioEngineDS8.h"
#include "backends/audio/AudioModule.h"
#include "backends/audio/WavReader.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "tests/support/platform/MixerManualSink.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace wavfixture;

namespace {

int g_window;

std::unique_ptr<CMixerOutput> NoOutput(const MixerPtr&)
{
    return nullptr;
}

std::vector<int16_t> Ramp(int count, int step)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<int16_t>((i + 1) * step));
    return samples;
}

constexpr uint8_t kPakKey[4] = {0x21, 0x8E, 0x3C, 0x5A};

std::string PakEntry(const std::string& name, const std::string& bytes)
{
    std::string scrambled = name;
    for (size_t i = 0; i < scrambled.size(); ++i)
        scrambled[i] = static_cast<char>(scrambled[i] ^ kPakKey[i % 4]);
    return Le32(static_cast<uint32_t>(bytes.size())) + Le32(static_cast<uint32_t>(name.size())) + scrambled + bytes;
}

// A pak lookup of the tests' own: walks the entries and leaves the file at the wanted one's data.
Result FindPakEntry(const char16_t* name, CPackerFile* pak)
{
    std::string wanted = Utf16ToUtf8(name);
    fseek(pak->file, 0, SEEK_SET);
    uint8_t header[8];
    while (fread(header, 1, 8, pak->file) == 8) {
        uint32_t size = header[0] | header[1] << 8 | header[2] << 16 | static_cast<uint32_t>(header[3]) << 24;
        uint32_t length = header[4] | header[5] << 8 | header[6] << 16 | static_cast<uint32_t>(header[7]) << 24;
        std::string entry(length, '\0');
        if (fread(entry.data(), 1, length, pak->file) != length)
            return RES_FAIL;
        for (size_t i = 0; i < entry.size(); ++i)
            entry[i] = static_cast<char>(entry[i] ^ kPakKey[i % 4]);
        if (entry == wanted) {
            pak->foundSize = size;
            WStrCopy(pak->foundName, kMaxPathUnits, name);
            return RES_OK;
        }
        fseek(pak->file, size, SEEK_CUR);
    }
    return RES_FAIL;
}

class AudioEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMixerOutputFactory(&CMixerManualSink::Open);
        m_data = std::make_unique<CWorldData>();
        m_data->dataRootPrefixLength = -1;
        m_engine.reset(dynamic_cast<CAudioEngineDS8*>(CreateAudioDX81(m_data.get())));
        ASSERT_NE(m_engine, nullptr);
        ASSERT_EQ(m_engine->Load(&g_window), RES_OK);
        m_sink = CMixerManualSink::Latest();
        ASSERT_NE(m_sink, nullptr);
    }

    void TearDown() override
    {
        if (m_engine) {
            EXPECT_EQ(m_engine->Unload(), RES_OK);
        }
        m_engine.reset();
        SetMixerOutputFactory(nullptr);
    }

    WString WriteWav(const std::string& name, const std::string& bytes)
    {
        return Utf8ToUtf16(m_dir.Write(name, bytes));
    }

    CAudioDS8* LoadSound(const std::string& bytes, uint32_t flags = 0, uint32_t param = 0)
    {
        auto* sound = static_cast<CAudioDS8*>(m_engine->CreateAudio(flags, param));
        EXPECT_NE(sound, nullptr);
        EXPECT_EQ(sound->LoadAudioFromFile(WriteWav("sound.wav", bytes).c_str(), 0), RES_OK);
        return sound;
    }

    int32_t BufferVolume(CAudioDS8* sound)
    {
        int32_t volume = 1;
        EXPECT_EQ(sound->GetBuffer()->GetVolume(&volume), DS_OK);
        return volume;
    }

    TempDir m_dir;
    std::unique_ptr<CWorldData> m_data;
    std::unique_ptr<CAudioEngineDS8> m_engine;
    CMixerManualSink* m_sink = nullptr;
};

}  // namespace

TEST_F(AudioEngineTest, LoadPublishesTheDeviceWithItsFormatAndListener)
{
    const CAudioDS8State& state = m_engine->GetState();
    EXPECT_EQ(m_data->soundState, &state);
    ASSERT_NE(state.device, nullptr);
    ASSERT_NE(state.listener, nullptr);
    EXPECT_EQ(state.applyMode, DS3D_IMMEDIATE);
    EXPECT_EQ(state.listenerParams.flRolloffFactor, 0.0f);
    EXPECT_EQ(state.listenerParams.flDopplerFactor, 0.0f);
    DS3DLISTENER heard = {};
    heard.dwSize = sizeof(heard);
    ASSERT_EQ(state.listener->GetAllParameters(&heard), DS_OK);
    EXPECT_EQ(heard.flRolloffFactor, 0.0f);

    DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, DS3DALG_DEFAULT};
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(state.device->CreateSoundBuffer(&desc, &primary), DS_OK);
    WAVEFORMATEX format = {};
    ASSERT_EQ(primary->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    primary->Release();
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);

    EXPECT_EQ(m_engine->Unload(), RES_OK);
    EXPECT_EQ(m_data->soundState, nullptr);
    EXPECT_EQ(m_engine->GetState().device, nullptr);
}

TEST_F(AudioEngineTest, WithoutAnAudioDeviceLoadFailsAndUnloadIsClean)
{
    EXPECT_EQ(m_engine->Unload(), RES_OK);
    SetMixerOutputFactory(&NoOutput);
    EXPECT_EQ(m_engine->Load(&g_window), RES_FAIL);
    EXPECT_EQ(m_engine->GetState().device, nullptr);
    EXPECT_EQ(m_engine->Unload(), RES_OK);
    EXPECT_EQ(m_data->soundState, nullptr);

    // A sound made anyway cannot load.
    CAudio* sound = m_engine->CreateAudio(0, 0);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->LoadAudioFromFile(WriteWav("a.wav", PcmWav(1, 44100, 16, "abcd")).c_str(), 0), RES_FAIL);
    EXPECT_EQ(m_engine->DestroyAudio(sound), RES_OK);

    SetMixerOutputFactory(nullptr);  // SDL itself, with a driver that does not exist
    const char* driver = getenv("SDL_AUDIODRIVER");
    std::string saved = driver ? driver : "";
    setenv("SDL_AUDIODRIVER", "vd-no-such-driver", 1);
    EXPECT_EQ(m_engine->Load(&g_window), RES_FAIL);
    if (driver)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(m_engine->Unload(), RES_OK);

    SetMixerOutputFactory(&CMixerManualSink::Open);
    EXPECT_EQ(m_engine->Load(nullptr), RES_FAIL);  // the device is made, the level is refused
    EXPECT_NE(m_engine->GetState().device, nullptr);
    EXPECT_EQ(m_engine->Unload(), RES_OK);
    EXPECT_EQ(CMixerManualSink::Latest(), nullptr);
}

TEST_F(AudioEngineTest, SoundListCountsReferences)
{
    CAudio* listed = m_engine->CreateAudio(kAudioFlagListed, kAudioParamLooping);
    CAudio* music = m_engine->CreateAudio(kAudioFlagMusic, 0);
    ASSERT_NE(listed, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(listed->GetFlags(), kAudioFlagListed);
    EXPECT_TRUE(listed->IsLooping());
    EXPECT_FALSE(music->IsLooping());
    CRefList& list = m_engine->GetSoundList();
    EXPECT_EQ(list.GetFirst(), reinterpret_cast<ListValue>(listed));
    EXPECT_EQ(list.GetFlag(), 1);
    EXPECT_EQ(list.GetRefCount(), 1u);
    EXPECT_EQ(list.GetNext(), reinterpret_cast<ListValue>(music));
    EXPECT_EQ(list.GetFlag(), 0);

    list.GetFirst();
    list.AddRefCurrent();
    EXPECT_EQ(m_engine->DestroyAudio(listed), RES_OK);  // still held elsewhere: kept
    EXPECT_EQ(list.GetFirst(), reinterpret_cast<ListValue>(listed));
    EXPECT_EQ(list.GetRefCount(), 1u);
    EXPECT_EQ(m_engine->DestroyAudio(listed), RES_OK);
    EXPECT_EQ(list.GetFirst(), reinterpret_cast<ListValue>(music));
    EXPECT_EQ(m_engine->DestroyAudio(nullptr), RES_FAIL);

    CAudioDS8 foreign(m_data.get());
    EXPECT_EQ(m_engine->DestroyAudio(&foreign), RES_OK);  // not listed: left alone

    CAudio* loaded = LoadSound(PcmWav(1, 44100, 16, Samples16(Ramp(8, 100))));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(m_engine->Unload(), RES_OK);  // releases and deletes every listed sound
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(AudioEngineTest, VolumePanAndFrequencyUseTheirScales)
{
    CAudioDS8* sound = LoadSound(PcmWav(1, 48000, 16, Samples16(Ramp(64, 10))));
    ASSERT_NE(sound->GetBuffer(), nullptr);
    EXPECT_EQ(sound->GetBufferSize(), 128u);
    EXPECT_EQ(BufferVolume(sound), 0);  // loaded at full volume
    EXPECT_FLOAT_EQ(sound->GetVolume(), 1.0f);

    ASSERT_EQ(sound->SetVolume(0.5f), RES_OK);
    EXPECT_EQ(BufferVolume(sound), -1000);
    EXPECT_FLOAT_EQ(sound->GetVolume(), 0.5f);
    ASSERT_EQ(sound->SetVolume(-3.0f), RES_OK);
    EXPECT_EQ(BufferVolume(sound), -2000);
    EXPECT_FLOAT_EQ(sound->GetVolume(), 0.0f);

    int32_t pan = 0;
    ASSERT_EQ(sound->SetPan(2.0f), RES_OK);
    ASSERT_EQ(sound->GetBuffer()->GetPan(&pan), DS_OK);
    EXPECT_EQ(pan, 10000);
    EXPECT_FLOAT_EQ(sound->GetPan(), 1.0f);
    ASSERT_EQ(sound->SetPosition(-0.25f, 5.0f, 5.0f), RES_OK);  // a 2D sound pans by x
    EXPECT_FLOAT_EQ(sound->GetPan(), -0.25f);

    EXPECT_NEAR(sound->GetFrequencyRatio(), 48000.0 / 44100.0, 1e-9);
    ASSERT_EQ(sound->SetFrequencyRatio(0.5f), RES_OK);
    uint32_t frequency = 0;
    ASSERT_EQ(sound->GetBuffer()->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);
    EXPECT_DOUBLE_EQ(sound->GetFrequencyRatio(), 0.5);
    EXPECT_LT(sound->SetFrequencyRatio(-1.0f), 0);
    EXPECT_LT(sound->SetFrequencyRatio(10.0f), 0);  // above the buffer frequency range
}

TEST_F(AudioEngineTest, ThreeDimensionalSoundsNeedMonoAndIgnorePan)
{
    std::string stereo = PcmWav(2, 44100, 16, Samples16(Ramp(16, 10)));
    auto* sound3D = static_cast<CAudioDS8*>(m_engine->CreateAudio(kAudioFlag3D, 0));
    ASSERT_NE(sound3D, nullptr);
    EXPECT_EQ(sound3D->LoadAudioFromFile(WriteWav("stereo.wav", stereo).c_str(), 0), RES_FAIL);
    EXPECT_EQ(sound3D->GetBuffer(), nullptr);
    CAudioDS8* sound2D = LoadSound(stereo);
    EXPECT_NE(sound2D->GetBuffer(), nullptr);

    std::vector<int16_t> loud(32, 10000);
    ASSERT_EQ(sound3D->LoadAudioFromFile(WriteWav("mono.wav", PcmWav(1, 44100, 16, Samples16(loud))).c_str(), 0),
              RES_OK);
    EXPECT_EQ(sound3D->SetPan(1.0f), RES_OK);
    EXPECT_EQ(sound3D->GetPan(), 0.0f);
    ASSERT_EQ(sound3D->SetPosition(4.0f, 0.0f, 0.0f), RES_OK);  // head-relative, no rolloff
    EXPECT_EQ(sound3D->SetVelocity(1.0f, 0.0f, 0.0f), RES_OK);
    DS3DBUFFER params = {};
    params.dwSize = sizeof(params);
    IDirectSound3DBuffer* buffer3D = nullptr;
    ASSERT_EQ(sound3D->GetBuffer()->Query3DBuffer(&buffer3D), DS_OK);
    ASSERT_EQ(buffer3D->GetAllParameters(&params), DS_OK);
    buffer3D->Release();
    EXPECT_EQ(params.dwMode, DS3DMODE_HEADRELATIVE);
    EXPECT_EQ(params.vPosition.x, 4.0f);
    EXPECT_EQ(params.vVelocity.x, 1.0f);
    ASSERT_EQ(sound3D->Play(), RES_OK);
    auto out = m_sink->Pull(1);
    EXPECT_EQ(out[0], 1000);  // the far ear 20 dB down
    EXPECT_EQ(out[1], 10000);
}

TEST_F(AudioEngineTest, PauseResumesAtTheCursorAndStopRestarts)
{
    std::vector<int16_t> ramp = Ramp(64, 100);
    CAudioDS8* sound = LoadSound(PcmWav(1, 44100, 16, Samples16(ramp)));
    ASSERT_EQ(sound->Play(), RES_OK);
    EXPECT_TRUE(sound->IsPlaying());
    auto out = m_sink->Pull(5);
    EXPECT_EQ(out[0], ramp[0]);
    EXPECT_EQ(out[8], ramp[4]);

    ASSERT_EQ(sound->Pause(), RES_OK);
    EXPECT_TRUE(sound->IsPaused());
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(m_sink->Pull(3)[0], 0);
    ASSERT_EQ(sound->Pause(), RES_OK);  // already paused: the stored cursor stays
    ASSERT_EQ(sound->Play(), RES_OK);
    EXPECT_FALSE(sound->IsPaused());
    EXPECT_EQ(m_sink->Pull(1)[0], ramp[5]);

    ASSERT_EQ(sound->Stop(), RES_OK);
    ASSERT_EQ(sound->Play(), RES_OK);
    EXPECT_EQ(m_sink->Pull(1)[0], ramp[0]);

    ASSERT_EQ(sound->Pause(), RES_OK);
    ASSERT_EQ(sound->Rewind(), RES_OK);  // a paused sound rewinds its stored cursor
    ASSERT_EQ(sound->Play(), RES_OK);
    EXPECT_EQ(m_sink->Pull(1)[0], ramp[0]);

    ASSERT_EQ(sound->Stop(), RES_OK);
    ASSERT_EQ(sound->Pause(), RES_OK);  // a stopped sound can be paused too
    EXPECT_TRUE(sound->IsPaused());
}

TEST_F(AudioEngineTest, LoopingTakesEffectOnAPlayingSound)
{
    std::vector<int16_t> ramp = Ramp(8, 1000);
    CAudioDS8* sound = LoadSound(PcmWav(1, 44100, 16, Samples16(ramp)));
    ASSERT_EQ(sound->Play(), RES_OK);
    m_sink->Pull(6);
    ASSERT_EQ(sound->SetLooping(1), RES_OK);
    EXPECT_TRUE(sound->IsLooping());
    uint32_t status = 0;
    ASSERT_EQ(sound->GetBuffer()->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    auto out = m_sink->Pull(4);
    EXPECT_EQ(out[0], ramp[6]);  // goes on from the cursor
    EXPECT_EQ(out[4], ramp[0]);  // and now wraps
    EXPECT_TRUE(sound->IsPlaying());

    ASSERT_EQ(sound->SetLooping(0), RES_OK);
    m_sink->Pull(8);
    EXPECT_FALSE(sound->IsPlaying());
    ASSERT_EQ(sound->SetLooping(1), RES_OK);  // not playing: only the flag changes
    EXPECT_FALSE(sound->IsPlaying());
}

TEST_F(AudioEngineTest, AOneShotPlaysItsSamplesThenEnds)
{
    std::vector<int16_t> ramp = Ramp(100, -300);
    CAudioDS8* sound = LoadSound(PcmWav(1, 44100, 16, Samples16(ramp)));
    ASSERT_EQ(sound->Play(), RES_OK);
    auto out = m_sink->Pull(120);
    for (size_t i = 0; i < ramp.size(); ++i) {
        ASSERT_EQ(out[2 * i], ramp[i]) << i;
        ASSERT_EQ(out[2 * i + 1], ramp[i]) << i;
    }
    EXPECT_EQ(out[2 * 100], 0);
    EXPECT_FALSE(sound->IsPlaying());

    std::vector<uint8_t> bytes = {128, 192, 64, 255};
    CAudioDS8* eight = LoadSound(PcmWav(2, 44100, 8, Samples8(bytes)));
    ASSERT_EQ(eight->Play(), RES_OK);
    out = m_sink->Pull(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 64 * 256);
    EXPECT_EQ(out[2], -64 * 256);
    EXPECT_EQ(out[3], 127 * 256);
}

TEST_F(AudioEngineTest, ASoundWithoutDataFailsEveryOperation)
{
    CAudio* sounds[] = {m_engine->CreateAudio(0, 0), m_engine->CreateAudio(kAudioFlag3D, 0)};
    for (CAudio* sound : sounds) {
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->LoadAudioFromFile(m_dir.WideFile("missing.wav").c_str(), 0), RES_FAIL);
        EXPECT_LT(sound->Play(), 0);
        EXPECT_LT(sound->Stop(), 0);
        EXPECT_LT(sound->Pause(), 0);
        EXPECT_LT(sound->SetVolume(0.5f), 0);
        EXPECT_LT(sound->SetFrequencyRatio(1.0f), 0);
        EXPECT_LT(sound->SetCurrentPosition(0), 0);
        EXPECT_LT(sound->Rewind(), 0);
        EXPECT_LT(sound->SetPosition(1.0f, 0.0f, 0.0f), 0);
        EXPECT_LT(sound->SetVelocity(1.0f, 0.0f, 0.0f), 0);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(sound->GetVolume(), 0.0f);
        EXPECT_EQ(sound->GetFrequencyRatio(), 0.0);
        EXPECT_EQ(sound->SetLooping(1), RES_OK);
    }

    std::string adpcm = Riff(Chunk("fmt ", FormatBody(2, 1, 22050, 4) + Le16(2) + "xy") + Chunk("data", "abcd"));
    CAudioDS8* refused = static_cast<CAudioDS8*>(sounds[0]);
    EXPECT_EQ(refused->LoadAudioFromFile(WriteWav("adpcm.wav", adpcm).c_str(), 0), RES_FAIL);
    EXPECT_EQ(refused->GetBuffer(), nullptr);
}

TEST_F(AudioEngineTest, NamesFollowTheDataRootPrefix)
{
    CAudio* sound = m_engine->CreateAudio(0, 0);
    WString path = WriteWav("sounds/click.wav", PcmWav(1, 44100, 16, "abcd"));
    EXPECT_EQ(sound->LoadAudioFromFile(path.c_str(), 0), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), u"click.wav");
    EXPECT_EQ(sound->LoadAudioFromFile(path.c_str(), 1), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), path);  // keep the full name: the whole path
    m_data->dataRootPrefixLength = static_cast<int32_t>(m_dir.Path().size() + 1);
    EXPECT_EQ(sound->LoadAudioFromFile(path.c_str(), 0), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), u"sounds/click.wav");
    m_data->dataRootPrefixLength = 0;
    EXPECT_EQ(sound->LoadAudioFromFile(path.c_str(), 0), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), path);
    m_data->dataRootPrefixLength = 100000;
    EXPECT_EQ(sound->LoadAudioFromFile(path.c_str(), 1), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), u"click.wav");
    EXPECT_EQ(sound->Release(), RES_OK);
    EXPECT_EQ(WString(sound->GetName()), u"");
}

TEST_F(AudioEngineTest, MemoryAndPakSoundsKeepOnlyTheirName)
{
    CAudioDS8* sound = LoadSound(PcmWav(1, 44100, 16, "abcd"));
    ASSERT_NE(sound->GetBuffer(), nullptr);
    std::string wav = PcmWav(1, 44100, 16, "abcd");
    EXPECT_EQ(sound->LoadAudioFromAddress(wav.data(), static_cast<uint32_t>(wav.size()), u"sfx\\door.wav"), RES_FAIL);
    EXPECT_EQ(WString(sound->GetName()), u"door.wav");
    EXPECT_EQ(sound->GetBuffer(), nullptr);
    EXPECT_LT(sound->Play(), 0);

    ASSERT_EQ(sound->LoadAudioFromFile(WriteWav("b.wav", wav).c_str(), 0), RES_OK);
    std::string pak = PakEntry("sounds/click.wav", "data") + PakEntry("sounds/door.wav", wav);
    m_data->pak.file = fopen(m_dir.Write("sounds.pak", pak).c_str(), "rb");
    ASSERT_NE(m_data->pak.file, nullptr);
    m_data->pakLookup = &FindPakEntry;
    ASSERT_EQ(m_data->pakLookup(u"sounds/door.wav", &m_data->pak), RES_OK);
    EXPECT_EQ(m_data->pak.foundSize, wav.size());
    EXPECT_EQ(sound->LoadAudioFromPacker(&m_data->pak), RES_FAIL);
    EXPECT_EQ(WString(sound->GetName()), u"sounds/door.wav");
    EXPECT_EQ(sound->GetBuffer(), nullptr);
    EXPECT_EQ(sound->LoadAudioFromPacker(nullptr), RES_FAIL);
    fclose(m_data->pak.file);
}

TEST_F(AudioEngineTest, FillingRestoresALostBufferWithinABoundedNumberOfTries)
{
    CWavReader reader(m_data.get());
    ASSERT_EQ(reader.Open(WriteWav("eight.wav", PcmWav(1, 8000, 8, "abcd")).c_str()), RES_OK);
    WAVEFORMATEX format = *reader.GetFormat();
    DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), DSBCAPS_CTRLVOLUME, 10, 0, &format, DS3DALG_DEFAULT};
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(m_engine->GetState().device->CreateSoundBuffer(&desc, &buffer), DS_OK);
    auto contents = [buffer]() {
        void* block = nullptr;
        uint32_t bytes = 0;
        EXPECT_EQ(buffer->Lock(0, 10, &block, &bytes, nullptr, nullptr, 0), DS_OK);
        std::string copy(static_cast<char*>(block), bytes);
        EXPECT_EQ(buffer->Unlock(block, bytes, nullptr, 0), DS_OK);
        return copy;
    };

    EXPECT_EQ(FillAudioBuffer(buffer, 10, true, &reader), RES_OK);
    EXPECT_EQ(contents(), "abcdabcdab");
    EXPECT_EQ(FillAudioBuffer(buffer, 10, false, &reader), RES_OK);
    EXPECT_EQ(contents(), std::string("abcd") + std::string(6, '\x80'));

    buffer->MarkLost(kAudioRestoreTries - 1, DSERR_BUFFERLOST);
    EXPECT_EQ(FillAudioBuffer(buffer, 10, false, &reader), RES_OK);
    buffer->MarkLost(kAudioRestoreTries, DSERR_BUFFERLOST);
    EXPECT_EQ(FillAudioBuffer(buffer, 10, false, &reader), RES_FAIL);
    buffer->MarkLost(1, DSERR_OUTOFMEMORY);  // not a lost-buffer error: no retry
    EXPECT_EQ(FillAudioBuffer(buffer, 10, false, &reader), RES_FAIL);
    uint32_t status = 0;
    ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(FillAudioBuffer(buffer, 10, false, &reader), RES_OK);  // restored on the next try
    EXPECT_EQ(FillAudioBuffer(nullptr, 10, false, &reader), RES_FAIL);
    buffer->Release();
}
