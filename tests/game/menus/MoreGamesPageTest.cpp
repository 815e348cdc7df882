#include "game/menus/MoreGamesPage.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "engine3d/Container.h"
#include "game/PopupText.h"
#include "game/menus/MoreGamesNavigation.h"
#include "platform/win32/Win32System.h"
#include "tests/game/StringsFixture.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

using Buttons = std::set<uint32_t>;

// The built-in list on a 512 x 1024 sheet (icons of 128) in a 700 x 768 screen whose navigation
// line lies 150 above the bottom: 4 columns of 2 rows. The more-games file enables all 18 games,
// game 2 without a URL; the running game is the seventh.
class MoreGamesPageTest : public StringsTest, public CMoreGamesNavigation {
protected:
    void SetUp() override
    {
        StringsTest::SetUp();
        m_engine->SetDecodeImages(true);
        CWorldData* data = m_world.GetData();
        data->workingWidth = 700;
        data->workingHeight = 768;
        Data().m_TextStyles.m_MenuSize[0] = Data().m_TextStyles.m_MenuSize[1] = kFixtureScale / 0.75f;
        Data().m_bWebLinks = 1;
        WStrCopy(Data().m_szAppName, kAppNameUnits, u"vadadiDAZIDEV");
        std::vector<std::u16string> strings;
        std::string switches = "[MORE_GAMES]\n";
        for (int i = 1; i <= 18; ++i) {
            strings.push_back(u"Game " + Utf8ToUtf16(std::to_string(i)));
            strings.push_back(u"About game " + Utf8ToUtf16(std::to_string(i)));
            switches += "MORE_GAMES_" + std::to_string(i) + "_ENABLE = 1\n";
            if (i != 2)
                switches += "MORE_GAMES_" + std::to_string(i) + "_URL = http://games.example/" + std::to_string(i) + "\n";
        }
        Table("en", ".moregames", strings);
        m_files["VadadiDazidev.MoreGames.Win32.ini"] = switches;
        PngFixture sheet;
        sheet.width = 512;
        sheet.height = 1024;
        sheet.rows.assign(512 * 1024, 200);
        m_files["more_games.png"] = EncodePng(sheet);
        Open();
        Data().m_pMoreGamesParams =
            std::make_unique<CPackedParams>(u"VadadiDazidev.MoreGames.Win32.ini", data->pakLookup, &data->pak);
        m_world.SetMoreGamesScreens(this, nullptr);
    }
    void TearDown() override
    {
        m_world.ReleaseMoreGames();
        StringsTest::TearDown();
    }

    uint32_t GetClickedButton() override { return std::exchange(m_clicked, 0); }
    void HideNavButtons() override { m_shown.clear(); }
    void ShowNavButtons(bool previous, bool close, bool next) override
    {
        m_shown.insert({previous ? 26u : 0u, close ? 24u : 0u, next ? (close ? 55u : 25u) : 0u});
        m_shown.erase(0);
    }
    void ShowMoreGamesButton() override { m_shown.insert(29); }
    void ShowCollectionButton(bool highlight) override { m_shown.insert(highlight ? 1002 : 0), m_shown.erase(0); }
    void UpdateNavButtons() override {}
    void RenderNavButtons() override { ++m_navRenders; }
    float GetNavigationMargin() override { return 150.0f; }
    void PlayClickSound() override { ++m_clicks; }
    float GetFrameWidth() override { return 600.0f; }

    CMoreGamesPage& Page() { return *m_world.m_pMoreGames; }
    void Press(uint32_t button)
    {
        m_clicked = button;
        EXPECT_EQ(Page().Process(), RES_OK);
    }
    // A click on the entry's icon.
    void ClickEntry(uint32_t index)
    {
        C3DContainer* node = Page().GetPages()->FindById(index);
        ASSERT_TRUE(node && node->GetParent()->IsVisible());
        Vector3 at;
        node->GetPosition(&at);
        CWorldData* data = m_world.GetData();
        data->pressX = data->pointerX = at.x + 10.0f;
        data->pressY = data->pointerY = at.y + 10.0f;
        data->mouseReleased[0] = 1;
        EXPECT_EQ(Page().Process(), RES_OK);
        data->mouseReleased[0] = 0;
    }

    size_t Shadows() const
    {
        const auto draws = m_engine->Draws();
        return std::count_if(draws.begin(), draws.end(), [](const MemoryDraw& d) { return d.colour == 0x7F000000u; });
    }

    uint32_t m_clicked = 0;
    Buttons m_shown;
    int m_clicks = 0;
    int m_navRenders = 0;
};

} // namespace

TEST_P(MoreGamesPageTest, TheBuiltInListPagesWithoutTheRunningGame)
{
    ASSERT_EQ(m_world.ReloadMoreGames(0), RES_OK);
    EXPECT_EQ(Page().GetListedCount(), 17u);
    EXPECT_EQ(Page().GetColumns() * Page().GetRows(), 8u);
    EXPECT_EQ(Page().GetPageCount(), 3u);
    EXPECT_EQ(Page().GetPages()->FindById(6), nullptr);

    EXPECT_EQ(Page().Process(), RES_OK);
    EXPECT_EQ(m_shown, (Buttons{24, 55, 1002}));
    m_engine->ClearDraws();
    EXPECT_EQ(Page().Render(), RES_OK);
    EXPECT_EQ(Shadows(), 8u);

    Press(55);
    Press(55);
    Press(55);
    EXPECT_EQ(Page().GetPage(), 2u);
    EXPECT_EQ(Page().Process(), RES_OK);
    EXPECT_EQ(m_shown, (Buttons{24, 26, 1002}));
    m_engine->ClearDraws();
    EXPECT_EQ(Page().Render(), RES_OK);
    EXPECT_EQ(Shadows(), 1u);  // the 17th game alone
    EXPECT_EQ(m_navRenders, 2);

    // Centred: the title under the middle of its icon, the grid in the middle of the free area.
    C3DContainer* entry = Page().GetPages()->FindById(17);
    Vector3 icon, title;
    entry->GetPosition(&icon);
    ListObject<C3DContainer>(entry->GetChildren().GetLast())->GetPosition(&title);
    EXPECT_FLOAT_EQ(title.x, icon.x + 64.0f);
    EXPECT_GT(title.y, icon.y + 128.0f);
    EXPECT_FLOAT_EQ(icon.x, (700.0f - 4 * 160.0f) / 2 + (160.0f - 128.0f) / 2);
}

TEST_P(MoreGamesPageTest, ADescriptionOpensItsLinkOnceAtQuitAndOnlyWithWebLinks)
{
    TempDir dir;
    const std::string log = dir.File("opened.txt");
    std::string launcher = dir.Write("launcher.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log + "'\n");
    chmod(launcher.c_str(), 0755);
    SetShellLauncher(launcher.c_str());
    ASSERT_EQ(m_world.ReloadMoreGames(0), RES_OK);

    ClickEntry(0);
    EXPECT_EQ(Page().GetSelected(), 0);
    EXPECT_EQ(m_shown.count(29), 1u);
    m_engine->ClearDraws();
    EXPECT_EQ(Page().Render(), RES_OK);
    EXPECT_EQ(Shadows(), 0u);  // the pop-up's text, no icons
    Vector3 text{1.0f, 1.0f, 0.0f};
    Page().GetDescription()->GetTextNode()->GetPosition(&text);
    EXPECT_FLOAT_EQ(text.y, 0.0f) << "the description in the middle of the screen, not at its top";
    Press(29);
    m_world.OpenWebLink(nullptr);
    m_world.OpenWebLink(nullptr);
    EXPECT_EQ(ReapShellChildren(true), 0);
    EXPECT_EQ(TempDir::Read(log), "http://games.example/1\n");

    Press(25);
    EXPECT_EQ(Page().GetSelected(), -1);
    ClickEntry(1);  // no URL: no more-games button
    EXPECT_EQ(m_shown, (Buttons{25, 26}));
    Press(25);

    Data().m_bWebLinks = 0;
    ClickEntry(2);
    EXPECT_EQ(m_shown.count(29), 0u);
    Press(29);
    Press(25);
    Press(1002);
    m_world.OpenWebLink(nullptr);
    EXPECT_EQ(ReapShellChildren(true), 0);
    EXPECT_EQ(TempDir::Read(log), "http://games.example/1\n");
    EXPECT_EQ(m_clicks, 7);
    SetShellLauncher(nullptr);
}

TEST_P(MoreGamesPageTest, EmptyAndOverlongConfigurationsStillGiveAUsablePage)
{
    const std::string zero = "[MORE_GAMES]\nMORE_GAMES_ROW_COUNT = 0\nMORE_GAMES_LINE_COUNT = 8\nMORE_GAMES_COUNT = 18\n";
    CParamsText zeroSizes(zero.c_str(), static_cast<uint32_t>(zero.size()));
    m_world.GetData()->gameParams = &zeroSizes;
    ASSERT_EQ(m_world.ReloadMoreGames(0), RES_OK);
    EXPECT_EQ(Page().GetPageCount(), 0u);
    EXPECT_EQ(Page().Process(), RES_OK);
    EXPECT_EQ(m_shown, (Buttons{24, 1002}));
    Press(55);
    EXPECT_EQ(Page().Render(), RES_OK);
    EXPECT_EQ(m_navRenders, 1);

    // Titles wider than the screen: one column; a huge count is capped.
    const std::string wide = "[MORE_GAMES]\nMORE_GAMES_ROW_COUNT = 4\nMORE_GAMES_LINE_COUNT = 8\n"
                             "MORE_GAMES_COUNT = 100000\nMORE_GAMES_1_ROW = 3\nMORE_GAMES_1_LINE = 7\n"
                             "MORE_GAMES_2_ROW = 4\nMORE_GAMES_2_LINE = 0\n";
    CParamsText wideTitles(wide.c_str(), static_cast<uint32_t>(wide.size()));
    Table("en", ".moregames", {std::u16string(31, u'W'), u"About", u"Off the sheet", u"About"});
    Open();
    m_world.GetData()->gameParams = &wideTitles;
    ASSERT_EQ(m_world.ReloadMoreGames(0), RES_OK);
    EXPECT_EQ(Page().GetListedCount(), 17u);  // the 18 enabled but game 2, off the sheet
    EXPECT_EQ(Page().GetColumns(), 1u);

    m_world.GetData()->gameParams = &m_game;
    m_files.erase("more_games.png");
    Open();
    EXPECT_EQ(m_world.ReloadMoreGames(0), RES_FAIL);
    EXPECT_EQ(m_world.m_pMoreGames, nullptr);
}

INSTANTIATE_TEST_SUITE_P(FixtureFont, MoreGamesPageTest, ::testing::Values(kFontTypeGlyph));
