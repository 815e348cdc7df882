#pragma once
#include <cstdint>

#include "core/LinkedList.h"
#include "game/WorldComponent.h"
#include "game/menus/MenuPages.h"
#include "game/menus/MenuWebClient.h"

class CNetworkClientHTTP;
class CScoreWorld;

// The steps of the menu dialog's score exchange: each send waits a frame first.
enum MenuWebStep : uint32_t {
    kWebIdle = 0,
    kWebAccountWait = 1,
    kWebAccountSend = 2,
    kWebAccountSent = 3,  // its answer picks the page
    kWebScoresWait = 4,
    kWebScoresSend = 5,
    kWebScoresSent = 6,
};

// The menu dialog's side of a score exchange: the answer of a request picks its page.
class CWebScorePages {
public:
    virtual void SetWebSubState(uint32_t subState) = 0;
    virtual void SetPage(uint32_t page) = 0;
    // Resets the client, queues the unsent scores again and sends the next one.
    virtual void StartSendScores() = 0;

protected:
    ~CWebScorePages() = default;
};

constexpr uint32_t kWebScoreUrlUnits = 4096;
constexpr uint32_t kWebScoreCrcUnits = 33;  // 32 hexadecimal digits and a terminator

struct WebScoreRequest {
    char16_t url[kWebScoreUrlUnits];
    uint8_t slot;
    uint8_t mode;
};

// Registers the player's web account and posts finished games' times. Requests are synchronous:
// the answer arrives before the send returns. Query values go out percent-encoded (every byte of
// their UTF-8 form but letters, digits and "-._~" as %XX); the crc covers the text unencoded.
class CWebScoring : public CWorldComponent, public CMenuWebClient {
public:
    enum RequestState : uint32_t { kIdle = 0, kSetUserSent = 1, kSetScoreSent = 2 };

    explicit CWebScoring(CScoreWorld* world);
    ~CWebScoring() override;

    // Asks the network engine for a client; RES_FAIL without one.
    Result Load() override { return Init(); }
    Result Init();
    Result Release() override;

    // Where answers are shown; none until the menu dialog exists.
    void SetPages(CWebScorePages* pages) { m_pPages = pages; }

    bool IsIdle() const override { return m_nRequestState == kIdle; }
    void Reset() override { m_nRequestState = kIdle; }
    Result SendSetUser() override;
    bool HasUnsentScores() const override;
    // Queues every finished, unsent record (story before time attack, slots ascending); a record
    // whose URL does not fit is left out with a log line. The arguments are not used. Result 0.
    Result QueueScores(uint8_t slot, uint8_t mode) override;
    Result SendNext() override;
    // Drops the first queued request, reporting its slot and mode (left alone when none).
    void PopFront(uint8_t* slot, uint8_t* mode);
    // The set_score URL of a record as sent; false when it would not fit kWebScoreUrlUnits.
    bool BuildScoreURL(uint8_t slot, uint8_t mode, char16_t* url);
    // MD5 of "JRM" and the low bytes of url's units, as 32 lower-case hexadecimal digits into
    // text (kWebScoreCrcUnits units).
    static void Crc(const char16_t* url, char16_t* text);
    // The HTTP client's answer to the request in flight, compared as bytes.
    void OnResponse(const uint8_t* data, uint32_t length);

    uint32_t GetRequestState() const { return m_nRequestState; }

private:
    static void OnResponseCallback(const uint8_t* data, uint32_t length, void* context);
    // False, with a log line, when the server URL or the application name cannot go in a URL.
    bool CanSend() const;
    Result Send(const char16_t* url);
    void OnSetUserAnswer(const uint8_t* data, uint32_t length);
    void OnSetScoreAnswer(const uint8_t* data, uint32_t length);
    void ShowPage(uint32_t page);
    void FreeQueue();

    CScoreWorld* m_pWorld;
    CNetworkClientHTTP* m_pClient = nullptr;
    uint32_t m_nRequestState = kIdle;
    CLinkedList m_Queue;
    CWebScorePages* m_pPages = nullptr;
};
