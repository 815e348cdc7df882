#include "tests/support/HttpTestServer.h"

#include "base/WideString.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

constexpr size_t kMaxHeadBytes = 64 * 1024;
constexpr int kIoTimeoutMs = 2000;

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
}

// Binds a TCP socket to an ephemeral port on 127.0.0.1; -1 on failure.
int BindLoopback(uint16_t& port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

// Reads up to the blank line that ends a request head, within kIoTimeoutMs.
bool ReadHead(int connection, std::string& head)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kIoTimeoutMs);
    char chunk[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd wait{connection, POLLIN, 0};
        if (head.size() > kMaxHeadBytes || poll(&wait, 1, MillisecondsUntil(deadline)) <= 0)
            return false;
        ssize_t got = recv(connection, chunk, sizeof(chunk), 0);
        if (got <= 0)
            return false;
        head.append(chunk, static_cast<size_t>(got));
    }
    head.resize(head.find("\r\n\r\n") + 2);
    return true;
}

bool SendAll(int connection, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t done = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (done <= 0)
            return false;
        sent += static_cast<size_t>(done);
    }
    return true;
}

const char* ReasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

std::string Target(const std::string& head)
{
    size_t start = head.find(' ');
    size_t end = start == std::string::npos ? start : head.find(' ', start + 1);
    return end == std::string::npos ? std::string() : head.substr(start + 1, end - start - 1);
}

} // namespace

HttpTestServer::HttpTestServer(std::chrono::milliseconds lifetime)
    : m_deadline(std::chrono::steady_clock::now() + lifetime)
{
    m_listener = BindLoopback(m_port);
    if (m_listener < 0)
        return;
    if (listen(m_listener, 8) != 0 || pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        close(m_listener);
        m_listener = -1;
        return;
    }
    m_thread = std::thread(&HttpTestServer::Run, this);
}

HttpTestServer::~HttpTestServer()
{
    if (m_thread.joinable()) {
        char stop = 1;
        ssize_t ignored = write(m_stopPipe[1], &stop, 1);
        (void)ignored;
        m_thread.join();
    }
    for (int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0)
            close(fd);
    }
}

std::u16string HttpTestServer::LoopbackUrl(uint16_t port, const std::u16string& target)
{
    return Utf8ToUtf16("http://127.0.0.1:" + std::to_string(port)) + target;
}

void HttpTestServer::Route(const std::string& path, const Reply& reply)
{
    Handle(path, [reply](const Request&) { return reply; });
}

void HttpTestServer::Handle(const std::string& path, Handler handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_routes[path] = std::move(handler);
}

std::vector<HttpTestServer::Request> HttpTestServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

HttpTestServer::Reply HttpTestServer::Lookup(const Request& request) const
{
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto found = m_routes.find(request.target.substr(0, request.target.find('?')));
        if (found != m_routes.end())
            handler = found->second;
    }
    if (handler)
        return handler(request);
    Reply missing;
    missing.status = 404;
    return missing;
}

void HttpTestServer::Run()
{
    for (int served = 0; served < kMaxConnections; ++served) {
        pollfd waits[2] = {{m_listener, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, MillisecondsUntil(m_deadline)) <= 0 || (waits[1].revents & POLLIN))
            break;
        int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        timeval sendLimit{kIoTimeoutMs / 1000, 0};
        setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof(sendLimit));
        Serve(connection);
        close(connection);
    }
    // Later clients are refused rather than left waiting in the backlog.
    shutdown(m_listener, SHUT_RDWR);
}

void HttpTestServer::Serve(int connection)
{
    std::string head;
    if (!ReadHead(connection, head))
        return;
    Request request{Target(head), head};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
    }
    Reply reply = Lookup(request);
    std::this_thread::sleep_for(reply.delay);
    if (reply.behaviour != Behaviour::Silent && !SendReply(connection, reply))
        return;
    if (reply.behaviour != Behaviour::Answer)
        WaitForClientToLeave(connection);
}

bool HttpTestServer::SendReply(int connection, const Reply& reply) const
{
    int64_t length = reply.contentLength >= 0 ? reply.contentLength : static_cast<int64_t>(reply.body.size());
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status)
        + "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n" + reply.extraHeaders + "\r\n";
    if (reply.pieceBytes == 0)
        return SendAll(connection, head + reply.body);
    if (!SendAll(connection, head))
        return false;
    for (size_t at = 0; at < reply.body.size(); at += reply.pieceBytes) {
        std::this_thread::sleep_for(kPiecePause);
        if (!SendAll(connection, reply.body.substr(at, reply.pieceBytes)))
            return false;
    }
    return true;
}

void HttpTestServer::WaitForClientToLeave(int connection) const
{
    char chunk[256];
    for (;;) {
        pollfd waits[2] = {{connection, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(waits, 2, MillisecondsUntil(m_deadline)) <= 0 || (waits[1].revents & POLLIN))
            return;
        if (recv(connection, chunk, sizeof(chunk), 0) <= 0)
            return;
    }
}

RefusingPort::RefusingPort()
{
    m_socket = BindLoopback(m_port);
}

RefusingPort::~RefusingPort()
{
    if (m_socket >= 0)
        close(m_socket);
}
