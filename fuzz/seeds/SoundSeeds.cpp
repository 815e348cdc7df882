// Seeds of the WAV and RIFF harnesses: files of the WAV fixture and the sounds of Debian's
// alsa-utils.

#include "fuzz/seeds/Seeds.h"
#include "tests/support/WavFixture.h"

using namespace wavfixture;

namespace {

FuzzSeeds SoundFiles()
{
    const std::string samples = Samples16({100, -200, 3000, -4000, 32767, -32768});
    const std::string extension = Le16(16) + Le32(3) + Le16(1) + std::string("\x00\x00\x00\x00\x10\x00\x80\x00"
                                                                            "\x00\xAA\x00\x38\x9B\x71", 14);
    FuzzSeeds seeds = SystemSamples("/usr/share/sounds/alsa", {".wav"}, 256 * 1024);
    seeds.emplace_back("stereo16.wav", PcmWav(2, 44100, 16, samples));
    seeds.emplace_back("mono8.wav", PcmWav(1, 22050, 8, Samples8({0, 128, 255, 7})));
    seeds.emplace_back("list-chunk.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 11025, 16)) +
                                              Chunk("LIST", "INFOISFT" + Le32(3) + std::string("vd\0", 3)) + Chunk("data", samples)));
    seeds.emplace_back("extensible.wav",
                       Riff(Chunk("fmt ", FormatBody(0xFFFE, 2, 44100, 16) + Le16(22) + extension) + Chunk("data", samples)));
    seeds.emplace_back("adpcm-like.wav",
                       Riff(Chunk("fmt ", FormatBody(2, 1, 8000, 4) + Le16(32) + std::string(32, '\x11')) +
                            Chunk("data", samples)));
    return seeds;
}

} // namespace

FUZZ_SEEDS(Wav)
{
    return SoundFiles();
}

// The harness reads one byte first: bit 0 opens with a buffer of the handle's own.
FUZZ_SEEDS(Riff)
{
    FuzzSeeds seeds;
    for (const auto& [name, bytes] : SoundFiles()) {
        seeds.emplace_back("buffered-" + name, "\x01" + bytes);
        seeds.emplace_back("unbuffered-" + name, std::string(1, '\0') + bytes);
    }
    return seeds;
}
