#pragma once
#include <cstdint>

// A row of the platform table: the key used in configuration keys, the name used in file names.
// Row 0 is this program's platform.
struct CPlatformRow {
    const char16_t* key;
    const char16_t* name;
};

constexpr uint32_t kPlatformCount = 13;
extern const CPlatformRow kPlatforms[kPlatformCount];

// The key and the name of a platform number; "UNDEFINED" and "undefined" past the table.
const char16_t* PlatformKey(uint32_t platform);
const char16_t* PlatformName(uint32_t platform);
