#include "backends/audio/AudioDS8.h"

#include "backends/audio/AudioBufferFill.h"
#include "backends/audio/AudioEngineDS8.h"
#include "backends/audio/WavReader.h"
#include "core/WorldData.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kReferenceRate = 44100.0;
constexpr uint32_t kFlags2D = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr uint32_t kFlags3D = DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME;

}  // namespace

CAudioDS8::CAudioDS8(CWorldData* data) : CAudio(data)
{
}

CAudioDS8::~CAudioDS8()
{
    ReleaseBuffer();
}

const CAudioDS8State* CAudioDS8::State() const
{
    return m_pData ? static_cast<const CAudioDS8State*>(m_pData->soundState) : nullptr;
}

void CAudioDS8::ReleaseBuffer()
{
    if (m_p3DBuffer) {
        m_p3DBuffer->Release();
        m_p3DBuffer = nullptr;
    }
    if (m_pBuffer) {
        m_pBuffer->Release();
        m_pBuffer = nullptr;
    }
    m_bufferSize = 0;
    m_pausePosition = kNotPaused;
}

Result CAudioDS8::Release()
{
    ReleaseBuffer();
    return CAudio::Release();
}

Result CAudioDS8::Play()
{
    if (!m_pBuffer)
        return RES_FAIL;
    IgnoreResult(m_pBuffer->SetCurrentPosition(m_pausePosition != kNotPaused ? m_pausePosition : 0));
    IgnoreResult(SetVolume(GetVolume()));
    Result played = m_pBuffer->Play(0, 0, (m_param & kAudioParamLooping) ? DSBPLAY_LOOPING : 0);
    m_pausePosition = kNotPaused;
    return played;
}

Result CAudioDS8::Stop()
{
    if (!m_pBuffer)
        return RES_FAIL;
    Result stopped = m_pBuffer->Stop();
    m_pausePosition = kNotPaused;
    return stopped;
}

Result CAudioDS8::Pause()
{
    if (!m_pBuffer)
        return RES_FAIL;
    if (m_pausePosition != kNotPaused)
        return RES_OK;
    uint32_t cursor = 0;
    if (m_pBuffer->GetCurrentPosition(&cursor, nullptr) != DS_OK)
        return RES_FAIL;
    m_pausePosition = cursor;
    return m_pBuffer->Stop();
}

double CAudioDS8::GetFrequencyRatio()
{
    uint32_t frequency = 0;
    if (!m_pBuffer || m_pBuffer->GetFrequency(&frequency) != DS_OK)
        return 0.0;
    return frequency * (1.0 / kReferenceRate);
}

Result CAudioDS8::SetFrequencyRatio(float ratio)
{
    if (!m_pBuffer || !(ratio >= 0.0f))
        return RES_FAIL;
    double frequency = std::min(std::trunc(ratio * kReferenceRate), static_cast<double>(UINT32_MAX));
    return m_pBuffer->SetFrequency(static_cast<uint32_t>(frequency));
}

float CAudioDS8::GetPan()
{
    int32_t pan = 0;
    if (Is3D() || !m_pBuffer || m_pBuffer->GetPan(&pan) != DS_OK)
        return 0.0f;
    return pan * 0.0001f;
}

Result CAudioDS8::SetPan(float pan)
{
    if (Is3D())
        return RES_OK;
    if (!m_pBuffer || std::isnan(pan))
        return RES_FAIL;
    pan = std::clamp(pan, -1.0f, 1.0f);
    return m_pBuffer->SetPan(static_cast<int32_t>(std::trunc(pan * 10000.0f)));
}

float CAudioDS8::GetVolume()
{
    int32_t volume = 0;
    if (!m_pBuffer || m_pBuffer->GetVolume(&volume) != DS_OK)
        return 0.0f;
    return 1.0f - (volume * -0.0005f);
}

Result CAudioDS8::SetVolume(float volume)
{
    if (!m_pBuffer || std::isnan(volume))
        return RES_FAIL;
    volume = std::clamp(volume, 0.0f, 1.0f);
    return m_pBuffer->SetVolume(static_cast<int32_t>(std::trunc((1.0f - volume) * -2000.0f)));
}

Result CAudioDS8::SetLooping(uint8_t on)
{
    IgnoreResult(CAudio::SetLooping(on));
    if (!IsPlaying())
        return RES_OK;
    return m_pBuffer->Play(0, 0, on ? DSBPLAY_LOOPING : 0);
}

uint8_t CAudioDS8::IsPlaying()
{
    uint32_t status = 0;
    if (!m_pBuffer || m_pBuffer->GetStatus(&status) != DS_OK)
        return 0;
    return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

Result CAudioDS8::SetCurrentPosition(uint32_t bytes)
{
    if (!m_pBuffer)
        return RES_FAIL;
    Result moved = m_pBuffer->SetCurrentPosition(bytes);
    if (moved == DS_OK && m_pausePosition != kNotPaused)
        m_pausePosition = bytes;
    return moved;
}

Result CAudioDS8::Apply3D()
{
    return m_p3DBuffer->SetAllParameters(&m_params3D, m_applyMode);
}

Result CAudioDS8::SetPosition(float x, float y, float z)
{
    if (!Is3D())
        return SetPan(x);
    if (!m_p3DBuffer)
        return RES_FAIL;
    m_params3D.vPosition = {x, y, z};
    return Apply3D();
}

Result CAudioDS8::SetVelocity(float x, float y, float z)
{
    if (!Is3D())
        return m_pBuffer ? RES_OK : RES_FAIL;
    if (!m_p3DBuffer)
        return RES_FAIL;
    m_params3D.vVelocity = {x, y, z};
    return Apply3D();
}

Result CAudioDS8::LoadAudioFromAddress(const void* data, uint32_t size, const char16_t* name)
{
    IgnoreResult(Release());
    IgnoreResult(CAudio::LoadAudioFromAddress(data, size, name));
    return RES_FAIL;
}

Result CAudioDS8::LoadAudioFromPacker(CPackerFile* pak)
{
    IgnoreResult(Release());
    IgnoreResult(CAudio::LoadAudioFromPacker(pak));
    return RES_FAIL;
}

Result CAudioDS8::CreateBuffer(const CAudioDS8State& state, const WAVEFORMATEX& format, uint32_t size)
{
    DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), Is3D() ? kFlags3D : kFlags2D, size, 0, &format,
                         Is3D() ? DS3DALG_HRTF_FULL : DS3DALG_DEFAULT};
    if (state.device->CreateSoundBuffer(&desc, &m_pBuffer) != DS_OK)
        return RES_FAIL;
    m_bufferSize = size;
    return RES_OK;
}

Result CAudioDS8::Set3DMode(const CAudioDS8State& state)
{
    if (m_pBuffer->Query3DBuffer(&m_p3DBuffer) != DS_OK)
        return RES_FAIL;
    m_applyMode = state.applyMode;
    m_params3D.dwSize = sizeof(DS3DBUFFER);
    if (m_p3DBuffer->GetAllParameters(&m_params3D) != DS_OK)
        return RES_FAIL;
    m_params3D.dwMode = DS3DMODE_HEADRELATIVE;
    return Apply3D() == DS_OK ? RES_OK : RES_FAIL;
}

Result CAudioDS8::LoadAudioFromFile(const char16_t* path, uint8_t keepFullName)
{
    if (Release() < 0 || CAudio::LoadAudioFromFile(path, keepFullName) < 0)
        return RES_FAIL;
    const CAudioDS8State* state = State();
    if (!state || !state->device)
        return RES_FAIL;
    CWavReader reader(m_pData);
    IgnoreResult(reader.Init());
    if (reader.Open(path) != RES_OK || !reader.GetFormat())
        return RES_FAIL;
    const WAVEFORMATEX& format = *reader.GetFormat();
    if (Is3D() && (format.nChannels != 1 || format.wFormatTag != WAVE_FORMAT_PCM))
        return RES_FAIL;
    if (CreateBuffer(*state, format, reader.GetSize()) != RES_OK)
        return RES_FAIL;
    if (FillAudioBuffer(m_pBuffer, m_bufferSize, false, &reader) != RES_OK ||
        m_pBuffer->SetCurrentPosition(0) != DS_OK || (Is3D() && Set3DMode(*state) != RES_OK)) {
        ReleaseBuffer();
        return RES_FAIL;
    }
    IgnoreResult(reader.Close());
    IgnoreResult(SetPan(0.0f));
    IgnoreResult(SetVolume(1.0f));
    IgnoreResult(SetLooping(m_param & kAudioParamLooping));
    return RES_OK;
}
