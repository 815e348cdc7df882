#pragma once
#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;

// The TCP and UDP objects of the network engine: placeholders that complete the module
// interface and do nothing.
class CNetworkSocket : public CBaseObject {
public:
    explicit CNetworkSocket(CWorldData* data) : m_pData(data) {}
    ~CNetworkSocket() override = default;
    CNetworkSocket(const CNetworkSocket&) = delete;
    CNetworkSocket& operator=(const CNetworkSocket&) = delete;

    virtual Result Init() { return RES_OK; }
    virtual Result Release() { return RES_OK; }

protected:
    CWorldData* m_pData;
};

class CNetworkClientTCP : public CNetworkSocket {
public:
    using CNetworkSocket::CNetworkSocket;
};

class CNetworkServerTCP : public CNetworkSocket {
public:
    using CNetworkSocket::CNetworkSocket;
};

class CNetworkClientUDP : public CNetworkSocket {
public:
    using CNetworkSocket::CNetworkSocket;
};

class CNetworkServerUDP : public CNetworkSocket {
public:
    using CNetworkSocket::CNetworkSocket;
};
