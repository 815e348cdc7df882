#include "game/screens/Stars.h"

#include <cmath>

#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/SoundBank.h"
#include "game/StreamValues.h"
#include "game/widgets/ScreenQuads.h"
#include "modules/Audio.h"
#include "world/World.h"

CStars::CStars(CWorldData* data, C3DEngine* engine) : m_pData(data), m_pEngine(engine) {}

Result CStars::Load()
{
    if (!m_pData || !m_pData->gameParams)
        return RES_FAIL;
    m_fHalfWidth = static_cast<float>(m_pData->gameParams->GetFloat(u"STARS", u"STARS_WIDTH", 32.0f)) * 0.5f;
    m_fHalfDiagonal = std::sqrt(2.0f * m_fHalfWidth * m_fHalfWidth);
    const float h = m_fHalfWidth;
    const CScreenQuad sprite = {{{-h, h}, {h, h}, {-h, -h}, {h, -h}},
                                {{0.0f, 0.5f}, {0.5f, 0.5f}, {0.0f, 1.0f}, {0.5f, 1.0f}}};
    m_pSprite = MakeQuadObject(m_pEngine, &sprite, 1);
    if (!m_pSprite)
        return RES_FAIL;
    return AutoLoad3DObjectTextureFromParam(kSourcePacker, m_pSprite, kGameTextureFlags, kGameTextureParameter, 0,
                                            u"STARS", u"STARS_TEXTURE_FILE_NAME", u"stars.png", m_pData->gameParams,
                                            m_pData);
}

Result CStars::Release()
{
    return ReleaseQuadObject(m_pEngine, m_pSprite);
}

Result CStars::ReadConstruction(CStream* stream)
{
    return stream && ReadField<uint32_t>(*stream, [this](uint32_t sound) { m_nClickSound = sound & 0xFFFF; })
               ? RES_OK
               : RES_FAIL;
}

void CStars::PlayClickSound()
{
    const CGameData* game = m_pData ? m_pData->gameData : nullptr;
    if (!game || !m_pData->world || !m_pData->world->GetAudioEngine() || m_nClickSound == kNoSound ||
        game->m_fSoundVolume == 0.0f || m_nClickSound >= game->m_nSoundCount)
        return;
    if (CAudio* sound = game->m_pSounds[m_nClickSound].m_pSound)
        IgnoreResult(sound->Play());
}

void CStars::PlaySound()
{
    if (CSoundBank* bank = SoundBankOf(m_pData); bank && m_nClickSound != kNoSound)
        bank->AddAudio(m_nClickSound, 0);
}
