#pragma once
#include <SDL.h>

// SDL's video part, started on first use. False when there is no display to talk to.
bool EnsureSdlVideo();
bool SdlVideoStarted();
void ShutdownSdlVideo();

// True when a display server is named in the environment.
bool HasDisplayEnvironment();
