#include "platform/dsound/DSound.h"

#include <cmath>

namespace {

bool IsFinite(const DSVECTOR& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool IsZero(const DSVECTOR& v)
{
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

DSVECTOR Cross(const DSVECTOR& a, const DSVECTOR& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

MixerVector ToMixer(const DSVECTOR& v)
{
    return {v.x, v.y, v.z};
}

bool IsValid(const DS3DBUFFER& p)
{
    if (!IsFinite(p.vPosition) || !IsFinite(p.vVelocity) || !IsFinite(p.vConeOrientation))
        return false;
    if (p.dwInsideConeAngle > 360 || p.dwOutsideConeAngle > 360 || p.dwInsideConeAngle > p.dwOutsideConeAngle)
        return false;
    if (p.lConeOutsideVolume < DSBVOLUME_MIN || p.lConeOutsideVolume > DSBVOLUME_MAX)
        return false;
    if (!std::isfinite(p.flMinDistance) || !std::isfinite(p.flMaxDistance) || p.flMinDistance <= 0.0f ||
        p.flMaxDistance < p.flMinDistance)
        return false;
    return p.dwMode <= DS3DMODE_DISABLE;
}

bool IsValid(const DS3DLISTENER& p)
{
    if (!IsFinite(p.vPosition) || !IsFinite(p.vVelocity) || !IsFinite(p.vOrientFront) || !IsFinite(p.vOrientTop))
        return false;
    if (IsZero(Cross(p.vOrientFront, p.vOrientTop)))
        return false;
    if (!(p.flDistanceFactor > 0.0f) || !std::isfinite(p.flDistanceFactor))
        return false;
    if (!(p.flRolloffFactor >= DS3D_MINROLLOFFFACTOR && p.flRolloffFactor <= DS3D_MAXROLLOFFFACTOR))
        return false;
    return p.flDopplerFactor >= DS3D_MINDOPPLERFACTOR && p.flDopplerFactor <= DS3D_MAXDOPPLERFACTOR;
}

// Copies the parameters out to a caller's record of the right size.
template <typename T> Result CopyOut(const T& parameters, T* out)
{
    if (!out || out->dwSize != sizeof(T))
        return DSERR_INVALIDPARAM;
    *out = parameters;
    return DS_OK;
}

// A record of the right size, applied at once, with sound values.
template <typename T> bool Acceptable(const T* parameters, uint32_t apply)
{
    return parameters && parameters->dwSize == sizeof(T) && apply == DS3D_IMMEDIATE && IsValid(*parameters);
}

}  // namespace

IDirectSound3DBuffer::IDirectSound3DBuffer(IDirectSoundBuffer* buffer) : m_buffer(buffer)
{
    m_buffer->AddRef();
}

IDirectSound3DBuffer::~IDirectSound3DBuffer()
{
    m_buffer->Release();
}

Result IDirectSound3DBuffer::GetAllParameters(DS3DBUFFER* parameters)
{
    return CopyOut(m_buffer->m_spatial, parameters);
}

Result IDirectSound3DBuffer::SetAllParameters(const DS3DBUFFER* parameters, uint32_t apply)
{
    if (!Acceptable(parameters, apply))
        return DSERR_INVALIDPARAM;
    m_buffer->m_spatial = *parameters;
    MixerSpatial spatial = {ToMixer(parameters->vPosition), parameters->flMinDistance, parameters->flMaxDistance,
                            parameters->dwMode};
    m_buffer->m_mixer->SetSpatial(m_buffer->m_voice, spatial);
    return DS_OK;
}

IDirectSound3DListener8::IDirectSound3DListener8(IDirectSound8* device) : m_device(device)
{
    m_device->AddRef();
}

IDirectSound3DListener8::~IDirectSound3DListener8()
{
    m_device->Release();
}

Result IDirectSound3DListener8::GetAllParameters(DS3DLISTENER* parameters)
{
    return CopyOut(m_device->m_listener, parameters);
}

Result IDirectSound3DListener8::SetAllParameters(const DS3DLISTENER* parameters, uint32_t apply)
{
    if (!Acceptable(parameters, apply))
        return DSERR_INVALIDPARAM;
    m_device->m_listener = *parameters;
    MixerListener listener = {ToMixer(parameters->vPosition), ToMixer(parameters->vOrientFront),
                              ToMixer(parameters->vOrientTop), parameters->flRolloffFactor};
    m_device->m_mixer->SetListener(listener);
    return DS_OK;
}
