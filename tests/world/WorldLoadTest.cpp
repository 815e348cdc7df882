#include <gtest/gtest.h>

#include <string>

#include "app/ModuleRegistrations.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/Math3D.h"
#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "tests/support/platform/TestSwitches.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldTestModules.h"
#include "world/ModuleRegistry.h"
#include "world/World.h"

namespace {

class WorldLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestModules();
        ASSERT_EQ(m_world.SetParameters(&m_engine, nullptr, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
    }
    void TearDown() override
    {
        EXPECT_EQ(m_world.Release(), RES_OK);
        ResetTestModules();
        ResetTestSwitches();
    }

    Result Load(uint16_t width = 1024, uint16_t height = 768)
    {
        return m_world.Load(nullptr, width, height, 32, 0, 1, 1, 1, u"Data_full_Win32\\", 0xFFFF, 0xFFFF);
    }

    std::u16string Detail() const { return m_world.GetData()->errorDetail; }
    CWorldData* Data() const { return m_world.GetData(); }

    CParamsText m_engine{kEngineSettingsText, kEngineSettingsLength};
    CWorld m_world;
};

} // namespace

TEST_F(WorldLoadTest, WithoutA3DRecordTheMainModuleIsNotRegistered)
{
    EXPECT_EQ(Load(), RES_NO_WINDOW);
    EXPECT_EQ(Detail(), u"The main module is not correctly registered");
    EXPECT_EQ(Data()->lastError, RES_NO_WINDOW);
    EXPECT_TRUE(g_moduleCalls.empty());
}

TEST_F(WorldLoadTest, CreationFailuresOfEachKind)
{
    ChooseTestModule(Data(), kModule3D, CreateNothing);
    EXPECT_EQ(Load(), RES_OUT_OF_MEMORY);
    EXPECT_EQ(Data()->lastError, RES_OUT_OF_MEMORY);
    EXPECT_EQ(Detail(), u"");

    for (uint32_t kind : {kModuleAudio, kModuleInput, kModuleNetwork}) {
        EXPECT_EQ(m_world.Release(), RES_OK);
        Data()->lastError = 0;
        ChooseAllTestModules(Data());
        ChooseTestModule(Data(), kind, CreateNothing);
        EXPECT_EQ(Load(), RES_FAIL) << kind;
        EXPECT_EQ(Data()->lastError, 0) << kind;
    }
}

TEST_F(WorldLoadTest, AModuleOfTheWrongClassCountsAsNotCreated)
{
    ChooseTestModule(Data(), kModule3D, CreateWrongClass);
    EXPECT_EQ(Load(), RES_OUT_OF_MEMORY);
    EXPECT_TRUE(WasCalled("release input"));
    EXPECT_EQ(m_world.Get3DEngine(), nullptr);

    ChooseAllTestModules(Data());
    ChooseTestModule(Data(), kModuleNetwork, CreateWrongClass);
    EXPECT_EQ(Load(), RES_FAIL);
    EXPECT_EQ(m_world.GetNetworkEngine(), nullptr);
}

TEST_F(WorldLoadTest, The3DFailuresAreFatal)
{
    const char* steps[] = {"load", "foging", "point sprite", "lighting"};
    for (const char* step : steps) {
        EXPECT_EQ(m_world.Release(), RES_OK);
        ResetTestModules();
        std::string name = step;
        g_testModules.fail3DLoad = name == "load";
        g_testModules.failFoging = name == "foging";
        g_testModules.failPointSprite = name == "point sprite";
        g_testModules.failLighting = name == "lighting";
        ChooseAllTestModules(Data());
        EXPECT_EQ(Load(), RES_FAIL) << step;
        EXPECT_EQ(WasCalled("audio Load"), name != "load") << step;
    }
}

TEST_F(WorldLoadTest, OptionalModuleLoadFailuresSetTheirDetailAndDropTheModule)
{
    struct Case {
        bool* fail;
        const char* release;
        std::u16string detail;
    };
    Case cases[] = {
        {&g_testModules.failAudioLoad, "release audio", u"No audio device was found"},
        {&g_testModules.failInputLoad, "release input", u"No input device was found"},
        {&g_testModules.failNetworkLoad, "release network", u"No network device was found"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(m_world.Release(), RES_OK);
        ResetTestModules();
        Data()->errorDetail[0] = 0;
        *c.fail = true;
        ChooseAllTestModules(Data());
        EXPECT_EQ(Load(), RES_OK) << c.release;
        EXPECT_EQ(Detail(), c.detail);
        EXPECT_TRUE(WasCalled(c.release)) << c.release;
        EXPECT_NE(m_world.Get3DEngine(), nullptr);
    }
    EXPECT_EQ(m_world.GetNetworkEngine(), nullptr);
    EXPECT_NE(m_world.GetAudioEngine(), nullptr);
    EXPECT_NE(m_world.GetInputEngine(), nullptr);
}

TEST_F(WorldLoadTest, UnchosenOptionalKindsAreSimplyAbsent)
{
    ChooseTestModule(Data(), kModule3D, CreateTest3D);
    EXPECT_EQ(Load(), RES_OK);
    EXPECT_EQ(m_world.GetAudioEngine(), nullptr);
    EXPECT_EQ(m_world.GetInputEngine(), nullptr);
    EXPECT_EQ(m_world.GetNetworkEngine(), nullptr);
}

TEST_F(WorldLoadTest, ASuccessfulLoadSetsUpTheBlockAndTheCamera)
{
    Data()->scaleX = 0.5f;
    Data()->scaleY = 0.75f;
    ChooseAllTestModules(Data());
    ASSERT_EQ(Load(1024, 768), RES_OK);
    CWorldData* data = Data();
    EXPECT_EQ(data->configuredWidth, 1024);
    EXPECT_EQ(data->configuredHeight, 768);
    EXPECT_EQ(data->workingWidth, 512);
    EXPECT_EQ(data->workingHeight, 576);
    EXPECT_EQ(data->renderingEnabled, 1);
    EXPECT_EQ(data->resizable, 1);
    EXPECT_EQ(data->vSync, 1);
    EXPECT_EQ(data->colorDepth, 32);
    EXPECT_EQ(data->orientation, 1u);
    ASSERT_NE(data->math, nullptr);
    ASSERT_NE(data->frameTimer, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(data->math->IsIdentity(&data->matrices[i])) << i;
    EXPECT_TRUE(data->math->IsIdentity(&data->screenView));
    EXPECT_EQ(data->fog.color, 0xFFD4DDEEu);

    EXPECT_LT(CallIndex("3D Load"), CallIndex("audio Load"));
    EXPECT_LT(CallIndex("network Load"), CallIndex("3D FogingInit"));
    EXPECT_LT(CallIndex("3D FogingInit"), CallIndex("3D PointSpriteInit"));
    EXPECT_LT(CallIndex("3D PointSpriteInit"), CallIndex("3D LightingInit 4294967295"));
    EXPECT_FALSE(WasCalled("camera SetGamma"));
    EXPECT_LT(CallIndex("camera ResetView"), CallIndex("camera SetScreenRotation 1"));
    EXPECT_LT(CallIndex("camera SetScreenRotation 1"), CallIndex("camera SetViewport 0 0 512 576"));
}

TEST_F(WorldLoadTest, GammaCorrectionAsksTheCamera)
{
    std::string text = std::string("[GAMMA_CORRECTION]\nGAMMA_CORRECTION_ENABLE = 1\n");
    CParamsText engine(text.c_str(), static_cast<uint32_t>(text.size()));
    ASSERT_EQ(m_world.SetParameters(&engine, nullptr, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
    ChooseTestModule(Data(), kModule3D, CreateTest3D);
    ASSERT_EQ(Load(), RES_OK);
    EXPECT_TRUE(WasCalled("camera SetGamma"));
    EXPECT_EQ(m_world.Release(), RES_OK);
}

TEST_F(WorldLoadTest, ReleaseUnloadsAndReleasesEveryModuleInOrderAndClosesThePak)
{
    TempDir dir;
    std::string pak = dir.Write("main.pak", std::string(16, '\0'));
    std::u16string pakPath = Utf8ToUtf16(pak);
    ASSERT_EQ(m_world.SetParameters(&m_engine, nullptr, nullptr, pakPath.c_str(), 0, FindPackerEntry, nullptr), RES_OK);
    ASSERT_NE(Data()->pak.file, nullptr);
    ChooseAllTestModules(Data());
    ASSERT_EQ(Load(), RES_OK);
    g_moduleCalls.clear();

    EXPECT_EQ(m_world.Release(), RES_OK);
    std::vector<std::string> expected = {"3D Unload",    "release 3D",      "audio Unload",  "release audio",
                                         "input Unload", "release input",   "network Unload", "release network"};
    EXPECT_EQ(g_moduleCalls, expected);
    EXPECT_EQ(Data()->pak.file, nullptr);
    EXPECT_EQ(Data()->math, nullptr);
    EXPECT_EQ(Data()->frameTimer, nullptr);
    EXPECT_EQ(m_world.Get3DEngine(), nullptr);
}

TEST_F(WorldLoadTest, AMissingMainPakGivesItsDetail)
{
    EXPECT_EQ(m_world.SetParameters(&m_engine, nullptr, nullptr, u"nowhere/none.pak", 0, FindPackerEntry, u"x.log"),
              RES_PAK_NOT_OPENED);
    EXPECT_EQ(Detail(), u"Missing file: nowhere/none.pak");
    EXPECT_EQ(std::u16string(Data()->logPath), u"x.log");
}

TEST_F(WorldLoadTest, ADeletedWorldLetsGoOfWhatReleaseDidNot)
{
    auto* world = new CWorld();
    ChooseAllTestModules(world->GetData());
    ASSERT_EQ(RegisterModuleDX81(world), RES_OK);
    ASSERT_EQ(world->Load(nullptr, 640, 480, 32, 0, 0, 0, 1, nullptr, 0, 0), RES_OK);
    g_moduleCalls.clear();
    delete world;
    EXPECT_TRUE(WasCalled("release 3D"));
    EXPECT_TRUE(WasCalled("release network"));
}
