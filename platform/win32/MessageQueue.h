#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/win32/Win32Types.h"

// The thread's message queue: posted and input messages in arrival order, the quit request and
// the timers, whose WM_TIMER messages are made when they are taken, so at most one is pending
// per timer and it always comes after the posted messages.
class CMessageQueue {
public:
    static CMessageQueue& Get();

    void Post(const MSG& message);
    // Ahead of everything queued, in the given order (the characters TranslateMessage makes).
    void PostFirst(const std::vector<MSG>& messages);
    void PostQuit(int exitCode);
    bool Take(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove);

    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure);
    bool KillTimer(HWND window, UINT_PTR id);
    // Drops the queued messages from first to last (message numbers).
    void Discard(UINT first, UINT last);
    // Forgets the timers and queued messages of a destroyed window.
    void ForgetWindow(HWND window);
    // Milliseconds until the next timer is due (0 when one is due, -1 when there is none).
    int64_t MillisecondsToNextTimer() const;

    // Typed text waiting for TranslateMessage.
    void AddText(const std::u16string& units);
    std::u16string TakeText();

    void Clear();

private:
    struct Timer {
        HWND window;
        UINT_PTR id;
        uint64_t periodMs;
        uint64_t dueMs;
        TIMERPROC procedure;
    };

    bool TakeTimer(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove);

    std::deque<MSG> m_posted;
    std::vector<Timer> m_timers;
    std::u16string m_text;
    bool m_quit = false;
    int m_exitCode = 0;
    UINT_PTR m_nextThreadTimerId = 1;
};

uint64_t NowMilliseconds();
