#include "tools/samplegen/SampleSounds.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "tools/ByteWriter.h"

namespace {

constexpr float kPi = 3.14159265f;

std::vector<float> Silence(float seconds)
{
    return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0.0f);
}

// A tone from start for length seconds, its pitch gliding from f0 to f1, with a short attack and
// an exponential decay; harmonics adds odd overtones for a brighter sound.
void AddTone(std::vector<float>& out, float start, float length, float f0, float f1, float gain, float decay,
             int harmonics = 1)
{
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(length * kSampleRate);
    float phase = 0.0f;
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        phase += 2.0f * kPi * (f0 + (f1 - f0) * t / length) / kSampleRate;
        float wave = 0.0f;
        for (int h = 1; h <= harmonics; h += 2)
            wave += std::sin(phase * h) / h;
        const float envelope = std::min(1.0f, t / 0.004f) * std::exp(-decay * t) * std::min(1.0f, (length - t) / 0.01f);
        out[first + i] += gain * wave * envelope;
    }
}

// Noise through a one-pole low-pass, from a fixed seed.
void AddNoise(std::vector<float>& out, float start, float length, float gain, float smoothing, float decay)
{
    uint32_t state = 0x2545F491u;
    float low = 0.0f;
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(length * kSampleRate);
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const float white = static_cast<float>(state >> 8) / float(1u << 24) * 2.0f - 1.0f;
        low += (white - low) * smoothing;
        const float t = static_cast<float>(i) / kSampleRate;
        out[first + i] += gain * low * std::exp(-decay * t) * std::min(1.0f, t / 0.02f);
    }
}

float Note(int semitonesFromA4)
{
    return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f);
}

// Eight bars of a calm tune over a bass line, four beats a bar at 96 beats a minute.
std::vector<float> Music()
{
    const float beat = 60.0f / 96.0f;
    const int bass[8] = {-21, -17, -19, -14, -21, -17, -24, -19};
    const int tune[32] = {3, 7, 10, 7, 8, 12, 15, 12, 5, 8, 12, 10, 7, 10, 14, 12,
                          3, 7, 10, 15, 12, 8, 7, 5, 0, 3, 7, 3, 2, 5, 7, 10};
    std::vector<float> out = Silence(32 * beat);
    for (int bar = 0; bar < 8; ++bar) {
        AddTone(out, bar * 4 * beat, 4 * beat, Note(bass[bar]), Note(bass[bar]), 0.22f, 0.6f, 3);
        AddTone(out, bar * 4 * beat, 4 * beat, Note(bass[bar] + 7), Note(bass[bar] + 7), 0.08f, 0.8f);
    }
    for (int i = 0; i < 32; ++i)
        AddTone(out, i * beat, beat * 0.95f, Note(tune[i] - 12), Note(tune[i] - 12), 0.2f, 2.5f, 3);
    return out;
}

// A soft wind: low noise whose level swells twice across the loop, ends meeting at silence.
std::vector<float> Ambience()
{
    std::vector<float> out = Silence(6.0f);
    AddNoise(out, 0.0f, 6.0f, 0.6f, 0.01f, 0.0f);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] *= 0.5f - 0.5f * std::cos(4.0f * kPi * i / out.size());
    return out;
}

} // namespace

std::vector<CSampleSound> SynthesiseSounds()
{
    std::vector<CSampleSound> sounds;
    auto add = [&](const char* name, float seconds, auto&& build) {
        std::vector<float> samples = Silence(seconds);
        build(samples);
        sounds.push_back({name, std::move(samples)});
    };
    add("click.wav", 0.06f, [](auto& s) { AddTone(s, 0, 0.06f, 1800, 1200, 0.5f, 60.0f); });
    add("found.wav", 0.5f, [](auto& s) {
        AddTone(s, 0.0f, 0.2f, Note(3), Note(3), 0.35f, 8.0f, 3);
        AddTone(s, 0.1f, 0.4f, Note(10), Note(10), 0.35f, 6.0f, 3);
    });
    add("ghost.wav", 1.0f, [](auto& s) {
        AddTone(s, 0, 1.0f, 300, 520, 0.3f, 2.0f);
        AddTone(s, 0, 1.0f, 307, 530, 0.3f, 2.0f);
    });
    add("miss.wav", 0.25f, [](auto& s) { AddTone(s, 0, 0.25f, 180, 110, 0.5f, 10.0f, 5); });
    add("hint.wav", 0.8f, [](auto& s) {
        for (int i = 0; i < 4; ++i)
            AddTone(s, i * 0.12f, 0.4f, Note(12 + 4 * i), Note(12 + 4 * i), 0.2f, 7.0f);
    });
    add("star.wav", 0.6f, [](auto& s) {
        AddTone(s, 0.0f, 0.6f, Note(19), Note(19), 0.25f, 6.0f);
        AddTone(s, 0.05f, 0.55f, Note(26), Note(26), 0.2f, 7.0f);
    });
    add("move.wav", 0.15f, [](auto& s) { AddNoise(s, 0, 0.15f, 0.8f, 0.2f, 25.0f); });
    add("solved.wav", 1.2f, [](auto& s) {
        const int chord[4] = {3, 7, 10, 15};
        for (int i = 0; i < 4; ++i)
            AddTone(s, i * 0.1f, 1.2f - i * 0.1f, Note(chord[i]), Note(chord[i]), 0.18f, 2.5f, 3);
    });
    add("switch.wav", 0.45f, [](auto& s) {
        AddTone(s, 0.0f, 0.45f, 330, 880, 0.22f, 4.0f, 3);
        AddTone(s, 0.08f, 0.37f, Note(7), Note(7), 0.12f, 6.0f);
    });
    sounds.push_back({"ambience.wav", Ambience()});
    sounds.push_back({"music.wav", Music()});
    return sounds;
}

std::string WavFileBytes(const std::vector<float>& samples)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    CByteWriter w;
    w.Text("RIFF");
    w.U32(36 + dataBytes);
    w.Text("WAVEfmt ");
    w.U32(16);
    w.U16(1);  // PCM
    w.U16(1);  // mono
    w.U32(kSampleRate);
    w.U32(kSampleRate * 2);
    w.U16(2);
    w.U16(16);
    w.Text("data");
    w.U32(dataBytes);
    for (float sample : samples)
        w.U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f))));
    return w.Bytes();
}

Result WriteSounds(const std::string& folder, std::string* error)
{
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    for (const CSampleSound& sound : SynthesiseSounds()) {
        const std::string path = folder + "/" + sound.name;
        const std::string bytes = WavFileBytes(sound.samples);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            *error = "cannot write " + path;
            return RES_FAIL;
        }
    }
    return RES_OK;
}
