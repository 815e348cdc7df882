#pragma once
#include <cstdint>

#include "base/Result.h"

class CNetworkEngine;
struct CGameData;
struct CWorldData;

// What the score client asks of the game world: its data, the network module, and the saves
// after the server's answers.
class CScoreWorld {
public:
    virtual CWorldData* GetData() const = 0;
    // Null without a network module.
    virtual CNetworkEngine* GetNetworkEngine() const = 0;
    virtual CGameData* GetGameData() = 0;
    virtual uint32_t GetSceneCount() const = 0;
    virtual Result SaveOptions() = 0;
    virtual Result SaveProfile(uint32_t slot, uint32_t mode) = 0;

protected:
    ~CScoreWorld() = default;
};
