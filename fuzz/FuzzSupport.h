#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/PackerFile.h"
#include "core/Stream.h"

// Each harness defines this: one run of its reader on one input. Return 0.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A promise of the reader that the input broke: the run stops with the condition's text.
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : FuzzFailed(#condition, __FILE__, __LINE__))
[[noreturn]] void FuzzFailed(const char* condition, const char* file, int line);

// Reads every byte of the block, so that a block shorter than size is caught.
void TouchBytes(const void* data, size_t size);

// Takes plain values from the front of an input; what lies past its end reads as zero.
class CFuzzInput {
public:
    CFuzzInput(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
    template <typename T>
    T Take()
    {
        T value{};
        const size_t taken = std::min(sizeof(T), m_left);
        if (taken)
            memcpy(&value, m_data, taken);
        m_data += taken;
        m_left -= taken;
        return value;
    }
    // The next count bytes (fewer at the end).
    std::string TakeBytes(size_t count)
    {
        const size_t taken = std::min(count, m_left);
        std::string bytes(reinterpret_cast<const char*>(m_data), taken);
        m_data += taken;
        m_left -= taken;
        return bytes;
    }
    const uint8_t* Data() const { return m_data; }
    size_t Left() const { return m_left; }

private:
    const uint8_t* m_data;
    size_t m_left;
};

// Collects what is written to it, for reading back what a reader saved.
class CFuzzWriteStream : public CStream {
public:
    CFuzzWriteStream() : CStream(kStreamWrite) {}
    Result Open() override { return RES_OK; }
    Result Close() override { return RES_OK; }
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override
    {
        m_bytes.append(static_cast<const char*>(buffer), size_t{elementSize} * count);
        return true;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A folder of this process under the system temporary folder, removed at exit.
const std::string& FuzzFolder();
// Writes the bytes to name inside the folder, or to an absolute path (sub-folders made), and
// returns the path.
std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size);

// The bytes as the entry name of a pak held in memory, between two entries of other bytes, found
// by the engine's own lookup: the record's file stands at the entry's data, as for a loader.
class CFuzzPak {
public:
    CFuzzPak(const char16_t* name, const uint8_t* data, size_t size);
    ~CFuzzPak();
    CFuzzPak(const CFuzzPak&) = delete;
    CFuzzPak& operator=(const CFuzzPak&) = delete;
    CPackerFile* Record() { return &m_pak; }
    // Where the file stands, counted from the entry's first byte.
    long Position() const;

private:
    std::string m_bytes;
    long m_dataOffset = 0;
    CPackerFile m_pak{};
};
