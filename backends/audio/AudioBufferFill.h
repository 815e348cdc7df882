#pragma once
#include <cstdint>

#include "base/Result.h"

class CWavReader;
class IDirectSoundBuffer;

// Restore attempts for a lost buffer, 10 ms apart, before the fill gives up.
constexpr uint32_t kAudioRestoreTries = 20;

// Restores a lost buffer, then fills its first size bytes from the start of the reader's data;
// what the data does not cover is filled by repeating it (repeat) or with silence.
Result FillAudioBuffer(IDirectSoundBuffer* buffer, uint32_t size, bool repeat, CWavReader* reader);
