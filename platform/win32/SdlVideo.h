#pragma once
#include <SDL.h>

// SDL's video part, started on first use and kept until the process ends (its display libraries
// stay loaded, so leak reports can still name them). False when there is no display.
bool EnsureSdlVideo();
bool SdlVideoStarted();
// The display went away: SDL's video is neither used nor started again.
void MarkSdlVideoLost();

// True when a display server is named in the environment.
bool HasDisplayEnvironment();
