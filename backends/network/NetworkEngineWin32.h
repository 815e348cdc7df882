#pragma once
#include <cstdint>

#include "modules/NetworkEngine.h"

// The network module over the system's internet layer: makes the HTTP client that sends GET
// requests, and the placeholder TCP and UDP objects. Its state word is published in the data
// block's networkState for as long as the engine lives.
class CNetworkEngineWin32 : public CNetworkEngine {
public:
    explicit CNetworkEngineWin32(CWorldData* data);
    ~CNetworkEngineWin32() override;

    Result Unload() override;
    CNetworkClientHTTP* CreateClientHTTP(NetworkResponseCallback callback, void* context) override;
    Result DestroyClientHTTP(CNetworkClientHTTP* client) override;
    CNetworkClientTCP* CreateClientTCP() override;
    Result DestroyClientTCP(CNetworkClientTCP* client) override;
    CNetworkServerTCP* CreateServerTCP() override;
    Result DestroyServerTCP(CNetworkServerTCP* server) override;
    CNetworkClientUDP* CreateClientUDP() override;
    Result DestroyClientUDP(CNetworkClientUDP* client) override;
    CNetworkServerUDP* CreateServerUDP() override;
    Result DestroyServerUDP(CNetworkServerUDP* server) override;

private:
    uint32_t m_state = 0;
};
