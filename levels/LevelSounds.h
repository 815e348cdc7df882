#pragma once
#include <cstdint>

class CAudio;
struct CWorldData;

// The sound bank entry's loaded sound; null without an audio engine, for no sound (0xFFFF), past
// the bank or while unloaded.
CAudio* LoadedBankSound(CWorldData* data, uint16_t sound);
// Plays LoadedBankSound unless the sound volume is 0.
void PlayLoadedBankSound(CWorldData* data, uint16_t sound);
// Prepares the sound through the world's AddAudio, unless it is none.
void PrepareBankSound(CWorldData* data, uint16_t sound, uint8_t loop);
