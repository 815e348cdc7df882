#include "game/SystemLanguage.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "platform/win32/Win32System.h"
#include "tests/game/StringsFixture.h"

namespace {

CVadadiDazidevWorld* g_world;
std::u16string g_title;

class StringTablesTest : public StringsTest {
protected:
    void SetUp() override
    {
        StringsTest::SetUp();
        m_en = Table("en", "", {u"zero", u"tite", u"abc"});  // "abc" at unit 10
        Table("en", ".commons", {u"c0", u"c1"});
        m_fr = Table("fr", "", {u"nul", u"Titre"});
        m_frCommons = Table("fr", ".commons", {u"commun"});
    }
    std::string m_en, m_fr, m_frCommons;
};

TEST_P(StringTablesTest, CommonsFollowTheMainTableAndTheTitleFollowsTheLanguage)
{
    Open();
    g_world = &m_world;
    m_world.SetHostEventCallback([](uint32_t event, WindowHandle) {
        char16_t text[kTitleUnits];
        if (event == kHostEventLanguage && Succeeded(g_world->GetTitle(u"Kvo Adventure", u"", text, kTitleUnits)))
            g_title = text;
        return RES_OK;
    });
    ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
    EXPECT_EQ(Data().m_GameStrings.m_pOffsets[3] * 100 + Data().m_GameStrings.m_nCount * 10 + Data().m_nCommonsCount,
              1452u);
    EXPECT_EQ(String(3) + String(4) + g_title, Code(u"c0c1") + u"tite");
    EXPECT_EQ(String(5), kMissingString);
    EXPECT_EQ(CPopupText::GetString(5, 2, m_world.GetData()), nullptr);
    ASSERT_EQ(m_world.LoadLanguage(1), RES_OK);
    EXPECT_EQ(g_title, u"Titre");
}

// Counts the loads and unloads of its files.
template <class Base>
class CCountedFiles : public Base {
public:
    using Base::Base;
    Result LoadFiles() override
    {
        ++m_loads;
        return CSceneObject::LoadFiles();
    }
    Result UnloadFiles() override
    {
        ++m_unloads;
        return CSceneObject::UnloadFiles();
    }
    int m_loads = 0, m_unloads = 0;
};

// The shown layered menu's pictures and the labels follow the language.
TEST_P(StringTablesTest, ALanguageChangeLoadsTheShownMenuAndTheLabelsAgain)
{
    Open();
    CCountedFiles<CScreenLayeredMenu> shown(m_world.GetData(), m_engine, 0);
    auto* labels = new CCountedFiles<CSceneObject3D>(m_world.GetData(), m_engine, 0);
    m_world.m_pLabels.reset(labels);
    for (CSceneObject* object : {static_cast<CSceneObject*>(&shown), static_cast<CSceneObject*>(labels)})
        ASSERT_EQ(object->CSceneObject::LoadFiles(), RES_OK);
    m_world.m_pMenuCurrent = &shown;
    ASSERT_EQ(m_world.LoadLanguage(1), RES_OK);
    m_world.m_pMenuCurrent = nullptr;
    EXPECT_EQ(shown.m_unloads * 10 + shown.m_loads, 11);
    EXPECT_EQ(labels->m_unloads * 10 + labels->m_loads, 11);
    EXPECT_TRUE(shown.IsLoaded() && labels->IsLoaded());
}

TEST_P(StringTablesTest, ADamagedLanguageLeavesThePreviousOneInForce)
{
    const std::string fr = m_files[m_fr], commons = m_files[m_frCommons];
    std::string endsBeforeU = StringFileBytes({Code(u"a"), Code(u"b"), Code(u"x")});
    endsBeforeU[6] = 2;  // two strings, the last ending before U
    endsBeforeU.resize(endsBeforeU.size() - 2);
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {m_frCommons, ""}, {m_frCommons, commons.substr(0, commons.size() - 1)},
             {m_frCommons, '\x01' + commons.substr(1)}, {m_fr, fr.substr(0, fr.size() - 2) + "\x0F\x01"},
             {m_fr, endsBeforeU}, {m_fr, StringFileBytes({})}}) {
        m_files[name] = bytes;
        if (bytes.empty())
            m_files.erase(name);
        Open();
        ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
        const char16_t* units = Data().m_GameStrings.m_pUnits.get();
        EXPECT_EQ(m_world.LoadLanguage(1), RES_FAIL) << name << " " << bytes.size();
        EXPECT_EQ(Data().m_GameStrings.m_pUnits.get(), units);
        EXPECT_EQ(Data().m_nLanguage * 100 + Data().m_GameStrings.m_nCount, 5u);
        m_files[m_fr] = fr;
        m_files[m_frCommons] = commons;
    }
    EXPECT_EQ(m_world.LoadLanguage(kLanguageNone), RES_FAIL);
}

TEST_P(StringTablesTest, TheLanguageIsTheChosenTheSystemsOrTheFirstAvailable)
{
    Table("de", "", {u"null", u"Titel"});
    const std::string german = Table("de", ".commons", {u"c"});
    ScopedEnv locale("LC_ALL", "de_AT.UTF-8");
    for (auto [chosen, loaded, languages] : std::vector<std::array<uint32_t, 3>>{
             {1, 1, 3}, {5, 3, 3}, {kLanguageNone, 3, 3}, {4, 0, 2}, {4, 3, 0}}) {
        if (languages < 3)
            m_files.erase(german);
        for (const std::string& name : {m_en, m_fr})
            m_files.erase(languages ? "" : name);
        Open();
        m_world.ScanLanguages();
        Data().m_nLanguage = chosen;
        Data().m_bLanguageForced = 1;
        EXPECT_EQ(m_world.ChooseLanguage(), languages ? RES_OK : RES_FAIL);
        EXPECT_EQ(Data().m_nLanguage * 10 + Data().m_bLanguageForced, loaded * 10 + (chosen == loaded));
        EXPECT_EQ(Data().m_nLanguageCount, languages);
    }
    EXPECT_NE(s_log.find(u"# CVadadiDazidevWorld::Load failed! OnLanguage error\n"), std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(FontTypes, StringTablesTest, ::testing::Values(0u, 1u, 2u));

TEST(SystemLanguageTest, LocalesGiveTheGamesLanguages)
{
    for (const auto& [locale, language] : std::vector<std::pair<const char*, uint32_t>>{
             {"fr_CA.UTF-8", 1}, {"de_AT", 3}, {"es_MX", 2}, {"es_US", 0}, {"zh_TW", 6}, {"zh_MO", 0},
             {"pt_BR", 10}, {"sv_FI", 11}, {"nl_BE", 0}, {"C", 0}}) {
        ScopedEnv all("LC_ALL", locale);
        EXPECT_EQ(GetSystemLanguage(), language) << locale;
        EXPECT_TRUE(language != 1 || GetSystemDefaultLangID() == 3084);
    }
}

} // namespace
