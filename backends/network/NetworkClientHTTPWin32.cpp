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

} // namespace

Result CNetworkClientHTTPWin32::Release()
{
    Disconnect();
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
    if (!file)
        return RES_FAIL;
    uint32_t read = 0;
    if (InternetReadFile(file.get(), answer.data(), kAnswerBytes, &read) && m_callback)
        m_callback(answer.data(), read, m_context);
    return RES_OK;
}
