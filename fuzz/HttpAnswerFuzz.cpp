// The score server's HTTP answer: the bytes a server sends back (status line, headers and body),
// through the internet layer and the HTTP client. At most one callback, with at most one buffer of
// the answer; a request succeeds exactly when the callback came. A plain answer (one header block,
// no transfer coding) succeeds only for a 2xx status and then hands over its body as sent; a body
// cut off before its length fails. Only the loopback server is reached: anything else goes to a
// proxy that refuses. Input: the whole answer.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <strings.h>
#include <thread>

#include "backends/network/NetworkClientHTTPWin32.h"
#include "backends/network/NetworkEngineWin32.h"
#include "core/WorldData.h"
#include "fuzz/FuzzSupport.h"
#include "platform/wininet/WinInet.h"
#include "tests/support/HttpTestServer.h"

namespace {

constexpr int kWaitMs = 2000;
constexpr int kPollMs = 10;
constexpr size_t kAnswerBytes = CNetworkClientHTTPWin32::kAnswerBytes;

// Everything but 127.0.0.1 goes to a proxy that refuses, so that no redirect leaves the machine.
bool KeepToLoopback()
{
    static const bool kept = setenv("http_proxy", "http://127.0.0.1:9", 1) == 0 &&
                             setenv("https_proxy", "http://127.0.0.1:9", 1) == 0 &&
                             setenv("no_proxy", "127.0.0.1", 1) == 0;
    return kept;
}

// A server on 127.0.0.1 of its own for one input: every connection (a redirect may come back)
// gets the answer, until it is stopped.
class CAnsweringServer {
public:
    explicit CAnsweringServer(std::string answer) : m_answer(std::move(answer))
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener >= 0 && bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            listen(m_listener, 16) == 0 && getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
        if (m_port)
            m_thread = std::thread([this] { Run(); });
    }
    ~CAnsweringServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            close(m_listener);
    }
    uint16_t Port() const { return m_port; }

private:
    void Run()
    {
        while (!m_stop) {
            pollfd wait{m_listener, POLLIN, 0};
            if (poll(&wait, 1, kPollMs) <= 0)
                continue;
            const int connection = accept(m_listener, nullptr, nullptr);
            if (connection >= 0)
                Serve(connection);
        }
    }
    // Reads the request's head, sends the answer and closes.
    void Serve(int connection)
    {
        std::string head;
        char buffer[1024];
        pollfd readable{connection, POLLIN, 0};
        while (head.find("\r\n\r\n") == std::string::npos && poll(&readable, 1, kWaitMs) > 0) {
            const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            head.append(buffer, static_cast<size_t>(got));
        }
        for (size_t sent = 0; sent < m_answer.size();) {
            const ssize_t put = send(connection, m_answer.data() + sent, m_answer.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                break;
            sent += static_cast<size_t>(put);
        }
        shutdown(connection, SHUT_RDWR);
        close(connection);
    }

    std::string m_answer;
    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct CPlainAnswer {
    bool plain = false;  // one header block with a status line, no transfer coding
    int status = 0;
    bool cut = false;    // the body is shorter than its length
    std::string body;
};

bool StartsNoCase(const std::string& line, const char* prefix)
{
    return strncasecmp(line.c_str(), prefix, strlen(prefix)) == 0;
}

// What the answer says of itself when it is plain.
CPlainAnswer Plain(const std::string& answer)
{
    CPlainAnswer plain;
    const size_t end = answer.find("\r\n\r\n");
    if (end == std::string::npos || answer.size() < 12 || answer.compare(0, 7, "HTTP/1.") != 0 ||
        (answer[7] != '0' && answer[7] != '1') || answer[8] != ' ')
        return plain;
    for (size_t i = 9; i < 12; ++i) {
        if (answer[i] < '0' || answer[i] > '9')
            return plain;
    }
    plain.status = std::stoi(answer.substr(9, 3));
    // 1xx answers come before another; 204 and 304 carry no body whatever follows them.
    if (plain.status < 200 || plain.status == 204 || plain.status == 304 ||
        (answer.size() > 12 && answer[12] != ' ' && answer[12] != '\r'))
        return plain;
    // Lines end only at CR LF: a lone CR or LF ends a line for the client but not here.
    const size_t statusEnd = answer.find("\r\n");
    if (answer.find_first_of("\r\n") != statusEnd)
        return plain;
    long long length = -1;
    for (size_t at = statusEnd + 2; at < end + 2;) {
        const size_t next = answer.find("\r\n", at);
        const std::string line = answer.substr(at, next - at);
        if (StartsNoCase(line, "transfer-encoding:") || StartsNoCase(line, "content-encoding:") ||
            line.find_first_of("\n\r") != std::string::npos || (!line.empty() && (line[0] == ' ' || line[0] == '\t')))
            return plain;
        if (StartsNoCase(line, "content-length:")) {
            const std::string value = line.substr(15);
            const size_t digits = value.find_first_not_of(" \t");
            if (length >= 0 || digits == std::string::npos || value.find_first_not_of("0123456789", digits) != std::string::npos ||
                value.size() - digits > 12)
                return plain;
            length = std::stoll(value.substr(digits));
        }
        at = next + 2;
    }
    plain.body = answer.substr(end + 4);
    if (length >= 0) {
        plain.cut = static_cast<size_t>(length) > plain.body.size();
        plain.body.resize(std::min<size_t>(plain.body.size(), static_cast<size_t>(length)));
    }
    plain.plain = true;
    return plain;
}

struct CCallbacks {
    int count = 0;
    std::string bytes;
};

void Record(const uint8_t* data, uint32_t length, void* context)
{
    auto* calls = static_cast<CCallbacks*>(context);
    ++calls->count;
    calls->bytes.assign(reinterpret_cast<const char*>(data), length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FUZZ_CHECK(KeepToLoopback());
    InternetSetTimeouts(kWaitMs, kWaitMs);
    const std::string answer(reinterpret_cast<const char*>(data), size);
    const auto world = std::make_unique<CWorldData>();
    CNetworkEngineWin32 engine(world.get());
    CCallbacks calls;
    CNetworkClientHTTP* client = engine.CreateClientHTTP(Record, &calls);
    FUZZ_CHECK(client);
    Result result = RES_FAIL;
    {
        CAnsweringServer server(answer);
        FUZZ_CHECK(server.Port() != 0);
        result = client->Request(HttpTestServer::LoopbackUrl(server.Port(), u"/score?action=set_user").c_str());
    }
    FUZZ_CHECK(calls.count <= 1 && calls.bytes.size() <= kAnswerBytes);
    FUZZ_CHECK(Succeeded(result) == (calls.count == 1));
    const CPlainAnswer plain = Plain(answer);
    if (plain.plain && Succeeded(result)) {
        FUZZ_CHECK(plain.status >= 200 && plain.status < 300);
        FUZZ_CHECK(calls.bytes == plain.body.substr(0, kAnswerBytes));
    }
    if (plain.plain && plain.cut && plain.body.size() < kAnswerBytes)
        FUZZ_CHECK(Failed(result));
    FUZZ_CHECK(engine.DestroyClientHTTP(client) == RES_OK);
    return 0;
}
