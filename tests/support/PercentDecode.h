#pragma once
#include <string>

// A hexadecimal digit's value (either letter case), -1 for any other character.
inline int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Percent-decoding of %XX escapes; '+' is kept. False for a broken escape.
inline bool PercentDecode(const std::string& text, std::string* out)
{
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            *out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return false;
        *out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}
