#include "platform/dsound/DSoundFormat.h"

#include "platform/dsound/DSound.h"

#include <cstring>

namespace {

constexpr uint16_t kExtensibleTag = 0xFFFE;
// Valid bits (u16), channel mask (u32) and the sub-format GUID follow the 18-byte record.
constexpr uint16_t kExtensibleExtraBytes = 22;
constexpr size_t kSubFormatOffset = 6;
// A sub-format GUID as stored: the plain format tag it stands for, then this fixed tail.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The plain format tag of the samples: the tag itself, or an extensible format's sub-format
// (0 when it names none).
uint16_t SampleTagOf(const WAVEFORMATEX& format)
{
    if (format.wFormatTag != kExtensibleTag)
        return format.wFormatTag;
    if (format.cbSize < kExtensibleExtraBytes)
        return 0;
    const uint8_t* extra = reinterpret_cast<const uint8_t*>(&format) + sizeof(WAVEFORMATEX);
    const uint8_t* subFormat = extra + kSubFormatOffset;
    uint16_t validBits = static_cast<uint16_t>(extra[0] | extra[1] << 8);
    if (validBits > format.wBitsPerSample || memcmp(subFormat + 2, kSubFormatTail, sizeof(kSubFormatTail)) != 0)
        return 0;
    return static_cast<uint16_t>(subFormat[0] | subFormat[1] << 8);
}

}  // namespace

bool IsMixablePcm(const WAVEFORMATEX& format)
{
    if (SampleTagOf(format) != WAVE_FORMAT_PCM)
        return false;
    if (format.nChannels != 1 && format.nChannels != 2)
        return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return false;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return false;
    return format.nSamplesPerSec >= DSBFREQUENCY_MIN && format.nSamplesPerSec <= DSBFREQUENCY_MAX;
}
