#pragma once
#include <cstdint>

#include "base/Result.h"

class CStream;

// A part of the game state that a profile file carries after the world's own fields. Each
// owner registers its section with the world (CVadadiDazidevWorld::SetProfileSection).
class CProfileSection {
public:
    virtual ~CProfileSection() = default;
    virtual Result SaveToProfile(CStream& stream) = 0;
    // version: the profile file's version.
    virtual Result LoadFromProfile(CStream& stream, uint16_t version) = 0;
};

// The sections in file order. The scene section (the current level's, then each tooltip's,
// whose results its owner ignores; after reading, a hidden-object level's timed effects are
// reset) is present only while a level is current.
enum ProfileSectionSlot : uint32_t {
    kProfileSectionHint,
    kProfileSectionToolbar,
    kProfileSectionTimer,
    kProfileSectionTooltips,
    kProfileSectionLevels,
    kProfileSectionScenes,
    kProfileSectionCount,
};
