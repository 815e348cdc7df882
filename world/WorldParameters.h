#pragma once
#include <cstdint>

#include "core/PackerFile.h"
#include "base/Result.h"

class CParamsReader;
struct CWorldData;

// The parameters the world is given before its Load: stores both readers and both lookups in the
// data block, copies a non-null log path, then opens the main pak when a pak path and a lookup are
// both given. A pak that cannot be opened sets the detail "Missing file: %s" and the last error,
// and gives RES_PAK_NOT_OPENED; otherwise RES_OK.
Result SetWorldParameters(CWorldData* data, CParamsReader* engineParams, CParamsReader* gameParams,
                          MemoryLookup memoryLookup, const char16_t* pakPath, uint32_t pakStartOffset,
                          PackerLookup pakLookup, const char16_t* logPath);
