#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

class CAudio;
class CAudioEngine;
struct CWorldData;

// The game's one background music: a looping music-type sound of the audio engine, started and
// stopped by the music volume.
class CKvoMusicManager : public CBaseObject {
public:
    CKvoMusicManager(CWorldData* data, CAudioEngine* engine) : m_pData(data), m_pEngine(engine) {}
    ~CKvoMusicManager() override;

    // A looping music sound loaded from [MUSIC] MUSIC_FILE_NAME below the data folder. RES_FAIL
    // without an engine or a sound, or when the file does not load (logged with its path).
    Result Load();
    // Gives the sound back to the engine. Result 0.
    Result Unload();
    // The sound's volume; a non-zero volume starts it when silent, 0.0 with stop stops it.
    void SetVolume(float volume, uint8_t stop);

    CAudio* GetSound() const { return m_pSound; }

private:
    CWorldData* m_pData;
    CAudioEngine* m_pEngine;
    CAudio* m_pSound = nullptr;
};
