#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/FontCharset.h"
#include "game/CharsetRemap.h"
#include "game/PopupText.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/WorldDataDefaults.h"
#include "tools/FontBake.h"
#include "tools/RawFileWriter.h"
#include "tools/vddata/StringSources.h"

// A charset font baked once from DejaVu Sans ("" without it): page 0 (scripts 0x03) a spare
// character, then ASCII and the guillemets, so that no code is its character; page 1 (0x02) Cyrillic.
inline const std::string& BakedCharset()
{
    static TempDir dir;
    static std::string base;
    std::vector<FontBakeGroup> groups = {{DejaVuSansPath(), 0x03, u""}, {DejaVuSansPath(), 0x02, u""}};
    std::string error;
    uint32_t pages = 0, skipped = 0;
    if (base.empty() && !DejaVuSansPath().empty() &&
        ParseCharacterList("0xA4,0x20-0x7E,0xAB,0xBB", &groups[0].characters, &error) &&
        ParseCharacterList("0x410-0x42F", &groups[1].characters, &error) &&
        Succeeded(BakeCharsetFont(groups, dir.File("baked"), 16, 2, &pages, &skipped, &error)))
        base = dir.File("baked");
    return base;
}

// A game world on the memory renderer with the main font of the font type given as parameter (the
// fixture font, or the baked charset font with its symbols file). Tables given in characters go
// into the main or the external pak in the type's encoding.
class StringsTest : public GameWorldTest, public ::testing::WithParamInterface<uint32_t> {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        const uint32_t fontType = GetParam();
        CWorldData* data = m_world.GetData();
        SetDefaultWorld(data, &m_math, 1024, 768);
        m_world.m_p3DEngine.reset(m_engine = new CMemoryEngine(data));
        ASSERT_EQ(m_engine->Load(MemoryRenderer::Window()), RES_OK);
        CTextStyles& styles = Data().m_TextStyles;
        styles.m_GameSize[0] = styles.m_GameSize[1] = styles.m_LegalsSize[0] = styles.m_LegalsSize[1] = kFixtureScale;
        styles.m_nPopupBorder = 100;
        Data().m_nLoadFontType = fontType;
        if (fontType == kFontTypeCharset && BakedCharset().empty())
            GTEST_SKIP() << "DejaVu Sans is missing";
        m_font.reset(fontType == kFontTypeCharset ? m_charset = new CVarnFontCharset(data, m_engine)
                                                  : new CVarnFont(data, m_engine));
        ASSERT_EQ(m_font->Create(kFontScreenText, 64), RES_OK);
        m_world.m_pMainFont = Data().m_pMainFont = m_font.get();
        if (!m_charset)
            return LoadFixtureGlyphs(m_font.get());
        ASSERT_EQ(m_charset->LoadCharsetFromFile(Utf8ToUtf16(BakedCharset() + ".charset").c_str()), RES_OK);
        m_codes.Load(BakedCharset() + ".charset");
        m_files["strings/_symbols.utf8.indexed.ucs2.raw"] = SymbolsFileBytes(m_codes.RemapTable());
    }
    // Characters in the font type's encoding.
    std::u16string Code(std::u16string text) const
    {
        for (char16_t& unit : text)
            m_codes.Code(unit, &unit);
        return text;
    }
    std::u16string String(uint32_t index, uint32_t table = kGameTable)
    {
        return CPopupText::GetString(index, table, m_world.GetData());
    }
    // Puts the table into a pak; returns its name.
    std::string Table(const std::string& language, const std::string& section, std::vector<std::u16string> strings,
                      bool external = false)
    {
        for (std::u16string& text : strings)
            text = Code(text);
        const std::string name =
            "strings/_strings." + language + section + (m_charset ? ".utf8.indexed.ucs2.raw" : ".utf8.ucs2.raw");
        (external ? m_external : m_files)[name] = StringFileBytes(strings);
        return name;
    }
    // Writes and opens the paks (the external one when it has files).
    void WritePaks()
    {
        for (auto [files, name] : {std::pair{&m_files, "main.pak"}, std::pair{&m_external, "external.pak"}}) {
            CPakWriter pak;
            for (const auto& [entry, bytes] : *files)
                ASSERT_EQ(pak.Add(entry, bytes), RES_OK) << entry;
            ASSERT_EQ(pak.Write(m_dir.File(name)), RES_OK) << name;
        }
        ASSERT_EQ(m_world.SetParameters(nullptr, &m_game, nullptr, m_dir.WideFile("main.pak").c_str(), 0,
                                        FindPackerEntry, nullptr),
                  RES_OK);
        if (!m_external.empty()) {
            ASSERT_EQ(OpenPackerFile(&Data().m_ExternalPak, m_dir.WideFile("external.pak").c_str(), 0), RES_OK);
        }
    }
    // The paks, the symbols and the indivisible lists.
    void Open()
    {
        WritePaks();
        ASSERT_EQ(m_world.OnSymbols() + m_world.OnIndivisibleChars(), RES_OK);
    }

    CMath3D m_math;
    CMemoryEngine* m_engine = nullptr;
    std::unique_ptr<CVarnFont> m_font;
    CVarnFontCharset* m_charset = nullptr;
    CCharsetCodes m_codes;
    std::map<std::string, std::string> m_files, m_external;
};
