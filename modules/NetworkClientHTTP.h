#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;

// Receives an answer: its bytes (valid only during the call, not terminated), their count and the
// context value given with the callback.
using NetworkResponseCallback = void (*)(const uint8_t* data, uint32_t count, void* context);

// An HTTP client of the network engine; the base class sends nothing.
class CNetworkClientHTTP : public CBaseObject {
public:
    explicit CNetworkClientHTTP(CWorldData* data) : m_pData(data) {}
    ~CNetworkClientHTTP() override = default;
    CNetworkClientHTTP(const CNetworkClientHTTP&) = delete;
    CNetworkClientHTTP& operator=(const CNetworkClientHTTP&) = delete;

    virtual Result Init();
    virtual Result Release();
    // Sends a GET for url and hands the answer to the callback before returning.
    virtual Result Request(const char16_t* url);

    void SetCallback(NetworkResponseCallback callback, void* context);
    NetworkResponseCallback GetCallback() const { return m_callback; }
    void* GetContext() const { return m_context; }

protected:
    CWorldData* m_pData;
    void* m_context = nullptr;
    NetworkResponseCallback m_callback = nullptr;
};
