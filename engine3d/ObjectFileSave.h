#pragma once
#include <cstdint>

class CStream;
struct C3DObjectFileData;

// Writes the block as a version 16 ".3dx" file with the given content flags. Index kind 1 stores
// u16 indices; when an index does not fit 16 bits the kind word 2 and u32 indices are written
// instead. Adds the bytes written to bytesWritten; false on a failed write.
bool Write3dx(CStream& stream, const C3DObjectFileData& block, uint32_t flags, uint64_t& bytesWritten);
