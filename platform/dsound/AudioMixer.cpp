#include "platform/dsound/AudioMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

struct CMixerVoice {
    MixerVoiceFormat format;
    uint32_t blockAlign;
    uint32_t bytes;
    uint32_t frames;
    std::unique_ptr<uint8_t[]> data;
    bool spatial;

    bool playing = false;
    bool looping = false;
    uint32_t writers = 0;
    uint64_t position = 0;  // frames, 32.32 fixed point
    uint64_t step = 0;      // source frames per output frame, 32.32 fixed point
    int32_t volume = 0;
    int32_t pan = 0;
    MixerSpatial placement = {{0.0f, 0.0f, 0.0f}, 1.0f, 1.0e9f, kMixerSpatialNormal};
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
};

namespace {

constexpr float kFractionScale = 1.0f / 4294967296.0f;
constexpr int32_t kFullAttenuation = 10000;

uint64_t StepFor(uint32_t rate)
{
    return (static_cast<uint64_t>(rate) << 32) / kMixerRate;
}

float DbGain(int32_t hundredths)
{
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

float Dot(const MixerVector& a, const MixerVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

MixerVector Cross(const MixerVector& a, const MixerVector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

MixerVector Normalised(const MixerVector& v)
{
    float length = std::sqrt(Dot(v, v));
    if (length <= 0.0f)
        return {0.0f, 0.0f, 0.0f};
    return {v.x / length, v.y / length, v.z / length};
}

// The voice's position in the listener's frame: x right, y up, z ahead.
MixerVector RelativePosition(const MixerSpatial& placement, const MixerListener& listener)
{
    if (placement.mode == kMixerSpatialHeadRelative)
        return placement.position;
    MixerVector offset = {placement.position.x - listener.position.x, placement.position.y - listener.position.y,
                          placement.position.z - listener.position.z};
    MixerVector ahead = Normalised(listener.front);
    MixerVector up = Normalised(listener.top);
    MixerVector right = Normalised(Cross(up, ahead));
    return {Dot(offset, right), Dot(offset, up), Dot(offset, ahead)};
}

// Distance attenuation as a linear gain, and the side placement as a pan.
void SpatialLevels(const MixerSpatial& placement, const MixerListener& listener, float* gain, int32_t* pan)
{
    MixerVector relative = RelativePosition(placement, listener);
    float distance = std::sqrt(Dot(relative, relative));
    *gain = 1.0f;
    *pan = 0;
    if (distance <= 0.0f)
        return;
    float clamped = std::min(distance, placement.maxDistance);
    if (clamped > placement.minDistance)
        *gain = placement.minDistance /
                (placement.minDistance + listener.rolloffFactor * (clamped - placement.minDistance));
    *pan = static_cast<int32_t>(std::lround(relative.x / distance * kMixerSpatialPanRange));
}

template <int Bits> float SampleAt(const uint8_t* data, uint32_t index)
{
    if constexpr (Bits == 8) {
        return (static_cast<int>(data[index]) - 128) * 256.0f;
    } else {
        const uint8_t* p = data + index * 2;
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    }
}

// Moves the cursor on by a number of output frames; a one-shot voice that runs out stops
// with its cursor back at the start.
void Advance(CMixerVoice& voice, uint64_t distance)
{
    uint64_t end = static_cast<uint64_t>(voice.frames) << 32;
    voice.position += distance;
    if (voice.position < end)
        return;
    if (voice.looping) {
        voice.position %= end;
    } else {
        voice.playing = false;
        voice.position = 0;
    }
}

template <int Bits, int Channels> void MixVoice(CMixerVoice& voice, float* out, uint32_t frames)
{
    const uint8_t* data = voice.data.get();
    const uint32_t count = voice.frames;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    const float left = voice.gainLeft;
    const float right = voice.gainRight;
    uint64_t position = voice.position;
    for (uint32_t i = 0; i < frames; ++i) {
        uint32_t index = static_cast<uint32_t>(position >> 32);
        uint32_t following = index + 1 < count ? index + 1 : (voice.looping ? 0 : index);
        float fraction = static_cast<uint32_t>(position) * kFractionScale;
        float l0 = SampleAt<Bits>(data, index * Channels);
        float l1 = SampleAt<Bits>(data, following * Channels);
        float l = l0 + (l1 - l0) * fraction;
        float r = l;
        if constexpr (Channels == 2) {
            float r0 = SampleAt<Bits>(data, index * 2 + 1);
            float r1 = SampleAt<Bits>(data, following * 2 + 1);
            r = r0 + (r1 - r0) * fraction;
        }
        out[2 * i] += l * left;
        out[2 * i + 1] += r * right;
        position += voice.step;
        if (position >= end) {
            if (!voice.looping) {
                voice.playing = false;
                voice.position = 0;
                return;
            }
            position %= end;
        }
    }
    voice.position = position;
}

void MixOne(CMixerVoice& voice, float* out, uint32_t frames)
{
    bool stereo = voice.format.channels == 2;
    if (voice.format.bits == 8)
        stereo ? MixVoice<8, 2>(voice, out, frames) : MixVoice<8, 1>(voice, out, frames);
    else
        stereo ? MixVoice<16, 2>(voice, out, frames) : MixVoice<16, 1>(voice, out, frames);
}

int16_t ToSample(float value)
{
    long rounded = std::lrint(value);
    return static_cast<int16_t>(std::clamp(rounded, -32768L, 32767L));
}

}  // namespace

CAudioMixer::CAudioMixer() : m_listener{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, 1.0f}
{
}

CAudioMixer::~CAudioMixer() = default;

CMixerVoice* CAudioMixer::AddVoice(const MixerVoiceFormat& format, uint32_t bytes, bool spatial)
{
    if ((format.channels != 1 && format.channels != 2) || (format.bits != 8 && format.bits != 16) || format.rate == 0)
        return nullptr;
    uint32_t blockAlign = format.channels * format.bits / 8;
    if (bytes < blockAlign)
        return nullptr;
    std::unique_ptr<CMixerVoice> voice(new (std::nothrow) CMixerVoice);
    if (!voice)
        return nullptr;
    voice->data.reset(new (std::nothrow) uint8_t[bytes]);
    if (!voice->data)
        return nullptr;
    memset(voice->data.get(), format.bits == 8 ? 128 : 0, bytes);
    voice->format = format;
    voice->blockAlign = blockAlign;
    voice->bytes = bytes;
    voice->frames = bytes / blockAlign;
    voice->spatial = spatial;
    voice->step = StepFor(format.rate);
    CMixerVoice* made = voice.get();
    std::lock_guard<std::mutex> lock(m_mutex);
    UpdateGains(made);
    m_voices.push_back(std::move(voice));
    return made;
}

void CAudioMixer::RemoveVoice(CMixerVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = std::find_if(m_voices.begin(), m_voices.end(), [voice](const auto& v) { return v.get() == voice; });
    if (found != m_voices.end())
        m_voices.erase(found);
}

uint8_t* CAudioMixer::Data(CMixerVoice* voice) const
{
    return voice->data.get();
}

uint32_t CAudioMixer::Size(CMixerVoice* voice) const
{
    return voice->bytes;
}

void CAudioMixer::BeginWrite(CMixerVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++voice->writers;
}

void CAudioMixer::EndWrite(CMixerVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (voice->writers > 0)
        --voice->writers;
}

void CAudioMixer::Play(CMixerVoice* voice, bool looping)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->playing = true;
    voice->looping = looping;
}

void CAudioMixer::Stop(CMixerVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->playing = false;
}

bool CAudioMixer::IsPlaying(CMixerVoice* voice, bool* looping)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (looping)
        *looping = voice->looping;
    return voice->playing;
}

uint32_t CAudioMixer::GetCursor(CMixerVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<uint32_t>(voice->position >> 32) * voice->blockAlign;
}

bool CAudioMixer::SetCursor(CMixerVoice* voice, uint32_t bytes)
{
    if (bytes >= voice->bytes)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t frame = std::min(bytes / voice->blockAlign, voice->frames - 1);
    voice->position = static_cast<uint64_t>(frame) << 32;
    return true;
}

void CAudioMixer::SetVolume(CMixerVoice* voice, int32_t hundredthsDb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->volume = hundredthsDb;
    UpdateGains(voice);
}

void CAudioMixer::SetPan(CMixerVoice* voice, int32_t hundredthsDb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->pan = hundredthsDb;
    UpdateGains(voice);
}

void CAudioMixer::SetFrequency(CMixerVoice* voice, uint32_t rate)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->step = StepFor(rate);
}

void CAudioMixer::SetSpatial(CMixerVoice* voice, const MixerSpatial& spatial)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    voice->placement = spatial;
    UpdateGains(voice);
}

void CAudioMixer::SetListener(const MixerListener& listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listener = listener;
    for (auto& voice : m_voices)
        UpdateGains(voice.get());
}

void CAudioMixer::UpdateGains(CMixerVoice* voice)
{
    float gain = DbGain(voice->volume);
    int32_t pan = voice->pan;
    if (voice->spatial && voice->placement.mode != kMixerSpatialDisabled) {
        float distanceGain = 1.0f;
        int32_t sidePan = 0;
        SpatialLevels(voice->placement, m_listener, &distanceGain, &sidePan);
        gain *= distanceGain;
        pan = std::clamp(pan + sidePan, -kFullAttenuation, kFullAttenuation);
    }
    voice->gainLeft = gain * (pan > 0 ? DbGain(-pan) : 1.0f);
    voice->gainRight = gain * (pan < 0 ? DbGain(pan) : 1.0f);
}

void CAudioMixer::Mix(int16_t* out, uint32_t frames)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    size_t values = static_cast<size_t>(frames) * kMixerChannels;
    if (m_accumulator.size() < values)
        m_accumulator.resize(values);
    std::fill(m_accumulator.begin(), m_accumulator.begin() + values, 0.0f);
    for (auto& voice : m_voices) {
        if (!voice->playing)
            continue;
        if (voice->writers > 0)
            Advance(*voice, voice->step * frames);
        else
            MixOne(*voice, m_accumulator.data(), frames);
    }
    for (size_t i = 0; i < values; ++i)
        out[i] = ToSample(m_accumulator[i]);
}
