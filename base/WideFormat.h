#pragma once
#include <cstdarg>
#include <cstddef>

// printf-style formatting into a UTF-16 buffer with the Windows wide-printf conventions:
//   %s and %ls take a UTF-16 string, %S and %hs an 8-bit string;
//   %c and %lc take a UTF-16 unit, %C and %hc an 8-bit character;
//   d i u o x X with h, l, ll, I64, z modifiers; f F e E g G a A; p; %%.
// Flags - + space # 0, width and precision (also as *) are honoured. %n is not supported.
// Never writes past capacity units and always terminates when capacity > 0.
// Returns the number of units written, terminator excluded.
size_t WFormat(char16_t* buffer, size_t capacity, const char16_t* format, ...);
size_t WFormatV(char16_t* buffer, size_t capacity, const char16_t* format, va_list args);
