#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>

#include "tests/game/GameLoadFixture.h"
#include "tests/support/game/WorldStateReport.h"

// A damaged saved game of the sample's first profile: every variant (cut, zeroed, flipped, huge,
// a folder or a pipe in its place) either continues, or the player is told on the dialog's notice
// page and the play page then offers a new game; the damaged bytes stay beside as the one
// ".damaged" copy, and the options and the other profiles are not touched.

namespace {

constexpr size_t kCountsEnd = 18;     // version and the four counts
constexpr size_t kFlagsAt = 18;       // in use, finished, sent
constexpr size_t kRecordEnd = 69;     // the record and four level times
constexpr size_t kZoomAt = 69 + 12 + 4 + 1;  // after the scene indexes, the abuse timer and count

enum class Outcome {
    Continues,        // the saved level is queued
    ToldAtContinue,   // the continue line is offered, then the notice
    ToldKeptAtStart,  // kept aside at start, the record read up to the damage: continue, then the notice
    RefusedAtStart,   // kept aside at start, the record never read: only a new game is offered
    NotInUse,         // the record reads as never played: only a new game, nothing kept aside
};

enum class Stands { File, Folder, Pipe };

struct SavedGameDamage {
    const char* name;
    std::function<std::string(const std::string&)> damage;
    Outcome outcome;
    Stands stands = Stands::File;
};

void PrintTo(const SavedGameDamage& damage, std::ostream* out)
{
    *out << damage.name;
}

std::string Cut(const std::string& bytes, size_t at) { return bytes.substr(0, std::min(at, bytes.size())); }
std::string Zeroed(std::string bytes, size_t at, size_t count)
{
    std::fill_n(bytes.begin() + at, std::min(count, bytes.size() - at), '\0');
    return bytes;
}
std::string Flipped(std::string bytes, size_t at, uint8_t bits)
{
    bytes[at] = static_cast<char>(bytes[at] ^ bits);
    return bytes;
}

const SavedGameDamage kDamages[] = {
    {"whole", [](const std::string& b) { return b; }, Outcome::Continues},
    {"huge", [](const std::string& b) { return b + std::string(4 << 20, '\x7E'); }, Outcome::Continues},
    {"cut in the version", [](const std::string& b) { return Cut(b, 1); }, Outcome::RefusedAtStart},
    {"cut in the counts", [](const std::string& b) { return Cut(b, 10); }, Outcome::RefusedAtStart},
    {"cut in the record", [](const std::string& b) { return Cut(b, kFlagsAt + 5); }, Outcome::ToldKeptAtStart},
    {"cut after the record", [](const std::string& b) { return Cut(b, kRecordEnd + 2); }, Outcome::ToldAtContinue},
    {"cut in the sections", [](const std::string& b) { return Cut(b, b.size() / 2 + 20); }, Outcome::ToldAtContinue},
    // The tooltips' scene sections come last and what they read is not looked at.
    {"cut by one byte", [](const std::string& b) { return Cut(b, b.size() - 1); }, Outcome::Continues},
    {"zeroed counts", [](const std::string& b) { return Zeroed(b, 2, kCountsEnd - 2); }, Outcome::RefusedAtStart},
    {"zeroed flags", [](const std::string& b) { return Zeroed(b, kFlagsAt, 3); }, Outcome::NotInUse},
    {"zeroed from the sections on", [](const std::string& b) { return Zeroed(b, kZoomAt + 20, b.size()); },
     Outcome::ToldAtContinue},
    {"flipped version", [](const std::string& b) { return Flipped(b, 0, 0x04); }, Outcome::RefusedAtStart},
    {"flipped level index", [](const std::string& b) { return Flipped(b, kRecordEnd + 3, 0x80); },
     Outcome::ToldAtContinue},
    {"record past the level's", [](const std::string& b) { return Flipped(b, kRecordEnd + 8, 0x55); },
     Outcome::ToldAtContinue},
    {"zoom not a number", [](const std::string& b) { return Zeroed(b, kZoomAt, 4).replace(kZoomAt, 4, "\xFF\xFF\xFF\xFF"); },
     Outcome::ToldAtContinue},
    {"a folder", [](const std::string&) { return std::string(); }, Outcome::RefusedAtStart, Stands::Folder},
    {"a pipe", [](const std::string&) { return std::string(); }, Outcome::RefusedAtStart, Stands::Pipe},
};

class DamagedSavedGameTest : public GameLoadTest, public ::testing::WithParamInterface<SavedGameDamage> {
protected:
    std::string SaveFile(const std::string& name) const
    {
        return m_dir.File("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1." + name);
    }

    // A story game of the first profile as leaving it for the menu saves it, in the first level
    // with the blank profile's state; the second profile is played too. The options as the game
    // writes them at quit.
    void SaveGames()
    {
        CLoadWorld maker;
        Prepare(maker, m_game);
        ASSERT_EQ(Load(maker), RES_OK);
        CGameData& game = *maker.GetGameData();
        WStrCopy(game.m_szProfileNames[0], kProfileNameUnits, u"Ada");
        game.m_nSlot = 1;
        ASSERT_EQ(maker.StartNewGame(0), RES_OK);
        game.Progress(0, 1).m_bInUse = 1;
        ASSERT_EQ(maker.SaveProfile(1, 0), RES_OK);
        game.m_nSlot = 0;
        ASSERT_EQ(maker.StartNewGame(0), RES_OK);
        maker.m_nCurrentScene = 0;  // as the scene switch leaves it
        maker.m_nNextScene = kNoIndex;
        game.Progress(0, 0).m_bInUse = 1;
        maker.LeaveToMainMenu();
        ASSERT_EQ(maker.Release(), RES_OK);
    }

    void PutDamage(const SavedGameDamage& damage, const std::string& saved)
    {
        const std::string path = SaveFile("profile_normal_full_0.sav");
        std::filesystem::remove(path);
        if (damage.stands == Stands::Folder)
            m_dir.Write("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.profile_normal_full_0.sav/x", "x");
        else if (damage.stands == Stands::Pipe)
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else
            m_dir.Write("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.profile_normal_full_0.sav",
                        damage.damage(saved));
    }

    // The main menu's play page of the first profile.
    void ShowPlayPage()
    {
        Data()->hasFocus = 1;
        Data()->frameFactor = 1.0;
        m_world.m_pScreenshot->StopFade();
        m_world.SetState(GS_MAIN_MENU, 0);
        Frame();
        EXPECT_EQ(Walk({kLinePlay}), std::vector<uint32_t>{kPagePlay});
    }
    bool Offers(uint32_t line) { return Dialog().GetPageContainer()->FindById(line) != nullptr; }
};

} // namespace

TEST_P(DamagedSavedGameTest, ContinuesOrTellsThePlayerAndOffersANewGame)
{
    const SavedGameDamage& damage = GetParam();
    SaveGames();
    ASSERT_FALSE(HasFatalFailure());
    const std::string saved = TempDir::Read(SaveFile("profile_normal_full_0.sav"));
    const std::string options = TempDir::Read(SaveFile("options.sav"));
    const std::string other = TempDir::Read(SaveFile("profile_normal_full_1.sav"));
    ASSERT_GT(saved.size(), kZoomAt + 100);
    PutDamage(damage, saved);
    const std::string copy = SaveFile("profile_normal_full_0.sav.damaged");

    EXPECT_EQ(m_world.LoadOptions(kLanguageNone), RES_OK);  // as start-up does before the window exists
    ASSERT_EQ(Load(), RES_OK) << "a damaged save never stops the game";
    const bool keptAtStart = damage.outcome == Outcome::RefusedAtStart || damage.outcome == Outcome::ToldKeptAtStart;
    EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(copy)), keptAtStart);
    ShowPlayPage();
    EXPECT_EQ(std::u16string(Game().m_szProfileNames[0]), u"Ada");
    const bool inUse = damage.outcome != Outcome::RefusedAtStart && damage.outcome != Outcome::NotInUse;
    ASSERT_EQ(Offers(kLineContinueStory), inUse);
    if (inUse)
        Walk({kLineContinueStory});

    if (damage.outcome == Outcome::Continues) {
        EXPECT_NE(Page(), uint32_t{kPageGameUnreadable});
        EXPECT_EQ(m_world.m_nNextScene, 0u);
        EXPECT_FALSE(std::filesystem::exists(copy));
        return;
    }
    if (inUse) {
        EXPECT_EQ(Page(), uint32_t{kPageGameUnreadable});
        const std::string report = ReportWorldState(&m_world);
        EXPECT_NE(report.find("line=" + std::to_string(kLineGameUnreadable) + ","), std::string::npos) << report;
        EXPECT_NE(report.find("The%20saved%20game%20could%20not%20be%20read"), std::string::npos) << report;
        EXPECT_EQ(m_world.m_nNextScene, kNoIndex) << "nothing half-read is played";
        EXPECT_EQ(m_world.GetState(), uint32_t{GS_MAIN_MENU});
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(copy)));
        EXPECT_NE(s_log.find(u"is damaged: kept as"), std::u16string::npos);
        EXPECT_EQ(Walk({kMenuCloseButton}), std::vector<uint32_t>{kPagePlay}) << "the notice leads back to the play page";
    }
    const bool keptAside = damage.outcome != Outcome::NotInUse;
    EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(copy)), keptAside);
    if (keptAside && damage.stands == Stands::File) {
        EXPECT_EQ(TempDir::Read(copy), damage.damage(saved)) << "the damaged bytes are kept";
    }

    // A new game then starts, the best time of the record kept; nothing else was touched.
    ASSERT_TRUE(Offers(kLineNewStory));
    Walk({kLineNewStory});
    EXPECT_EQ(m_world.m_nNextScene, 0u);
    EXPECT_EQ(Game().m_nMode, 0u);
    EXPECT_EQ(TempDir::Read(SaveFile("options.sav")), options);
    EXPECT_EQ(TempDir::Read(SaveFile("profile_normal_full_1.sav")), other);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedSavedGameTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<SavedGameDamage>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
