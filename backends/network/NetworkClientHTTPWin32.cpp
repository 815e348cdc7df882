#include "backends/network/NetworkClientHTTPWin32.h"

#include "platform/wininet/WinInet.h"

#include <array>
#include <memory>

namespace {

constexpr char16_t kUserAgent[] = u"VadEdoz 1";

struct InternetCloser {
    void operator()(CInternetHandle* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<CInternetHandle, InternetCloser>;

// Only a 2xx answer carries the server's word; an error page's body is none.
bool IsSuccessStatus(HINTERNET file)
{
    uint32_t status = 0;
    uint32_t length = sizeof status;
    return HttpQueryInfoW(file, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr) &&
           status >= 200 && status < 300;
}

} // namespace

Result CNetworkClientHTTPWin32::Release()
{
    IgnoreResult(Disconnect());
    return RES_OK;
}

Result CNetworkClientHTTPWin32::Disconnect()
{
    return RES_OK;
}

Result CNetworkClientHTTPWin32::Request(const char16_t* url)
{
    std::array<uint8_t, kAnswerBytes> answer{};
    InternetHandle session(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return RES_FAIL;
    InternetHandle file(InternetOpenUrlW(session.get(), url, nullptr, 0, INTERNET_FLAG_RELOAD, 0));
    if (!file || !IsSuccessStatus(file.get()))
        return RES_FAIL;
    // An answer cut off or timed out is no answer: the caller learns it as a failure.
    uint32_t read = 0;
    if (!InternetReadFile(file.get(), answer.data(), kAnswerBytes, &read))
        return RES_FAIL;
    if (m_callback)
        m_callback(answer.data(), read, m_context);
    return RES_OK;
}
