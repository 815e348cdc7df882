#pragma once
#include <cstdint>

// Multimedia file functions: buffered reading of RIFF files by chunks.
// Read-only; paths go through base/FileSystem (backslashes, any letter case).

using MMRESULT = uint32_t;
using FOURCC = uint32_t;

struct MmioFile;
using HMMIO = MmioFile*;

constexpr FOURCC MakeFourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = MakeFourCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = MakeFourCC('L', 'I', 'S', 'T');

// Results.
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMIOERR_FILENOTFOUND = 257;
constexpr MMRESULT MMIOERR_OUTOFMEMORY = 258;
constexpr MMRESULT MMIOERR_CANNOTREAD = 261;
constexpr MMRESULT MMIOERR_CANNOTSEEK = 263;
constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;
constexpr MMRESULT MMIOERR_UNBUFFERED = 266;
constexpr MMRESULT MMIOERR_INVALIDPARAM = 267;

// Open flags: reading is the only mode; MMIO_ALLOCBUF gives the handle its own buffer.
constexpr uint32_t MMIO_READ = 0x0000;
constexpr uint32_t MMIO_ALLOCBUF = 0x10000;
constexpr uint32_t MMIO_DEFAULTBUFFER = 8192;

// Descend flag: search the parent for a chunk of the given id.
constexpr uint32_t MMIO_FINDCHUNK = 0x0010;

// Seek origins.
constexpr int MMIO_SEEK_SET = 0;
constexpr int MMIO_SEEK_CUR = 1;
constexpr int MMIO_SEEK_END = 2;

// One chunk: dwDataOffset is the file offset of the chunk's data (for "RIFF" and "LIST"
// chunks the form type is the first four bytes of it).
struct MMCKINFO {
    FOURCC ckid;
    uint32_t cksize;
    FOURCC fccType;
    uint32_t dwDataOffset;
    uint32_t dwFlags;
};

// The handle's buffer state, for reading the buffer directly: bytes from pchNext up to
// pchEndRead are the file's bytes at lBufOffset + (pchNext - pchBuffer).
struct MMIOINFO {
    uint32_t dwFlags;
    uint8_t* pchBuffer;
    uint8_t* pchNext;
    uint8_t* pchEndRead;
    uint32_t cchBuffer;
    int64_t lBufOffset;
    int64_t lDiskOffset;
};

// Null when the file cannot be opened or the flags ask for anything but reading.
HMMIO mmioOpen(const char16_t* path, uint32_t flags);
MMRESULT mmioClose(HMMIO handle);

// Bytes read (0 at the end of the file), or -1.
int32_t mmioRead(HMMIO handle, void* buffer, int32_t size);

// The new position, or -1 (a negative target leaves the position unchanged).
int64_t mmioSeek(HMMIO handle, int64_t offset, int origin);

// Without MMIO_FINDCHUNK: reads the chunk header at the current position. With it: searches
// from the current position for chunk->ckid, skipping other chunks (padded to even sizes),
// within parent's data when parent is given. On success the position is at the chunk's data
// (after the form type for "RIFF" and "LIST").
MMRESULT mmioDescend(HMMIO handle, MMCKINFO* chunk, const MMCKINFO* parent, uint32_t flags);

// Moves to the end of the chunk, past its pad byte.
MMRESULT mmioAscend(HMMIO handle, const MMCKINFO* chunk, uint32_t flags);

// Direct buffer access: GetInfo hands out the buffer state, Advance refills the buffer with the
// bytes after it, SetInfo takes the state (pchNext) back.
MMRESULT mmioGetInfo(HMMIO handle, MMIOINFO* info, uint32_t flags);
MMRESULT mmioSetInfo(HMMIO handle, const MMIOINFO* info, uint32_t flags);
MMRESULT mmioAdvance(HMMIO handle, MMIOINFO* info, uint32_t flags);
