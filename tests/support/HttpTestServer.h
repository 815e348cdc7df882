#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An HTTP server on 127.0.0.1 for client tests: canned or computed answers by path, one connection at a time,
// at most kMaxConnections in all. It listens on an ephemeral port and stops by itself when its
// lifetime is over, or when destroyed.
class HttpTestServer {
public:
    enum class Behaviour {
        Answer,             // status line, headers and body, then close
        StallAfterHeaders,  // headers and body, then hold the connection until the client leaves
        Silent,             // read the request, answer nothing until the client leaves
    };

    struct Reply {
        int status = 200;
        std::string body;
        std::string extraHeaders;    // whole lines, each ending in "\r\n"
        int64_t contentLength = -1;  // -1: the body's size; more than that makes a cut answer
        size_t pieceBytes = 0;       // body sent in pieces of this size, kPiecePause apart; 0: at once
        Behaviour behaviour = Behaviour::Answer;
        std::chrono::milliseconds delay{0};  // how long the answer waits once the request is in
    };

    struct Request {
        std::string target;  // as it came in the request line
        std::string head;    // request line and headers
    };

    // Makes the reply to one request; runs on the server's thread.
    using Handler = std::function<Reply(const Request&)>;

    static constexpr int kMaxConnections = 64;
    static constexpr std::chrono::milliseconds kPiecePause{20};

    explicit HttpTestServer(std::chrono::milliseconds lifetime = std::chrono::seconds(30));
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool Listening() const { return m_listener >= 0; }
    uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by target.
    std::u16string Url(const std::u16string& target) const { return LoopbackUrl(m_port, target); }
    static std::u16string LoopbackUrl(uint16_t port, const std::u16string& target);

    // The reply for a path (the target up to '?'); unknown paths get a 404 with an empty body.
    void Route(const std::string& path, const Reply& reply);
    // The reply for a path made from each request; replaces a route of that path.
    void Handle(const std::string& path, Handler handler);
    std::vector<Request> Requests() const;

private:
    void Run();
    void Serve(int connection);
    Reply Lookup(const Request& request) const;
    bool SendReply(int connection, const Reply& reply) const;
    void WaitForClientToLeave(int connection) const;

    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    uint16_t m_port = 0;
    std::chrono::steady_clock::time_point m_deadline;
    mutable std::mutex m_mutex;
    std::map<std::string, Handler> m_routes;
    std::vector<Request> m_requests;
    std::thread m_thread;
};

// A port on 127.0.0.1 that refuses connections while this object lives: bound, never listening.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    uint16_t Port() const { return m_port; }

private:
    int m_socket = -1;
    uint16_t m_port = 0;
};
