#pragma once
#include <cstdint>

#include "core/Vector3.h"

// Units of the credits text and of a legal item's texts, terminator included; a string file read
// as one running text holds at most this many units and a terminator.
constexpr uint32_t kCreditTextUnits = 4096;

// One legal text of the legals screen: wrapped for the screen and measured; a marked item (a
// link) keeps its text as it came.
struct CLegalItem {
    uint8_t m_bMarked;
    Vector3 m_Size;  // width, height, depth of the wrapped text
    char16_t m_szWrapped[kCreditTextUnits];
    char16_t m_szRaw[kCreditTextUnits];  // marked items only
};
