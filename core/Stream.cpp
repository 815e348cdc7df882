#include "core/Stream.h"

#include "base/FileSystem.h"
#include "base/WideString.h"

#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace {

uint64_t TotalBytes(uint32_t elementSize, uint32_t count)
{
    return static_cast<uint64_t>(elementSize) * count;
}

bool ReadFromFile(FILE* file, void* buffer, uint32_t elementSize, uint32_t count)
{
    if (TotalBytes(elementSize, count) == 0)
        return true;
    return file && buffer && fread(buffer, elementSize, count, file) == count;
}

} // namespace

bool CStream::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    if (m_flags & kStreamSwapOnRead)
        SwapElements(buffer, elementSize, count);
    return true;
}

bool CStream::Write(const void*, uint32_t, uint32_t)
{
    return false;
}

bool CStream::Seek(int32_t, int32_t)
{
    return false;
}

uint32_t CStream::Tell()
{
    return 0;
}

uint32_t CStream::BytesLeft() const
{
    return kStreamUnbounded;
}

bool CStream::SwapElements(void* buffer, uint32_t elementSize, uint32_t count)
{
    if (!(m_flags & kStreamSwapOnRead) || (elementSize != 2 && elementSize != 4))
        return false;
    if (count == 0)
        return true;
    if (!buffer)
        return false;
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (uint64_t i = 0; i < count; ++i, bytes += elementSize) {
        if (elementSize == 2) {
            std::swap(bytes[0], bytes[1]);
        } else {
            std::swap(bytes[0], bytes[3]);
            std::swap(bytes[1], bytes[2]);
        }
    }
    return true;
}

CStreamStdio::CStreamStdio(uint8_t flags, FILE** holder, uint32_t size)
    : CStream(flags), m_holder(holder), m_left(size)
{
}

Result CStreamStdio::Open()
{
    m_open = !(m_flags & kStreamWrite) && m_holder && *m_holder;
    if (!m_open)
        m_holder = nullptr;
    return m_open ? RES_OK : RES_FAIL;
}

Result CStreamStdio::Close()
{
    m_holder = nullptr;
    m_open = false;
    return RES_OK;
}

bool CStreamStdio::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    uint64_t total = TotalBytes(elementSize, count);
    if (!m_open || total > m_left || !ReadFromFile(*m_holder, buffer, elementSize, count))
        return false;
    if (m_left != kStreamUnbounded)
        m_left -= static_cast<uint32_t>(total);
    return CStream::Read(buffer, elementSize, count);
}

CStreamFile::CStreamFile(uint8_t flags, const char16_t* path) : CStream(flags), m_path(path ? path : u"")
{
}

CStreamFile::~CStreamFile()
{
    IgnoreResult(Close());
}

Result CStreamFile::Open()
{
    bool read = m_flags & kStreamRead;
    bool write = m_flags & kStreamWrite;
    if (!read && !write)
        return m_file ? RES_OK : RES_FAIL;
    IgnoreResult(Close());
    m_file = OpenFile(m_path.c_str(), read && write ? "r+b" : (read ? "rb" : "wb"));
    return m_file ? RES_OK : RES_FAIL;
}

Result CStreamFile::Close()
{
    if (m_file)
        fclose(m_file);
    m_file = nullptr;
    return RES_OK;
}

bool CStreamFile::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    if (!m_file || !ReadFromFile(m_file, buffer, elementSize, count))
        return false;
    return CStream::Read(buffer, elementSize, count);
}

bool CStreamFile::Write(const void* buffer, uint32_t elementSize, uint32_t count)
{
    uint64_t total = TotalBytes(elementSize, count);
    if (!m_file)
        return false;
    if (total == 0)
        return true;
    if (!buffer)
        return false;
    if (!(m_flags & kStreamSwapOnWrite) || (elementSize != 2 && elementSize != 4))
        return fwrite(buffer, elementSize, count, m_file) == count;

    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[total]);
    if (!copy)
        return false;
    memcpy(copy.get(), buffer, total);
    SwapElements(copy.get(), elementSize, count);
    return fwrite(copy.get(), elementSize, count, m_file) == count;
}

bool CStreamFile::Seek(int32_t offset, int32_t origin)
{
    int whence = SEEK_SET;
    if (origin == kStreamSeekCurrent)
        whence = SEEK_CUR;
    else if (origin == kStreamSeekEnd)
        whence = SEEK_END;
    else if (origin != kStreamSeekStart)
        return false;
    return m_file && fseek(m_file, offset, whence) == 0;
}

uint32_t CStreamFile::Tell()
{
    long position = m_file ? ftell(m_file) : -1;
    return position < 0 ? 0 : static_cast<uint32_t>(position);
}

CStreamMemory::CStreamMemory(uint8_t flags, const void* data, uint32_t size)
    : CStream(flags), m_cursor(static_cast<const uint8_t*>(data)), m_left(data ? size : 0)
{
}

Result CStreamMemory::Open()
{
    return ((m_flags & kStreamWrite) || !m_cursor || m_left == 0) ? RES_FAIL : RES_OK;
}

Result CStreamMemory::Close()
{
    m_cursor = nullptr;
    m_left = 0;
    return RES_OK;
}

bool CStreamMemory::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    uint64_t total = TotalBytes(elementSize, count);
    if (total > m_left || (total != 0 && !buffer))
        return false;
    if (total != 0) {
        memcpy(buffer, m_cursor, total);
        m_cursor += total;
        m_left -= static_cast<uint32_t>(total);
    }
    return CStream::Read(buffer, elementSize, count);
}
