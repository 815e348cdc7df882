#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

constexpr uint32_t kSampleRate = 44100;

// A synthesised sound: mono samples at kSampleRate, -1 to 1.
struct CSampleSound {
    const char* name;  // file name below "sounds/"
    std::vector<float> samples;
};

// The game's sounds: click, found, ghost, miss, hint, star, move, solved, scene switch, an
// ambience loop and the music, whose ends meet so they loop without a click.
std::vector<CSampleSound> SynthesiseSounds();

// The bytes of a 16-bit PCM WAV file of the samples (clipped to -1..1).
std::string WavFileBytes(const std::vector<float>& samples);

Result WriteSounds(const std::string& folder, std::string* error);
