#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Stream.h"

// A run of single bytes read or written as one field.
template <size_t N>
using Bytes = std::array<uint8_t, N>;

// One plain value in file order (little-endian, as the host keeps it).
template <typename T>
bool ReadValue(CStream& stream, T& value)
{
    return stream.Read(&value, sizeof(T), 1);
}

template <typename T>
bool WriteValue(CStream& stream, const T& value)
{
    return stream.Write(&value, sizeof(T), 1);
}

// Reads one field and hands it to store only when it was read whole.
template <typename T, typename Store>
bool ReadField(CStream& stream, Store store)
{
    T value{};
    if (!ReadValue(stream, value))
        return false;
    store(value);
    return true;
}
