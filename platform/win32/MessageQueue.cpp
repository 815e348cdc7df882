#include "platform/win32/MessageQueue.h"

#include <algorithm>

#include "base/Clock.h"

namespace {

bool MatchesFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax)
{
    if (window && message.hwnd != window)
        return false;
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message.message >= filterMin && message.message <= filterMax;
}

} // namespace

uint64_t NowMilliseconds()
{
    return ClockNanoseconds() / 1000000ull;
}

CMessageQueue& CMessageQueue::Get()
{
    static CMessageQueue queue;
    return queue;
}

void CMessageQueue::Post(const MSG& message)
{
    m_posted.push_back(message);
}

void CMessageQueue::PostFirst(const std::vector<MSG>& messages)
{
    m_posted.insert(m_posted.begin(), messages.begin(), messages.end());
}

void CMessageQueue::Discard(UINT first, UINT last)
{
    m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(),
                                  [&](const MSG& message) { return message.message >= first && message.message <= last; }),
                   m_posted.end());
}

void CMessageQueue::PostQuit(int exitCode)
{
    m_quit = true;
    m_exitCode = exitCode;
}

bool CMessageQueue::Take(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (!MatchesFilter(*it, window, filterMin, filterMax))
            continue;
        *out = *it;
        if (remove)
            m_posted.erase(it);
        return true;
    }
    if (m_quit) {
        *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<intptr_t>(m_exitCode)), 0, static_cast<DWORD>(NowMilliseconds()), {0, 0}};
        if (remove)
            m_quit = false;
        return true;
    }
    return TakeTimer(out, window, filterMin, filterMax, remove);
}

bool CMessageQueue::TakeTimer(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    uint64_t now = NowMilliseconds();
    for (Timer& timer : m_timers) {
        if (now < timer.dueMs)
            continue;
        MSG message{timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure), static_cast<DWORD>(now), {0, 0}};
        if (!MatchesFilter(message, window, filterMin, filterMax))
            continue;
        *out = message;
        if (remove) {
            // Expiries missed while the message waited collapse into this one.
            timer.dueMs += timer.periodMs;
            if (timer.dueMs <= now)
                timer.dueMs = now + timer.periodMs;
        }
        return true;
    }
    return false;
}

UINT_PTR CMessageQueue::SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    if (!window)
        id = m_nextThreadTimerId++;
    uint64_t period = periodMs < 10 ? 10 : periodMs;
    uint64_t due = NowMilliseconds() + period;
    for (Timer& timer : m_timers) {
        if (timer.window == window && timer.id == id) {
            timer = Timer{window, id, period, due, procedure};
            return window ? 1 : id;
        }
    }
    m_timers.push_back(Timer{window, id, period, due, procedure});
    return window ? 1 : id;
}

bool CMessageQueue::KillTimer(HWND window, UINT_PTR id)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->window == window && it->id == id) {
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CMessageQueue::ForgetWindow(HWND window)
{
    for (auto it = m_timers.begin(); it != m_timers.end();)
        it = (it->window == window) ? m_timers.erase(it) : it + 1;
    for (auto it = m_posted.begin(); it != m_posted.end();)
        it = (it->hwnd == window) ? m_posted.erase(it) : it + 1;
}

int64_t CMessageQueue::MillisecondsToNextTimer() const
{
    if (m_timers.empty())
        return -1;
    uint64_t now = NowMilliseconds();
    uint64_t next = UINT64_MAX;
    for (const Timer& timer : m_timers)
        next = timer.dueMs < next ? timer.dueMs : next;
    return next <= now ? 0 : static_cast<int64_t>(next - now);
}

void CMessageQueue::AddText(const std::u16string& units)
{
    m_text += units;
}

std::u16string CMessageQueue::TakeText()
{
    std::u16string text;
    text.swap(m_text);
    return text;
}

void CMessageQueue::Clear()
{
    m_posted.clear();
    m_timers.clear();
    m_text.clear();
    m_quit = false;
    m_exitCode = 0;
}
