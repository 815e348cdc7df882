#pragma once
#include <cstdint>

#include "core/LinkedList.h"
#include "game/WorldComponent.h"

class CNetworkClientHTTP;
class CVadadiDazidevWorld;

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

struct WebScoreRequest {
    char16_t url[kWebScoreUrlUnits];
    uint8_t slot;
    uint8_t mode;
};

// Registers the player's web account and posts finished games' times. Requests are synchronous:
// the answer arrives before the send returns.
class CWebScoring : public CWorldComponent {
public:
    enum RequestState : uint32_t { kIdle = 0, kSetUserSent = 1, kSetScoreSent = 2 };

    explicit CWebScoring(CVadadiDazidevWorld* world);
    ~CWebScoring() override;

    // Asks the network engine for a client; RES_FAIL without one.
    Result Load() override { return Init(); }
    Result Init();
    Result Release() override;

    // Where answers are shown; none until the menu dialog exists.
    void SetPages(CWebScorePages* pages) { m_pPages = pages; }

    void Reset() { m_nRequestState = kIdle; }
    Result SendSetUser();
    bool HasUnsentScores() const;
    Result QueueScores(uint8_t slot, uint8_t mode);
    Result SendNext();
    void PopFront(uint8_t* slot, uint8_t* mode);
    // False when the URL would not fit its buffer.
    bool BuildScoreURL(uint8_t slot, uint8_t mode, char16_t* url);
    static void Crc(const char16_t* url, char16_t* text);
    void OnResponse(const uint8_t* data, uint32_t length);

    uint32_t GetRequestState() const { return m_nRequestState; }

private:
    CVadadiDazidevWorld* m_pWorld;
    CNetworkClientHTTP* m_pClient = nullptr;
    uint32_t m_nRequestState = kIdle;
    CLinkedList m_Queue;
    CWebScorePages* m_pPages = nullptr;
};
