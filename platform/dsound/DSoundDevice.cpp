#include "platform/dsound/DSound.h"
#include "platform/dsound/DSoundFormat.h"

#include <new>

uint32_t CDSoundObject::AddRef()
{
    return ++m_references;
}

uint32_t CDSoundObject::Release()
{
    uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

Result DirectSoundCreate8(IDirectSound8** device)
{
    if (!device)
        return DSERR_INVALIDPARAM;
    *device = nullptr;
    MixerPtr mixer(new (std::nothrow) CAudioMixer);
    if (!mixer)
        return DSERR_OUTOFMEMORY;
    std::unique_ptr<CMixerOutput> output = OpenMixerOutput(mixer);
    if (!output)
        return DSERR_NODRIVER;
    *device = new (std::nothrow) IDirectSound8(mixer, std::move(output));
    return *device ? DS_OK : DSERR_OUTOFMEMORY;
}

IDirectSound8::IDirectSound8(const MixerPtr& mixer, std::unique_ptr<CMixerOutput> output)
    : m_mixer(mixer),
      m_output(std::move(output)),
      m_primaryFormat{WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0},
      m_listener{sizeof(DS3DLISTENER), {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0f, 1.0f, 1.0f}
{
}

IDirectSound8::~IDirectSound8() = default;

Result IDirectSound8::SetCooperativeLevel(void* window, uint32_t level)
{
    if (!window || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    m_level = level;
    return DS_OK;
}

Result IDirectSound8::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer)
{
    if (!desc || !buffer || desc->dwSize != sizeof(DSBUFFERDESC))
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (m_level == 0)
        return DSERR_PRIOLEVELNEEDED;
    constexpr uint32_t known =
        DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (desc->dwFlags & ~known)
        return DSERR_INVALIDPARAM;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat || (desc->dwFlags & DSBCAPS_CTRLFREQUENCY))
            return DSERR_INVALIDPARAM;
        return CreatePrimary(desc->dwFlags, buffer);
    }
    return CreateSecondary(desc, buffer);
}

Result IDirectSound8::CreatePrimary(uint32_t flags, IDirectSoundBuffer** buffer)
{
    *buffer = new (std::nothrow) IDirectSoundBuffer(this, flags);
    return *buffer ? DS_OK : DSERR_OUTOFMEMORY;
}

Result IDirectSound8::CreateSecondary(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer)
{
    const WAVEFORMATEX* format = desc->lpwfxFormat;
    if (!format)
        return DSERR_INVALIDPARAM;
    if (!IsMixablePcm(*format))
        return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
        desc->dwBufferBytes < format->nBlockAlign || desc->guid3DAlgorithm > DS3DALG_HRTF_LIGHT)
        return DSERR_INVALIDPARAM;
    bool spatial = (desc->dwFlags & DSBCAPS_CTRL3D) != 0;
    if (spatial && (format->nChannels != 1 || (desc->dwFlags & DSBCAPS_CTRLPAN)))
        return DSERR_INVALIDPARAM;
    if (!spatial && desc->guid3DAlgorithm != DS3DALG_DEFAULT)
        return DSERR_INVALIDPARAM;
    MixerVoiceFormat voiceFormat = {format->nChannels, format->wBitsPerSample, format->nSamplesPerSec};
    CMixerVoice* voice = m_mixer->AddVoice(voiceFormat, desc->dwBufferBytes, spatial);
    if (!voice)
        return DSERR_OUTOFMEMORY;
    *buffer = new (std::nothrow) IDirectSoundBuffer(m_mixer, voice, desc->dwFlags, *format);
    if (!*buffer) {
        m_mixer->RemoveVoice(voice);
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}
