#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Builds the bytes of a file, words little-endian as the engine reads them.
class CByteWriter {
public:
    void U8(uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void U16(uint16_t value)
    {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        m_bytes.push_back(static_cast<char>(value >> 8));
    }
    void U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void F32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void Floats(const float* values, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            F32(values[i]);
    }
    void Fill(size_t count, char byte) { m_bytes.append(count, byte); }
    // The text cut to the field, then zero bytes up to its size.
    void Field(const std::string& text, size_t size)
    {
        std::string field = text.substr(0, size);
        field.resize(size, '\0');
        m_bytes += field;
    }
    void Text(const std::string& text) { m_bytes += text; }
    std::string& Bytes() { return m_bytes; }

private:
    std::string m_bytes;
};
