#include "game/KvoMusicManager.h"

#include "core/Log.h"
#include "core/ParamsReader.h"
#include "core/WorldData.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"

CKvoMusicManager::~CKvoMusicManager()
{
    IgnoreResult(Unload());
}

Result CKvoMusicManager::Load()
{
    if (!m_pEngine || m_pSound)
        return RES_FAIL;
    m_pSound = m_pEngine->CreateAudio(kAudioFlagMusic, 0);
    if (!m_pSound)
        return RES_FAIL;
    IgnoreResult(m_pSound->SetLooping(1));
    char16_t* path = m_pData->scratch;
    path[0] = 0;
    if (m_pData->gameParams)
        IgnoreResult(m_pData->gameParams->GetPath(u"MUSIC", u"MUSIC_FILE_NAME", u"music.wav", path, kMaxPathUnits,
                                                  m_pData->dataFolder));
    if (Failed(m_pSound->LoadAudioFromFile(path, 0))) {
        LogPrintf(m_pData->logPath, 1, u"# CKvoMusicManager::Load failed! (\"%s\")\n", path);
        return RES_FAIL;
    }
    return RES_OK;
}

Result CKvoMusicManager::Unload()
{
    if (m_pEngine && m_pSound)
        IgnoreResult(m_pEngine->DestroyAudio(m_pSound));
    m_pSound = nullptr;
    return RES_OK;
}

void CKvoMusicManager::SetVolume(float volume, uint8_t stop)
{
    if (!m_pSound)
        return;
    IgnoreResult(m_pSound->SetVolume(volume));
    if (volume != 0.0f && !m_pSound->IsPlaying())
        IgnoreResult(m_pSound->Play());
    else if (volume == 0.0f && stop && m_pSound->IsPlaying())
        IgnoreResult(m_pSound->Stop());
}
