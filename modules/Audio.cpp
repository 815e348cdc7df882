#include "modules/Audio.h"

#include "base/StringHelpers.h"
#include "core/WorldData.h"

CAudio::CAudio(CWorldData* data) : m_pData(data)
{
}

void CAudio::SetCreation(uint32_t flags, uint32_t param)
{
    m_flags = flags;
    m_param = param;
}

Result CAudio::Init()
{
    return RES_OK;
}

Result CAudio::Release()
{
    m_name.clear();
    return RES_OK;
}

Result CAudio::Play()
{
    return RES_FAIL;
}

Result CAudio::Stop()
{
    return RES_FAIL;
}

Result CAudio::Pause()
{
    return RES_FAIL;
}

double CAudio::GetFrequencyRatio()
{
    return 0.0;
}

Result CAudio::SetFrequencyRatio(float)
{
    return RES_FAIL;
}

float CAudio::GetPan()
{
    return 0.0f;
}

Result CAudio::SetPan(float)
{
    return RES_FAIL;
}

float CAudio::GetVolume()
{
    return 0.0f;
}

Result CAudio::SetVolume(float)
{
    return RES_FAIL;
}

uint8_t CAudio::IsLooping()
{
    return (m_param & kAudioParamLooping) ? 1 : 0;
}

Result CAudio::SetLooping(uint8_t on)
{
    if (on)
        m_param |= kAudioParamLooping;
    else
        m_param &= ~kAudioParamLooping;
    return RES_OK;
}

uint8_t CAudio::IsPlaying()
{
    return 0;
}

Result CAudio::SetCurrentPosition(uint32_t)
{
    return RES_FAIL;
}

Result CAudio::Rewind()
{
    return SetCurrentPosition(0);
}

Result CAudio::SetPosition(float, float, float)
{
    return RES_FAIL;
}

Result CAudio::SetVelocity(float, float, float)
{
    return RES_FAIL;
}

Result CAudio::LoadAudioFromAddress(const void*, uint32_t, const char16_t* name)
{
    SetName(GetFileNamePart(name));
    return RES_OK;
}

Result CAudio::LoadAudioFromPacker(CPackerFile* pak)
{
    if (!pak)
        return RES_FAIL;
    SetName(pak->foundName);
    return RES_OK;
}

Result CAudio::LoadAudioFromFile(const char16_t* path, uint8_t keepFullName)
{
    if (!path)
        return RES_FAIL;
    SetNameFromPath(path, keepFullName);
    return RES_OK;
}

void CAudio::SetName(const char16_t* name)
{
    m_name.assign(name ? name : u"");
}

void CAudio::SetNameFromPath(const char16_t* path, uint8_t keepFullName)
{
    int32_t prefix = m_pData ? m_pData->dataRootPrefixLength : -1;
    if (!keepFullName && prefix < 0) {
        SetName(GetFileNamePart(path));
        return;
    }
    size_t skip = prefix < 0 ? 0 : static_cast<size_t>(prefix);
    size_t length = WStrLen(path);
    SetName(skip <= length ? path + skip : GetFileNamePart(path));
}
