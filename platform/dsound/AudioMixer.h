#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Software mixer: voices of 8- or 16-bit PCM, mono or stereo, at any rate, mixed into
// 16-bit stereo at 44100 Hz. Mix runs on the output's thread; every other call comes from the
// owner's thread. All voice state is guarded by one mutex; a voice's sample bytes are read by
// Mix only while the voice is not opened for writing (BeginWrite / EndWrite).
//
// Levels follow the DirectSound conventions: volume and pan in hundredths of a decibel, a gain
// of 10^(hundredths / 2000); a positive pan attenuates the left channel by that much, a negative
// pan the right one.

struct MixerVector {
    float x, y, z;
};

struct MixerVoiceFormat {
    uint16_t channels;  // 1 or 2
    uint16_t bits;      // 8 (unsigned) or 16 (signed)
    uint32_t rate;      // frames per second
};

// Placement of a 3D voice. Mode 0 is relative to the listener's position and orientation,
// mode 1 relative to the listener's head, mode 2 turns the placement off.
struct MixerSpatial {
    MixerVector position;
    float minDistance;
    float maxDistance;
    uint32_t mode;
};

struct MixerListener {
    MixerVector position;
    MixerVector front;
    MixerVector top;
    float rolloffFactor;
};

constexpr uint32_t kMixerRate = 44100;
constexpr uint32_t kMixerChannels = 2;
constexpr uint32_t kMixerSpatialNormal = 0;
constexpr uint32_t kMixerSpatialHeadRelative = 1;
constexpr uint32_t kMixerSpatialDisabled = 2;

// Largest attenuation of the far ear for a 3D voice at the listener's side, in hundredths of a dB.
constexpr int32_t kMixerSpatialPanRange = 2000;

struct CMixerVoice;

class CAudioMixer {
public:
    CAudioMixer();
    ~CAudioMixer();
    CAudioMixer(const CAudioMixer&) = delete;
    CAudioMixer& operator=(const CAudioMixer&) = delete;

    // A stopped voice of the given size in bytes, filled with silence; null when the format is
    // not mixable or memory runs out. spatial makes it a 3D voice.
    CMixerVoice* AddVoice(const MixerVoiceFormat& format, uint32_t bytes, bool spatial);
    void RemoveVoice(CMixerVoice* voice);

    // The voice's sample bytes: stable for its whole life. Write only between BeginWrite and
    // EndWrite; meanwhile the voice is silent but keeps its cursor moving.
    uint8_t* Data(CMixerVoice* voice) const;
    uint32_t Size(CMixerVoice* voice) const;
    void BeginWrite(CMixerVoice* voice);
    void EndWrite(CMixerVoice* voice);

    void Play(CMixerVoice* voice, bool looping);
    void Stop(CMixerVoice* voice);
    bool IsPlaying(CMixerVoice* voice, bool* looping);

    // Play cursor in bytes; setting it past the end fails.
    uint32_t GetCursor(CMixerVoice* voice);
    bool SetCursor(CMixerVoice* voice, uint32_t bytes);

    void SetVolume(CMixerVoice* voice, int32_t hundredthsDb);
    void SetPan(CMixerVoice* voice, int32_t hundredthsDb);
    void SetFrequency(CMixerVoice* voice, uint32_t rate);
    void SetSpatial(CMixerVoice* voice, const MixerSpatial& spatial);
    void SetListener(const MixerListener& listener);

    // Mixes the next frames of 16-bit stereo into out, advancing every playing voice.
    void Mix(int16_t* out, uint32_t frames);

private:
    void UpdateGains(CMixerVoice* voice);

    std::mutex m_mutex;
    std::vector<std::unique_ptr<CMixerVoice>> m_voices;
    MixerListener m_listener;
    std::vector<float> m_accumulator;
};

// Shared ownership lets buffers outlive the device that made them.
using MixerPtr = std::shared_ptr<CAudioMixer>;
