#pragma once
#include <cstdint>

class CWorld;

// The start-up settings that start-up fills and the platform dialog edits.
struct CStartupSettings {
    uint8_t ask;  // show the platform dialog
    uint16_t module3D;
    uint16_t moduleAudio;
    uint16_t moduleInput;
    uint16_t moduleNetwork;
    uint16_t width;
    uint16_t height;
    uint8_t colorDepth;
    uint8_t fullscreen;
    uint8_t resizable;
    uint8_t vSync;
    uint8_t forceSettings;  // set only by the dialog
    uint32_t lockMask;      // PlatformDialogLock bits
    uint32_t orientation;
    CWorld* world;  // the platform dialog's world
};
