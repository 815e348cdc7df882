#include "platform/wininet/CurlLibrary.h"

#include "platform/win32/SharedLibrary.h"

namespace {

class CLoadedCurl {
public:
    CLoadedCurl() : m_library("libcurl.so.4")
    {
        CCurlLibrary& c = m_curl;
        bool found = m_library.Find("curl_global_init", c.globalInit) &&
                     m_library.Find("curl_global_cleanup", c.globalCleanup) &&
                     m_library.Find("curl_easy_init", c.easyInit) && m_library.Find("curl_easy_cleanup", c.easyCleanup) &&
                     m_library.Find("curl_easy_setopt", c.easySetopt) &&
                     m_library.Find("curl_easy_getinfo", c.easyGetinfo) &&
                     m_library.Find("curl_easy_pause", c.easyPause) && m_library.Find("curl_multi_init", c.multiInit) &&
                     m_library.Find("curl_multi_cleanup", c.multiCleanup) &&
                     m_library.Find("curl_multi_add_handle", c.multiAddHandle) &&
                     m_library.Find("curl_multi_remove_handle", c.multiRemoveHandle) &&
                     m_library.Find("curl_multi_perform", c.multiPerform) &&
                     m_library.Find("curl_multi_info_read", c.multiInfoRead) &&
                     m_library.Find("curl_multi_poll", c.multiPoll);
        c.ready = found && c.globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    }
    ~CLoadedCurl()
    {
        if (m_curl.ready)
            m_curl.globalCleanup();
    }
    CLoadedCurl(const CLoadedCurl&) = delete;
    CLoadedCurl& operator=(const CLoadedCurl&) = delete;

    const CCurlLibrary& Functions() const { return m_curl; }

private:
    CSharedLibrary m_library;
    CCurlLibrary m_curl;
};

} // namespace

const CCurlLibrary& Curl()
{
    static CLoadedCurl curl;
    return curl.Functions();
}
