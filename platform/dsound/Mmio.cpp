#include "platform/dsound/Mmio.h"

#include "base/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

struct MmioFile {
    FILE* file = nullptr;
    std::unique_ptr<uint8_t[]> buffer;  // null when unbuffered
    uint32_t capacity = 0;
    int64_t bufOffset = 0;  // file offset of buffer[0]
    uint32_t next = 0;      // index of the next byte to hand out
    uint32_t end = 0;       // bytes held

    ~MmioFile()
    {
        if (file)
            fclose(file);
    }

    int64_t Position() const { return bufOffset + next; }

    // Reads up to size bytes at a file offset, straight from the disk.
    uint32_t ReadAt(int64_t offset, uint8_t* out, uint32_t size)
    {
        if (fseeko(file, offset, SEEK_SET) != 0)
            return 0;
        return static_cast<uint32_t>(fread(out, 1, size, file));
    }

    // Refills the buffer with the bytes at offset.
    void FillAt(int64_t offset)
    {
        bufOffset = offset;
        next = 0;
        end = ReadAt(offset, buffer.get(), capacity);
    }
};

namespace {

constexpr uint32_t kChunkHeaderBytes = 8;

uint32_t ReadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool ReadExactly(HMMIO handle, void* out, int32_t size)
{
    return mmioRead(handle, out, size) == size;
}

// Reads the header at the current position into chunk.
bool ReadChunkHeader(HMMIO handle, MMCKINFO* chunk)
{
    uint8_t header[kChunkHeaderBytes];
    int64_t start = handle->Position();
    if (!ReadExactly(handle, header, sizeof(header)))
        return false;
    if (start + kChunkHeaderBytes > UINT32_MAX)
        return false;
    chunk->ckid = ReadLe32(header);
    chunk->cksize = ReadLe32(header + 4);
    chunk->dwDataOffset = static_cast<uint32_t>(start + kChunkHeaderBytes);
    chunk->fccType = 0;
    chunk->dwFlags = 0;
    if (chunk->ckid == FOURCC_RIFF || chunk->ckid == FOURCC_LIST) {
        uint8_t type[4];
        if (!ReadExactly(handle, type, sizeof(type)))
            return false;
        chunk->fccType = ReadLe32(type);
    }
    return true;
}

int64_t ChunkEnd(const MMCKINFO* chunk)
{
    return static_cast<int64_t>(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
}

}  // namespace

HMMIO mmioOpen(const char16_t* path, uint32_t flags)
{
    if (!path || (flags & ~MMIO_ALLOCBUF) != MMIO_READ)
        return nullptr;
    std::unique_ptr<MmioFile> handle(new (std::nothrow) MmioFile);
    if (!handle)
        return nullptr;
    if (flags & MMIO_ALLOCBUF) {
        handle->buffer.reset(new (std::nothrow) uint8_t[MMIO_DEFAULTBUFFER]);
        if (!handle->buffer)
            return nullptr;
        handle->capacity = MMIO_DEFAULTBUFFER;
    }
    handle->file = OpenFile(path, "rb");
    if (!handle->file)
        return nullptr;
    return handle.release();
}

MMRESULT mmioClose(HMMIO handle)
{
    if (!handle)
        return MMIOERR_INVALIDPARAM;
    delete handle;
    return MMSYSERR_NOERROR;
}

int32_t mmioRead(HMMIO handle, void* buffer, int32_t size)
{
    if (!handle || !buffer || size < 0)
        return -1;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    if (!handle->buffer) {
        uint32_t got = handle->ReadAt(handle->bufOffset, out, static_cast<uint32_t>(size));
        handle->bufOffset += got;
        return static_cast<int32_t>(got);
    }
    uint32_t wanted = static_cast<uint32_t>(size);
    uint32_t copied = 0;
    while (copied < wanted) {
        if (handle->next == handle->end) {
            handle->FillAt(handle->Position());
            if (handle->end == 0)
                break;
        }
        uint32_t piece = std::min(wanted - copied, handle->end - handle->next);
        memcpy(out + copied, handle->buffer.get() + handle->next, piece);
        handle->next += piece;
        copied += piece;
    }
    return static_cast<int32_t>(copied);
}

int64_t mmioSeek(HMMIO handle, int64_t offset, int origin)
{
    if (!handle)
        return -1;
    int64_t base = 0;
    if (origin == MMIO_SEEK_CUR) {
        base = handle->Position();
    } else if (origin == MMIO_SEEK_END) {
        if (fseeko(handle->file, 0, SEEK_END) != 0)
            return -1;
        base = ftello(handle->file);
    } else if (origin != MMIO_SEEK_SET) {
        return -1;
    }
    int64_t target = base + offset;
    if (base < 0 || target < 0)
        return -1;
    if (handle->buffer && target >= handle->bufOffset && target <= handle->bufOffset + handle->end) {
        handle->next = static_cast<uint32_t>(target - handle->bufOffset);
    } else {
        handle->bufOffset = target;
        handle->next = handle->end = 0;
    }
    return target;
}

MMRESULT mmioDescend(HMMIO handle, MMCKINFO* chunk, const MMCKINFO* parent, uint32_t flags)
{
    if (!handle || !chunk || (flags & ~MMIO_FINDCHUNK) != 0)
        return MMIOERR_INVALIDPARAM;
    int64_t limit = parent ? static_cast<int64_t>(parent->dwDataOffset) + parent->cksize : INT64_MAX;
    if (!(flags & MMIO_FINDCHUNK)) {
        if (handle->Position() + kChunkHeaderBytes > limit || !ReadChunkHeader(handle, chunk))
            return MMIOERR_CHUNKNOTFOUND;
        return MMSYSERR_NOERROR;
    }
    FOURCC wanted = chunk->ckid;
    MMCKINFO found = {};
    while (handle->Position() + kChunkHeaderBytes <= limit) {
        if (!ReadChunkHeader(handle, &found))
            return MMIOERR_CHUNKNOTFOUND;
        if (found.ckid == wanted) {
            *chunk = found;
            return MMSYSERR_NOERROR;
        }
        if (mmioSeek(handle, ChunkEnd(&found), MMIO_SEEK_SET) < 0)
            return MMIOERR_CHUNKNOTFOUND;
    }
    return MMIOERR_CHUNKNOTFOUND;
}

MMRESULT mmioAscend(HMMIO handle, const MMCKINFO* chunk, uint32_t flags)
{
    if (!handle || !chunk || flags != 0)
        return MMIOERR_INVALIDPARAM;
    return mmioSeek(handle, ChunkEnd(chunk), MMIO_SEEK_SET) < 0 ? MMIOERR_CANNOTSEEK : MMSYSERR_NOERROR;
}

MMRESULT mmioGetInfo(HMMIO handle, MMIOINFO* info, uint32_t flags)
{
    if (!handle || !info || flags != 0)
        return MMIOERR_INVALIDPARAM;
    uint8_t* base = handle->buffer.get();
    info->dwFlags = base ? MMIO_ALLOCBUF : 0;
    info->pchBuffer = base;
    info->pchNext = base ? base + handle->next : nullptr;
    info->pchEndRead = base ? base + handle->end : nullptr;
    info->cchBuffer = handle->capacity;
    info->lBufOffset = handle->bufOffset;
    info->lDiskOffset = handle->bufOffset + handle->end;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioSetInfo(HMMIO handle, const MMIOINFO* info, uint32_t flags)
{
    if (!handle || !info || flags != 0)
        return MMIOERR_INVALIDPARAM;
    if (!handle->buffer)
        return MMSYSERR_NOERROR;
    if (info->pchBuffer != handle->buffer.get() || info->pchNext < info->pchBuffer ||
        info->pchNext > info->pchBuffer + handle->end)
        return MMIOERR_INVALIDPARAM;
    handle->next = static_cast<uint32_t>(info->pchNext - info->pchBuffer);
    return MMSYSERR_NOERROR;
}

MMRESULT mmioAdvance(HMMIO handle, MMIOINFO* info, uint32_t flags)
{
    if (!handle || flags != MMIO_READ)
        return MMIOERR_INVALIDPARAM;
    if (!handle->buffer)
        return MMIOERR_UNBUFFERED;
    if (info) {
        MMRESULT taken = mmioSetInfo(handle, info, 0);
        if (taken != MMSYSERR_NOERROR)
            return taken;
    }
    handle->FillAt(handle->bufOffset + handle->end);
    if (ferror(handle->file))
        return MMIOERR_CANNOTREAD;
    return info ? mmioGetInfo(handle, info, 0) : MMSYSERR_NOERROR;
}
