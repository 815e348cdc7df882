#pragma once
#include <cstdint>
#include <memory>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "platform/dsound/Mmio.h"
#include "platform/dsound/MmioWaveFormat.h"

struct CWorldData;

// Reads RIFF WAVE sound files: finds the format and the data chunk and hands out the sample
// bytes in order. A second mode reads raw bytes from a block in memory that the caller keeps.
class CWavReader : public CBaseObject {
public:
    explicit CWavReader(CWorldData* data);
    ~CWavReader() override;
    CWavReader(const CWavReader&) = delete;
    CWavReader& operator=(const CWavReader&) = delete;

    virtual Result Init();
    virtual Result Close();
    virtual Result OpenMemory(const uint8_t* address, uint32_t size);
    virtual Result Open(const char16_t* path);
    virtual Result Read(uint8_t* buffer, uint32_t size, uint32_t* count);

    // Back to the first byte of the data (file mode: the "data" chunk is searched again).
    Result ResetFile();

    // The format read by Open (its cbSize extra bytes follow it), or null.
    const WAVEFORMATEX* GetFormat() const { return reinterpret_cast<const WAVEFORMATEX*>(m_format.get()); }
    // Size in bytes of the data chunk found by Open, cut to what the file holds.
    uint32_t GetSize() const { return m_dataSize; }

private:
    Result ReadFormat();
    Result ReadFile(uint8_t* buffer, uint32_t size, uint32_t* count);
    Result ReadMemory(uint8_t* buffer, uint32_t size, uint32_t* count);
    uint32_t BytesInFileAfter(uint32_t offset);

    static constexpr uint32_t kMemoryMode = 1;

    CWorldData* m_pData;
    std::unique_ptr<uint8_t[]> m_format;
    HMMIO m_mmio = nullptr;
    MMCKINFO m_ck = {};      // the data chunk; its size counts down as data is read
    MMCKINFO m_ckRiff = {};  // the RIFF chunk
    uint32_t m_dataSize = 0;
    uint32_t m_mode = 0;
    const uint8_t* m_memoryStart = nullptr;
    const uint8_t* m_memoryCurrent = nullptr;
    uint32_t m_memorySize = 0;
};
