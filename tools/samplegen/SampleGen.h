#pragma once
#include <cstdio>

// The command line "FOLDER": draws the sample game's pictures and the room's objects into
// FOLDER and synthesises its sounds into FOLDER/disk/sounds, the source tree layout of vddata.
// Returns the process exit code: 0 done, 1 failed, 2 bad usage.
int RunSampleGen(int argc, const char* const* argv, FILE* out, FILE* err);
