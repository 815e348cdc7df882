#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/VadadiDazidevWorld.h"

class PrivateDisplay;

// Runs of the program in-process, for the tests of start-up, the loop and shutdown.

// Standard error holding every wanted text and none of the unwanted ones.
testing::Matcher<const std::string&> Output(std::vector<std::string> wanted, std::vector<std::string> unwanted = {});
testing::Matcher<const std::string&> Has(const std::string& text);

// A game world that runs without a renderer: it reports its Load arguments and frames on
// standard error and asks to stop after three frames.
class CReportingWorld : public CVadadiDazidevWorld {
public:
    Result Load(WindowHandle, uint16_t width, uint16_t height, uint8_t, uint8_t fullscreen, uint8_t, uint8_t, uint32_t,
                const char16_t*, uint16_t, uint16_t) override;
    Result Update() override;
    Result Release() override;

private:
    int m_frames = 0;
};

CWorld* MakeReportingWorld();

// The built-in engine settings, with extra [WORLD] keys ahead of them (the first match wins).
std::string EngineText(const std::string& extraWorldKeys);
extern const std::string kBuiltinEngine;

// One run of the program in a fresh folder holding a main pak, with its own application-data
// folder; the platform is shut down afterwards unless told otherwise.
int RunInFreshFolder(const std::string& engineText, const std::string& gameText, const char16_t* commandLine,
                     CWorld* (*createWorld)(), const std::string& options = "", bool shutDown = true);
int RunDefault(const std::string& engineText, CWorld* (*createWorld)() = MakeReportingWorld,
               const std::string& options = "");
// A windowed run on an X server of its own, ended with the run; during it, RunningPrivateDisplay
// is that server.
int RunOnPrivateDisplay(const std::string& engineText, CWorld* (*createWorld)());
PrivateDisplay* RunningPrivateDisplay();

// Death tests re-run the test program; the platform is clean after each test.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override;
};
