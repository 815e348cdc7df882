#pragma once
#include <string>

struct CWorldData;

// Name kept for a resource loaded from path: the path less the data-root prefix (the data
// block's prefix length in units), or its file-name part when no prefix is set (a negative
// length) or the path is shorter than the prefix. Null gives null.
const char16_t* ResourceNameFromPath(const CWorldData* data, const char16_t* path);

// An owned wide text that may be absent (Get() answers null then).
class COwnedText {
public:
    void Set(const char16_t* text);
    void Clear();
    const char16_t* Get() const { return m_present ? m_text.c_str() : nullptr; }

private:
    std::u16string m_text;
    bool m_present = false;
};
