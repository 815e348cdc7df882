#include "tests/support/platform/MixerManualSink.h"

#include <new>

namespace {

CMixerManualSink* g_latest = nullptr;

}  // namespace

CMixerManualSink::CMixerManualSink(const MixerPtr& mixer) : m_mixer(mixer)
{
    g_latest = this;
}

CMixerManualSink::~CMixerManualSink()
{
    if (g_latest == this)
        g_latest = nullptr;
}

std::vector<int16_t> CMixerManualSink::Pull(uint32_t frames)
{
    std::vector<int16_t> out(static_cast<size_t>(frames) * kMixerChannels);
    m_mixer->Mix(out.data(), frames);
    return out;
}

std::unique_ptr<CMixerOutput> CMixerManualSink::Open(const MixerPtr& mixer)
{
    return std::unique_ptr<CMixerOutput>(new (std::nothrow) CMixerManualSink(mixer));
}

CMixerManualSink* CMixerManualSink::Latest()
{
    return g_latest;
}
