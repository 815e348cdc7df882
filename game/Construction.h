#pragma once
#include <cstdint>
#include <memory>

#include "core/PackerFile.h"
#include "core/Stream.h"

struct CWorldData;

// A raw file read with the header check starts with u16 kRawVersion, u32 n and n bytes of the
// build string (the application name in 8 bits, its zero included).
constexpr uint16_t kRawVersion = 0x77;
constexpr uint32_t kRawBuildStringBytes = 252;  // longest build string, zero included

// Opens the named entry of pak (null: the main pak) as a read stream bounded by the entry. With
// headerCheck the header must be this build's and the stream stands after it. Null when the
// entry is missing ("Invalid construction" error detail), the header's version or build string
// length is wrong ("raw version" error detail), a read fails or the build string is another
// application's.
std::unique_ptr<CStream> CheckConstruction(CWorldData* data, const char16_t* name, bool headerCheck,
                                           CPackerFile* pak = nullptr);
