#include "game/widgets/SizeFromName.h"

#include <cstdint>

namespace {

// A signed decimal at cursor; advances past it. False without a digit or past 31 bits.
bool ReadDecimal(const char16_t*& cursor, const char16_t* end, int32_t* out)
{
    const bool negative = cursor < end && *cursor == u'-';
    if (cursor < end && (*cursor == u'-' || *cursor == u'+'))
        ++cursor;
    int64_t value = 0;
    const char16_t* digits = cursor;
    for (; cursor < end && *cursor >= u'0' && *cursor <= u'9'; ++cursor) {
        value = value * 10 + (*cursor - u'0');
        if (value > INT32_MAX)
            return false;
    }
    *out = static_cast<int32_t>(negative ? -value : value);
    return cursor != digits;
}

} // namespace

bool ParseSizeFromName(const char16_t* name, int32_t* width, int32_t* height)
{
    *width = *height = -1;
    const char16_t* last = nullptr;
    const char16_t* before = nullptr;
    for (const char16_t* p = name; p && *p; ++p) {
        if (*p == u'.') {
            before = last;
            last = p;
        }
    }
    if (!before)
        return false;
    const char16_t* cursor = before + 1;
    int32_t w = 0, h = 0;
    if (!ReadDecimal(cursor, last, &w) || cursor == last || *cursor++ != u'x' || !ReadDecimal(cursor, last, &h))
        return false;
    *width = w;
    *height = h;
    return true;
}
