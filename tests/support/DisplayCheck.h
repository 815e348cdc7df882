#pragma once
#include <gtest/gtest.h>

#include <cstdlib>

// Whether an X display is named. Without one SDL draws off screen through EGL, which it unloads
// at exit: the leak checker then reports the library's allocations from an unknown module.
inline bool HasDisplay()
{
    const char* display = getenv("DISPLAY");
    return display && *display;
}

// Skips the calling test, or the rest of a fixture's set-up, without a display.
#define REQUIRE_DISPLAY()                              \
    do {                                               \
        if (!HasDisplay())                             \
            GTEST_SKIP() << "needs an X display";      \
    } while (0)
