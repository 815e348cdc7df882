#pragma once
#include <cstdint>
#include <memory>

#include "game/LevelAction.h"

constexpr uint16_t kNoSound = 0xFFFF;
constexpr int32_t kNoPopup = -1;
constexpr uint32_t kBackgroundNameBytes = 260;
constexpr uint32_t kStartActionCount = 6;
constexpr uint32_t kLeaveActionCount = 7;
constexpr uint32_t kTimedEffectCount = 2;

// A pop-up of a scene record; shown is run-time state (kept in saves).
struct CLevelPopupGroup {
    int32_t popupId;  // kNoPopup: none
    uint8_t repeat;
    uint32_t value;
    uint8_t shown;
};

// A randomly timed sound of a scene record; fired is run-time state.
struct CLevelTimedEffect {
    float minFrames;
    float maxFrames;
    uint16_t soundId;  // kNoSound: none
    uint8_t loop;
    uint8_t fired;
};

// One scene record of a level, in description order. The level owns its actions and pair sounds.
struct CLevelRecord {
    uint8_t clickPenaltyFree;
    uint32_t cameraMode;
    uint8_t dragEnabled;
    uint8_t cameraDraggable;
    uint8_t toolbarHidden;  // also pauses the hint's recharge and locks the player's help
    uint8_t toolbarHeightIgnored;
    uint32_t value0C;
    float zoom;
    uint16_t introSound;
    CLevelPopupGroup introPopup;
    char backgroundName[kBackgroundNameBytes];  // 8-bit, zero-padded
    CLevelPopupGroup startPopup;
    // show objects, hide objects, disable objects, enable objects, hide tooltips, show tooltips
    std::unique_ptr<CLevelAction> startActions[kStartActionCount];
    CLevelPopupGroup popupGroup3;
    uint16_t soundId;
    CLevelPopupGroup leavePopup;
    // hide tooltips, show tooltips, record switch, show objects, hide objects, disable objects,
    // enable objects
    std::unique_ptr<CLevelAction> leaveActions[kLeaveActionCount];
    CLevelTimedEffect effects[kTimedEffectCount];
    std::unique_ptr<uint16_t[]> pairSounds;  // one per click target, none without targets
};
