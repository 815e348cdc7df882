#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The bytes of one image: a memory block, or a byte count read from an open file at its
// current position. Reads never go past the count.
class CImageSource {
public:
    CImageSource(const uint8_t* data, uint32_t size) : m_data(data), m_size(size) {}
    CImageSource(FILE* file, uint32_t size) : m_file(file), m_size(size) {}

    uint32_t Size() const { return m_size; }
    uint32_t Remaining() const { return m_size - m_position; }

    // Reads exactly count bytes; false when fewer are left or the file comes up short.
    bool Read(void* destination, size_t count);

    // The whole block of a memory source, or null.
    const uint8_t* Data() const { return m_data; }
    // The file of a file source, or null.
    FILE* File() const { return m_file; }

private:
    const uint8_t* m_data = nullptr;
    FILE* m_file = nullptr;
    uint32_t m_size;
    uint32_t m_position = 0;
};
