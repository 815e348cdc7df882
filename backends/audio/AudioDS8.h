#pragma once
#include <cstdint>

#include "modules/Audio.h"
#include "platform/dsound/DSound.h"

struct CAudioDS8State;

// A sound on DirectSound: one secondary buffer holding the whole WAV data, and for 3D sounds
// its 3D interface. Volume 1.0 is 0 dB and 0.0 is -20 dB; pan -1.0 to 1.0 is -100 to 100 dB
// on the opposite channel; the frequency ratio is relative to 44100 Hz.
class CAudioDS8 : public CAudio {
public:
    explicit CAudioDS8(CWorldData* data);
    ~CAudioDS8() override;

    Result Release() override;
    Result Play() override;
    Result Stop() override;
    Result Pause() override;
    double GetFrequencyRatio() override;
    Result SetFrequencyRatio(float ratio) override;
    float GetPan() override;
    Result SetPan(float pan) override;
    float GetVolume() override;
    Result SetVolume(float volume) override;
    Result SetLooping(uint8_t on) override;
    uint8_t IsPlaying() override;
    Result SetCurrentPosition(uint32_t bytes) override;
    Result SetPosition(float x, float y, float z) override;
    Result SetVelocity(float x, float y, float z) override;
    // These keep the name only: no data is loaded from memory or a pak; the result is 0x80000001.
    Result LoadAudioFromAddress(const void* data, uint32_t size, const char16_t* name) override;
    Result LoadAudioFromPacker(CPackerFile* pak) override;
    Result LoadAudioFromFile(const char16_t* path, uint8_t keepFullName) override;

    IDirectSoundBuffer* GetBuffer() const { return m_pBuffer; }
    uint32_t GetBufferSize() const { return m_bufferSize; }
    bool IsPaused() const { return m_pausePosition != kNotPaused; }

private:
    static constexpr uint32_t kNotPaused = 0xFFFFFFFFu;

    void ReleaseBuffer();
    const CAudioDS8State* State() const;
    Result CreateBuffer(const CAudioDS8State& state, const WAVEFORMATEX& format, uint32_t size);
    Result Set3DMode(const CAudioDS8State& state);
    Result Apply3D();

    IDirectSoundBuffer* m_pBuffer = nullptr;
    uint32_t m_bufferSize = 0;
    IDirectSound3DBuffer* m_p3DBuffer = nullptr;
    DS3DBUFFER m_params3D = {};
    uint32_t m_applyMode = DS3D_IMMEDIATE;
    uint32_t m_pausePosition = kNotPaused;
};
