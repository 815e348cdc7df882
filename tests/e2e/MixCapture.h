#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The mix of a driven run as its capture file holds it (tests/support/platform/AudioCapture.h):
// 16-bit stereo, one block of 1470 sample frames per stepped frame, so that frame n's block starts
// at sample frame (n - 1) x 1470.
class MixCapture {
public:
    static constexpr long kFramesPerStep = 1470;
    static constexpr long kRate = 44100;

    // Reads the whole file as it stands; false when it cannot be read.
    bool Read(const std::string& path);
    // Stepped frames held.
    long Steps() const { return static_cast<long>(m_samples.size() / 2 / kFramesPerStep); }
    // The left channel from frame first's block on, count samples (zeros past the end).
    std::vector<float> Left(long first, long count) const;
    // Peak and RMS level, in dBFS, of both channels over steps frames from frame first on
    // (-inf for digital silence).
    double PeakDb(long first, long steps) const;
    double RmsDb(long first, long steps) const;

private:
    std::vector<int16_t> m_samples;
};

// A mono 16-bit WAV file's samples (-1..1); empty when it cannot be read.
std::vector<float> ReadMonoWav(const std::string& path);

// How strongly sound starts in signal within its first maxLag samples: the best normalised
// correlation of the sound's opening with the signal at any start, and the gain of the sound
// there.
struct SoundMatch {
    double correlation = 0.0;
    double gain = 0.0;
    long lag = 0;
};
SoundMatch FindSound(const std::vector<float>& signal, const std::vector<float>& sound, long maxLag);
