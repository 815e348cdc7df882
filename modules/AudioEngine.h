#pragma once
#include <cstdint>

#include "modules/Audio.h"
#include "base/BaseObject.h"
#include "core/LinkedList.h"
#include "base/Result.h"

struct CWorldData;

// The audio module: makes the sounds and keeps every live one in a reference-counted list.
class CAudioEngine : public CBaseObject {
public:
    explicit CAudioEngine(CWorldData* data);
    ~CAudioEngine() override;
    CAudioEngine(const CAudioEngine&) = delete;
    CAudioEngine& operator=(const CAudioEngine&) = delete;

    virtual Result Load(void* window);
    // Releases and deletes every listed sound.
    virtual Result Unload();
    // A new empty sound, listed; null on failure.
    virtual CAudio* CreateAudio(uint32_t flags, uint32_t param);
    // Drops one reference; the last one releases and deletes the sound.
    virtual Result DestroyAudio(CAudio* sound);

    // The live sounds; a further reference (AddRefCurrent) keeps a sound through DestroyAudio.
    CRefList& GetSoundList() { return m_listAudio; }

protected:
    // Initialises a new sound and lists it; on failure deletes it and returns null.
    CAudio* ListNewAudio(CAudio* sound, uint32_t flags, uint32_t param);

    CWorldData* m_pData;
    CRefList m_listAudio;
};
