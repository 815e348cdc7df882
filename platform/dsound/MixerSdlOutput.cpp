#include "platform/dsound/MixerOutput.h"

#include <SDL.h>

#include <new>

namespace {

constexpr Uint16 kSdlBufferFrames = 1024;

class CMixerSdlOutput : public CMixerOutput {
public:
    CMixerSdlOutput(const MixerPtr& mixer, SDL_AudioDeviceID device) : m_mixer(mixer), m_device(device) {}

    ~CMixerSdlOutput() override
    {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    CMixerSdlOutput(const CMixerSdlOutput&) = delete;
    CMixerSdlOutput& operator=(const CMixerSdlOutput&) = delete;

    static void Pull(void* user, Uint8* stream, int bytes)
    {
        auto* mixer = static_cast<CAudioMixer*>(user);
        mixer->Mix(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(bytes) / (kMixerChannels * 2));
    }

private:
    MixerPtr m_mixer;
    SDL_AudioDeviceID m_device;
};

}  // namespace

std::unique_ptr<CMixerOutput> OpenSdlMixerOutput(const MixerPtr& mixer)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    SDL_AudioSpec wanted = {};
    wanted.freq = kMixerRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kMixerChannels;
    wanted.samples = kSdlBufferFrames;
    wanted.callback = &CMixerSdlOutput::Pull;
    wanted.userdata = mixer.get();
    SDL_AudioSpec obtained = {};
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    std::unique_ptr<CMixerOutput> output(new (std::nothrow) CMixerSdlOutput(mixer, device));
    if (!output) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(device, 0);
    return output;
}
