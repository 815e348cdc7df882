#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/ParamsReader.h"
#include "game/VadadiDazidevWorld.h"
#include "tests/e2e/DrivenProgram.h"
#include "tests/e2e/GameRunFolder.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScoreTestServer.h"
#include "tests/support/TempDir.h"

// What a run left in its save folder, read with the game's own readers: a world loaded on the
// run's data with the memory renderer, over a copy of the save folder.
class SavedGame {
public:
    SavedGame(const std::string& dataFolder, const std::string& appData);
    ~SavedGame();
    SavedGame(const SavedGame&) = delete;
    SavedGame& operator=(const SavedGame&) = delete;

    bool Loaded() const { return m_loaded; }
    CVadadiDazidevWorld& World() { return m_world; }
    CGameData& Game() { return *m_world.GetGameData(); }
    // Saves the options and every profile played or finished, with the game's own writers, into
    // the application-data folder appData (in place of what it held); false when a save fails.
    bool WriteTo(const std::string& appData);

private:
    TempDir m_copy;
    ScopedEnv m_appData;
    CParamsText m_settings;
    CVadadiDazidevWorld m_world;
    bool m_loaded = false;
};

// The test build of the program in a run folder of its own, its scores sent to a loopback server.
// Each Launch starts the program there, driven through its socket.
class GameRunTest : public ::testing::Test {
protected:
    GameRunTest();
    void SetUp() override;
    // After a failure, the end of the program's error output and log.
    void TearDown() override;

    // Starts the program with the renderer and seed, every frame one step long, and the
    // NAME=value entries of env in its environment; on the test's own X server unless env names a
    // DISPLAY, so that runs in parallel never take each other's full screen.
    std::unique_ptr<DrivenProgram> Launch(int renderer, uint32_t seed, const std::vector<std::string>& env = {});
    // After the program ended with exitCode: it ended with 0, without a sanitizer report, and its
    // log holds no failure, leak or warning.
    ::testing::AssertionResult EndedCleanly(int exitCode) const;

    std::string GameFolder() const { return m_folder.Game(); }
    std::string DataFolder() const { return m_folder.Data(); }
    std::string AppData() const { return m_folder.AppData(); }

    TempDir m_dir;
    GameRunFolder m_folder;
    // Up through a whole play-through.
    ScoreTestServer m_server{"/score", std::chrono::minutes(10)};
    std::unique_ptr<PrivateDisplay> m_display;
};

// Two picture files of one size whose pixels agree, on at least share of them, within tolerance
// per channel with the range of the other picture's 3 x 3 neighbourhood (PictureMatches).
::testing::AssertionResult PicturesAgree(const std::string& a, const std::string& b, int tolerance = 2,
                                         double share = 0.995);
// A picture's pixels, rows from the bottom, each red | green << 8 | blue << 16; empty when it does
// not load.
std::vector<uint32_t> PicturePixels(const std::string& path, int* width, int* height);
// The number of distinct colours of a picture, 0 when it does not load.
size_t ColourCount(const std::string& path);
// The number of pixels of the rectangle (window pixels from the top left) that differ between two
// pictures of one size; 0 when they do not load at one size.
size_t DifferingPixels(const std::string& a, const std::string& b, const ReportRect& rect);
