#pragma once
#include "platform/dsound/MmioWaveFormat.h"

// PCM the mixer plays: 1 or 2 channels of 8 or 16 bits, a block of one frame, a rate within
// the buffer frequency range. An extensible format (its cbSize extra bytes following it) counts
// when its sub-format is PCM; IEEE float and every other sub-format are refused.
bool IsMixablePcm(const WAVEFORMATEX& format);
