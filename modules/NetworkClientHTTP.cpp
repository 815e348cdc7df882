#include "modules/NetworkClientHTTP.h"

Result CNetworkClientHTTP::Init()
{
    return RES_OK;
}

Result CNetworkClientHTTP::Release()
{
    return RES_OK;
}

Result CNetworkClientHTTP::Request(const char16_t*)
{
    return RES_FAIL;
}

void CNetworkClientHTTP::SetCallback(NetworkResponseCallback callback, void* context)
{
    m_callback = callback;
    m_context = context;
}
