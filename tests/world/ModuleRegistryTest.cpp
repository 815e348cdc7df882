#include <gtest/gtest.h>

#include <string>

#include "app/ModuleRegistrations.h"
#include "world/ModuleRegistry.h"
#include "world/World.h"

namespace {

class ModuleRegistryTest : public ::testing::Test {
protected:
    void RegisterAll()
    {
        EXPECT_EQ(RegisterModuleDX81(&m_world), RES_OK);
        EXPECT_EQ(RegisterModuleOpenGL(&m_world), RES_OK);
        EXPECT_EQ(RegisterModuleDirectSound(&m_world), RES_OK);
        EXPECT_EQ(RegisterModuleNetworkOS(&m_world), RES_OK);
    }

    std::u16string ChosenName(uint32_t kind) const
    {
        const CModuleDescriptor* row = Data()->chosenModules[kind].descriptor;
        return row ? row->longName : u"(none)";
    }

    CWorldData* Data() const { return m_world.GetData(); }

    CWorld m_world;
};

size_t Length(CModuleEntry** list)
{
    size_t length = 0;
    while (list && list[length])
        ++length;
    return length;
}

} // namespace

TEST_F(ModuleRegistryTest, EntriesAppendToANullTerminatedList)
{
    CModuleEntry* first = AddModuleEntry(kModuleAudio, Data());
    CModuleEntry* second = AddModuleEntry(kModuleAudio, Data());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->descriptor, nullptr);
    EXPECT_EQ(first->create, nullptr);
    CModuleEntry** list = Data()->registeredModules[kModuleAudio];
    EXPECT_EQ(list[0], first);
    EXPECT_EQ(list[1], second);
    EXPECT_EQ(list[2], nullptr);
    EXPECT_EQ(AddModuleEntry(kModuleKindCount, Data()), nullptr);
    EXPECT_EQ(AddModuleEntry(kModule3D, nullptr), nullptr);
    FreeModuleLists(Data());
    for (CModuleEntry** kindList : Data()->registeredModules)
        EXPECT_EQ(kindList, nullptr);
}

TEST_F(ModuleRegistryTest, RegistrationOrderAndRecords)
{
    RegisterAll();
    CModuleEntry** renderers = Data()->registeredModules[kModule3D];
    ASSERT_EQ(Length(renderers), 2u);
    EXPECT_EQ(renderers[0]->descriptor->id, 2u);
    EXPECT_EQ(renderers[1]->descriptor->id, 4u);
    EXPECT_EQ(renderers[0]->release, ReleaseModule);
    EXPECT_EQ(Length(Data()->registeredModules[kModuleAudio]), 1u);
    EXPECT_EQ(Length(Data()->registeredModules[kModuleInput]), 0u);
    EXPECT_EQ(Length(Data()->registeredModules[kModuleNetwork]), 1u);
}

TEST_F(ModuleRegistryTest, TheBuiltInIdsValidate)
{
    RegisterAll();
    ASSERT_EQ(ValidateModules(2, 2, 0, 1, Data()), RES_OK);
    EXPECT_EQ(ChosenName(kModule3D), u"DirectX 8.1");
    EXPECT_EQ(ChosenName(kModuleAudio), u"DirectX Audio 8.1");
    EXPECT_EQ(ChosenName(kModuleInput), u"(none)");
    EXPECT_EQ(ChosenName(kModuleNetwork), u"Default OS Network");
    for (CModuleEntry** list : Data()->registeredModules)
        EXPECT_EQ(list, nullptr);
}

TEST_F(ModuleRegistryTest, OpenGLAndADisabledAudio)
{
    RegisterAll();
    ASSERT_EQ(ValidateModules(4, 0, 0, 1, Data()), RES_OK);
    EXPECT_EQ(ChosenName(kModule3D), u"OpenGL 1.2");
    EXPECT_EQ(ChosenName(kModuleAudio), u"(none)");
    EXPECT_EQ(Data()->chosenModules[kModuleAudio].create, nullptr);
}

TEST_F(ModuleRegistryTest, NoRendererFailsAndKeepsTheLists)
{
    RegisterAll();
    EXPECT_EQ(ValidateModules(1, 2, 0, 1, Data()), RES_FAIL);
    EXPECT_EQ(ChosenName(kModuleAudio), u"DirectX Audio 8.1");
    EXPECT_EQ(ChosenName(kModule3D), u"(none)");
    EXPECT_EQ(Length(Data()->registeredModules[kModule3D]), 2u);
    EXPECT_EQ(ValidateModules(4, 2, 0, 1, Data()), RES_OK);
}

TEST_F(ModuleRegistryTest, CalledTwiceKeepsTheFirstChoice)
{
    RegisterAll();
    ASSERT_EQ(ValidateModules(2, 2, 0, 1, Data()), RES_OK);
    EXPECT_EQ(ValidateModules(4, 0, 0, 0, Data()), RES_OK);
    EXPECT_EQ(ChosenName(kModule3D), u"DirectX 8.1");
    EXPECT_EQ(ChosenName(kModuleAudio), u"DirectX Audio 8.1");
    EXPECT_EQ(ChosenName(kModuleNetwork), u"Default OS Network");
}
