#include "platform/dsound/MixerOutput.h"

namespace {

MixerOutputFactory g_factory = nullptr;

}  // namespace

void SetMixerOutputFactory(MixerOutputFactory factory)
{
    g_factory = factory;
}

std::unique_ptr<CMixerOutput> OpenMixerOutput(const MixerPtr& mixer)
{
    return g_factory ? g_factory(mixer) : OpenSdlMixerOutput(mixer);
}
