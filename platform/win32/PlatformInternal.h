#pragma once
#include "platform/win32/Win32Types.h"

// Hooks between the parts of the platform layer.

// Converts the waiting SDL events into messages and serves single-instance requests.
void PumpPlatformEvents();
void PollPlatformRendezvous();

// Shutdown: frees what the GL and cursor parts still hold.
void ReleaseGlContexts();
void ReleaseCursors();

// The current GL context takes up a change of its window's scaling at once.
void FollowWindowScaling(HWND window);
