#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

enum class Kind { Bool, U8, U16, U32, Float };

struct KeyDefault {
    const char16_t* section;
    const char16_t* key;
    Kind kind;
    double value;
};

// Every key start-up and the world read from the engine text, with the default of its table.
const KeyDefault kEngineKeys[] = {
    {u"WORLD", u"ASK_ME_ON_START", Kind::Bool, 0}, {u"WORLD", u"WIDTH", Kind::U16, 1024},
    {u"WORLD", u"HEIGHT", Kind::U16, 768}, {u"WORLD", u"COLOR_DEPTH", Kind::U8, 32},
    {u"WORLD", u"FULLSCREEN", Kind::Bool, 1}, {u"WORLD", u"V_SYNC_ENABLE", Kind::Bool, 1},
    {u"WORLD", u"RESIZABLE", Kind::Bool, 0}, {u"WORLD", u"FRAME_TIMER", Kind::U32, 0},
    {u"WORLD", u"SLEEP_TIMER", Kind::U32, 0},
    {u"FOG", u"FOG_ENABLE", Kind::Bool, 1}, {u"FOG", u"FOG_START", Kind::Float, 1000.0},
    {u"FOG", u"FOG_END", Kind::Float, 2000.0}, {u"FOG", u"FOG_DENSITY", Kind::Float, 1.0},
    {u"FOG", u"FOG_COLOR_A", Kind::U32, 255}, {u"FOG", u"FOG_COLOR_R", Kind::U32, 212},
    {u"FOG", u"FOG_COLOR_G", Kind::U32, 221}, {u"FOG", u"FOG_COLOR_B", Kind::U32, 238},
    {u"CAMERA", u"VIEW_NEAR_DISTANCE", Kind::Float, 1.0}, {u"CAMERA", u"VIEW_FAR_DISTANCE", Kind::Float, 20000.0},
    {u"CAMERA", u"VIEW_NEAR_DISTANCE_SCREEN", Kind::Float, -1000.0},
    {u"CAMERA", u"VIEW_FAR_DISTANCE_SCREEN", Kind::Float, 1000.0}, {u"CAMERA", u"VIEW_DEG_FIELD", Kind::Float, 45.0},
    {u"LIGHT", u"LIGHT_1_ENABLE", Kind::Bool, 1}, {u"LIGHT", u"LIGHT_1_TYPE", Kind::U32, 1},
    {u"LIGHT", u"LIGHT_1_POS_X", Kind::Float, -5000.0}, {u"LIGHT", u"LIGHT_1_POS_Y", Kind::Float, 0.0},
    {u"LIGHT", u"LIGHT_1_POS_Z", Kind::Float, -2000.0}, {u"LIGHT", u"LIGHT_1_DIFFUSE", Kind::Float, 1.0},
    {u"LIGHT", u"LIGHT_1_SPECULAR", Kind::Float, 0.6}, {u"LIGHT", u"LIGHT_1_AMBIENT", Kind::Float, 0.3},
    {u"LIGHT", u"MATERIAL_1_DIFFUSE", Kind::Float, 1.0}, {u"LIGHT", u"MATERIAL_1_SPECULAR", Kind::Float, 12.0},
    {u"LIGHT", u"MATERIAL_1_AMBIENT", Kind::Float, 1.0}, {u"LIGHT", u"LIGHT_2_ENABLE", Kind::Bool, 1},
    {u"LIGHT", u"LIGHT_2_TYPE", Kind::U32, 1}, {u"LIGHT", u"LIGHT_2_POS_X", Kind::Float, -10000.0},
    {u"LIGHT", u"LIGHT_2_POS_Y", Kind::Float, 8000.0}, {u"LIGHT", u"LIGHT_2_POS_Z", Kind::Float, -10000.0},
    {u"LIGHT", u"LIGHT_2_DIFFUSE", Kind::Float, 1.0}, {u"LIGHT", u"LIGHT_2_SPECULAR", Kind::Float, 0.6},
    {u"LIGHT", u"LIGHT_2_AMBIENT", Kind::Float, 0.3}, {u"LIGHT", u"MATERIAL_2_DIFFUSE", Kind::Float, 1.0},
    {u"LIGHT", u"MATERIAL_2_SPECULAR", Kind::Float, 1.0}, {u"LIGHT", u"MATERIAL_2_AMBIENT", Kind::Float, 1.0},
    {u"LIGHT", u"LIGHTING_ENABLE", Kind::Bool, 1},
    {u"LIGHT", u"COLOR_CLEAR_A", Kind::U32, 0}, {u"LIGHT", u"COLOR_CLEAR_R", Kind::U32, 150},
    {u"LIGHT", u"COLOR_CLEAR_G", Kind::U32, 150}, {u"LIGHT", u"COLOR_CLEAR_B", Kind::U32, 150},
    {u"LIGHT", u"AMBIENT_COLOR_A", Kind::U32, 0}, {u"LIGHT", u"AMBIENT_COLOR_R", Kind::U32, 127},
    {u"LIGHT", u"AMBIENT_COLOR_G", Kind::U32, 127}, {u"LIGHT", u"AMBIENT_COLOR_B", Kind::U32, 127},
    {u"LIGHT", u"SPECULAR_ENABLE", Kind::Bool, 1}, {u"LIGHT", u"ALPHA_ENABLE", Kind::Bool, 1},
    {u"WIREFRAME", u"RENDER_WIREFRAME_ENABLE", Kind::Bool, 0},
    {u"WIREFRAME", u"WIREFRAME_COLOR_A", Kind::U32, 0}, {u"WIREFRAME", u"WIREFRAME_COLOR_R", Kind::U32, 0},
    {u"WIREFRAME", u"WIREFRAME_COLOR_G", Kind::U32, 150}, {u"WIREFRAME", u"WIREFRAME_COLOR_B", Kind::U32, 0},
    {u"TEXT", u"TEXT_ENABLE", Kind::Bool, 0}, {u"TEXT", u"COLOR_TEXT_A", Kind::U32, 0},
    {u"TEXT", u"COLOR_TEXT_R", Kind::U32, 0}, {u"TEXT", u"COLOR_TEXT_G", Kind::U32, 255},
    {u"TEXT", u"COLOR_TEXT_B", Kind::U32, 255},
    {u"GAMMA_CORRECTION", u"GAMMA_CORRECTION_ENABLE", Kind::Bool, 0},
    {u"GAMMA_CORRECTION", u"GAMMA_INITIAL", Kind::U32, 128},
    {u"GAMMA_CORRECTION", u"GAMMA_CORRECT_RED", Kind::U32, 0},
    {u"GAMMA_CORRECTION", u"GAMMA_CORRECT_GREEN", Kind::U32, 0},
    {u"GAMMA_CORRECTION", u"GAMMA_CORRECT_BLUE", Kind::U32, 0},
    {u"POINT_SPRITE", u"MIN_SIZE", Kind::Float, 0.0}, {u"POINT_SPRITE", u"MAX_SIZE", Kind::Float, 100.0},
    {u"POINT_SPRITE", u"ATTENUATION_0", Kind::Float, 1.0}, {u"POINT_SPRITE", u"ATTENUATION_1", Kind::Float, 0.0},
    {u"POINT_SPRITE", u"ATTENUATION_2", Kind::Float, 0.00001},
    {u"STENCIL_SHADOW", u"STENCIL_SHADOW", Kind::Bool, 1}, {u"STENCIL_SHADOW", u"SHOW_CONSTRUCT", Kind::Bool, 0},
};

// The game keys read so far, with the values the built-in game text carries.
const KeyDefault kGameKeys[] = {
    {u"CAMERA", u"DEFAULT_WIN32_WIDTH", Kind::U16, 1024}, {u"CAMERA", u"DEFAULT_WIN32_HEIGHT", Kind::U16, 768},
    {u"CAMERA", u"DEFAULT_WIN32_FULLSCREEN", Kind::Bool, 1}, {u"CAMERA", u"SPEED_FACTOR", Kind::Float, 1.0},
    {u"CAMERA", u"AUTO_CENTER_SPEED", Kind::Float, 0.005}, {u"CAMERA", u"MAX_ZOOM_REF_RATIO", Kind::Float, 1.3},
    {u"LEGALS", u"ENABLE_LEGALS", Kind::Bool, 0},
    {u"QUIZZ", u"QUIZZ_QUESTION_TEXT_BORDER", Kind::Float, 50}, {u"QUIZZ", u"QUIZZ_ANSWERS_TEXT_BORDER", Kind::Float, 25},
    {u"TOOLBAR", u"OBJECTS_FADE_OUT_SPEED", Kind::Float, 0.05},
    {u"STARS", u"STARS_FADE_IN_SPEED", Kind::Float, 0.0003},
    {u"STARS", u"ADD_SECONDS_PER_STAR_IN_TIMED_MODE", Kind::U32, 15},
    {u"ABUSE", u"ABUSE_SECONDS_SHOWED", Kind::Float, 2.5}, {u"ABUSE", u"IS_ABUSING_UNDER_SECONDS", Kind::Float, 1.0},
    {u"ABUSE", u"ABUSE_OVER_CLICK", Kind::U32, 3},
    {u"MAIN_FONT", u"LOAD_FONT_TYPE", Kind::U32, 1}, {u"MAIN_FONT", u"MAIN_FONT_TTF_CHAR_SIZE_REF", Kind::U8, 30},
    {u"MAIN_FONT", u"MAIN_FONT_TTF_SPACE_SIZE_REF", Kind::U8, 3},
    {u"MAIN_FONT", u"MENU_FONT_SIZE_WIDTH", Kind::Float, 30}, {u"MAIN_FONT", u"MENU_FONT_SIZE_HEIGHT", Kind::Float, 30},
    {u"MAIN_FONT", u"LEGALS_FONT_SIZE_HEIGHT", Kind::Float, 30},
    {u"MAIN_FONT", u"POPUP_TEXT_SIZE_BORDER", Kind::U16, 200},
    {u"TOUCH_SCREEN", u"TOUCH_WIDTH", Kind::Float, 32}, {u"TOUCH_SCREEN", u"TOUCH_COLOR_B", Kind::U8, 255},
};

// Asks with a default the text never holds, so a missing key shows.
double Answer(const CParamsReader& reader, const KeyDefault& k)
{
    switch (k.kind) {
    case Kind::Bool:
        return reader.GetBool(k.section, k.key, 0xAA);
    case Kind::U8:
        return reader.GetU8(k.section, k.key, 0xAA);
    case Kind::U16:
        return reader.GetU16(k.section, k.key, 0xAAAA);
    case Kind::U32:
        return reader.GetU32(k.section, k.key, 0xAAAAAAAA);
    case Kind::Float:
        return reader.GetFloat(k.section, k.key, -12345.0f);
    }
    return 0;
}

std::string Ascii(const char16_t* text)
{
    return std::string(text, text + std::char_traits<char16_t>::length(text));
}

void ExpectWellFormed(const char* text, uint32_t length)
{
    ASSERT_EQ(length, strlen(text));
    ASSERT_GT(length, 0u);
    EXPECT_EQ(text[length - 1], '\n');
    EXPECT_EQ(std::string(text).find('\r'), std::string::npos);
}

TEST(BuiltinSettings, TextsEndEveryLineWithALineFeed)
{
    ExpectWellFormed(kEngineSettingsText, kEngineSettingsLength);
    ExpectWellFormed(kGameSettingsText, kGameSettingsLength);
}

TEST(BuiltinSettings, EngineTextAnswersEveryKeyWithItsDefault)
{
    CParamsText engine(kEngineSettingsText, kEngineSettingsLength);
    for (const KeyDefault& k : kEngineKeys)
        EXPECT_DOUBLE_EQ(Answer(engine, k), k.value) << Ascii(k.section) << " " << Ascii(k.key);
}

TEST(BuiltinSettings, EngineTextKeepsItsQuirks)
{
    CParamsText engine(kEngineSettingsText, kEngineSettingsLength);
    std::string text(kEngineSettingsText, kEngineSettingsLength);
    EXPECT_NE(text.find("SLEEP_TIMER = 0\nSSE_ENABLE = 1\nSLEEP_TIMER = 15\n"), std::string::npos);
    EXPECT_EQ(engine.GetU32(u"WORLD", u"SLEEP_TIMER", 99), 0u) << "the first of the two lines wins";
    char16_t out[64];
    EXPECT_EQ(engine.GetString(u"LIGHT", u"LIGHT_1_TYPE", nullptr, out, 64), RES_OK);
    EXPECT_EQ(std::u16string(out), u"1 // 0=DIRECTIONAL, 1=POINT");
    EXPECT_EQ(engine.GetString(u"STENCIL_SHADOW", u"SHADOW_COLOR_FACTOR", nullptr, out, 64), RES_OK);
    for (const char16_t* section : {u"WORLD", u"CAMERA", u"LIGHT", u"POINT_SPRITE", u"TEXT", u"FOG", u"WIREFRAME",
                                    u"GAMMA_CORRECTION", u"STENCIL_SHADOW"}) {
        std::string line = "\n[" + Ascii(section) + "]\n";
        EXPECT_EQ(text.find(line), text.rfind(line)) << "one section " << line;
    }
}

TEST(BuiltinSettings, GameTextNamesTheApplicationAndItsKeys)
{
    CParamsText game(kGameSettingsText, kGameSettingsLength);
    char16_t name[32];
    EXPECT_EQ(game.GetString(u"PATH", u"APP_NAME", nullptr, name, 32), RES_OK);
    EXPECT_EQ(std::u16string(name), u"VadadiDazidev");
    for (const KeyDefault& k : kGameKeys)
        EXPECT_DOUBLE_EQ(Answer(game, k), k.value) << Ascii(k.section) << " " << Ascii(k.key);

    char16_t path[260];
    EXPECT_EQ(game.GetPath(u"MAIN_FONT", u"MAIN_FONT_CHARSET_TEXTURE_PATH", u"charset.%d.png", path, 260, nullptr), RES_OK);
    EXPECT_EQ(std::u16string(path), u"fonts/BOOTERFZ.desktop.%d.png");
    EXPECT_EQ(game.GetString(u"LOGOS_INTRO", u"LOGO_TEXTURE_001_WIN32", u"x", name, 32), RES_OK);
    EXPECT_EQ(std::u16string(name), u"EDITOR");
    EXPECT_EQ(game.GetString(u"LOGOS_INTRO", u"LOGO_TEXTURE_EDITOR", u"x", name, 32), RES_OK);
    EXPECT_EQ(std::u16string(name), u"logos/editor.png");
}

} // namespace
