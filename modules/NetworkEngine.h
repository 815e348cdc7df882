#pragma once
#include <cstdint>

#include "modules/NetworkClientHTTP.h"
#include "base/BaseObject.h"
#include "core/LinkedList.h"
#include "base/Result.h"
#include "core/WorldData.h"

class CNetworkClientTCP;
class CNetworkServerTCP;
class CNetworkClientUDP;
class CNetworkServerUDP;

// The network module: makes, keeps and destroys the client and server objects. The base class
// makes none (every create gives null, every destroy fails); Unload releases and deletes whatever
// is still listed, and the destructor does the same for an engine never unloaded.
class CNetworkEngine : public CBaseObject {
public:
    explicit CNetworkEngine(CWorldData* data) : m_pData(data) {}
    ~CNetworkEngine() override;
    CNetworkEngine(const CNetworkEngine&) = delete;
    CNetworkEngine& operator=(const CNetworkEngine&) = delete;

    virtual Result Load(WindowHandle window);
    virtual Result Unload();
    virtual CNetworkClientHTTP* CreateClientHTTP(NetworkResponseCallback callback, void* context);
    virtual Result DestroyClientHTTP(CNetworkClientHTTP* client);
    virtual CNetworkClientTCP* CreateClientTCP();
    virtual Result DestroyClientTCP(CNetworkClientTCP* client);
    virtual CNetworkServerTCP* CreateServerTCP();
    virtual Result DestroyServerTCP(CNetworkServerTCP* server);
    virtual CNetworkClientUDP* CreateClientUDP();
    virtual Result DestroyClientUDP(CNetworkClientUDP* client);
    virtual CNetworkServerUDP* CreateServerUDP();
    virtual Result DestroyServerUDP(CNetworkServerUDP* server);

protected:
    CWorldData* m_pData;
    CLinkedList m_listNertworkClientHTTP;
    CLinkedList m_listNertworkClientTCP;
    CLinkedList m_listNertworkServerTCP;
    CLinkedList m_listNertworkClientUDP;
    CLinkedList m_listNertworkServerUDP;
};
