#include "platform/wininet/WinInet.h"

#include "base/WideString.h"
#include "platform/wininet/CurlLibrary.h"
#include "platform/wininet/InternetTransfer.h"
#include "platform/wininet/InternetUrl.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>


struct CInternetHandle {
    HINTERNET session = nullptr;  // the session of a URL; null for a session
    std::string agent;
    std::unique_ptr<CInternetTransfer> transfer;
};

namespace {

struct Timeouts {
    uint32_t connectMs = kInternetDefaultConnectTimeoutMs;
    uint32_t totalMs = kInternetDefaultTotalTimeoutMs;
};

Timeouts g_timeouts;

// The library and every open handle (a handle is valid only while listed); the handles go first.
struct CInternetState {
    const CCurlLibrary& curl = Curl();
    std::unordered_map<HINTERNET, std::unique_ptr<CInternetHandle>> handles;
};

CInternetState& State()
{
    static CInternetState state;
    return state;
}

CInternetHandle* Find(HINTERNET handle)
{
    auto& handles = State().handles;
    auto found = handles.find(handle);
    return found == handles.end() ? nullptr : found->second.get();
}

bool IsSession(const CInternetHandle* handle)
{
    return handle && !handle->transfer;
}

HINTERNET Register(std::unique_ptr<CInternetHandle> handle)
{
    HINTERNET key = handle.get();
    State().handles.emplace(key, std::move(handle));
    return key;
}

} // namespace

HINTERNET InternetOpenW(const char16_t* agent, uint32_t accessType, const char16_t* proxy,
                        const char16_t* proxyBypass, uint32_t flags)
{
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG || proxy || proxyBypass || flags != 0 || !State().curl.ready)
        return nullptr;
    std::unique_ptr<CInternetHandle> session(new (std::nothrow) CInternetHandle());
    if (!session)
        return nullptr;
    session->agent = Utf16ToUtf8(agent);
    return Register(std::move(session));
}

HINTERNET InternetOpenUrlW(HINTERNET session, const char16_t* url, const char16_t* headers,
                           uint32_t headersLength, uint32_t flags, uintptr_t)
{
    CInternetHandle* owner = Find(session);
    if (!IsSession(owner) || headers || headersLength != 0 || (flags & ~INTERNET_FLAG_RELOAD) != 0)
        return nullptr;
    CInternetTransfer::Settings settings{{}, owner->agent, g_timeouts.connectMs, g_timeouts.totalMs};
    if (!InternetEncodeUrl(url, settings.url))
        return nullptr;
    std::unique_ptr<CInternetHandle> file(new (std::nothrow) CInternetHandle());
    if (!file)
        return nullptr;
    file->session = session;
    file->transfer.reset(new (std::nothrow) CInternetTransfer());
    if (!file->transfer || !file->transfer->Open(settings))
        return nullptr;
    return Register(std::move(file));
}

bool InternetReadFile(HINTERNET file, void* buffer, uint32_t toRead, uint32_t* read)
{
    CInternetHandle* handle = Find(file);
    if (read)
        *read = 0;
    if (!handle || IsSession(handle))
        return false;
    return handle->transfer->Read(static_cast<uint8_t*>(buffer), toRead, read);
}

bool HttpQueryInfoW(HINTERNET file, uint32_t infoLevel, void* buffer, uint32_t* length, uint32_t* index)
{
    CInternetHandle* handle = Find(file);
    if (!handle || IsSession(handle) || infoLevel != (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER) || !buffer ||
        !length || *length < sizeof(uint32_t) || index)
        return false;
    const uint32_t status = static_cast<uint32_t>(handle->transfer->Status());
    memcpy(buffer, &status, sizeof status);
    *length = sizeof status;
    return true;
}

bool InternetCloseHandle(HINTERNET handle)
{
    auto& handles = State().handles;
    if (handles.erase(handle) == 0)
        return false;
    for (auto it = handles.begin(); it != handles.end();) {
        if (it->second->session == handle)
            it = handles.erase(it);
        else
            ++it;
    }
    return true;
}

void InternetSetTimeouts(uint32_t connectTimeoutMs, uint32_t totalTimeoutMs)
{
    g_timeouts.connectMs = connectTimeoutMs ? connectTimeoutMs : kInternetDefaultConnectTimeoutMs;
    g_timeouts.totalMs = totalTimeoutMs ? totalTimeoutMs : kInternetDefaultTotalTimeoutMs;
}
