#include "base/NumberText.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsCSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

} // namespace

int32_t ParseIntLikeAtoi(const char16_t* text, size_t maxUnits)
{
    if (!text)
        return 0;
    size_t i = 0;
    while (i < maxUnits && text[i] && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < maxUnits && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < maxUnits && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    if (negative)
        return static_cast<int32_t>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int32_t>(magnitude);
}

double ParseDoubleLikeAtof(const char* text)
{
    locale_t classic = ClassicLocale();
    if (!text || !classic)
        return 0.0;
    return strtod_l(text, nullptr, classic);
}
