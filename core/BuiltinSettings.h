#pragma once
#include <cstdint>

// The two configuration texts compiled into the program, 8-bit, every line ended by a line feed.
// The lengths are the texts' real lengths in bytes, without a terminator.
extern const char kEngineSettingsText[];
extern const uint32_t kEngineSettingsLength;
extern const char kGameSettingsText[];
extern const uint32_t kGameSettingsLength;
