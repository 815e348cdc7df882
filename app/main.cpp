#include <string>

#include "app/Startup.h"
#include "base/WideString.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/Win32Window.h"

int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    WString wideCommandLine = Utf8ToUtf16(commandLine);
    CatchSessionEndSignals();
    int result = WinMain(GetModuleHandleW(nullptr), nullptr, wideCommandLine.c_str(), SW_SHOWNORMAL);
    PlatformShutdown();
    return result;
}
