#include "backends/audio/AudioEngineDS8.h"

#include "backends/audio/AudioDS8.h"
#include "core/WorldData.h"

#include <new>

namespace {

constexpr WAVEFORMATEX kPrimaryFormat = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

DSBUFFERDESC PrimaryDesc(uint32_t flags)
{
    return {sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER | flags, 0, 0, nullptr, DS3DALG_DEFAULT};
}

}  // namespace

CAudioEngineDS8::CAudioEngineDS8(CWorldData* data) : CAudioEngine(data)
{
}

CAudioEngineDS8::~CAudioEngineDS8()
{
    IgnoreResult(CAudioEngineDS8::Unload());
}

Result CAudioEngineDS8::Load(void* window)
{
    if (m_pData)
        m_pData->soundState = &m_state;
    m_state.applyMode = DS3D_IMMEDIATE;
    if (DirectSoundCreate8(&m_state.device) != DS_OK)
        return RES_FAIL;
    if (m_state.device->SetCooperativeLevel(window, DSSCL_PRIORITY) != DS_OK)
        return RES_FAIL;
    if (SetPrimaryFormat() != RES_OK)
        return RES_FAIL;
    return SetUpListener();
}

Result CAudioEngineDS8::SetPrimaryFormat()
{
    DSBUFFERDESC desc = PrimaryDesc(0);
    IDirectSoundBuffer* primary = nullptr;
    if (m_state.device->CreateSoundBuffer(&desc, &primary) != DS_OK)
        return RES_FAIL;
    Result set = primary->SetFormat(&kPrimaryFormat);
    primary->Release();
    return set == DS_OK ? RES_OK : RES_FAIL;
}

Result CAudioEngineDS8::SetUpListener()
{
    DSBUFFERDESC desc = PrimaryDesc(DSBCAPS_CTRL3D);
    IDirectSoundBuffer* primary = nullptr;
    if (m_state.device->CreateSoundBuffer(&desc, &primary) != DS_OK)
        return RES_FAIL;
    Result queried = primary->QueryListener(&m_state.listener);
    primary->Release();
    if (queried != DS_OK)
        return RES_FAIL;
    m_state.listenerParams.dwSize = sizeof(DS3DLISTENER);
    if (m_state.listener->GetAllParameters(&m_state.listenerParams) != DS_OK)
        return RES_FAIL;
    m_state.listenerParams.flRolloffFactor = 0.0f;
    m_state.listenerParams.flDopplerFactor = 0.0f;
    if (m_state.listener->SetAllParameters(&m_state.listenerParams, m_state.applyMode) != DS_OK)
        return RES_FAIL;
    return RES_OK;
}

Result CAudioEngineDS8::Unload()
{
    IgnoreResult(CAudioEngine::Unload());
    if (m_state.listener) {
        m_state.listener->Release();
        m_state.listener = nullptr;
    }
    if (m_state.device) {
        m_state.device->Release();
        m_state.device = nullptr;
    }
    if (m_pData && m_pData->soundState == &m_state)
        m_pData->soundState = nullptr;
    return RES_OK;
}

CAudio* CAudioEngineDS8::CreateAudio(uint32_t flags, uint32_t param)
{
    return ListNewAudio(new (std::nothrow) CAudioDS8(m_pData), flags, param);
}
