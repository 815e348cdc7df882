#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/dsound/MixerOutput.h"

// An output that mixes only when pulled: deterministic samples, no thread, no clock.
// Install it with SetMixerOutputFactory(&CMixerManualSink::Open); Latest() is the sink of the
// device opened last, while it lives.
class CMixerManualSink : public CMixerOutput {
public:
    explicit CMixerManualSink(const MixerPtr& mixer);
    ~CMixerManualSink() override;
    CMixerManualSink(const CMixerManualSink&) = delete;
    CMixerManualSink& operator=(const CMixerManualSink&) = delete;

    // The next frames of 16-bit stereo, interleaved left, right.
    std::vector<int16_t> Pull(uint32_t frames);

    static std::unique_ptr<CMixerOutput> Open(const MixerPtr& mixer);
    static CMixerManualSink* Latest();

private:
    MixerPtr m_mixer;
};
