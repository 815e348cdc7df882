#pragma once
#include <cstdint>

#include "modules/NetworkClientHTTP.h"

// The HTTP client over the system's internet layer: one synchronous GET per request, whose first
// kAnswerBytes bytes reach the callback in one call. Only a whole 2xx answer does: an error
// status, a cut-off body or a timeout fails the request without a callback.
class CNetworkClientHTTPWin32 : public CNetworkClientHTTP {
public:
    static constexpr uint32_t kAnswerBytes = 16535;

    using CNetworkClientHTTP::CNetworkClientHTTP;

    Result Release() override;
    // 0 once a whole 2xx answer was read (and handed to the callback), else 0x80000001.
    Result Request(const char16_t* url) override;
    virtual Result Disconnect();
};
