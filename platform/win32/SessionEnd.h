#pragma once
#include <cstdint>

// The end of the session from outside the program, given to it as a logout gives it to a Windows
// program: its top-level windows are asked to close (WM_CLOSE posted; without any window, the quit
// message), so the message loop ends and the program shuts down as after a quit of its own.

enum class SessionEndCause : uint8_t { Running, Signal, DisplayLost, WindowDestroyed };

struct CSessionEnd {
    SessionEndCause cause;
    int signal;  // with SessionEndCause::Signal
};

// From now on SIGTERM, SIGINT and SIGHUP end the session, at the next look at the message queue.
// Any later one is only noted: it cannot cut short the shutdown, nor the saves it makes.
void CatchSessionEndSignals();

// The first cause that ended the session; SessionEndCause::Running while it goes on.
CSessionEnd GetSessionEnd();

// For the platform layer's event pump: ends the session for the cause (the first cause counts),
// and delivers an end that a signal asked for.
void EndSession(SessionEndCause cause);
void DeliverSignalledSessionEnd();
// Forgets the end (the platform's shutdown).
void ResetSessionEnd();
