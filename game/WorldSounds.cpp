#include "base/WideFormat.h"
#include "core/Log.h"
#include "game/KvoMusicManager.h"
#include "game/SoundBank.h"
#include "game/VadadiDazidevWorld.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"

// The sound bank: sounds loaded on first use, kept while used, released by the sweeps of the
// screen and scene switches.

namespace {

bool IsMusicSound(const CAudio* sound)
{
    return (sound->GetFlags() & kAudioFlagMusic) != 0;
}

} // namespace

CSoundBank* SoundBankOf(const CWorldData* data)
{
    return data && data->gameData ? data->gameData->m_pLevelHost : nullptr;
}

void CVadadiDazidevWorld::AddAudio(uint16_t index, uint8_t loop)
{
    if (!m_pAudioEngine)
        return;
    if (index >= m_GameData.m_nSoundCount || !m_GameData.m_pSounds) {
        LogPrintf(m_pData->logPath, 0, u"# CVadadiDazidevWorld::AddAudio failed! invalid index !!!\n");
        return;
    }
    CSoundBankEntry& entry = m_GameData.m_pSounds[index];
    CAudio* sound = entry.m_pSound;
    if (!sound)
        return;
    if (entry.m_nState == kSoundUnloaded) {
        char16_t path[kMaxPathUnits];
        const char16_t* name = m_GameData.m_pSoundNames.get() + m_GameData.m_pSoundNameOffsets[index];
        // A path that does not fit is a missing file, never a cut name.
        const bool fits = WFormat(path, kMaxPathUnits, u"%s%s", m_pData->dataFolder, name) + 1 < kMaxPathUnits;
        IgnoreResult(sound->SetLooping(loop));
        if (!fits || Failed(sound->LoadAudioFromFile(path, 0))) {
            LogPrintf(m_pData->logPath, 1, u"# CVadadiDazidevWorld::AddAudio failed! \"%s\" is missing !!!\n", path);
            IgnoreResult(sound->Release());
            return;
        }
        if (IsMusicSound(sound) && m_GameData.m_fMusicVolume != 0.0f)
            IgnoreResult(sound->Play());
    } else if (sound->IsLooping() != loop) {
        IgnoreResult(sound->SetLooping(loop));
    }
    IgnoreResult(sound->SetVolume(m_GameData.m_fSoundVolume));
    entry.m_nState = kSoundUsed;
}

void CVadadiDazidevWorld::PlayBankSound(uint16_t index)
{
    AddAudio(index, 0);
    if (m_pAudioEngine && index < m_GameData.m_nSoundCount && m_GameData.m_pSounds[index].m_nState == kSoundUsed)
        IgnoreResult(m_GameData.m_pSounds[index].m_pSound->Play());
}

void CVadadiDazidevWorld::ReleaseUnusedSounds()
{
    for (uint16_t i = 0; m_GameData.m_pSounds && i < m_GameData.m_nSoundCount; ++i) {
        CSoundBankEntry& entry = m_GameData.m_pSounds[i];
        if (entry.m_nState == kSoundUnused) {
            entry.m_nState = kSoundUnloaded;
            if (entry.m_pSound)
                IgnoreResult(entry.m_pSound->Release());
        } else if (entry.m_nState == kSoundUsed) {
            entry.m_nState = kSoundUnused;
        }
    }
}

void CVadadiDazidevWorld::ApplySoundVolume()
{
    SetBankVolume(m_GameData.m_fSoundVolume);
}

// Every loaded sound not used since the last sweep that is no music.
void CVadadiDazidevWorld::SetBankVolume(float volume)
{
    if (!m_pAudioEngine)
        return;
    for (uint16_t i = 0; m_GameData.m_pSounds && i < m_GameData.m_nSoundCount; ++i) {
        CSoundBankEntry& entry = m_GameData.m_pSounds[i];
        if (entry.m_nState == kSoundUnused && entry.m_pSound && !IsMusicSound(entry.m_pSound))
            IgnoreResult(entry.m_pSound->SetVolume(volume));
    }
}

void CVadadiDazidevWorld::ApplyMusicVolume()
{
    if (m_pAudioEngine && m_pMusicManager)
        m_pMusicManager->SetVolume(m_GameData.m_fMusicVolume, 1);
}

void CVadadiDazidevWorld::ReleaseSoundBank()
{
    for (uint16_t i = 0; m_GameData.m_pSounds && i < m_GameData.m_nSoundCount; ++i) {
        if (m_GameData.m_pSounds[i].m_pSound && m_pAudioEngine)
            IgnoreResult(m_pAudioEngine->DestroyAudio(m_GameData.m_pSounds[i].m_pSound));
    }
    m_GameData.m_pSounds.reset();
    m_GameData.m_pSoundNames.reset();
    m_GameData.m_pSoundNameOffsets.reset();
    m_GameData.m_nSoundCount = 0;
}
