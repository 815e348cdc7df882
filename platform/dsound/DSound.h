#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "platform/dsound/AudioMixer.h"
#include "platform/dsound/MixerOutput.h"
#include "platform/dsound/MmioWaveFormat.h"

// A DirectSound-8-shaped sound layer over the software mixer. Interfaces are reference
// counted: every object handed out starts with one reference and is freed by its last
// Release. Calls come from one thread; mixing runs on the output's own thread.

constexpr Result DS_OK = static_cast<Result>(0);
constexpr Result DSERR_INVALIDPARAM = static_cast<Result>(0x80070057u);
constexpr Result DSERR_OUTOFMEMORY = static_cast<Result>(0x8007000Eu);
constexpr Result DSERR_NOINTERFACE = static_cast<Result>(0x80004002u);
constexpr Result DSERR_CONTROLUNAVAIL = static_cast<Result>(0x8878001Eu);
constexpr Result DSERR_INVALIDCALL = static_cast<Result>(0x88780032u);
constexpr Result DSERR_PRIOLEVELNEEDED = static_cast<Result>(0x88780046u);
constexpr Result DSERR_BADFORMAT = static_cast<Result>(0x88780064u);
constexpr Result DSERR_NODRIVER = static_cast<Result>(0x88780078u);
constexpr Result DSERR_BUFFERLOST = static_cast<Result>(0x88780096u);

// Cooperative levels.
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x01;
constexpr uint32_t DSBCAPS_CTRL3D = 0x10;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;

constexpr uint32_t DSBPLAY_LOOPING = 0x01;

constexpr uint32_t DSBSTATUS_PLAYING = 0x01;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x02;
constexpr uint32_t DSBSTATUS_LOOPING = 0x04;

constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x02;

constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_CENTER = 0;
constexpr int32_t DSBPAN_RIGHT = 10000;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

// 3D processing.
constexpr uint32_t DS3DALG_DEFAULT = 0;
constexpr uint32_t DS3DALG_NO_VIRTUALIZATION = 1;
constexpr uint32_t DS3DALG_HRTF_FULL = 2;
constexpr uint32_t DS3DALG_HRTF_LIGHT = 3;
constexpr uint32_t DS3DMODE_NORMAL = 0;
constexpr uint32_t DS3DMODE_HEADRELATIVE = 1;
constexpr uint32_t DS3DMODE_DISABLE = 2;
constexpr uint32_t DS3D_IMMEDIATE = 0;
constexpr float DS3D_MINROLLOFFFACTOR = 0.0f;
constexpr float DS3D_MAXROLLOFFFACTOR = 10.0f;
constexpr float DS3D_MINDOPPLERFACTOR = 0.0f;
constexpr float DS3D_MAXDOPPLERFACTOR = 10.0f;

struct DSVECTOR {
    float x, y, z;
};

struct DSBUFFERDESC {
    uint32_t dwSize;  // sizeof(DSBUFFERDESC)
    uint32_t dwFlags;
    uint32_t dwBufferBytes;
    uint32_t dwReserved;
    const WAVEFORMATEX* lpwfxFormat;
    uint32_t guid3DAlgorithm;
};

// Cones, velocities and Doppler are kept but have no audible effect.
struct DS3DBUFFER {
    uint32_t dwSize;  // 64
    DSVECTOR vPosition;
    DSVECTOR vVelocity;
    uint32_t dwInsideConeAngle;
    uint32_t dwOutsideConeAngle;
    DSVECTOR vConeOrientation;
    int32_t lConeOutsideVolume;
    float flMinDistance;
    float flMaxDistance;
    uint32_t dwMode;
};

struct DS3DLISTENER {
    uint32_t dwSize;  // 64
    DSVECTOR vPosition;
    DSVECTOR vVelocity;
    DSVECTOR vOrientFront;
    DSVECTOR vOrientTop;
    float flDistanceFactor;
    float flRolloffFactor;
    float flDopplerFactor;
};

static_assert(sizeof(DS3DBUFFER) == 64, "DS3DBUFFER is 64 bytes");
static_assert(sizeof(DS3DLISTENER) == 64, "DS3DLISTENER is 64 bytes");

class IDirectSound8;
class IDirectSoundBuffer;
class IDirectSound3DBuffer;
class IDirectSound3DListener8;

// Reference counting shared by every interface.
class CDSoundObject {
public:
    CDSoundObject() = default;
    CDSoundObject(const CDSoundObject&) = delete;
    CDSoundObject& operator=(const CDSoundObject&) = delete;

    uint32_t AddRef();
    uint32_t Release();

protected:
    virtual ~CDSoundObject() = default;

private:
    uint32_t m_references = 1;
};

// Creates the default device; DSERR_NODRIVER when there is no audio output.
Result DirectSoundCreate8(IDirectSound8** device);

class IDirectSound8 : public CDSoundObject {
public:
    Result SetCooperativeLevel(void* window, uint32_t level);
    Result CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer);

private:
    friend Result DirectSoundCreate8(IDirectSound8** device);
    friend class IDirectSoundBuffer;
    friend class IDirectSound3DListener8;

    IDirectSound8(const MixerPtr& mixer, std::unique_ptr<CMixerOutput> output);
    ~IDirectSound8() override;

    Result CreatePrimary(uint32_t flags, IDirectSoundBuffer** buffer);
    Result CreateSecondary(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer);

    MixerPtr m_mixer;
    std::unique_ptr<CMixerOutput> m_output;
    uint32_t m_level = 0;
    WAVEFORMATEX m_primaryFormat;
    DS3DLISTENER m_listener;
};

class IDirectSoundBuffer : public CDSoundObject {
public:
    Result GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written);
    Result SetFormat(const WAVEFORMATEX* format);  // primary buffer only
    Result GetStatus(uint32_t* status);
    Result Play(uint32_t reserved, uint32_t priority, uint32_t flags);
    Result Stop();
    Result GetCurrentPosition(uint32_t* play, uint32_t* write);
    Result SetCurrentPosition(uint32_t bytes);
    Result Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
                uint32_t* secondBytes, uint32_t flags);
    Result Unlock(void* first, uint32_t firstBytes, void* second, uint32_t secondBytes);
    Result GetVolume(int32_t* volume);
    Result SetVolume(int32_t volume);
    Result GetPan(int32_t* pan);
    Result SetPan(int32_t pan);
    Result GetFrequency(uint32_t* frequency);
    Result SetFrequency(uint32_t frequency);
    Result Restore();

    // The 3D interface of a buffer made with DSBCAPS_CTRL3D, and the listener of a primary one.
    Result Query3DBuffer(IDirectSound3DBuffer** buffer3D);
    Result QueryListener(IDirectSound3DListener8** listener);

    // Puts the buffer in the lost state, for exercising recovery (the SDL output never loses
    // buffers): it stops and reports DSBSTATUS_BUFFERLOST; the next failingRestores calls of
    // Restore fail with restoreError, the one after restores it.
    void MarkLost(uint32_t failingRestores, Result restoreError);

private:
    friend class IDirectSound8;
    friend class IDirectSound3DBuffer;

    IDirectSoundBuffer(IDirectSound8* device, uint32_t flags);
    IDirectSoundBuffer(const MixerPtr& mixer, CMixerVoice* voice, uint32_t flags, const WAVEFORMATEX& format);
    ~IDirectSoundBuffer() override;

    bool IsPrimary() const { return m_device != nullptr; }
    Result CheckSecondary() const;
    Result CheckControl(uint32_t control) const;
    // Samples per second the mixer plays at for a frequency setting (0 = the format's own).
    uint32_t PlaybackRate(uint32_t frequency) const;

    IDirectSound8* m_device = nullptr;  // primary buffers hold a reference on their device
    MixerPtr m_mixer;
    CMixerVoice* m_voice = nullptr;
    uint32_t m_flags;
    WAVEFORMATEX m_format = {};
    int32_t m_volume = DSBVOLUME_MAX;
    int32_t m_pan = DSBPAN_CENTER;
    uint32_t m_frequency = DSBFREQUENCY_ORIGINAL;
    DS3DBUFFER m_spatial;
    void* m_locked = nullptr;
    bool m_lost = false;
    uint32_t m_failingRestores = 0;
    Result m_restoreError = DS_OK;
};

class IDirectSound3DBuffer : public CDSoundObject {
public:
    Result GetAllParameters(DS3DBUFFER* parameters);
    Result SetAllParameters(const DS3DBUFFER* parameters, uint32_t apply);

private:
    friend class IDirectSoundBuffer;

    explicit IDirectSound3DBuffer(IDirectSoundBuffer* buffer);
    ~IDirectSound3DBuffer() override;

    IDirectSoundBuffer* m_buffer;  // referenced
};

class IDirectSound3DListener8 : public CDSoundObject {
public:
    Result GetAllParameters(DS3DLISTENER* parameters);
    Result SetAllParameters(const DS3DLISTENER* parameters, uint32_t apply);

private:
    friend class IDirectSoundBuffer;

    explicit IDirectSound3DListener8(IDirectSound8* device);
    ~IDirectSound3DListener8() override;

    IDirectSound8* m_device;  // referenced
};
