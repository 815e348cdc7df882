#include "modules/NetworkEngine.h"

#include "modules/NetworkSockets.h"
#include "core/Log.h"

namespace {

// Releases and deletes every listed object. Whatever the walk could not reach gets a leak line,
// issued with the log switch off like every module's leak report.
template <typename T> void FreeList(CLinkedList& list, const CWorldData* data, const char16_t* leakLine)
{
    for (ListValue value = list.GetFirst(); value;) {
        T* object = ListObject<T>(value);
        IgnoreResult(object->Release());
        delete object;
        value = list.RemoveCurrent();
    }
    if (!list.IsEmpty())
        LogPrintf(data ? data->logPath : nullptr, 0, leakLine);
}

} // namespace

CNetworkEngine::~CNetworkEngine()
{
    IgnoreResult(CNetworkEngine::Unload());
}

Result CNetworkEngine::Load(WindowHandle)
{
    return RES_OK;
}

Result CNetworkEngine::Unload()
{
    FreeList<CNetworkClientHTTP>(m_listNertworkClientHTTP, m_pData,
                                 u"# CNetworkEngine::m_listNertworkClientHTTP detected memory leaks !\n");
    FreeList<CNetworkClientTCP>(m_listNertworkClientTCP, m_pData,
                                u"# CNetworkEngine::m_listNertworkClientTCP detected memory leaks !\n");
    FreeList<CNetworkServerTCP>(m_listNertworkServerTCP, m_pData,
                                u"# CNetworkEngine::m_listNertworkServerTCP detected memory leaks !\n");
    FreeList<CNetworkClientUDP>(m_listNertworkClientUDP, m_pData,
                                u"# CNetworkEngine::m_listNertworkClientUDP detected memory leaks !\n");
    FreeList<CNetworkServerUDP>(m_listNertworkServerUDP, m_pData,
                                u"# CNetworkEngine::m_listNertworkServerUDP detected memory leaks !\n");
    return RES_OK;
}

CNetworkClientHTTP* CNetworkEngine::CreateClientHTTP(NetworkResponseCallback, void*)
{
    return nullptr;
}

Result CNetworkEngine::DestroyClientHTTP(CNetworkClientHTTP*)
{
    return RES_FAIL;
}

CNetworkClientTCP* CNetworkEngine::CreateClientTCP()
{
    return nullptr;
}

Result CNetworkEngine::DestroyClientTCP(CNetworkClientTCP*)
{
    return RES_FAIL;
}

CNetworkServerTCP* CNetworkEngine::CreateServerTCP()
{
    return nullptr;
}

Result CNetworkEngine::DestroyServerTCP(CNetworkServerTCP*)
{
    return RES_FAIL;
}

CNetworkClientUDP* CNetworkEngine::CreateClientUDP()
{
    return nullptr;
}

Result CNetworkEngine::DestroyClientUDP(CNetworkClientUDP*)
{
    return RES_FAIL;
}

CNetworkServerUDP* CNetworkEngine::CreateServerUDP()
{
    return nullptr;
}

Result CNetworkEngine::DestroyServerUDP(CNetworkServerUDP*)
{
    return RES_FAIL;
}
