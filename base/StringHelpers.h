#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Result.h"

// Helpers over terminated UTF-16 strings and file names. None allocates.
size_t StrLen8(const char* s);

// Ends s at the last occurrence of unit; returns where it stood, or null (s unchanged).
char16_t* CutAtLastChar(char16_t* s, char16_t unit);

// The last '.' of the path, dot included; an empty string when there is none.
const char16_t* GetFileExtension(const char16_t* path);

// The part after the last '\', else after the last '/', else the whole path; null gives null.
const char16_t* GetFileNamePart(const char16_t* path);
char16_t* GetFileNamePart(char16_t* path);

// True when equal ignoring the case of ASCII letters only; null is the empty text.
bool EqualNoCase(const char16_t* a, const char16_t* b);

// Complements each unit in place; applying it twice restores the text.
void InvertString(char16_t* s);

uint32_t ReplaceChar(char16_t* s, char16_t from, char16_t to);
uint32_t CountChar(const char16_t* s, char16_t unit);

// Low byte of each unit into out (capacity bytes, always terminated).
void NarrowString(const char16_t* in, char* out, size_t capacity);

// Each byte sign-extended to 16 bits into out (capacity units, always terminated):
// bytes 0x80..0xFF become 0xFF80..0xFFFF.
void WidenString(const char* in, char16_t* out, size_t capacity);

// Splits at the last separator ('\' or '/'): the folder with its separator, and the file name.
void SplitPath(const char16_t* path, char16_t* folder, size_t folderCapacity, char16_t* name, size_t nameCapacity);

// Splits a file name at its last '.': the base and the extension with its dot.
void SplitExtension(const char16_t* name, char16_t* base, size_t baseCapacity, char16_t* extension, size_t extensionCapacity);
