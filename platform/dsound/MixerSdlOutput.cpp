#include "platform/dsound/MixerOutput.h"

#include <SDL.h>

#include <cstring>
#include <fstream>
#include <new>
#include <string>

namespace {

constexpr Uint16 kSdlBufferFrames = 1024;

// ALSA lists its cards there: a line per card, starting with its number.
bool HasSoundCard()
{
    std::ifstream cards("/proc/asound/cards");
    std::string line;
    while (std::getline(cards, line)) {
        size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line[first] >= '0' && line[first] <= '9')
            return true;
    }
    return false;
}

// Without a sound card, SDL's ALSA and sndio drivers can only fail, and ALSA says so at length on
// standard error: SDL then tries its other drivers in its own order, still without the file and
// silent ones it only uses when named. SDL_AUDIODRIVER still decides when set.
void LeaveOutCardDrivers()
{
    if (HasSoundCard())
        return;
    std::string drivers;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
        const char* name = SDL_GetAudioDriver(i);
        for (const char* leftOut : {"alsa", "sndio", "disk", "dummy"}) {
            if (name && strcmp(name, leftOut) == 0)
                name = nullptr;
        }
        if (name)
            drivers += drivers.empty() ? name : std::string(",") + name;
    }
    if (!drivers.empty())
        SDL_SetHint(SDL_HINT_AUDIODRIVER, drivers.c_str());
}

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
    LeaveOutCardDrivers();
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
