#include "tests/e2e/MixCapture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

// The opening of a sound that the search compares: 0.1 s.
constexpr size_t kOpening = 4410;

double Db(double value)
{
    return value > 0.0 ? 20.0 * std::log10(value) : -std::numeric_limits<double>::infinity();
}

uint32_t Le32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

} // namespace

bool MixCapture::Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    m_samples.resize(bytes.size() / sizeof(int16_t));
    std::memcpy(m_samples.data(), bytes.data(), m_samples.size() * sizeof(int16_t));
    return true;
}

std::vector<float> MixCapture::Left(long first, long count) const
{
    std::vector<float> out(static_cast<size_t>(std::max(count, 0L)), 0.0f);
    const long start = (first - 1) * kFramesPerStep;
    for (long i = 0; i < count; ++i) {
        const long at = start + i;
        if (at >= 0 && size_t(at) * 2 < m_samples.size())
            out[size_t(i)] = m_samples[size_t(at) * 2] / 32768.0f;
    }
    return out;
}

double MixCapture::PeakDb(long first, long steps) const
{
    int peak = 0;
    const long begin = std::max(0L, (first - 1) * kFramesPerStep * 2);
    const long end = std::min<long>(long(m_samples.size()), (first - 1 + steps) * kFramesPerStep * 2);
    for (long i = begin; i < end; ++i)
        peak = std::max(peak, std::abs(int(m_samples[size_t(i)])));
    return Db(peak / 32768.0);
}

double MixCapture::RmsDb(long first, long steps) const
{
    double sum = 0.0;
    const long begin = std::max(0L, (first - 1) * kFramesPerStep * 2);
    const long end = std::min<long>(long(m_samples.size()), (first - 1 + steps) * kFramesPerStep * 2);
    for (long i = begin; i < end; ++i)
        sum += double(m_samples[size_t(i)]) * m_samples[size_t(i)];
    return end > begin ? Db(std::sqrt(sum / double(end - begin)) / 32768.0) : Db(0.0);
}

std::vector<float> ReadMonoWav(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<float> samples;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return samples;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = Le32(bytes, at + 4);
        if (bytes.compare(at, 4, "data") == 0) {
            const size_t count = std::min<size_t>(size, bytes.size() - at - 8) / 2;
            for (size_t i = 0; i < count; ++i) {
                int16_t sample = 0;
                std::memcpy(&sample, bytes.data() + at + 8 + 2 * i, 2);
                samples.push_back(sample / 32768.0f);
            }
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}

SoundMatch FindSound(const std::vector<float>& signal, const std::vector<float>& sound, long maxLag)
{
    SoundMatch best;
    const size_t length = std::min(sound.size(), kOpening);
    double soundEnergy = 0.0;
    for (size_t i = 0; i < length; ++i)
        soundEnergy += double(sound[i]) * sound[i];
    if (soundEnergy == 0.0)
        return best;
    for (long lag = 0; lag <= maxLag && size_t(lag) + length <= signal.size(); ++lag) {
        double dot = 0.0, energy = 0.0;
        for (size_t i = 0; i < length; ++i) {
            const double x = signal[size_t(lag) + i];
            dot += x * sound[i];
            energy += x * x;
        }
        const double correlation = energy > 0.0 ? dot / std::sqrt(energy * soundEnergy) : 0.0;
        if (correlation > best.correlation)
            best = {correlation, dot / soundEnergy, lag};
    }
    return best;
}
