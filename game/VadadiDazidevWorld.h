#pragma once
#include <cstddef>
#include <cstdint>

#include "world/World.h"
#include "game/GameData.h"

// The game world. So far it does only what start-up and the window need of it: its screens,
// levels and saved state are still to come.
class CVadadiDazidevWorld : public CWorld {
public:
    CVadadiDazidevWorld();

    // CWorld::Load with the same arguments, then the game's loading between host events 14 and 15.
    Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth, uint8_t fullscreen,
                uint8_t resizable, uint8_t vSync, uint32_t orientation, const char16_t* dataFolder,
                uint16_t reserved1, uint16_t reserved2) override;
    Result Release() override;
    // Scales mouse positions into the virtual screen, then records them; RES_FAIL when handled.
    Result OnMessage(CWorldMessage* message) override;
    Result Update() override;
    Result Render() override;
    // The window title: the string table's title once a language is loaded, else the fallback.
    // The application name is not used. Result 0.
    Result GetTitle(const char16_t* appName, const char16_t* fallback, char16_t* out, size_t capacity) override;

    // Reads "options.sav" from the save folder: with the expected version, the saved fullscreen
    // choice goes straight into the data block. RES_OK when read, else RES_FAIL.
    Result LoadOptions(uint16_t expectedVersion) override;

    CGameData* GetGameData() { return &m_GameData; }

protected:
    CGameData m_GameData;

private:
    void ReadAppName();
    bool OptionsPath(char16_t* out, size_t capacity) const;
};
