#include "backends/audio/WavReader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr FOURCC kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr FOURCC kFormatChunk = MakeFourCC('f', 'm', 't', ' ');
constexpr FOURCC kDataChunk = MakeFourCC('d', 'a', 't', 'a');
constexpr uint32_t kFormatBytes = sizeof(PCMWAVEFORMAT);
constexpr uint32_t kExtendedBytes = sizeof(WAVEFORMATEX);

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(Le16(p)) | static_cast<uint32_t>(Le16(p + 2)) << 16;
}

WAVEFORMATEX ParseFormat(const uint8_t* raw, uint16_t extraSize)
{
    WAVEFORMATEX format;
    format.wFormatTag = Le16(raw);
    format.nChannels = Le16(raw + 2);
    format.nSamplesPerSec = Le32(raw + 4);
    format.nAvgBytesPerSec = Le32(raw + 8);
    format.nBlockAlign = Le16(raw + 12);
    format.wBitsPerSample = Le16(raw + 14);
    format.cbSize = extraSize;
    return format;
}

}  // namespace

CWavReader::CWavReader(CWorldData* data) : m_pData(data)
{
}

CWavReader::~CWavReader()
{
    IgnoreResult(Close());
}

Result CWavReader::Init()
{
    return RES_OK;
}

Result CWavReader::Close()
{
    if (m_mmio) {
        mmioClose(m_mmio);
        m_mmio = nullptr;
    }
    if (m_mode != kMemoryMode)
        m_format.reset();
    m_mode = 0;
    m_memoryStart = m_memoryCurrent = nullptr;
    m_memorySize = 0;
    return RES_OK;
}

Result CWavReader::OpenMemory(const uint8_t* address, uint32_t size)
{
    IgnoreResult(Close());
    m_mode = kMemoryMode;
    m_memoryStart = m_memoryCurrent = address;
    m_memorySize = address ? size : 0;
    return RES_OK;
}

Result CWavReader::Open(const char16_t* path)
{
    IgnoreResult(Close());
    m_dataSize = 0;
    m_mmio = mmioOpen(path, MMIO_READ | MMIO_ALLOCBUF);
    if (!m_mmio)
        return RES_FAIL;
    if (ReadFormat() != RES_OK || ResetFile() != RES_OK || m_ck.cksize == 0) {
        IgnoreResult(Close());
        return RES_FAIL;
    }
    m_dataSize = m_ck.cksize;
    return RES_OK;
}

Result CWavReader::ReadFormat()
{
    m_format.reset();
    if (mmioDescend(m_mmio, &m_ckRiff, nullptr, 0) != MMSYSERR_NOERROR)
        return RES_FAIL;
    if (m_ckRiff.ckid != FOURCC_RIFF || m_ckRiff.fccType != kWave)
        return RES_FAIL;
    MMCKINFO chunk = {};
    chunk.ckid = kFormatChunk;
    if (mmioDescend(m_mmio, &chunk, &m_ckRiff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || chunk.cksize < kFormatBytes)
        return RES_FAIL;
    uint8_t raw[kFormatBytes];
    if (mmioRead(m_mmio, raw, kFormatBytes) != static_cast<int32_t>(kFormatBytes))
        return RES_FAIL;
    uint16_t extraSize = 0;
    if (Le16(raw) != WAVE_FORMAT_PCM && chunk.cksize >= kExtendedBytes) {
        uint8_t sizeField[2];
        if (mmioRead(m_mmio, sizeField, 2) != 2)
            return RES_FAIL;
        extraSize = Le16(sizeField);
        if (extraSize > chunk.cksize - kExtendedBytes)
            return RES_FAIL;
    }
    std::unique_ptr<uint8_t[]> format(new (std::nothrow) uint8_t[kExtendedBytes + extraSize]);
    if (!format)
        return RES_FAIL;
    WAVEFORMATEX header = ParseFormat(raw, extraSize);
    memcpy(format.get(), &header, kExtendedBytes);
    if (extraSize > 0 && mmioRead(m_mmio, format.get() + kExtendedBytes, extraSize) != extraSize)
        return RES_FAIL;
    if (mmioAscend(m_mmio, &chunk, 0) != MMSYSERR_NOERROR)
        return RES_FAIL;
    m_format = std::move(format);
    return RES_OK;
}

uint32_t CWavReader::BytesInFileAfter(uint32_t offset)
{
    int64_t position = mmioSeek(m_mmio, 0, MMIO_SEEK_CUR);
    int64_t end = mmioSeek(m_mmio, 0, MMIO_SEEK_END);
    mmioSeek(m_mmio, position, MMIO_SEEK_SET);
    if (end <= offset)
        return 0;
    return static_cast<uint32_t>(std::min<int64_t>(end - offset, UINT32_MAX));
}

Result CWavReader::ResetFile()
{
    if (m_mode == kMemoryMode) {
        m_memoryCurrent = m_memoryStart;
        return RES_OK;
    }
    if (!m_mmio)
        return RES_FAIL;
    if (mmioSeek(m_mmio, static_cast<int64_t>(m_ckRiff.dwDataOffset) + 4, MMIO_SEEK_SET) < 0)
        return RES_FAIL;
    m_ck.ckid = kDataChunk;
    if (mmioDescend(m_mmio, &m_ck, &m_ckRiff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return RES_FAIL;
    m_ck.cksize = std::min(m_ck.cksize, BytesInFileAfter(m_ck.dwDataOffset));
    return RES_OK;
}

Result CWavReader::Read(uint8_t* buffer, uint32_t size, uint32_t* count)
{
    return m_mode == kMemoryMode ? ReadMemory(buffer, size, count) : ReadFile(buffer, size, count);
}

Result CWavReader::ReadFile(uint8_t* buffer, uint32_t size, uint32_t* count)
{
    if (!buffer || !count || !m_mmio)
        return RES_FAIL;
    *count = 0;
    MMIOINFO info;
    if (mmioGetInfo(m_mmio, &info, 0) != MMSYSERR_NOERROR)
        return RES_FAIL;
    uint32_t wanted = std::min(size, m_ck.cksize);
    uint32_t copied = 0;
    while (copied < wanted) {
        if (info.pchNext == info.pchEndRead &&
            (mmioAdvance(m_mmio, &info, MMIO_READ) != MMSYSERR_NOERROR || info.pchNext == info.pchEndRead))
            break;
        uint32_t piece = std::min(wanted - copied, static_cast<uint32_t>(info.pchEndRead - info.pchNext));
        memcpy(buffer + copied, info.pchNext, piece);
        info.pchNext += piece;
        copied += piece;
    }
    m_ck.cksize -= copied;
    if (mmioSetInfo(m_mmio, &info, 0) != MMSYSERR_NOERROR || copied < wanted)
        return RES_FAIL;
    *count = copied;
    return RES_OK;
}

Result CWavReader::ReadMemory(uint8_t* buffer, uint32_t size, uint32_t* count)
{
    if (!m_memoryCurrent || !buffer || !count)
        return RES_FAIL;
    uint32_t left = m_memorySize - static_cast<uint32_t>(m_memoryCurrent - m_memoryStart);
    uint32_t n = std::min(size, left);
    memcpy(buffer, m_memoryCurrent, n);
    m_memoryCurrent += n;
    *count = n;
    return RES_OK;
}
