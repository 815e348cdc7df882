#pragma once
#include <memory>

#include "platform/dsound/AudioMixer.h"

// Where a mixer's output goes. The output pulls from the mixer on its own schedule from the
// moment it is opened until it is destroyed.
class CMixerOutput {
public:
    virtual ~CMixerOutput() = default;
};

// Opens an output for a mixer; null means there is no audio output.
using MixerOutputFactory = std::unique_ptr<CMixerOutput> (*)(const MixerPtr& mixer);

// Chooses how new devices open their output; null restores the default (SDL).
void SetMixerOutputFactory(MixerOutputFactory factory);
std::unique_ptr<CMixerOutput> OpenMixerOutput(const MixerPtr& mixer);

// SDL's audio output (16-bit stereo, 44100 Hz), pulling on SDL's audio thread. Null when SDL
// has no audio driver or no device can be opened.
std::unique_ptr<CMixerOutput> OpenSdlMixerOutput(const MixerPtr& mixer);
