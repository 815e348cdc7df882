#pragma once
#include <string>
#include <vector>

#include "tests/game/StringsFixture.h"

// One text a widget's text node drew.
struct TextDraw {
    Vector3 position;
    uint32_t colour;
    Vector2 size;
    std::u16string text;
};

// The game world on the memory renderer (the fixture font, or the charset font) with the widgets'
// pictures in its pak, a table of five names and the toolbar and game font sizes at the fixture
// scale. Texts drawn through RecordText are noted in s_texts.
class WidgetTest : public StringsTest {
protected:
    void SetUp() override
    {
        StringsTest::SetUp();
        if (IsSkipped())
            return;
        Table("en", "", {u"Name", u"Other", u"Third", u"Fourth", u"Fifth"});
        Table("en", ".commons", {});
        for (const char* name : {"textures.Desktop/toolbar.1024x45.png", "textures.Desktop/menubar.60x768.png",
                                 "textures/buttons.ingame.png", "textures/timer.png", "textures/hint.png",
                                 "timer.png", "hint.png", "textures/toolbar.png"})
            m_files[name] = "picture";
        m_files["external.ini"] = "[HINT]\nHINT_MAX_COUNT = 5\nHINT_START_COUNT = 12\n";
        Open();
        ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
        CTextStyles& styles = Data().m_TextStyles;
        styles.m_ToolbarSize[0] = styles.m_ToolbarSize[1] = kFixtureScale;
        styles.m_GameColors[0] = 0xFFFFFFFFu;
        m_world.GetData()->frameFactor = 1.0;
        s_texts.clear();
    }
    // Settings read from text instead of the built-in ones.
    void UseSettings(const std::string& text)
    {
        m_settingsText = text;
        m_settings = std::make_unique<CParamsText>(m_settingsText.c_str(), static_cast<uint32_t>(text.size()));
        m_world.GetData()->gameParams = m_settings.get();
    }
    void SetFrameFactor(double factor) { m_world.GetData()->frameFactor = factor; }
    void SetPointer(float pressX, float pressY, float x, float y)
    {
        CWorldData* data = m_world.GetData();
        data->pressX = pressX, data->pressY = pressY, data->pointerX = x, data->pointerY = y;
    }
    static void RecordText(const Vector3* position, uint32_t colour, const Vector2* size, uint16_t, const char16_t* text,
                           uintptr_t)
    {
        s_texts.push_back({*position, colour, *size, text});
    }

    std::string m_settingsText;
    std::unique_ptr<CParamsText> m_settings;
    static inline std::vector<TextDraw> s_texts;
};
