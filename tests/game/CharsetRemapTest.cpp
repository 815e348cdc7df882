#include "tests/game/StringsFixture.h"

namespace {

TEST_F(GameWorldTest, WithoutTheCharsetFontTheDefaultTableRemaps)
{
    ASSERT_EQ(m_world.OnSymbols() + m_world.OnIndivisibleChars(), RES_OK);
    EXPECT_EQ(std::u16string{} + char16_t(Data().m_nPageSeparator) + char16_t(Data().m_nLineBreakMark) +
                  char16_t(Data().m_nSeparatorUnit) + Data().m_ClosingChars,
              u"#| !?:;,.\"')]}\u00BB");
    std::u16string text = u"a\tb\nc\r\u00A0\u00A1\u00AD\u0101";
    ApplyCharsetRemap(text.data(), m_world.GetData());
    EXPECT_EQ(text, u"a b\nc\r \u00A1 \u0101");
    EXPECT_EQ(Data().m_CharsetRemap[256], 0);
}

using CharsetRemapTest = StringsTest;

TEST_P(CharsetRemapTest, TheSymbolsFileMapsCharactersOntoGlyphCodesAndBack)
{
    Open();
    EXPECT_EQ(std::u16string{} + char16_t(Data().m_nPageSeparator) + char16_t(Data().m_nLineBreakMark) +
                  Data().m_OpeningChars,
              Code(u"#|\u00AB"));
    std::u16string text = u"Ab1 #\u0101";
    ApplyCharsetRemap(text.data(), m_world.GetData());
    EXPECT_EQ(text, Code(u"Ab1 #") + u"\u0101") << "a unit above 256 passes unchanged";
    UnmapCharsetText(text.data(), m_world.GetData());
    EXPECT_EQ(text, u"Ab1 #\u0101");

    std::string units256 = SymbolsFileBytes(m_codes.RemapTable());
    units256[1] = 0;
    m_files["strings/_symbols.utf8.indexed.ucs2.raw"] = units256;
    WritePaks();
    EXPECT_EQ(m_world.OnSymbols(), RES_FAIL);
    EXPECT_EQ(Data().m_nPageSeparator, Code(u"#")[0]);
    m_files.erase("strings/_symbols.utf8.indexed.ucs2.raw");
    WritePaks();
    EXPECT_EQ(m_world.OnSymbols(), RES_FAIL);
    EXPECT_EQ(s_log, u"# CVadadiDazidevWorld::OnSymbols failed! \"strings/_symbols.utf8.indexed.ucs2.raw\" is "
                     u"missing !!!\n");
}

TEST_P(CharsetRemapTest, PagesFollowTheScriptsAndComeBackFromThePakOfPageZero)
{
    m_files = {{"charset.1.png", "page 1"}};
    m_external["charset.1.png"] = "external page 1";
    WritePaks();
    C3DTexture* page = m_engine->CreateTexture(1, 0x52);
    ASSERT_EQ(FindPackerEntry(u"charset.1.png", &m_world.GetData()->pak), RES_OK);
    ASSERT_EQ(page->LoadTextureFromPacker(&m_world.GetData()->pak), RES_OK);
    C3DTexture* pages[2] = {nullptr, page};
    ASSERT_EQ(m_charset->SetPageTextures(pages, 2), RES_OK);
    EXPECT_EQ(LoadFontPagesForScripts(m_charset, 0x01, m_world.GetData()), RES_OK);
    EXPECT_FALSE(page->IsLoaded()) << "a Cyrillic page in a Latin language";
    Data().m_pCharsetPak = &Data().m_ExternalPak;
    EXPECT_EQ(LoadFontPagesForScripts(m_charset, 0x02, m_world.GetData()), RES_OK);
    EXPECT_EQ(static_cast<CMemoryTexture*>(page)->SourceSize(), 15u) << "from the pak of page 0";
    EXPECT_EQ(m_engine->DestroyTexture(page), RES_OK);
}

INSTANTIATE_TEST_SUITE_P(Charset, CharsetRemapTest, ::testing::Values(kFontTypeCharset));

} // namespace
