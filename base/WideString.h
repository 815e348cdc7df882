#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// All wide texts are UTF-16 in char16_t units, terminated by a 0 unit.
using WString = std::u16string;
using WStringView = std::u16string_view;

// Length in units of a terminated UTF-16 string; null counts as empty.
size_t WStrLen(const char16_t* s);

// Copies src into dst of capacity units, cutting it to fit; dst is always terminated when capacity > 0.
// Returns the number of units copied.
size_t WStrCopy(char16_t* dst, size_t capacity, const char16_t* src);
size_t WStrCopy(char16_t* dst, size_t capacity, WStringView src);

// Appends src to the terminated text in dst, cutting it to fit the capacity.
size_t WStrAppend(char16_t* dst, size_t capacity, const char16_t* src);

// Unit-by-unit comparison: <0, 0 or >0 as strcmp.
int WStrCmp(const char16_t* a, const char16_t* b);

// Bounded 8-bit copy; dst is always terminated when capacity > 0.
size_t StrCopy8(char* dst, size_t capacity, const char* src);

// UTF-8 <-> UTF-16. Invalid sequences become U+FFFD.
WString Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(WStringView utf16);
std::string Utf16ToUtf8(const char16_t* utf16);
