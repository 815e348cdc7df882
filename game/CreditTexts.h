#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Vector3.h"

class CInertiaPosition;

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

// The credits or the legal texts as their pages scroll them.
struct CScrollingText {
    std::unique_ptr<char16_t[]> m_pText;  // the wrapped credits
    std::vector<std::unique_ptr<CLegalItem>> m_Legals;
    float m_fOffset = 0.0f;  // where the text's top lies on the screen
    float m_fHeight = 0.0f;  // of the whole text
    uint8_t m_bEntering = 1;  // the credits still come up from below the screen
    std::unique_ptr<CInertiaPosition> m_pInertia;  // a drag's throw
};
