#include "world/ModuleRegistry.h"

#include <cstdlib>

#include "base/BaseObject.h"
#include "world/World.h"
#include "core/WorldData.h"

namespace {

constexpr CModuleDescriptor k3DRows[] = {
    {0, u"DX10", u"DirectX 10.0", 0x10000, kModuleCodeDX10},
    {1, u"DX9", u"DirectX 9.0", 0x10000, kModuleCodeDX9},
    {2, u"DX81", u"DirectX 8.1", 0x10000, kModuleCodeDX81},
    {3, u"DXM", u"DirectX Mobile", 0x10000, kModuleCodeDXMobile},
    {4, u"GL", u"OpenGL 1.2", 0x10000, kModuleCodeOpenGL},
    {5, u"GLES", u"OpenGLES 1.1", 0x10000, kModuleCodeOpenGLES},
    {6, u"eV3D", u"zUzozo3D eV3D", 0x10000, 0x1000040},
    {7, u"PSGL", u"PS OpenGLES", 0x10000, 0x1000080},
    {8, u"PSPGU", u"PSP GU", 0x10000, 0x1000100},
    {9, u"FLASH", u"Flash AS3", 0x10000, kModuleCodeFlash},
};

constexpr CModuleDescriptor kAudioRows[] = {
    {0, u"", u"-Disabled-", 0, 0x2000000},
    {1, u"OS", u"Default OS Audio", 0x10000, 0x2010000},
    {2, u"DX81", u"DirectX Audio 8.1", 0x10000, 0x2020000},
    {3, u"AL1", u"OpenAL 1.0", 0x10000, 0x2040000},
    {4, u"FMOD4", u"FMOD 4", 0x10000, 0x2080000},
};

constexpr CModuleDescriptor kInputRows[] = {
    {0, u"", u"-Disabled-", 0, 0x4000000},
    {1, u"OS", u"Default OS Input", 0x10000, 0x4100000},
    {2, u"DX81", u"DirectX Input 8.1", 0x10000, 0x4200000},
};

constexpr CModuleDescriptor kNetworkRows[] = {
    {0, u"", u"-Disabled-", 0, 0x8000000},
    {1, u"OS", u"Default OS Network", 0x10000, 0x8400000},
};

struct CDescriptorTable {
    const CModuleDescriptor* rows;
    size_t count;
};

constexpr CDescriptorTable kTables[kModuleKindCount] = {
    {k3DRows, sizeof(k3DRows) / sizeof(k3DRows[0])},
    {kAudioRows, sizeof(kAudioRows) / sizeof(kAudioRows[0])},
    {kInputRows, sizeof(kInputRows) / sizeof(kInputRows[0])},
    {kNetworkRows, sizeof(kNetworkRows) / sizeof(kNetworkRows[0])},
};

size_t ListLength(CModuleEntry* const* list)
{
    size_t length = 0;
    while (list && list[length])
        ++length;
    return length;
}

void ChooseModule(CWorldData* data, uint32_t kind, uint16_t id)
{
    CModuleEntry** list = data->registeredModules[kind];
    for (size_t i = 0; list && list[i]; ++i) {
        if (list[i]->descriptor && list[i]->descriptor->id == id) {
            data->chosenModules[kind] = *list[i];
            return;
        }
    }
}

} // namespace

const CModuleDescriptor* ModuleDescriptors(uint32_t kind, size_t* count)
{
    if (kind >= kModuleKindCount) {
        if (count)
            *count = 0;
        return nullptr;
    }
    if (count)
        *count = kTables[kind].count;
    return kTables[kind].rows;
}

const CModuleDescriptor* FindModuleDescriptor(uint32_t kind, uint32_t id)
{
    size_t count = 0;
    const CModuleDescriptor* rows = ModuleDescriptors(kind, &count);
    return id < count ? &rows[id] : nullptr;
}

CModuleEntry* AddModuleEntry(uint32_t kind, CWorldData* data)
{
    if (!data || kind >= kModuleKindCount)
        return nullptr;
    CModuleEntry** list = data->registeredModules[kind];
    size_t length = ListLength(list);
    auto* entry = static_cast<CModuleEntry*>(calloc(1, sizeof(CModuleEntry)));
    if (!entry)
        return nullptr;
    auto* grown = static_cast<CModuleEntry**>(realloc(list, (length + 2) * sizeof(CModuleEntry*)));
    if (!grown) {
        free(entry);
        return nullptr;
    }
    grown[length] = entry;
    grown[length + 1] = nullptr;
    data->registeredModules[kind] = grown;
    return entry;
}

Result RegisterModule(CWorld* world, uint32_t kind, uint32_t id, ModuleCreate create)
{
    if (!world)
        return RES_FAIL;
    CModuleEntry* entry = AddModuleEntry(kind, world->GetData());
    if (!entry)
        return RES_OUT_OF_MEMORY;
    entry->descriptor = FindModuleDescriptor(kind, id);
    entry->create = create;
    entry->release = ReleaseModule;
    return RES_OK;
}

void ReleaseModule(CBaseObject* module)
{
    delete module;
}

Result ValidateModules(uint16_t id3D, uint16_t idAudio, uint16_t idInput, uint16_t idNetwork, CWorldData* data)
{
    if (!data)
        return RES_FAIL;
    ChooseModule(data, kModuleAudio, idAudio);
    ChooseModule(data, kModuleInput, idInput);
    ChooseModule(data, kModuleNetwork, idNetwork);
    ChooseModule(data, kModule3D, id3D);
    if (!data->chosenModules[kModule3D].descriptor)
        return RES_FAIL;
    FreeModuleLists(data);
    return RES_OK;
}

void FreeModuleLists(CWorldData* data)
{
    if (!data)
        return;
    for (CModuleEntry**& list : data->registeredModules) {
        for (size_t i = 0; list && list[i]; ++i)
            free(list[i]);
        free(list);
        list = nullptr;
    }
}
