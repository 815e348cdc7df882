#include "tests/game/StringsFixture.h"

namespace {

using CreditTextsTest = StringsTest;

TEST_P(CreditTextsTest, CreditsEndWithTheTitleTheCommonsAndTheFirstString)
{
    Table("en", ".credits_main", {u"Made by", u"us"});
    const std::string tooLong = Table("fr", ".credits_main", {std::u16string(kCreditTextUnits, u'a')});
    m_external[tooLong] = m_files[tooLong];
    Open();
    ASSERT_EQ(m_world.LoadCredits(0), RES_OK) << "not in the external pak: from the main pak";
    EXPECT_EQ(std::u16string(m_world.m_Scroll.m_pText.get()),
              Code(u"Made by\nus") + u"MISSING STRING !!!\nMISSING COMMONS STRING !!!\nMISSING STRING !!!\n");
    EXPECT_GT(m_world.m_Scroll.m_fHeight, 4 * kFixtureScale);
    EXPECT_EQ(m_world.m_Scroll.m_fOffset, 768.0f) << "starts below the screen";
    Table("en", "", {u"zero", u"Title"}, true);
    Table("en", ".commons", {u"common"}, true);
    Open();
    ASSERT_EQ(m_world.LoadLanguage(0) + m_world.LoadCredits(0), RES_OK);
    EXPECT_EQ(std::u16string(m_world.m_Scroll.m_pText.get()), Code(u"Made by\nusTitle\ncommon\nzero\n"));
    s_log.clear();
    EXPECT_EQ(m_world.LoadCredits(1), RES_FAIL);
    const std::u16string tooBig =
        u"# CVadadiDazidevWorld::OnWhoisTextEx failed! \"" + Utf8ToUtf16(tooLong) + u"\" is too big !!!\n";
    EXPECT_EQ(s_log, tooBig + tooBig) << "the external pak, then the main pak";
}

TEST_P(CreditTextsTest, LegalLinksKeepTheirTextAndMoreGamesAreTableOne)
{
    Table("en", ".copyrights", {u"Plain|text", u"@http://a.example/|x"});
    Table("en", ".moregames", {u"Game A", u"Game B"});
    Open();
    ASSERT_EQ(m_world.Load_Legals(0), RES_OK);
    ASSERT_EQ(m_world.m_Scroll.m_Legals.size(), 2u);
    const CLegalItem& plain = *m_world.m_Scroll.m_Legals[0];
    const CLegalItem& link = *m_world.m_Scroll.m_Legals[1];
    EXPECT_EQ(plain.m_bMarked * 10 + link.m_bMarked, 1);
    EXPECT_EQ(std::u16string(plain.m_szWrapped) + plain.m_szRaw + u"/" + link.m_szRaw,
              Code(u"Plain\ntext") + u"/" + Code(u"http://a.example/\nx"));
    EXPECT_FLOAT_EQ(m_world.m_Scroll.m_fHeight, plain.m_Size.y + link.m_Size.y);
    ASSERT_EQ(m_world.Load_MoreGames(0), RES_OK);
    EXPECT_EQ(String(1, kMoreGamesTable) + String(2, kMoreGamesTable), Code(u"Game B") + kMissingString);
    EXPECT_EQ(m_world.Load_MoreGames(1), RES_FAIL);
    EXPECT_EQ(String(0, kMoreGamesTable), kMissingString) << "freed first";
}

INSTANTIATE_TEST_SUITE_P(FontTypes, CreditTextsTest, ::testing::Values(0u, 1u, 2u));

} // namespace
