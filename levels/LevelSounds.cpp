#include "levels/LevelSounds.h"

#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/LevelHost.h"
#include "game/LevelRecord.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"

namespace {

CLevelHost* WorldOf(CWorldData* data)
{
    return data && data->gameData ? data->gameData->m_pLevelHost : nullptr;
}

} // namespace

CAudio* LoadedBankSound(CWorldData* data, uint16_t sound)
{
    CLevelHost* world = WorldOf(data);
    const CGameData* game = world ? data->gameData : nullptr;
    if (!game || !world->GetAudioEngine() || sound == kNoSound || sound >= game->m_nSoundCount || !game->m_pSounds ||
        game->m_pSounds[sound].m_nState == kSoundUnloaded)
        return nullptr;
    return game->m_pSounds[sound].m_pSound;
}

void PlayLoadedBankSound(CWorldData* data, uint16_t sound)
{
    CAudio* audio = LoadedBankSound(data, sound);
    if (audio && data->gameData->m_fSoundVolume != 0.0f)
        IgnoreResult(audio->Play());
}

void PrepareBankSound(CWorldData* data, uint16_t sound, uint8_t loop)
{
    CLevelHost* world = WorldOf(data);
    if (world && sound != kNoSound)
        world->AddAudio(sound, loop);
}
