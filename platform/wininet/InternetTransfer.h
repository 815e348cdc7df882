#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <curl/curl.h>

// One HTTP GET driven step by step on the calling thread: Open waits for the headers of the final
// answer (redirects followed), Read then hands out the body as it arrives. Error statuses are
// answers like any other. Body bytes not yet read are held back (the transfer paused) once
// kMaxPendingBytes, or the size of the read in progress when larger, are waiting.
class CInternetTransfer {
public:
    struct Settings {
        std::string url;  // already encoded
        std::string agent;
        uint32_t connectTimeoutMs;
        uint32_t totalTimeoutMs;
    };

    static constexpr long kMaxRedirects = 10;
    static constexpr size_t kMaxPendingBytes = 64 * 1024;

    CInternetTransfer() = default;
    ~CInternetTransfer();
    CInternetTransfer(const CInternetTransfer&) = delete;
    CInternetTransfer& operator=(const CInternetTransfer&) = delete;

    // False when the transfer failed before the final answer's headers were in.
    bool Open(const Settings& settings);

    // The final answer's status code once Open succeeded (0 before).
    long Status() const { return m_status; }

    // Fills buffer with up to toRead bytes; fewer only at the end of the body (0 once it is over).
    // False when the transfer fails before toRead bytes or the end of the body arrived.
    bool Read(uint8_t* buffer, uint32_t toRead, uint32_t* read);

private:
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);

    bool Configure(const Settings& settings);
    void HeaderLine(const char* line, size_t length);
    size_t Body(const char* data, size_t length);
    void Pump();
    size_t PendingBytes() const { return m_pending.size() - m_pendingStart; }

    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    bool m_added = false;
    bool m_headersDone = false;
    bool m_redirecting = false;
    bool m_paused = false;
    bool m_finished = false;
    CURLcode m_result = CURLE_OK;
    long m_status = 0;
    std::vector<uint8_t> m_pending;
    size_t m_pendingStart = 0;
    size_t m_holdLimit = kMaxPendingBytes;
};
