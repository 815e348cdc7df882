#pragma once
#include <cstdio>
#include <string>

#include "base/WideString.h"

// Paths as the data names them: '\' separators, '..' segments and any letter case.
// NormalizePath maps '\' to '/' and collapses '.' and '..' lexically.
std::string NormalizePath(const std::string& path);

// Normalises the path, then resolves each component that does not exist exactly by a
// case-insensitive match in its folder. Components that match nothing are kept as written,
// so a path for a new file resolves to where it would be created.
std::string ResolvePath(const std::string& path);
std::string ResolvePath(const char16_t* path);

// fopen over ResolvePath; anything but a regular file (a folder, a pipe) fails to open.
FILE* OpenFile(const char16_t* path, const char* mode);
FILE* OpenFile(const char* path, const char* mode);

bool FileExists(const char16_t* path);

// Size of an open file in bytes, or -1.
long long FileSizeOf(FILE* file);
