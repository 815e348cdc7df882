// WAV files: a file that opens has a format and hands out exactly its data size, the same bytes
// again after a reset; through the audio engine only a file of a format the mixer plays loads,
// and a loaded sound plays. The engine mixes into the hand-pulled sink.

#include <memory>
#include <string>

#include "backends/audio/AudioEngineDS8.h"
#include "backends/audio/AudioModule.h"
#include "backends/audio/WavReader.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "fuzz/FuzzSupport.h"
#include "modules/Audio.h"
#include "platform/dsound/DSoundFormat.h"
#include "tests/support/platform/MixerManualSink.h"

namespace {

constexpr uint32_t kPiece = 1000;
constexpr uint32_t kFramesPulled = 64;

std::string ReadAll(CWavReader& reader)
{
    std::string bytes;
    uint8_t piece[kPiece];
    uint32_t count = 0;
    while (reader.Read(piece, kPiece, &count) == RES_OK && count > 0) {
        FUZZ_CHECK(count <= kPiece);
        bytes.append(reinterpret_cast<const char*>(piece), count);
    }
    return bytes;
}

// True when the file opens with a format the mixer plays.
bool Read(const std::u16string& path, CWorldData* world, size_t fileSize)
{
    CWavReader reader(world);
    if (Failed(reader.Open(path.c_str())))
        return false;
    FUZZ_CHECK(reader.GetFormat() && reader.GetSize() > 0 && reader.GetSize() <= fileSize);
    const std::string first = ReadAll(reader);
    FUZZ_CHECK(first.size() == reader.GetSize());
    FUZZ_CHECK(reader.ResetFile() == RES_OK && ReadAll(reader) == first);
    return IsMixablePcm(*reader.GetFormat());
}

void Play(const std::u16string& path, CWorldData* world, bool playable)
{
    static int window;
    std::unique_ptr<CAudioEngineDS8> engine(dynamic_cast<CAudioEngineDS8*>(CreateAudioDX81(world)));
    FUZZ_CHECK(engine && engine->Load(&window) == RES_OK);
    CAudio* sound = engine->CreateAudio(0, 0);
    FUZZ_CHECK(sound);
    if (Succeeded(sound->LoadAudioFromFile(path.c_str(), 0))) {
        FUZZ_CHECK(playable);
        FUZZ_CHECK(sound->Play() == RES_OK);
        CMixerManualSink::Latest()->Pull(kFramesPulled);
    }
    FUZZ_CHECK(engine->DestroyAudio(sound) == RES_OK);
    FUZZ_CHECK(engine->Unload() == RES_OK);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetMixerOutputFactory(&CMixerManualSink::Open);
    const std::u16string path = Utf8ToUtf16(WriteFuzzFile("sound.wav", data, size));
    auto world = std::make_unique<CWorldData>();
    world->dataRootPrefixLength = -1;
    Play(path, world.get(), Read(path, world.get(), size));
    return 0;
}
