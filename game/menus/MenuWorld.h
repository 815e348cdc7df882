#pragma once
#include <cstdint>

#include "base/Result.h"
#include "game/SoundBank.h"

// What the menu dialog asks of the game world beyond the game data.
class CMenuWorld : public CSoundBank {
public:
    virtual void Quit() = 0;
    virtual void ChangeLanguage(uint32_t language) = 0;
    // Hands the game data's volumes to the music and the sounds.
    virtual void ApplyMusicVolume() = 0;
    virtual void ApplySoundVolume() = 0;
    virtual void OpenWebLink(const char16_t* url) = 0;
    virtual Result ToggleFullscreen(uint8_t fullscreen) = 0;
    // True when the screen fader's alpha is exactly 0.
    virtual bool IsFadeOver() const = 0;
    // Writes the options file now: a choice the player made (a profile's name or slot, the volumes,
    // the window, the account) is kept whatever ends the program later.
    virtual Result SaveOptions() = 0;
    // Leaves the slot's profile file of the mode empty and clears its record; with clearName the
    // slot's name too.
    virtual Result ResetProfileSlot(uint32_t mode, uint32_t slot, bool clearName) = 0;

protected:
    ~CMenuWorld() = default;
};
