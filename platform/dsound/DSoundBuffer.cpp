#include "platform/dsound/DSound.h"
#include "platform/dsound/DSoundFormat.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

const DS3DBUFFER kDefaultSpatial = {sizeof(DS3DBUFFER), {0, 0, 0}, {0, 0, 0}, 360, 360, {0, 0, 1}, DSBVOLUME_MAX,
                                    1.0f, 1.0e9f, DS3DMODE_NORMAL};

// A control's value into *out when the buffer has the control (available is DS_OK).
template <typename T> Result ReportControl(Result available, T value, T* out)
{
    if (!out)
        return DSERR_INVALIDPARAM;
    if (available == DS_OK)
        *out = value;
    return available;
}

// Whether a control may take a new value: its availability, then the value's range.
Result CheckSetting(Result available, bool inRange)
{
    if (available != DS_OK)
        return available;
    return inRange ? DS_OK : DSERR_INVALIDPARAM;
}

}  // namespace

IDirectSoundBuffer::IDirectSoundBuffer(IDirectSound8* device, uint32_t flags)
    : m_device(device), m_mixer(device->m_mixer), m_flags(flags), m_spatial(kDefaultSpatial)
{
    m_device->AddRef();
}

IDirectSoundBuffer::IDirectSoundBuffer(const MixerPtr& mixer, CMixerVoice* voice, uint32_t flags,
                                       const WAVEFORMATEX& format)
    : m_mixer(mixer), m_voice(voice), m_flags(flags), m_format(format), m_spatial(kDefaultSpatial)
{
    // An extensible PCM format is kept as its plain PCM twin.
    m_format.wFormatTag = WAVE_FORMAT_PCM;
    m_format.cbSize = 0;
}

IDirectSoundBuffer::~IDirectSoundBuffer()
{
    if (m_voice)
        m_mixer->RemoveVoice(m_voice);
    if (m_device)
        m_device->Release();
}

Result IDirectSoundBuffer::CheckSecondary() const
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    return m_lost ? DSERR_BUFFERLOST : DS_OK;
}

Result IDirectSoundBuffer::CheckControl(uint32_t control) const
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    return (m_flags & control) ? DS_OK : DSERR_CONTROLUNAVAIL;
}

uint32_t IDirectSoundBuffer::PlaybackRate(uint32_t frequency) const
{
    return frequency == DSBFREQUENCY_ORIGINAL ? m_format.nSamplesPerSec : frequency;
}

Result IDirectSoundBuffer::GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written)
{
    if (!format || size < sizeof(WAVEFORMATEX))
        return DSERR_INVALIDPARAM;
    *format = IsPrimary() ? m_device->m_primaryFormat : m_format;
    if (written)
        *written = sizeof(WAVEFORMATEX);
    return DS_OK;
}

Result IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format)
{
    if (!IsPrimary())
        return DSERR_INVALIDCALL;
    if (m_device->m_level < DSSCL_PRIORITY)
        return DSERR_PRIOLEVELNEEDED;
    if (!format)
        return DSERR_INVALIDPARAM;
    if (!IsMixablePcm(*format))
        return DSERR_BADFORMAT;
    m_device->m_primaryFormat = *format;
    m_device->m_primaryFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_device->m_primaryFormat.cbSize = 0;
    return DS_OK;
}

Result IDirectSoundBuffer::GetStatus(uint32_t* status)
{
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (IsPrimary())
        return DS_OK;
    if (m_lost) {
        *status = DSBSTATUS_BUFFERLOST;
        return DS_OK;
    }
    bool looping = false;
    if (m_mixer->IsPlaying(m_voice, &looping))
        *status = DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

Result IDirectSoundBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags)
{
    if (reserved != 0 || priority != 0 || (flags & ~DSBPLAY_LOOPING))
        return DSERR_INVALIDPARAM;
    Result usable = CheckSecondary();
    if (usable != DS_OK)
        return usable;
    m_mixer->Play(m_voice, (flags & DSBPLAY_LOOPING) != 0);
    return DS_OK;
}

Result IDirectSoundBuffer::Stop()
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    m_mixer->Stop(m_voice);
    return DS_OK;
}

Result IDirectSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    if (!play && !write)
        return DSERR_INVALIDPARAM;
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    uint32_t cursor = m_mixer->GetCursor(m_voice);
    if (play)
        *play = cursor;
    if (write)
        *write = cursor;
    return DS_OK;
}

Result IDirectSoundBuffer::SetCurrentPosition(uint32_t bytes)
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    return m_mixer->SetCursor(m_voice, bytes) ? DS_OK : DSERR_INVALIDPARAM;
}

Result IDirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
                                uint32_t* secondBytes, uint32_t flags)
{
    if (!first || !firstBytes || (flags & ~DSBLOCK_ENTIREBUFFER))
        return DSERR_INVALIDPARAM;
    Result usable = CheckSecondary();
    if (usable != DS_OK)
        return usable;
    if (m_locked)
        return DSERR_INVALIDCALL;
    uint32_t size = m_mixer->Size(m_voice);
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    uint8_t* data = m_mixer->Data(m_voice);
    uint32_t head = std::min(bytes, size - offset);
    uint32_t wrapped = second ? bytes - head : 0;
    m_mixer->BeginWrite(m_voice);
    m_locked = data + offset;
    *first = m_locked;
    *firstBytes = head;
    if (second)
        *second = wrapped ? data : nullptr;
    if (secondBytes)
        *secondBytes = wrapped;
    return DS_OK;
}

Result IDirectSoundBuffer::Unlock(void* first, uint32_t, void*, uint32_t)
{
    if (IsPrimary() || !m_locked)
        return DSERR_INVALIDCALL;
    if (first != m_locked)
        return DSERR_INVALIDPARAM;
    m_locked = nullptr;
    m_mixer->EndWrite(m_voice);
    return DS_OK;
}

Result IDirectSoundBuffer::GetVolume(int32_t* volume)
{
    return ReportControl(CheckControl(DSBCAPS_CTRLVOLUME), m_volume, volume);
}

Result IDirectSoundBuffer::SetVolume(int32_t volume)
{
    Result usable = CheckSetting(CheckControl(DSBCAPS_CTRLVOLUME), volume >= DSBVOLUME_MIN && volume <= DSBVOLUME_MAX);
    if (usable != DS_OK)
        return usable;
    m_volume = volume;
    m_mixer->SetVolume(m_voice, volume);
    return DS_OK;
}

Result IDirectSoundBuffer::GetPan(int32_t* pan)
{
    return ReportControl(CheckControl(DSBCAPS_CTRLPAN), m_pan, pan);
}

Result IDirectSoundBuffer::SetPan(int32_t pan)
{
    Result usable = CheckSetting(CheckControl(DSBCAPS_CTRLPAN), pan >= DSBPAN_LEFT && pan <= DSBPAN_RIGHT);
    if (usable != DS_OK)
        return usable;
    m_pan = pan;
    m_mixer->SetPan(m_voice, pan);
    return DS_OK;
}

Result IDirectSoundBuffer::GetFrequency(uint32_t* frequency)
{
    return ReportControl(CheckControl(DSBCAPS_CTRLFREQUENCY), PlaybackRate(m_frequency), frequency);
}

Result IDirectSoundBuffer::SetFrequency(uint32_t frequency)
{
    const bool inRange = frequency == DSBFREQUENCY_ORIGINAL ||
                         (frequency >= DSBFREQUENCY_MIN && frequency <= DSBFREQUENCY_MAX);
    Result usable = CheckSetting(CheckControl(DSBCAPS_CTRLFREQUENCY), inRange);
    if (usable != DS_OK)
        return usable;
    m_frequency = frequency;
    m_mixer->SetFrequency(m_voice, PlaybackRate(frequency));
    return DS_OK;
}

Result IDirectSoundBuffer::Restore()
{
    if (IsPrimary() || !m_lost)
        return DS_OK;
    if (m_failingRestores > 0) {
        --m_failingRestores;
        return m_restoreError;
    }
    m_lost = false;
    return DS_OK;
}

void IDirectSoundBuffer::MarkLost(uint32_t failingRestores, Result restoreError)
{
    if (IsPrimary())
        return;
    m_mixer->Stop(m_voice);
    m_lost = true;
    m_failingRestores = failingRestores;
    m_restoreError = restoreError;
}

Result IDirectSoundBuffer::Query3DBuffer(IDirectSound3DBuffer** buffer3D)
{
    if (!buffer3D)
        return DSERR_INVALIDPARAM;
    *buffer3D = nullptr;
    if (IsPrimary() || !(m_flags & DSBCAPS_CTRL3D))
        return DSERR_NOINTERFACE;
    *buffer3D = new (std::nothrow) IDirectSound3DBuffer(this);
    return *buffer3D ? DS_OK : DSERR_OUTOFMEMORY;
}

Result IDirectSoundBuffer::QueryListener(IDirectSound3DListener8** listener)
{
    if (!listener)
        return DSERR_INVALIDPARAM;
    *listener = nullptr;
    if (!IsPrimary() || !(m_flags & DSBCAPS_CTRL3D))
        return DSERR_NOINTERFACE;
    *listener = new (std::nothrow) IDirectSound3DListener8(m_device);
    return *listener ? DS_OK : DSERR_OUTOFMEMORY;
}
