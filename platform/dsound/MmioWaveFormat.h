#pragma once
#include <cstdint>

// Wave format records as RIFF "fmt " chunks store them (little-endian, no padding).
constexpr uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 2)
// The 16 bytes every "fmt " chunk starts with.
struct PCMWAVEFORMAT {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
};

// The format with its extra-size field; cbSize extra bytes follow it in memory.
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};
#pragma pack(pop)

static_assert(sizeof(PCMWAVEFORMAT) == 16, "PCMWAVEFORMAT is 16 bytes");
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is 18 bytes");
