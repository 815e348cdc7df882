#pragma once
#include <cstdint>

struct CWorldData;

// The world's sound bank as the menus and widgets reach it.
class CSoundBank {
public:
    // Readies an entry: loaded on first use, loop mode and sound volume set, marked used, so that
    // the next sweep keeps it.
    virtual void AddAudio(uint16_t sound, uint8_t loop) = 0;

protected:
    ~CSoundBank() = default;
};

// The bank of the game world that the engine data block belongs to; null without one.
CSoundBank* SoundBankOf(const CWorldData* data);
