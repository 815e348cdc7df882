#pragma once
#include <cstdint>

#include "game/LevelRecord.h"
#include "game/WorldComponent.h"

class C3DEngine;
class C3DObject;
class CStream;
struct CWorldData;

// What every level shares to show its hidden stars: the star sprite (one square part showing
// the lower left quarter of the stars texture), its size and the sound of a caught star. The
// levels place, fade, draw and hit-test the stars themselves.
class CStars : public CWorldComponent {
public:
    CStars(CWorldData* data, C3DEngine* engine);

    // [STARS] STARS_WIDTH and the sprite with its STARS_TEXTURE_FILE_NAME texture. RES_FAIL when
    // the sprite cannot be made or its texture loaded.
    Result Load() override;
    // Gives the sprite back; that result.
    Result Release() override;
    // The construction file's body: u32 sound bank index of the catch sound (its low 16 bits).
    // RES_FAIL, the sound unchanged, on a short read.
    Result ReadConstruction(CStream* stream);
    // Plays the catch sound's bank entry, already loaded, when there is an audio engine, a sound,
    // an entry of that index and a sound volume.
    void PlayClickSound();
    // Readies the catch sound in the world's sound bank (loaded on first use, kept by the sweep).
    void PlaySound();

    C3DObject* GetSprite() const { return m_pSprite; }
    float GetHalfWidth() const { return m_fHalfWidth; }
    // The distance from the centre to a corner: the catch radius.
    float GetHalfDiagonal() const { return m_fHalfDiagonal; }

private:
    CWorldData* m_pData;
    C3DEngine* m_pEngine;
    C3DObject* m_pSprite = nullptr;
    float m_fHalfWidth = 0.0f;
    float m_fHalfDiagonal = 0.0f;
    uint16_t m_nClickSound = kNoSound;
};
