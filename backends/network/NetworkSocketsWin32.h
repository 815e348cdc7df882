#pragma once
#include "modules/NetworkSockets.h"

// The TCP and UDP objects of the Win32 network engine.
class CNetworkClientTCPWin32 : public CNetworkClientTCP {
public:
    using CNetworkClientTCP::CNetworkClientTCP;
};

class CNetworkServerTCPWin32 : public CNetworkServerTCP {
public:
    using CNetworkServerTCP::CNetworkServerTCP;
};

class CNetworkClientUDPWin32 : public CNetworkClientUDP {
public:
    using CNetworkClientUDP::CNetworkClientUDP;
};

class CNetworkServerUDPWin32 : public CNetworkServerUDP {
public:
    using CNetworkServerUDP::CNetworkServerUDP;
};
