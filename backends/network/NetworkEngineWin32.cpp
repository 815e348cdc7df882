#include "backends/network/NetworkEngineWin32.h"

#include "backends/network/NetworkClientHTTPWin32.h"
#include "backends/network/NetworkSocketsWin32.h"

#include <new>

namespace {

// A new object of class Made, initialised; null when it cannot be made or its Init fails.
template <typename Made> Made* MakeInitialised(CWorldData* data)
{
    Made* object = new (std::nothrow) Made(data);
    if (object && Failed(object->Init())) {
        delete object;
        return nullptr;
    }
    return object;
}

// Appends the object to the list; an object that cannot be listed is released and deleted.
template <typename T> T* Adopt(CLinkedList& list, T* object)
{
    if (!object || Succeeded(list.AddTail(object)))
        return object;
    IgnoreResult(object->Release());
    delete object;
    return nullptr;
}

// Takes a listed object off the list, releases and deletes it; one not listed is left alone.
template <typename T> Result Destroy(CLinkedList& list, T* object)
{
    if (!object)
        return RES_FAIL;
    if (Failed(list.Remove(object)))
        return RES_OK;
    Result result = object->Release();
    delete object;
    return result;
}

} // namespace

CNetworkEngineWin32::CNetworkEngineWin32(CWorldData* data) : CNetworkEngine(data)
{
    if (m_pData)
        m_pData->networkState = &m_state;
}

CNetworkEngineWin32::~CNetworkEngineWin32()
{
    if (m_pData && m_pData->networkState == &m_state)
        m_pData->networkState = nullptr;
}

Result CNetworkEngineWin32::Unload()
{
    return Failed(CNetworkEngine::Unload()) ? RES_FAIL : RES_OK;
}

CNetworkClientHTTP* CNetworkEngineWin32::CreateClientHTTP(NetworkResponseCallback callback, void* context)
{
    CNetworkClientHTTP* client = MakeInitialised<CNetworkClientHTTPWin32>(m_pData);
    if (client)
        client->SetCallback(callback, context);
    return Adopt(m_listNertworkClientHTTP, client);
}

Result CNetworkEngineWin32::DestroyClientHTTP(CNetworkClientHTTP* client)
{
    return Destroy(m_listNertworkClientHTTP, client);
}

CNetworkClientTCP* CNetworkEngineWin32::CreateClientTCP()
{
    return Adopt<CNetworkClientTCP>(m_listNertworkClientTCP, MakeInitialised<CNetworkClientTCPWin32>(m_pData));
}

Result CNetworkEngineWin32::DestroyClientTCP(CNetworkClientTCP* client)
{
    return Destroy(m_listNertworkClientTCP, client);
}

CNetworkServerTCP* CNetworkEngineWin32::CreateServerTCP()
{
    return Adopt<CNetworkServerTCP>(m_listNertworkServerTCP, MakeInitialised<CNetworkServerTCPWin32>(m_pData));
}

Result CNetworkEngineWin32::DestroyServerTCP(CNetworkServerTCP* server)
{
    return Destroy(m_listNertworkServerTCP, server);
}

CNetworkClientUDP* CNetworkEngineWin32::CreateClientUDP()
{
    return Adopt<CNetworkClientUDP>(m_listNertworkClientUDP, MakeInitialised<CNetworkClientUDPWin32>(m_pData));
}

Result CNetworkEngineWin32::DestroyClientUDP(CNetworkClientUDP* client)
{
    return Destroy(m_listNertworkClientUDP, client);
}

CNetworkServerUDP* CNetworkEngineWin32::CreateServerUDP()
{
    return Adopt<CNetworkServerUDP>(m_listNertworkServerUDP, MakeInitialised<CNetworkServerUDPWin32>(m_pData));
}

Result CNetworkEngineWin32::DestroyServerUDP(CNetworkServerUDP* server)
{
    return Destroy(m_listNertworkServerUDP, server);
}
