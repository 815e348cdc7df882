#pragma once
#include <cstdint>

#include "base/Result.h"

// The web score client as the menu dialog drives it. Sends are synchronous: the answer sets the
// dialog's page and sub-state before the send returns.
class CMenuWebClient {
public:
    // No request awaits its answer.
    virtual bool IsIdle() const = 0;
    virtual void Reset() = 0;
    virtual Result SendSetUser() = 0;
    virtual bool HasUnsentScores() const = 0;
    virtual Result QueueScores(uint8_t slot, uint8_t mode) = 0;
    virtual Result SendNext() = 0;

protected:
    ~CMenuWebClient() = default;
};
