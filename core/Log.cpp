#include "core/Log.h"

#include "base/FileSystem.h"
#include "base/WideFormat.h"
#include "base/WideString.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

constexpr size_t kLogTextUnits = 4096;
LogDebugHook g_debugHook = nullptr;

} // namespace

void SetLogDebugHook(LogDebugHook hook)
{
    g_debugHook = hook;
}

void LogPrintf(const char16_t* path, uint8_t enabled, const char16_t* format, ...)
{
    if (!enabled)
        return;
    char16_t text[kLogTextUnits];
    va_list args;
    va_start(args, format);
    WFormatV(text, kLogTextUnits, format, args);
    va_end(args);

    if (g_debugHook)
        g_debugHook(text);
    std::string utf8 = Utf16ToUtf8(text);
    fputs(utf8.c_str(), stderr);
    if (!path)
        return;
    FILE* file = OpenFile(path, "a");
    if (!file)
        return;
    fputs(utf8.c_str(), file);
    fflush(file);
    fclose(file);
}
