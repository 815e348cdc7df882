#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "core/PackerFile.h"
#include "base/Result.h"
#include "base/WideString.h"

struct CWorldData;

// Creation flags of a sound.
constexpr uint32_t kAudioFlagListed = 0x1;  // becomes the flag of the sound's entry in the engine's list
constexpr uint32_t kAudioFlagMusic = 0x2;   // the game's music sound
constexpr uint32_t kAudioFlag3D = 0x4;      // positioned in 3D (mono PCM only)

// Creation parameter bits of a sound.
constexpr uint32_t kAudioParamLooping = 0x1;

// One sound of the audio engine. The base class keeps the creation words and the name; the
// back end holds the playable data. Operations on a sound without data fail (result below 0)
// or report neutral values (not playing, 0.0).
class CAudio : public CBaseObject {
public:
    explicit CAudio(CWorldData* data);
    ~CAudio() override = default;
    CAudio(const CAudio&) = delete;
    CAudio& operator=(const CAudio&) = delete;

    virtual Result Init();
    // Unloads the sound's data and forgets its name.
    virtual Result Release();
    virtual Result Play();
    virtual Result Stop();
    virtual Result Pause();
    virtual double GetFrequencyRatio();
    virtual Result SetFrequencyRatio(float ratio);
    virtual float GetPan();
    virtual Result SetPan(float pan);
    virtual float GetVolume();
    virtual Result SetVolume(float volume);
    virtual uint8_t IsLooping();
    virtual Result SetLooping(uint8_t on);
    virtual uint8_t IsPlaying();
    virtual Result SetCurrentPosition(uint32_t bytes);
    virtual Result Rewind();
    virtual Result SetPosition(float x, float y, float z);
    virtual Result SetVelocity(float x, float y, float z);
    virtual Result LoadAudioFromAddress(const void* data, uint32_t size, const char16_t* name);
    virtual Result LoadAudioFromPacker(CPackerFile* pak);
    virtual Result LoadAudioFromFile(const char16_t* path, uint8_t keepFullName);

    void SetCreation(uint32_t flags, uint32_t param);
    uint32_t GetFlags() const { return m_flags; }
    uint32_t GetParam() const { return m_param; }
    bool Is3D() const { return (m_flags & kAudioFlag3D) != 0; }
    // The name the sound was loaded under (the game's cache key).
    const char16_t* GetName() const { return m_name.c_str(); }

protected:
    void SetName(const char16_t* name);
    void SetNameFromPath(const char16_t* path, uint8_t keepFullName);

    CWorldData* m_pData;
    uint32_t m_flags = 0;
    uint32_t m_param = 0;
    WString m_name;
};
