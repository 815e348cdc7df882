#include "modules/AudioEngine.h"

#include "core/Log.h"
#include "core/WorldData.h"

CAudioEngine::CAudioEngine(CWorldData* data) : m_pData(data)
{
}

CAudioEngine::~CAudioEngine()
{
    IgnoreResult(CAudioEngine::Unload());
}

Result CAudioEngine::Load(void*)
{
    return RES_OK;
}

Result CAudioEngine::Unload()
{
    ListValue value = m_listAudio.GetFirst();
    while (value) {
        CAudio* sound = ListObject<CAudio>(value);
        IgnoreResult(sound->Release());
        delete sound;
        value = m_listAudio.ReleaseCurrent(1);
    }
    if (m_listAudio.GetFirst())
        LogPrintf(m_pData ? m_pData->logPath : nullptr, 0, u"# C3DEngine::m_plistObjects detected memory leaks !\n");
    return RES_OK;
}

CAudio* CAudioEngine::CreateAudio(uint32_t, uint32_t)
{
    return nullptr;
}

CAudio* CAudioEngine::ListNewAudio(CAudio* sound, uint32_t flags, uint32_t param)
{
    if (!sound)
        return nullptr;
    sound->SetCreation(flags, param);
    if (sound->Init() < 0 || m_listAudio.AddTail(sound, static_cast<uint8_t>(flags & kAudioFlagListed)) < 0) {
        delete sound;
        return nullptr;
    }
    return sound;
}

Result CAudioEngine::DestroyAudio(CAudio* sound)
{
    if (!sound)
        return RES_FAIL;
    if (m_listAudio.Release(sound, 0) < 0)
        return RES_OK;
    Result released = sound->Release();
    delete sound;
    return released;
}
