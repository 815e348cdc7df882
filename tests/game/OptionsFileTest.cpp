#include "core/FileSave.h"
#include "base/WideString.h"
#include "tests/game/GameWorldFixture.h"

namespace {

// The options of a known record, worked out by hand: 322 bytes.
std::string KnownOptions()
{
    CByteWriter w;
    w.Text(std::string("\x0C\x00\x02\x01\x03\x00\x00\x00\x01", 9));  // version, marker, full screen, "de", slot
    w.F32(0.25f);
    w.F32(0.75f);
    w.Text("\x7F");  // brightness: always 127
    for (const char16_t* name : {u"Ann", u"Cy", u"Bob"})
        w.Text("\x02" + SavedUnits(name, 32, false));
    w.Text("\x01");                                                      // account
    w.Text(std::string("\x9E\xFF\x9D\xFF", 4) + std::string(20, '\0'));  // login "ab", complemented
    w.Text(SavedUnits(u"x", 12, true) + SavedUnits(u"a@b.c", 30, true));
    return w.Bytes();
}

// Where each field of the file ends.
const size_t kFieldEnds[] = {4, 8, 9, 13, 17, 18, 83, 148, 213, 214, 238, 262, 322};

class OptionsFileTest : public GameWorldTest {
protected:
    // What a fresh world writes after reading bytes as start-up does.
    std::string ReadAndWrite(const std::string& bytes, Result expected, uint32_t language = kLanguageNone)
    {
        m_dir.Write(kSaveFolder + "VadadiDazidev.v1.options.sav", bytes);
        m_fresh = std::make_unique<CTestWorld>();
        EXPECT_EQ(m_fresh->SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
        EXPECT_EQ(m_fresh->LoadOptions(language), expected);
        CStringStream out;
        EXPECT_TRUE(m_fresh->WriteOptions(out));
        return out.m_bytes;
    }

    std::unique_ptr<CTestWorld> m_fresh;
};

} // namespace

TEST_F(OptionsFileTest, AKnownRecordIsWrittenAsTheHandWorkedBytesAndReadBack)
{
    CGameData& g = Data();
    m_world.GetData()->fullscreen = 1;
    g.m_nLanguage = 3, g.m_nSlot = 1, g.m_fMusicVolume = 0.25f, g.m_fSoundVolume = 0.75f, g.m_nBrightness = 40;
    WStrCopy(g.m_szProfileNames[0], kProfileNameUnits, u"Ann");
    WStrCopy(g.m_szProfileNames[1], kProfileNameUnits, u"Cy");
    WStrCopy(g.m_szProfileNames[2], kProfileNameUnits, u"Bob");
    g.m_bAccount = 1;
    WStrCopy(g.m_szLogin, kLoginUnits, u"ab");
    WStrCopy(g.m_szPassword, kPasswordUnits, u"x");
    WStrCopy(g.m_szEmail, kEmailUnits, u"a@b.c");
    ASSERT_EQ(m_world.SaveOptions(), RES_OK);
    EXPECT_EQ(TempDir::Read(SaveFile("options.sav")), KnownOptions());
    EXPECT_EQ(ReadAndWrite(KnownOptions(), RES_OK), KnownOptions());
    EXPECT_EQ(m_fresh->GetGameData()->m_nBrightness, 127);

    // A save failing after any byte leaves the previous file whole and no temporary file.
    for (size_t allowed = 0; allowed < 322; ++allowed) {
        EXPECT_EQ(SaveFileReplacing(Utf8ToUtf16(SaveFile("options.sav")).c_str(),
                                    [&](CStream& stream) {
                                        CStringStream failing(&stream, allowed);
                                        return m_world.WriteOptions(failing);
                                    }),
                  RES_FAIL);
        EXPECT_EQ(TempDir::Read(SaveFile("options.sav")), KnownOptions()) << allowed;
        EXPECT_EQ(SaveFolderFileCount(), 1u) << allowed;
    }
}

TEST_F(OptionsFileTest, AFileCutAnywhereKeepsExactlyTheFieldsBeforeTheCut)
{
    const std::string known = KnownOptions();
    const std::string blank = ReadAndWrite("", RES_FAIL);
    for (size_t cut = 0; cut < known.size(); ++cut) {
        std::string expected = (cut >= 4 ? known : blank).substr(0, 4);
        for (size_t i = 1; i < std::size(kFieldEnds); ++i) {
            size_t start = kFieldEnds[i - 1], length = kFieldEnds[i] - start;
            expected += (kFieldEnds[i] <= cut ? known : blank).substr(start, length);
        }
        if (cut < 3)  // the caller's language, unless a read failed after the marker
            expected.replace(4, 4, std::string("\x01\x00\x00\x00", 4));
        EXPECT_EQ(ReadAndWrite(known.substr(0, cut), RES_FAIL, 1), expected) << cut;
    }
}

TEST_F(OptionsFileTest, ValuesAreClampedTextsCutAndForeignFilesIgnored)
{
    std::string bytes = KnownOptions();
    bytes.replace(4, 13, std::string("\x0F\x00\x00\x00\x07\x00\x00\x00\xBF\x9A\x99\xD9\x3F", 13));  // 15, 7, -0.5, 1.7
    bytes.replace(19, 64, SavedUnits(std::u16string(32, u'n'), 32, false));                          // no terminator
    bytes.replace(214, 24, SavedUnits(u"abcdefghijkl", 12, true));
    std::string clamped = bytes;
    clamped.replace(4, 13, std::string("\x0B\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x3F", 13));  // 11, 0, 0.0, 1.0
    clamped.replace(19 + 62, 2, std::string(2, '\0'));
    EXPECT_EQ(ReadAndWrite(bytes, RES_OK), clamped);

    // Under a foreign header only the profile names are taken.
    std::string namesOnly = ReadAndWrite("", RES_FAIL);
    namesOnly.replace(18, 195, KnownOptions().substr(18, 195));
    for (const char* head : {"\x0B\x00\x02", "\x0C\x00\x03"})
        EXPECT_EQ(ReadAndWrite(std::string(head, 3) + KnownOptions().substr(3), RES_FAIL), namesOnly);
    EXPECT_EQ(m_fresh->GetGameData()->m_nBrightness, kBrightnessUnset);
}

TEST_F(OptionsFileTest, PrefetchSwitchesComeOnlyFromAWholeVersion2File)
{
    WStrCopy(m_world.GetData()->dataFolder, kMaxPathUnits, Utf8ToUtf16(m_dir.Path() + "/").c_str());
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\x02\x01\x01\x00\x09\x00", 6), "1100"},  // debug, web scores, web links, charset
        {std::string("\x01\x01\x01\x00\x09\x00", 6), "0011"},
        {"\x02\x01\x01", "0011"},
        {"", "0011"},
    };
    for (const auto& [bytes, wanted] : cases) {
        std::filesystem::remove(m_dir.File("prefetch.params"));
        if (!bytes.empty())
            m_dir.Write("prefetch.params", bytes);
        CGameData& g = Data();
        g.m_bDebugKeys = 0, g.m_bWebScoringEnabled = 1, g.m_bWebLinks = 0;
        g.m_bForceCharsetFont = 1;  // as start-up sets it
        EXPECT_EQ(m_world.LoadPrefetchParams(), bytes.empty() ? RES_FAIL : RES_OK);
        std::string got = {char('0' + g.m_bDebugKeys), char('0' + g.m_bWebScoringEnabled), char('0' + g.m_bWebLinks),
                           char('0' + g.m_bForceCharsetFont)};
        EXPECT_EQ(got, wanted) << bytes.size();
        EXPECT_EQ(g.m_bOverlay, g.m_bDebugKeys);
    }
}

TEST_F(OptionsFileTest, TheSavePathIsMadeMovesTheOldNamingAndNeedsAUsableFolder)
{
    char16_t path[kMaxPathUnits];
    {
        ScopedEnv nested("APPDATA", m_dir.File("a/b").c_str());
        ASSERT_EQ(m_world.SavePath(u"x.sav", true, path, kMaxPathUnits), RES_OK);
        EXPECT_EQ(Utf16ToUtf8(path), m_dir.File("a/b/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.x.sav"));
        EXPECT_TRUE(std::filesystem::is_directory(m_dir.File("a/b/Kvo Adventure/VadadiDazidev")));
    }
    m_dir.Write(kSaveFolder + "VadadiDazidev.options.sav", "old");
    ASSERT_EQ(m_world.SavePath(u"options.sav", true, path, kMaxPathUnits), RES_OK);
    EXPECT_FALSE(std::filesystem::exists(SaveFile("options.sav")));
    ASSERT_EQ(m_world.SavePath(u"options.sav", false, path, kMaxPathUnits), RES_OK);
    EXPECT_EQ(TempDir::Read(SaveFile("options.sav")), "old");
    m_dir.Write(kSaveFolder + "VadadiDazidev.options.sav", "older");
    ASSERT_EQ(m_world.SavePath(u"options.sav", false, path, kMaxPathUnits), RES_OK);
    EXPECT_EQ(TempDir::Read(SaveFile("options.sav")), "old");  // never moved over an existing file
    {
        ScopedEnv noAppData("APPDATA", nullptr);
        ScopedEnv dataHome("XDG_DATA_HOME", m_dir.File("xdg").c_str());
        ASSERT_EQ(m_world.SavePath(u"x.sav", true, path, kMaxPathUnits), RES_OK);
        EXPECT_EQ(Utf16ToUtf8(path), m_dir.File("xdg/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.x.sav"));
    }
    for (size_t length : {300, 200}) {  // longer than the variable may be; a save path that does not fit
        ScopedEnv tooLong("APPDATA", (m_dir.Path() + "/" + std::string(length, 'd')).c_str());
        EXPECT_EQ(m_world.SavePath(u"x.sav", true, path, kMaxPathUnits), RES_FAIL) << length;
    }
}
