#pragma once
#include <SDL.h>

#include "platform/win32/Win32Types.h"

// One physical key as the Windows key messages describe it.
struct CKeyCode {
    int virtualKey;    // 0 when the key has no virtual key code
    uint8_t scanCode;  // PC set-1 scan code
    bool extended;
};

CKeyCode TranslateSdlKey(SDL_Scancode scancode, SDL_Keycode keycode);

// lParam of a key message: repeat count, scan code, extended, Alt held (bit 29), previous
// state (bit 30), transition (bit 31).
LPARAM MakeKeyLParam(uint16_t repeatCount, uint8_t scanCode, bool extended, bool altDown, bool wasDown, bool isUp);

// Key state as of the key messages made so far, as GetKeyState reports it.
class CKeyboardState {
public:
    static CKeyboardState& Get();

    void SetDown(int virtualKey, bool down);
    bool IsDown(int virtualKey) const;
    SHORT KeyState(int virtualKey) const;
    bool HasEvents() const { return m_hasEvents; }
    bool Seen(int virtualKey) const { return virtualKey > 0 && virtualKey < 256 && m_seen[virtualKey]; }
    void Reset();

private:
    void Update(int virtualKey, bool down);

    bool m_down[256] = {};
    bool m_toggled[256] = {};
    bool m_seen[256] = {};
    bool m_hasEvents = false;
};
