#pragma once
#include <cstdint>

#include "modules/AudioEngine.h"
#include "platform/dsound/DSound.h"

// The DirectSound device state; its address is the data block's soundState while loaded.
struct CAudioDS8State {
    IDirectSound8* device;
    uint32_t applyMode;  // for 3D parameters; DS3D_IMMEDIATE
    IDirectSound3DListener8* listener;
    DS3DLISTENER listenerParams;
};

// The audio engine on DirectSound 8.
class CAudioEngineDS8 : public CAudioEngine {
public:
    explicit CAudioEngineDS8(CWorldData* data);
    ~CAudioEngineDS8() override;

    // Creates the device, sets the priority level, the primary format (16-bit stereo,
    // 44100 Hz) and the listener (no rolloff, no Doppler). Any failure: 0x80000001, and
    // Unload releases what was made.
    Result Load(void* window) override;
    Result Unload() override;
    CAudio* CreateAudio(uint32_t flags, uint32_t param) override;

    const CAudioDS8State& GetState() const { return m_state; }

private:
    Result SetPrimaryFormat();
    Result SetUpListener();

    CAudioDS8State m_state = {};
};
