#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/BuiltinSettings.h"
#include "core/EngineSettings.h"
#include "core/ParamsReader.h"
#include "core/WorldData.h"

namespace {

std::unique_ptr<CWorldData> ReadFrom(const std::string& text)
{
    auto data = std::make_unique<CWorldData>();
    CParamsText params(text.c_str(), static_cast<uint32_t>(text.size()));
    ReadEngineSettings(data.get(), &params);
    return data;
}

bool SameLight(const CLightRecord& a, const CLightRecord& b)
{
    return a.enable[0] == b.enable[0] && a.enable[1] == b.enable[1] && a.type == b.type &&
           memcmp(a.position, b.position, sizeof(a.position)) == 0 && a.diffuseIntensity == b.diffuseIntensity &&
           a.specularIntensity == b.specularIntensity && a.ambientIntensity == b.ambientIntensity &&
           a.materialDiffuse == b.materialDiffuse && a.materialSpecular == b.materialSpecular &&
           a.materialAmbient == b.materialAmbient;
}

} // namespace

TEST(EngineSettingsTest, TheBuiltInTextGivesTheDocumentedValues)
{
    auto data = ReadFrom(std::string(kEngineSettingsText, kEngineSettingsLength));
    EXPECT_EQ(data->fog.color, 0xFFD4DDEEu);
    EXPECT_EQ(data->clearColor, 0x00969696u);
    EXPECT_EQ(data->ambientColor, 0x007F7F7Fu);
    EXPECT_EQ(data->wireframeColor, 0x00009600u);
    EXPECT_EQ(data->textColor, 0x0000FFFFu);
    EXPECT_EQ(data->fog.start, 1000.0f);
    EXPECT_EQ(data->fog.end, 2000.0f);
    EXPECT_EQ(data->viewFar, 20000.0f);
    EXPECT_EQ(data->viewNearScreen, -1000.0f);
    EXPECT_EQ(data->viewFieldDeg, 45.0f);
    EXPECT_EQ(data->lights[0].position[0], -5000.0f);
    EXPECT_EQ(data->lights[0].materialSpecular, 12.0f);
    EXPECT_EQ(data->lights[1].position[1], 8000.0f);
    EXPECT_FLOAT_EQ(data->lights[1].specularIntensity, 0.6f);
    EXPECT_EQ(data->gammaInitial, 128u);
    EXPECT_FLOAT_EQ(data->pointSpriteAttenuation[2], 0.00001f);
    EXPECT_EQ(data->pointSpriteMaxSize, 100.0f);
    EXPECT_EQ(data->wireframe, 0);
    EXPECT_EQ(data->text, 0);
    for (const uint8_t* pair : {data->lighting, data->specular, data->alphaBlending, data->stencilShadow,
                                data->rendererSwitch, data->fog.enable, data->lights[0].enable}) {
        EXPECT_EQ(pair[0], 1);
        EXPECT_EQ(pair[1], 1);
    }
}

TEST(EngineSettingsTest, AnEmptyOrMissingReaderGivesTheDefaults)
{
    auto fromEmpty = ReadFrom("");
    auto fromNull = std::make_unique<CWorldData>();
    ReadEngineSettings(fromNull.get(), nullptr);
    for (CWorldData* data : {fromEmpty.get(), fromNull.get()}) {
        EXPECT_EQ(data->fog.color, 0xFFD4DDEEu);
        EXPECT_EQ(data->clearColor, 0x00969696u);
        EXPECT_EQ(data->lights[1].materialSpecular, 1.0f);
        EXPECT_EQ(data->lights[0].type, 1u);
        EXPECT_EQ(data->fog.density, 1.0f);
    }
}

TEST(EngineSettingsTest, ColoursAreFourChannelsOfEightBits)
{
    auto data = ReadFrom("[LIGHT]\nCOLOR_CLEAR_A = 1\nCOLOR_CLEAR_R = 2\nCOLOR_CLEAR_G = 3\nCOLOR_CLEAR_B = 4\n"
                         "AMBIENT_COLOR_R = 511\n\n[TEXT]\nCOLOR_TEXT_A = 255\n");
    EXPECT_EQ(data->clearColor, 0x01020304u);
    EXPECT_EQ(data->ambientColor, 0x00FF7F7Fu);
    EXPECT_EQ(data->textColor, 0xFF00FFFFu);
}

TEST(EngineSettingsTest, SavedCopiesKeepTheReadRecords)
{
    auto data = ReadFrom("[FOG]\nFOG_ENABLE = 0\nFOG_START = 5.5\n\n[LIGHT]\nLIGHT_2_ENABLE = 0\nLIGHT_2_TYPE = 0\n"
                         "LIGHT_2_POS_Z = 7.0\nMATERIAL_1_AMBIENT = 0.25\n");
    EXPECT_EQ(data->fog.enable[0], 0);
    EXPECT_EQ(data->savedFog.enable[1], 0);
    EXPECT_EQ(data->savedFog.start, 5.5f);
    EXPECT_EQ(data->savedFog.color, data->fog.color);
    EXPECT_EQ(data->fog.flag1, 1);
    EXPECT_EQ(data->fog.tableMode, 0u);
    EXPECT_EQ(data->fog.flag2, 1);
    EXPECT_EQ(data->savedFog.flag1, 0);
    EXPECT_EQ(data->savedFog.flag2, 0);
    EXPECT_TRUE(SameLight(data->lights[0], data->savedLights[0]));
    EXPECT_TRUE(SameLight(data->lights[1], data->savedLights[1]));
    EXPECT_EQ(data->savedLights[1].type, 0u);
    EXPECT_EQ(data->savedLights[1].position[2], 7.0f);
    EXPECT_EQ(data->savedLights[0].materialAmbient, 0.25f);
}
