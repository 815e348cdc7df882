#pragma once
#include <cstdint>

#include "base/Result.h"
#include "core/WorldData.h"
#include "platform/win32/Win32Types.h"

class CWorld;

extern const char16_t kDataFolder[];  // "Data_full_Win32\\"

// What a run of the program is made of: its entry arguments, the two built-in configuration
// texts and the maker of the game world.
struct CProgramSetup {
    HINSTANCE instance;
    const char16_t* commandLine;
    int showCommand;
    const char* engineText;
    uint32_t engineLength;
    const char* gameText;
    uint32_t gameLength;
    CWorld* (*createWorld)();
};

// The whole life of the program: start-up, the message loop and shutdown. 0 after a normal run,
// -1 after a failure (with its message box) or when a running copy was brought to the front.
int RunProgram(const CProgramSetup& setup);

// The program entry over the built-in texts and the game world.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, const char16_t* commandLine, int showCommand);

// The world's host event callback: event 18 (a language was loaded) retitles the window. Result 0.
Result OnWorldEvent(uint32_t event, WindowHandle window);

// Opens a URL or document with the shell's "open" verb, never through a command line; with quit
// set, then posts the quit message. The data block is not used.
void OpenWithShell(const char16_t* target, uint8_t quit, CWorldData* data);
