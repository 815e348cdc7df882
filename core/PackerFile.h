#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "base/Result.h"

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

// Pak layout: a chain of entries from the start offset to the end of the file, each
// u32 data size, u32 name size, the scrambled name bytes, then the data (integers little-endian).
constexpr uint32_t kPakNameKey = 0x5A3C8E21u;
constexpr size_t kPakEntryHeaderBytes = 8;
// Longest stored name a lookup can match, and longest wanted name.
constexpr size_t kPakMaxStoredName = kMaxPathUnits;
constexpr size_t kPakMaxWantedName = kMaxPathUnits - 1;

// XORs byte i with byte (i mod 4) of the key, least significant first; applying it twice restores the name.
void ScramblePakName(uint8_t* bytes, size_t count);

// Walks the chain from the start offset for the first entry whose name begins with the wanted
// name (ASCII letters in any case). On success the found size and name are set and the file
// stands at the entry's data. RES_FAIL when no pak is open, the name is empty or too long, no
// entry matches, or the chain is truncated (an entry whose data runs past the end of the file).
Result FindPackerEntry(const char16_t* name, CPackerFile* pak);

// Opens path for binary reading into the record, closing any archive it held.
// The path and start offset are stored even when the open fails. RES_PAK_NOT_OPENED on failure.
Result OpenPackerFile(CPackerFile* pak, const char16_t* path, uint32_t startOffset);

// Closes the archive the record holds, if any.
void ClosePackerFile(CPackerFile* pak);
