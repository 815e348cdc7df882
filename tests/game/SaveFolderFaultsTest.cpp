#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>

#include "tests/game/GameLoadFixture.h"
#include "tests/support/LimitedFolder.h"
#include "tests/support/game/WorldStateReport.h"

// The save folder under faults, with the sample world: paths as long as the system takes, a folder
// that cannot be made, a full disk, no inodes left, a read-only file system, leftovers of
// interrupted saves and a second copy of the game. Whatever fails, the old files keep their bytes
// and the player is told on the dialog's notice page at the next main or play page.

namespace {

const std::string kFolder = "/Kvo Adventure/VadadiDazidev/";

class SaveFolderFaultsTest : public GameLoadTest {
protected:
    // Start-up's part with the appdata folder given: the options (reading them answers options:
    // a failure while there is no file), then the world's Load, and the main menu with the fade over.
    void Start(const std::string& appData, Result options = RES_FAIL)
    {
        m_appDataHere = std::make_unique<ScopedEnv>("APPDATA", appData.c_str());
        EXPECT_EQ(m_world.LoadOptions(kLanguageNone), options);
        ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
        Data()->hasFocus = 1;
        Data()->frameFactor = 1.0;
        m_world.m_pScreenshot->StopFade();
        m_world.SetState(GS_MAIN_MENU, 0);
        Frame();
    }
    // The notice that nothing was saved is shown, with its text; it leads to page.
    void ExpectNotSavedNotice(uint32_t page)
    {
        EXPECT_EQ(Page(), uint32_t{kPageNotSaved});
        const std::string report = ReportWorldState(&m_world);
        EXPECT_NE(report.find("line=63,"), std::string::npos) << report;
        EXPECT_NE(report.find("Your%20progress%20could%20not%20be%20saved."), std::string::npos) << report;
        EXPECT_EQ(Walk({kMenuCloseButton}), std::vector<uint32_t>{page});
    }
    // A played story game of the first profile, left for the main menu (which saves it).
    void PlayAndLeave()
    {
        ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
        m_world.m_nCurrentScene = 0;
        m_world.m_nNextScene = kNoIndex;
        Game().Progress(0, 0).m_bInUse = 1;
        m_world.LeaveToMainMenu();
        m_world.SetState(GS_MAIN_MENU, 0);
    }
    size_t Temporaries(const std::string& folder) const
    {
        size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            count += entry.path().filename().string().find(".sav.") != std::string::npos;
        return count;
    }

    std::unique_ptr<ScopedEnv> m_appDataHere;
};

} // namespace

TEST_F(SaveFolderFaultsTest, SavePathsAsLongAsTheSystemTakesAreWrittenAndReadBack)
{
    std::string appData = m_dir.Path();
    while (appData.size() < 1500)
        appData += "/" + std::string(200, 'L');
    Start(appData);
    EXPECT_EQ(Page(), uint32_t{kPageMain}) << "no notice";
    WStrCopy(Game().m_szProfileNames[0], kProfileNameUnits, u"Ada");
    PlayAndLeave();
    ASSERT_EQ(m_world.SaveOptions(), RES_OK);
    EXPECT_TRUE(std::filesystem::exists(appData + kFolder + "VadadiDazidev.v1.profile_normal_full_0.sav"));

    CLoadWorld again;
    Prepare(again, m_game);
    EXPECT_EQ(again.LoadOptions(kLanguageNone), RES_OK);
    ASSERT_EQ(Load(again), RES_OK);
    EXPECT_EQ(std::u16string(again.GetGameData()->m_szProfileNames[0]), u"Ada");
    EXPECT_TRUE(again.GetGameData()->Progress(0, 0).m_bInUse) << "the saved game is found again";
    EXPECT_EQ(again.Release(), RES_OK);
}

TEST_F(SaveFolderFaultsTest, AFolderThatCannotBeMadeIsToldAtTheMainMenu)
{
    // A file stands where the folder should be; a name past what a folder name may be.
    for (const std::string& appData : {m_dir.Write("in the way", "a file"), m_dir.File(std::string(300, 'N'))}) {
        SCOPED_TRACE(appData.size());
        CLoadWorld world;
        Prepare(world, m_game);
        ScopedEnv here("APPDATA", appData.c_str());
        s_log.clear();
        EXPECT_EQ(world.LoadOptions(kLanguageNone), RES_FAIL);
        EXPECT_EQ(world.GetSaveFolder().GetTrouble(), CSaveFolder::Trouble::CannotMake);
        EXPECT_NE(s_log.find(u"cannot be made"), std::u16string::npos) << std::string(s_log.begin(), s_log.end());
        EXPECT_EQ(world.SaveOptions(), RES_FAIL);
        EXPECT_EQ(s_log.find(u"cannot be made"), s_log.rfind(u"cannot be made")) << "logged once";
    }
    Start(m_dir.File("in the way"));
    ExpectNotSavedNotice(0);
    PlayAndLeave();
    EXPECT_EQ(Page(), uint32_t{kPageMain}) << "told once";
}

TEST_F(SaveFolderFaultsTest, AFullDiskOrNoInodeLeftKeepsTheOldFilesAndIsTold)
{
    const std::string appData = m_dir.File("limited");
    LimitedFolder limited(appData, 256 * 1024, 64);
    if (!limited.Ready())
        GTEST_SKIP() << "needs the right to mount a small file system";
    Start(appData);
    WStrCopy(Game().m_szProfileNames[0], kProfileNameUnits, u"Ada");
    PlayAndLeave();
    ASSERT_EQ(m_world.SaveOptions(), RES_OK);
    EXPECT_EQ(Page(), uint32_t{kPageMain});
    const std::string folder = appData + kFolder;
    const std::string profile = TempDir::Read(folder + "VadadiDazidev.v1.profile_normal_full_0.sav");
    const std::string options = TempDir::Read(folder + "VadadiDazidev.v1.options.sav");
    ASSERT_FALSE(profile.empty());

    for (bool inodes : {false, true}) {
        SCOPED_TRACE(inodes ? "no inode left" : "no space left");
        inodes ? limited.FillInodes() : limited.FillSpace();
        s_log.clear();
        Game().Progress(0, 0).m_fPlayUnits += 100.0f;
        PlayAndLeave();
        ExpectNotSavedNotice(0);
        EXPECT_NE(s_log.find(u"failed (No space left on device): the file keeps what it held"), std::u16string::npos)
            << std::string(s_log.begin(), s_log.end());
        WStrCopy(Game().m_szProfileNames[0], kProfileNameUnits, u"Bea");
        EXPECT_EQ(m_world.SaveOptions(), RES_FAIL);
        EXPECT_EQ(TempDir::Read(folder + "VadadiDazidev.v1.profile_normal_full_0.sav"), profile);
        EXPECT_EQ(TempDir::Read(folder + "VadadiDazidev.v1.options.sav"), options);
        EXPECT_EQ(Temporaries(folder), 0u) << "no half-written file left behind";
        std::filesystem::remove(appData + "/.filler");
        for (int n = 0; std::filesystem::remove(appData + "/.inode" + std::to_string(n)); ++n) {
        }
    }
    // Room again: the next save goes through and nothing more needs telling.
    PlayAndLeave();
    EXPECT_EQ(Page(), uint32_t{kPageMain});
    EXPECT_EQ(m_world.SaveOptions(), RES_OK);
    EXPECT_NE(TempDir::Read(folder + "VadadiDazidev.v1.options.sav"), options) << "Bea";
    EXPECT_EQ(m_world.Release(), RES_OK);  // before the small file system goes
}

TEST_F(SaveFolderFaultsTest, AReadOnlyFolderIsReadAndToldAtTheMainMenu)
{
    const std::string appData = m_dir.File("limited");
    LimitedFolder limited(appData, 256 * 1024, 64);
    if (!limited.Ready())
        GTEST_SKIP() << "needs the right to mount a small file system";
    {
        CLoadWorld first;
        Prepare(first, m_game);
        ScopedEnv here("APPDATA", appData.c_str());
        WStrCopy(first.GetGameData()->m_szProfileNames[1], kProfileNameUnits, u"Cy");
        ASSERT_EQ(first.SaveOptions(), RES_OK);
    }
    ASSERT_TRUE(limited.SetReadOnly(true));
    Start(appData, RES_OK);
    EXPECT_EQ(std::u16string(Game().m_szProfileNames[1]), u"Cy") << "what is there is still read";
    EXPECT_NE(s_log.find(u"takes no new file (Read-only file system)"), std::u16string::npos);
    ExpectNotSavedNotice(0);
    EXPECT_EQ(m_world.Release(), RES_OK);  // before the small file system goes
}

TEST_F(SaveFolderFaultsTest, LeftoversOfInterruptedSavesOlderThanTheProgramGoAtStart)
{
    const std::string folder = m_dir.File("appdata") + kFolder;
    const std::string stale = m_dir.Write("appdata" + kFolder + "VadadiDazidev.v1.profile_normal_full_0.sav.Xy12Ab", "old");
    const struct timespec before[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    utimensat(AT_FDCWD, stale.c_str(), before, 0);
    CLoadWorld world;
    Prepare(world, m_game);
    const std::string fresh = m_dir.Write("appdata" + kFolder + "VadadiDazidev.v1.options.sav.Zz34Cd", "new");
    EXPECT_EQ(world.LoadOptions(kLanguageNone), RES_FAIL) << "no options file, only leftovers";
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(fresh)) << "not older than the program";
}

TEST_F(SaveFolderFaultsTest, ASecondCopyOnTheSameSaveFolderEndsTouchingNothing)
{
    const std::string folder = m_dir.File("appdata") + kFolder;
    const std::string damaged = m_dir.Write("appdata" + kFolder + "VadadiDazidev.v1.options.sav", "damaged");
    const std::string stale = m_dir.Write("appdata" + kFolder + "VadadiDazidev.v1.options.sav.Xy12Ab", "old");
    const struct timespec before[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    utimensat(AT_FDCWD, stale.c_str(), before, 0);
    // The first copy: another process holding the folder.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t first = fork();
    if (first == 0) {
        int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        (void)!flock(fd, LOCK_EX);
        (void)!write(ready[1], "r", 1);
        pause();
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);

    EXPECT_EQ(m_world.LoadOptions(kLanguageNone), RES_FAIL);
    EXPECT_EQ(Load(), RES_FAIL);
    EXPECT_EQ(std::u16string(Data()->errorDetail), u"Another copy of the game is using the save folder");
    EXPECT_NE(s_log.find(u"# Another copy of the game is using the save folder \""), std::u16string::npos);
    EXPECT_EQ(m_world.Release(), RES_OK);
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(TempDir::Read(damaged), "damaged") << "neither kept aside nor overwritten";
    EXPECT_TRUE(std::filesystem::exists(stale));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
}
