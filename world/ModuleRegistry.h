#pragma once
#include <cstddef>
#include <cstdint>

#include "core/ModuleTypes.h"
#include "base/Result.h"

class CBaseObject;
class CWorld;
struct CWorldData;

// Kind bits of a descriptor's code word.
constexpr uint32_t kModuleCode3D = 0x1000000;
constexpr uint32_t kModuleCodeAudio = 0x2000000;
constexpr uint32_t kModuleCodeInput = 0x4000000;
constexpr uint32_t kModuleCodeNetwork = 0x8000000;
// Codes of the 3D renderer rows, which tell the renderer in use.
constexpr uint32_t kModuleCodeDX81 = 0x1000001;
constexpr uint32_t kModuleCodeDX9 = 0x1000002;
constexpr uint32_t kModuleCodeDX10 = 0x1000004;
constexpr uint32_t kModuleCodeDXMobile = 0x1000008;
constexpr uint32_t kModuleCodeOpenGL = 0x1000010;
constexpr uint32_t kModuleCodeOpenGLES = 0x1000020;
constexpr uint32_t kModuleCodeFlash = 0x1000200;

// Ids of the rows of the modules this program registers.
constexpr uint16_t kModuleId3DDX81 = 2;
constexpr uint16_t kModuleId3DOpenGL = 4;
constexpr uint16_t kModuleIdAudioDX81 = 2;
constexpr uint16_t kModuleIdNetworkOS = 1;

// The constant descriptor table of a kind (its rows in id order) and its row count.
const CModuleDescriptor* ModuleDescriptors(uint32_t kind, size_t* count);
// The row of that id, or null.
const CModuleDescriptor* FindModuleDescriptor(uint32_t kind, uint32_t id);

// Appends a new zeroed entry to the kind's null-terminated list; null for a bad kind or no memory.
CModuleEntry* AddModuleEntry(uint32_t kind, CWorldData* data);

// Registers a module of that kind: the descriptor row of the id, the create function and
// ReleaseModule. RES_FAIL without a world, RES_OUT_OF_MEMORY when the list cannot grow.
Result RegisterModule(CWorld* world, uint32_t kind, uint32_t id, ModuleCreate create);

// Release function of every registered module: deletes the instance.
void ReleaseModule(CBaseObject* module);

// Chooses, per kind, the first registered entry of the wanted id. RES_FAIL, lists kept, when no
// 3D module is chosen; otherwise the lists are freed and RES_OK.
Result ValidateModules(uint16_t id3D, uint16_t idAudio, uint16_t idInput, uint16_t idNetwork, CWorldData* data);

// Frees every registered entry and list.
void FreeModuleLists(CWorldData* data);
