#include "platform/win32/KeyTranslation.h"

namespace {

struct ScanEntry {
    int virtualKey;
    uint8_t scanCode;
    bool extended;
};

// Set-1 scan codes of the letters A..Z and of the top-row digits 1..9, 0.
constexpr uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                     0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr uint8_t kKeypadScan[10] = {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x52};

ScanEntry ByPosition(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return {'A' + (scancode - SDL_SCANCODE_A), kLetterScan[scancode - SDL_SCANCODE_A], false};
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        int index = scancode - SDL_SCANCODE_1;
        return {index == 9 ? '0' : '1' + index, static_cast<uint8_t>(0x02 + index), false};
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10)
        return {VK_F1 + (scancode - SDL_SCANCODE_F1), static_cast<uint8_t>(0x3B + (scancode - SDL_SCANCODE_F1)), false};
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) {
        int index = scancode - SDL_SCANCODE_KP_1;
        return {index == 9 ? VK_NUMPAD0 : VK_NUMPAD0 + 1 + index, kKeypadScan[index], false};
    }
    switch (scancode) {
    case SDL_SCANCODE_RETURN: return {VK_RETURN, 0x1C, false};
    case SDL_SCANCODE_ESCAPE: return {VK_ESCAPE, 0x01, false};
    case SDL_SCANCODE_BACKSPACE: return {VK_BACK, 0x0E, false};
    case SDL_SCANCODE_TAB: return {VK_TAB, 0x0F, false};
    case SDL_SCANCODE_SPACE: return {VK_SPACE, 0x39, false};
    case SDL_SCANCODE_MINUS: return {VK_OEM_MINUS, 0x0C, false};
    case SDL_SCANCODE_EQUALS: return {VK_OEM_PLUS, 0x0D, false};
    case SDL_SCANCODE_LEFTBRACKET: return {VK_OEM_4, 0x1A, false};
    case SDL_SCANCODE_RIGHTBRACKET: return {VK_OEM_6, 0x1B, false};
    case SDL_SCANCODE_BACKSLASH: return {VK_OEM_5, 0x2B, false};
    case SDL_SCANCODE_NONUSHASH: return {VK_OEM_5, 0x2B, false};
    case SDL_SCANCODE_SEMICOLON: return {VK_OEM_1, 0x27, false};
    case SDL_SCANCODE_APOSTROPHE: return {VK_OEM_7, 0x28, false};
    case SDL_SCANCODE_GRAVE: return {VK_OEM_3, 0x29, false};
    case SDL_SCANCODE_COMMA: return {VK_OEM_COMMA, 0x33, false};
    case SDL_SCANCODE_PERIOD: return {VK_OEM_PERIOD, 0x34, false};
    case SDL_SCANCODE_SLASH: return {VK_OEM_2, 0x35, false};
    case SDL_SCANCODE_NONUSBACKSLASH: return {VK_OEM_102, 0x56, false};
    case SDL_SCANCODE_CAPSLOCK: return {VK_CAPITAL, 0x3A, false};
    case SDL_SCANCODE_F11: return {VK_F1 + 10, 0x57, false};
    case SDL_SCANCODE_F12: return {VK_F12, 0x58, false};
    case SDL_SCANCODE_PRINTSCREEN: return {VK_SNAPSHOT, 0x37, true};
    case SDL_SCANCODE_SCROLLLOCK: return {VK_SCROLL, 0x46, false};
    case SDL_SCANCODE_PAUSE: return {VK_PAUSE, 0x45, false};
    case SDL_SCANCODE_INSERT: return {VK_INSERT, 0x52, true};
    case SDL_SCANCODE_HOME: return {VK_HOME, 0x47, true};
    case SDL_SCANCODE_PAGEUP: return {VK_PRIOR, 0x49, true};
    case SDL_SCANCODE_DELETE: return {VK_DELETE, 0x53, true};
    case SDL_SCANCODE_END: return {VK_END, 0x4F, true};
    case SDL_SCANCODE_PAGEDOWN: return {VK_NEXT, 0x51, true};
    case SDL_SCANCODE_RIGHT: return {VK_RIGHT, 0x4D, true};
    case SDL_SCANCODE_LEFT: return {VK_LEFT, 0x4B, true};
    case SDL_SCANCODE_DOWN: return {VK_DOWN, 0x50, true};
    case SDL_SCANCODE_UP: return {VK_UP, 0x48, true};
    case SDL_SCANCODE_NUMLOCKCLEAR: return {VK_NUMLOCK, 0x45, true};
    case SDL_SCANCODE_KP_DIVIDE: return {VK_DIVIDE, 0x35, true};
    case SDL_SCANCODE_KP_MULTIPLY: return {VK_MULTIPLY, 0x37, false};
    case SDL_SCANCODE_KP_MINUS: return {VK_SUBTRACT, 0x4A, false};
    case SDL_SCANCODE_KP_PLUS: return {VK_ADD, 0x4E, false};
    case SDL_SCANCODE_KP_ENTER: return {VK_RETURN, 0x1C, true};
    case SDL_SCANCODE_KP_PERIOD: return {VK_DECIMAL, 0x53, false};
    case SDL_SCANCODE_APPLICATION: return {VK_APPS, 0x5D, true};
    case SDL_SCANCODE_LCTRL: return {VK_CONTROL, 0x1D, false};
    case SDL_SCANCODE_RCTRL: return {VK_CONTROL, 0x1D, true};
    case SDL_SCANCODE_LSHIFT: return {VK_SHIFT, 0x2A, false};
    case SDL_SCANCODE_RSHIFT: return {VK_SHIFT, 0x36, false};
    case SDL_SCANCODE_LALT: return {VK_MENU, 0x38, false};
    case SDL_SCANCODE_RALT: return {VK_MENU, 0x38, true};
    case SDL_SCANCODE_LGUI: return {VK_LWIN, 0x5B, true};
    case SDL_SCANCODE_RGUI: return {VK_RWIN, 0x5C, true};
    default: return {0, 0, false};
    }
}

// The layout decides the virtual key of character keys, as it does on Windows.
int ByCharacter(SDL_Keycode keycode)
{
    if (keycode >= 'a' && keycode <= 'z')
        return static_cast<int>(keycode - 'a' + 'A');
    if (keycode >= '0' && keycode <= '9')
        return static_cast<int>(keycode);
    switch (keycode) {
    case ';': return VK_OEM_1;
    case '=': return VK_OEM_PLUS;
    case ',': return VK_OEM_COMMA;
    case '-': return VK_OEM_MINUS;
    case '.': return VK_OEM_PERIOD;
    case '/': return VK_OEM_2;
    case '`': return VK_OEM_3;
    case '[': return VK_OEM_4;
    case '\\': return VK_OEM_5;
    case ']': return VK_OEM_6;
    case '\'': return VK_OEM_7;
    default: return 0;
    }
}

bool IsCharacterKey(SDL_Scancode scancode)
{
    return (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_0) ||
           (scancode >= SDL_SCANCODE_MINUS && scancode <= SDL_SCANCODE_SLASH && scancode != SDL_SCANCODE_NONUSHASH);
}

} // namespace

CKeyCode TranslateSdlKey(SDL_Scancode scancode, SDL_Keycode keycode)
{
    ScanEntry entry = ByPosition(scancode);
    if (IsCharacterKey(scancode)) {
        int byCharacter = ByCharacter(keycode);
        if (byCharacter)
            entry.virtualKey = byCharacter;
    }
    return {entry.virtualKey, entry.scanCode, entry.extended};
}

LPARAM MakeKeyLParam(uint16_t repeatCount, uint8_t scanCode, bool extended, bool altDown, bool wasDown, bool isUp)
{
    uint32_t bits = repeatCount | (static_cast<uint32_t>(scanCode) << 16);
    if (extended)
        bits |= KF_EXTENDED_BIT;
    if (altDown)
        bits |= KF_ALTDOWN_BIT;
    if (wasDown)
        bits |= KF_REPEAT_BIT;
    if (isUp)
        bits |= KF_UP_BIT;
    // A 32-bit value, as the Windows lParam of a key message; not sign-extended.
    return static_cast<LPARAM>(bits);
}

CKeyboardState& CKeyboardState::Get()
{
    static CKeyboardState state;
    return state;
}

void CKeyboardState::Update(int virtualKey, bool down)
{
    if (virtualKey <= 0 || virtualKey > 255)
        return;
    m_seen[virtualKey] = true;
    if (down && !m_down[virtualKey])
        m_toggled[virtualKey] = !m_toggled[virtualKey];
    m_down[virtualKey] = down;
}

void CKeyboardState::SetDown(int virtualKey, bool down)
{
    static constexpr int kSides[3][3] = {{VK_LSHIFT, VK_RSHIFT, VK_SHIFT}, {VK_LCONTROL, VK_RCONTROL, VK_CONTROL}, {VK_LMENU, VK_RMENU, VK_MENU}};
    m_hasEvents = true;
    Update(virtualKey, down);
    for (const auto& sides : kSides) {
        if (virtualKey == sides[0] || virtualKey == sides[1])
            Update(sides[2], m_down[sides[0]] || m_down[sides[1]]);
    }
}

bool CKeyboardState::IsDown(int virtualKey) const
{
    return virtualKey > 0 && virtualKey < 256 && m_down[virtualKey];
}

SHORT CKeyboardState::KeyState(int virtualKey) const
{
    if (virtualKey <= 0 || virtualKey > 255)
        return 0;
    uint16_t state = (m_down[virtualKey] ? 0x8000u : 0u) | (m_toggled[virtualKey] ? 1u : 0u);
    return static_cast<SHORT>(state);
}

void CKeyboardState::Reset()
{
    for (int i = 0; i < 256; ++i) {
        m_down[i] = false;
        m_toggled[i] = false;
        m_seen[i] = false;
    }
    m_hasEvents = false;
}
