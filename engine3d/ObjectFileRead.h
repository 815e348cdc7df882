#pragma once
#include <cstdint>

#include "base/Result.h"

class CStream;
struct C3DObjectFileData;

// A stream with a known number of bytes left in it: no read goes past that.
class C3dxInput {
public:
    C3dxInput(CStream& stream, uint64_t size) : m_stream(stream), m_left(size) {}

    bool Read(void* buffer, uint32_t elementSize, uint32_t count);
    bool ReadU32(uint32_t& value) { return Read(&value, sizeof(value), 1); }
    bool ReadFloats(float* values, uint32_t count) { return Read(values, sizeof(float), count); }
    bool Skip(uint32_t bytes);
    uint64_t Left() const { return m_left; }

private:
    CStream& m_stream;
    uint64_t m_left;
};

struct C3dxHeader {
    uint32_t partCount;
    uint32_t vertexCount;
    uint32_t indexCount;
    uint32_t version;
    uint32_t flags;
};

// The five header words; RES_FAIL with a reason on a short read or an unknown version.
Result Read3dxHeader(C3dxInput& input, C3dxHeader& header, const char*& reason);

// RES_FAIL with a reason when the bytes left cannot hold what the header announces, or the
// header asks for more bare vertices (vertices without stored fields) than a file may.
Result Check3dxSize(const C3dxHeader& header, uint64_t bytesLeft, const char*& reason);

// Reads the body of the header's version into a block made by Init with the header's counts.
Result Read3dxBody(C3dxInput& input, const C3dxHeader& header, C3DObjectFileData& block, const char*& reason);

// RES_FAIL with a reason unless every part's vertex and index ranges lie inside the arrays, its
// primitive type is known, its primitive count fits its indices, and every index plus the
// part's first vertex names a vertex.
Result CheckObjectParts(const C3DObjectFileData& block, const char*& reason);

// Indices that count primitives of a type take; UINT64_MAX for an unknown type.
uint64_t PrimitiveIndexCount(uint32_t type, uint32_t primitiveCount);

// Primitives that count indices of a type make; 0 for an unknown type.
uint32_t PrimitiveCountOf(uint32_t type, uint32_t indexCount);
