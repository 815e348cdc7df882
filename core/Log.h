#pragma once
#include <cstdint>

// One diagnostic line: with enabled set, the formatted text goes to the debug hook, to standard
// error and to the end of the log file at path (when path is not null). With enabled 0 nothing
// happens at all. The format follows WFormat (%s UTF-16, %S 8-bit).
void LogPrintf(const char16_t* path, uint8_t enabled, const char16_t* format, ...);

// Stand-in for the debugger output; null (the default) sends nothing there.
using LogDebugHook = void (*)(const char16_t* text);
void SetLogDebugHook(LogDebugHook hook);
