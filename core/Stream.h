#pragma once
#include <cstdint>
#include <cstdio>

#include "base/BaseObject.h"
#include "core/PackerFile.h"
#include "base/Result.h"
#include "base/WideString.h"

// Stream flags.
constexpr uint8_t kStreamRead = 0x01;
constexpr uint8_t kStreamWrite = 0x02;
// Swap the bytes of 2- and 4-byte elements after a read; also the switch of SwapElements.
constexpr uint8_t kStreamSwapOnRead = 0x10;
// Write a byte-swapped copy of 2- and 4-byte elements (needs kStreamSwapOnRead to swap).
constexpr uint8_t kStreamSwapOnWrite = 0x20;

constexpr uint32_t kStreamUnbounded = 0xFFFFFFFFu;

constexpr int32_t kStreamSeekStart = 0;
constexpr int32_t kStreamSeekCurrent = 1;
constexpr int32_t kStreamSeekEnd = 2;

// Reads and writes counted elements. Create, Open, read or write, Close, delete.
class CStream : public CBaseObject {
public:
    explicit CStream(uint8_t flags) : m_flags(flags) {}

    virtual Result Open() = 0;
    virtual Result Close() = 0;
    // Heirs call this after their copy succeeded: swaps the elements when kStreamSwapOnRead is set.
    virtual bool Read(void* buffer, uint32_t elementSize, uint32_t count);
    virtual bool Write(const void* buffer, uint32_t elementSize, uint32_t count);
    virtual bool Seek(int32_t offset, int32_t origin);
    virtual uint32_t Tell();
    // Bytes a reader may still take: what bounds a count read from the stream before anything is
    // allocated for it. kStreamUnbounded when the stream does not know its end.
    virtual uint32_t BytesLeft() const;
    // With kStreamSwapOnRead: reverses the bytes of each 2- or 4-byte element. False for other
    // sizes or without the flag, the buffer unchanged.
    virtual bool SwapElements(void* buffer, uint32_t elementSize, uint32_t count);

protected:
    uint8_t m_flags;
};

// Reads from a file somebody else opened and owns (for a pak: &pak.file after a lookup).
// Read only; with a size (for a pak entry: its found size) no read passes that many bytes.
class CStreamStdio : public CStream {
public:
    CStreamStdio(uint8_t flags, FILE** holder, uint32_t size = kStreamUnbounded);

    Result Open() override;
    Result Close() override;
    bool Read(void* buffer, uint32_t elementSize, uint32_t count) override;
    uint32_t BytesLeft() const override { return m_left; }

private:
    FILE** m_holder;
    uint32_t m_left;
    bool m_open = false;
};

// Opens, reads, writes and closes a disk file by path. A file still open at destruction is closed.
class CStreamFile : public CStream {
public:
    CStreamFile(uint8_t flags, const char16_t* path);
    ~CStreamFile() override;
    CStreamFile(const CStreamFile&) = delete;
    CStreamFile& operator=(const CStreamFile&) = delete;

    Result Open() override;
    Result Close() override;
    bool Read(void* buffer, uint32_t elementSize, uint32_t count) override;
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override;
    bool Seek(int32_t offset, int32_t origin) override;
    uint32_t Tell() override;

private:
    WString m_path;
    FILE* m_file = nullptr;
};

// Reads from a block in memory that the caller owns and keeps alive.
class CStreamMemory : public CStream {
public:
    CStreamMemory(uint8_t flags, const void* data, uint32_t size);

    Result Open() override;
    Result Close() override;
    bool Read(void* buffer, uint32_t elementSize, uint32_t count) override;

    uint32_t BytesLeft() const override { return m_left; }

private:
    const uint8_t* m_cursor;
    uint32_t m_left;
};
