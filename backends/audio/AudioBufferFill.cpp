#include "backends/audio/AudioBufferFill.h"

#include "backends/audio/WavReader.h"
#include "platform/dsound/DSound.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr auto kRestorePause = std::chrono::milliseconds(10);

Result RestoreIfLost(IDirectSoundBuffer* buffer)
{
    uint32_t status = 0;
    if (buffer->GetStatus(&status) != DS_OK)
        return RES_FAIL;
    if (!(status & DSBSTATUS_BUFFERLOST))
        return RES_OK;
    for (uint32_t attempt = 0; attempt < kAudioRestoreTries; ++attempt) {
        Result restored = buffer->Restore();
        if (restored == DS_OK)
            return RES_OK;
        if (restored != DSERR_BUFFERLOST)
            return RES_FAIL;
        std::this_thread::sleep_for(kRestorePause);
    }
    return RES_FAIL;
}

// Reads the data again and again after what is already there until the block is full.
Result RepeatInto(CWavReader* reader, uint8_t* block, uint32_t size, uint32_t* filled)
{
    while (*filled < size) {
        uint32_t more = 0;
        if (reader->ResetFile() != RES_OK || reader->Read(block + *filled, size - *filled, &more) != RES_OK)
            return RES_FAIL;
        if (more == 0)
            return RES_OK;
        *filled += more;
    }
    return RES_OK;
}

Result FillLocked(CWavReader* reader, uint8_t* block, uint32_t size, bool repeat)
{
    uint32_t filled = 0;
    if (reader->ResetFile() != RES_OK || reader->Read(block, size, &filled) != RES_OK)
        return RES_FAIL;
    if (filled < size && repeat && RepeatInto(reader, block, size, &filled) != RES_OK)
        return RES_FAIL;
    uint8_t silence = reader->GetFormat()->wBitsPerSample == 8 ? 128 : 0;
    memset(block + filled, silence, size - filled);
    return RES_OK;
}

}  // namespace

Result FillAudioBuffer(IDirectSoundBuffer* buffer, uint32_t size, bool repeat, CWavReader* reader)
{
    if (!buffer || !reader || !reader->GetFormat())
        return RES_FAIL;
    if (RestoreIfLost(buffer) != RES_OK)
        return RES_FAIL;
    void* block = nullptr;
    uint32_t locked = 0;
    if (buffer->Lock(0, size, &block, &locked, nullptr, nullptr, 0) != DS_OK)
        return RES_FAIL;
    Result filled = FillLocked(reader, static_cast<uint8_t*>(block), locked, repeat);
    if (buffer->Unlock(block, locked, nullptr, 0) != DS_OK)
        return RES_FAIL;
    return filled;
}
