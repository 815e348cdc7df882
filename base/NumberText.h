#pragma once
#include <cstddef>
#include <cstdint>

// Number parsing that never depends on the process locale.

// An integer as atoi reads it, from at most maxUnits units of text: leading white space, an optional
// sign, then decimal digits up to the first other unit; no digits give 0. Values beyond the
// 32-bit range saturate at its ends, as the Windows C library does. Null gives 0.
int32_t ParseIntLikeAtoi(const char16_t* text, size_t maxUnits);

// A floating value as atof reads it in the "C" locale (decimal point '.', optional exponent,
// hexadecimal and inf/nan forms); no number gives 0.0. Null gives 0.0.
double ParseDoubleLikeAtof(const char* text);
