#pragma once
#include <cstdint>
#include <cstdio>

#include "core/Result.h"

constexpr size_t kMaxPathUnits = 260;

// One open pak archive and the entry found last in it.
struct CPackerFile {
    FILE* file;
    uint32_t startOffset;
    char16_t path[kMaxPathUnits];
    uint32_t foundSize;
    char16_t foundName[kMaxPathUnits];
};

// Finds a named entry in a pak and leaves the file at its data.
using PackerLookup = Result (*)(const char16_t* name, CPackerFile* pak);

// A resource held in memory, as the memory lookup hands it over.
struct CMemoryRecord {
    uint32_t size;
    const uint8_t* data;
};

// Finds a named resource in memory and fills the record.
using MemoryLookup = Result (*)(const char16_t* name, CMemoryRecord* record);
