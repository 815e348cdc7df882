#pragma once
#include "platform/dsound/MmioWaveFormat.h"

// PCM the mixer plays: 1 or 2 channels of 8 or 16 bits, a block of one frame, a rate within
// the buffer frequency range.
bool IsMixablePcm(const WAVEFORMATEX& format);
