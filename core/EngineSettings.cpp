#include "core/EngineSettings.h"

#include "core/ParamsReader.h"
#include "base/WideFormat.h"
#include "core/WorldData.h"

namespace {

constexpr size_t kKeyUnits = 64;

struct CColorDefault {
    uint32_t a, r, g, b;
};

// One ARGB word from four keys "<prefix>A", "<prefix>R", "<prefix>G", "<prefix>B", each cut to 8 bits.
uint32_t ReadColor(const CParamsReader& params, const char16_t* section, const char16_t* prefix, CColorDefault value)
{
    char16_t key[kKeyUnits];
    const char16_t channels[] = u"ARGB";
    const uint32_t defaults[] = {value.a, value.r, value.g, value.b};
    uint32_t color = 0;
    for (int i = 0; i < 4; ++i) {
        WFormat(key, kKeyUnits, u"%s%c", prefix, channels[i]);
        color = (color << 8) | (params.GetU32(section, key, defaults[i]) & 0xFF);
    }
    return color;
}

float ReadFloat(const CParamsReader& params, const char16_t* section, const char16_t* key, float value)
{
    return static_cast<float>(params.GetFloat(section, key, value));
}

void SetPair(uint8_t pair[2], uint8_t value)
{
    pair[0] = value;
    pair[1] = value;
}

void ReadFog(CWorldData* data, const CParamsReader& params)
{
    CFogRecord& fog = data->fog;
    SetPair(fog.enable, params.GetBool(u"FOG", u"FOG_ENABLE", 1));
    fog.start = ReadFloat(params, u"FOG", u"FOG_START", 1000.0f);
    fog.end = ReadFloat(params, u"FOG", u"FOG_END", 2000.0f);
    fog.density = ReadFloat(params, u"FOG", u"FOG_DENSITY", 1.0f);
    fog.color = ReadColor(params, u"FOG", u"FOG_COLOR_", {255, 212, 221, 238});
    data->savedFog = fog;
    fog.flag1 = 1;
    fog.tableMode = 0;
    fog.flag2 = 1;
}

void ReadCamera(CWorldData* data, const CParamsReader& params)
{
    data->viewNear = ReadFloat(params, u"CAMERA", u"VIEW_NEAR_DISTANCE", 1.0f);
    data->viewFar = ReadFloat(params, u"CAMERA", u"VIEW_FAR_DISTANCE", 20000.0f);
    data->viewNearScreen = ReadFloat(params, u"CAMERA", u"VIEW_NEAR_DISTANCE_SCREEN", -1000.0f);
    data->viewFarScreen = ReadFloat(params, u"CAMERA", u"VIEW_FAR_DISTANCE_SCREEN", 1000.0f);
    data->viewFieldDeg = ReadFloat(params, u"CAMERA", u"VIEW_DEG_FIELD", 45.0f);
}

struct CLightDefault {
    float position[3];
    float intensity[3];  // diffuse, specular, ambient
    float material[3];
};

void ReadLight(CWorldData* data, const CParamsReader& params, int index, const CLightDefault& value)
{
    static const char16_t* const kAxes[] = {u"X", u"Y", u"Z"};
    static const char16_t* const kTerms[] = {u"DIFFUSE", u"SPECULAR", u"AMBIENT"};
    CLightRecord& light = data->lights[index];
    int number = index + 1;
    char16_t key[kKeyUnits];
    WFormat(key, kKeyUnits, u"LIGHT_%d_ENABLE", number);
    SetPair(light.enable, params.GetBool(u"LIGHT", key, 1));
    WFormat(key, kKeyUnits, u"LIGHT_%d_TYPE", number);
    light.type = params.GetU32(u"LIGHT", key, 1);
    for (int i = 0; i < 3; ++i) {
        WFormat(key, kKeyUnits, u"LIGHT_%d_POS_%s", number, kAxes[i]);
        light.position[i] = ReadFloat(params, u"LIGHT", key, value.position[i]);
    }
    float* intensities[] = {&light.diffuseIntensity, &light.specularIntensity, &light.ambientIntensity};
    float* materials[] = {&light.materialDiffuse, &light.materialSpecular, &light.materialAmbient};
    for (int i = 0; i < 3; ++i) {
        WFormat(key, kKeyUnits, u"LIGHT_%d_%s", number, kTerms[i]);
        *intensities[i] = ReadFloat(params, u"LIGHT", key, value.intensity[i]);
    }
    for (int i = 0; i < 3; ++i) {
        WFormat(key, kKeyUnits, u"MATERIAL_%d_%s", number, kTerms[i]);
        *materials[i] = ReadFloat(params, u"LIGHT", key, value.material[i]);
    }
    data->savedLights[index] = light;
}

void ReadLighting(CWorldData* data, const CParamsReader& params)
{
    ReadLight(data, params, 0, {{-5000.0f, 0.0f, -2000.0f}, {1.0f, 0.6f, 0.3f}, {1.0f, 12.0f, 1.0f}});
    ReadLight(data, params, 1, {{-10000.0f, 8000.0f, -10000.0f}, {1.0f, 0.6f, 0.3f}, {1.0f, 1.0f, 1.0f}});
    SetPair(data->lighting, params.GetBool(u"LIGHT", u"LIGHTING_ENABLE", 1));
    data->clearColor = ReadColor(params, u"LIGHT", u"COLOR_CLEAR_", {0, 150, 150, 150});
    data->ambientColor = ReadColor(params, u"LIGHT", u"AMBIENT_COLOR_", {0, 127, 127, 127});
    SetPair(data->specular, params.GetBool(u"LIGHT", u"SPECULAR_ENABLE", 1));
    SetPair(data->alphaBlending, params.GetBool(u"LIGHT", u"ALPHA_ENABLE", 1));
}

void ReadDisplaySwitches(CWorldData* data, const CParamsReader& params)
{
    data->wireframe = params.GetBool(u"WIREFRAME", u"RENDER_WIREFRAME_ENABLE", 0);
    data->wireframeColor = ReadColor(params, u"WIREFRAME", u"WIREFRAME_COLOR_", {0, 0, 150, 0});
    data->text = params.GetBool(u"TEXT", u"TEXT_ENABLE", 0);
    data->textColor = ReadColor(params, u"TEXT", u"COLOR_TEXT_", {0, 0, 255, 255});
    data->gammaInitial = params.GetU32(u"GAMMA_CORRECTION", u"GAMMA_INITIAL", 128);
    data->gammaRed = params.GetU32(u"GAMMA_CORRECTION", u"GAMMA_CORRECT_RED", 0);
    data->gammaGreen = params.GetU32(u"GAMMA_CORRECTION", u"GAMMA_CORRECT_GREEN", 0);
    data->gammaBlue = params.GetU32(u"GAMMA_CORRECTION", u"GAMMA_CORRECT_BLUE", 0);
}

void ReadPointSprite(CWorldData* data, const CParamsReader& params)
{
    data->pointSpriteMinSize = ReadFloat(params, u"POINT_SPRITE", u"MIN_SIZE", 0.0f);
    data->pointSpriteMaxSize = ReadFloat(params, u"POINT_SPRITE", u"MAX_SIZE", 100.0f);
    data->pointSpriteAttenuation[0] = ReadFloat(params, u"POINT_SPRITE", u"ATTENUATION_0", 1.0f);
    data->pointSpriteAttenuation[1] = ReadFloat(params, u"POINT_SPRITE", u"ATTENUATION_1", 0.0f);
    data->pointSpriteAttenuation[2] = ReadFloat(params, u"POINT_SPRITE", u"ATTENUATION_2", 0.00001f);
}

} // namespace

void ReadEngineSettings(CWorldData* data, const CParamsReader* params)
{
    if (!data)
        return;
    CParamsText empty(nullptr, 0);
    const CParamsReader& reader = params ? *params : empty;
    ReadFog(data, reader);
    ReadCamera(data, reader);
    ReadLighting(data, reader);
    ReadDisplaySwitches(data, reader);
    ReadPointSprite(data, reader);
    SetPair(data->stencilShadow, reader.GetBool(u"STENCIL_SHADOW", u"STENCIL_SHADOW", 1));
    SetPair(data->rendererSwitch, 1);
}
