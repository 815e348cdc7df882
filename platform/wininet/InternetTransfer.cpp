#include "platform/wininet/InternetTransfer.h"

#include "platform/wininet/CurlLibrary.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

constexpr int kPollSliceMs = 50;

bool IsBlankLine(const char* line, size_t length)
{
    return (length == 2 && line[0] == '\r' && line[1] == '\n') || (length == 1 && line[0] == '\n');
}

bool StartsWithNoCase(const char* line, size_t length, const char* prefix)
{
    size_t prefixLength = strlen(prefix);
    return length >= prefixLength && strncasecmp(line, prefix, prefixLength) == 0;
}

// A Location header with a non-empty value.
bool IsLocation(const char* line, size_t length)
{
    static const char kName[] = "location:";
    if (!StartsWithNoCase(line, length, kName))
        return false;
    for (size_t i = sizeof(kName) - 1; i < length; ++i) {
        if (line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n')
            return true;
    }
    return false;
}

} // namespace

CInternetTransfer::~CInternetTransfer()
{
    if (m_added)
        Curl().multiRemoveHandle(m_multi, m_easy);
    if (m_easy)
        Curl().easyCleanup(m_easy);
    if (m_multi)
        Curl().multiCleanup(m_multi);
}

bool CInternetTransfer::Configure(const Settings& s)
{
    CURL* e = m_easy;
    const CCurlLibrary& curl = Curl();
    bool ok = curl.easySetopt(e, CURLOPT_URL, s.url.c_str()) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK
        && curl.easySetopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK
        && curl.easySetopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(s.connectTimeoutMs)) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(s.totalTimeoutMs)) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_HEADERFUNCTION, &CInternetTransfer::OnHeader) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_HEADERDATA, this) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_WRITEFUNCTION, &CInternetTransfer::OnBody) == CURLE_OK
        && curl.easySetopt(e, CURLOPT_WRITEDATA, this) == CURLE_OK;
    if (ok && !s.agent.empty())
        ok = curl.easySetopt(e, CURLOPT_USERAGENT, s.agent.c_str()) == CURLE_OK;
    return ok;
}

bool CInternetTransfer::Open(const Settings& settings)
{
    if (m_easy)
        return false;
    m_multi = Curl().multiInit();
    m_easy = Curl().easyInit();
    if (!m_multi || !m_easy || !Configure(settings))
        return false;
    if (Curl().multiAddHandle(m_multi, m_easy) != CURLM_OK)
        return false;
    m_added = true;
    while (!m_headersDone && !m_finished)
        Pump();
    return m_headersDone || m_result == CURLE_OK;
}

bool CInternetTransfer::Read(uint8_t* buffer, uint32_t toRead, uint32_t* read)
{
    if (!m_added || !read || (!buffer && toRead > 0))
        return false;
    *read = 0;
    m_holdLimit = std::max<size_t>(kMaxPendingBytes, toRead);
    while (PendingBytes() < toRead && !m_finished) {
        if (m_paused) {
            m_paused = false;
            Curl().easyPause(m_easy, CURLPAUSE_CONT);
        }
        Pump();
    }
    if (PendingBytes() < toRead && m_result != CURLE_OK)
        return false;
    size_t count = std::min<size_t>(toRead, PendingBytes());
    if (count > 0)
        memcpy(buffer, m_pending.data() + m_pendingStart, count);
    m_pendingStart += count;
    if (m_pendingStart == m_pending.size()) {
        m_pending.clear();
        m_pendingStart = 0;
    }
    *read = static_cast<uint32_t>(count);
    return true;
}

// One step of the transfer: let curl work, note its end, and wait briefly for the socket.
void CInternetTransfer::Pump()
{
    int running = 0;
    if (Curl().multiPerform(m_multi, &running) != CURLM_OK) {
        m_finished = true;
        m_result = CURLE_FAILED_INIT;
        return;
    }
    int queued = 0;
    while (CURLMsg* message = Curl().multiInfoRead(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            m_finished = true;
            m_result = message->data.result;
        }
    }
    if (!m_finished && !m_paused)
        Curl().multiPoll(m_multi, nullptr, 0, kPollSliceMs, nullptr);
}

size_t CInternetTransfer::OnHeader(char* data, size_t size, size_t count, void* self)
{
    static_cast<CInternetTransfer*>(self)->HeaderLine(data, size * count);
    return size * count;
}

size_t CInternetTransfer::OnBody(char* data, size_t size, size_t count, void* self)
{
    return static_cast<CInternetTransfer*>(self)->Body(data, size * count);
}

// The answer is final once a header block ends that is neither informational (1xx) nor a
// redirect that curl goes on to follow.
void CInternetTransfer::HeaderLine(const char* line, size_t length)
{
    if (StartsWithNoCase(line, length, "HTTP/")) {
        m_redirecting = false;
        return;
    }
    if (IsLocation(line, length)) {
        m_redirecting = true;
        return;
    }
    if (!IsBlankLine(line, length))
        return;
    long status = 0;
    Curl().easyGetinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    bool redirect = status >= 300 && status < 400 && m_redirecting;
    if (status >= 200 && !redirect) {
        m_headersDone = true;
        m_status = status;
    }
}

size_t CInternetTransfer::Body(const char* data, size_t length)
{
    if (!m_headersDone)
        Curl().easyGetinfo(m_easy, CURLINFO_RESPONSE_CODE, &m_status);
    m_headersDone = true;
    if (PendingBytes() >= m_holdLimit) {
        m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (m_pendingStart > 0) {
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(m_pendingStart));
        m_pendingStart = 0;
    }
    m_pending.insert(m_pending.end(), data, data + length);
    return length;
}
