#pragma once
#include <cstdint>

class CBaseObject;
struct CWorldData;

enum ModuleKind : uint32_t { kModule3D = 0, kModuleAudio = 1, kModuleInput = 2, kModuleNetwork = 3, kModuleKindCount = 4 };

// A constant row of a module kind's descriptor table.
struct CModuleDescriptor {
    uint32_t id;
    const char16_t* shortName;
    const char16_t* longName;
    uint32_t version;
    uint32_t code;
};

using ModuleCreate = CBaseObject* (*)(CWorldData* data);
using ModuleRelease = void (*)(CBaseObject* module);

// A registered module: its row and how to make and destroy its instance.
struct CModuleEntry {
    const CModuleDescriptor* descriptor;
    ModuleCreate create;
    ModuleRelease release;
};
