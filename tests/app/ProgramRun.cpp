#include "tests/app/ProgramRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "app/Startup.h"
#include "core/BuiltinSettings.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

// Standard error holding every wanted text and none of the unwanted ones.
class COutputMatcher : public testing::MatcherInterface<const std::string&> {
public:
    COutputMatcher(std::vector<std::string> wanted, std::vector<std::string> unwanted)
        : m_wanted(std::move(wanted)), m_unwanted(std::move(unwanted))
    {
    }
    bool MatchAndExplain(const std::string& output, testing::MatchResultListener*) const override
    {
        for (const std::string& text : m_wanted) {
            if (output.find(text) == std::string::npos)
                return false;
        }
        for (const std::string& text : m_unwanted) {
            if (output.find(text) != std::string::npos)
                return false;
        }
        return true;
    }
    void DescribeTo(std::ostream* os) const override
    {
        for (const std::string& text : m_wanted)
            *os << "contains \"" << text << "\" ";
        for (const std::string& text : m_unwanted)
            *os << "lacks \"" << text << "\" ";
    }

private:
    std::vector<std::string> m_wanted;
    std::vector<std::string> m_unwanted;
};

PrivateDisplay* g_running = nullptr;

} // namespace

testing::Matcher<const std::string&> Output(std::vector<std::string> wanted, std::vector<std::string> unwanted)
{
    return testing::MakeMatcher(new COutputMatcher(std::move(wanted), std::move(unwanted)));
}

testing::Matcher<const std::string&> Has(const std::string& text)
{
    return Output({text});
}

Result CReportingWorld::Load(WindowHandle, uint16_t width, uint16_t height, uint8_t, uint8_t fullscreen, uint8_t, uint8_t,
                             uint32_t, const char16_t*, uint16_t, uint16_t)
{
    fprintf(stderr, "Load %ux%u fullscreen=%u\n", width, height, fullscreen);
    return RES_OK;
}

Result CReportingWorld::Update()
{
    ++m_frames;
    fprintf(stderr, "frame %d\n", m_frames);
    return m_frames >= 3 ? RES_FAIL : RES_OK;
}

Result CReportingWorld::Release()
{
    fprintf(stderr, "Release\n");
    return CVadadiDazidevWorld::Release();
}

CWorld* MakeReportingWorld()
{
    return new CReportingWorld();
}

std::string EngineText(const std::string& extraWorldKeys)
{
    return "[WORLD]\n" + extraWorldKeys + std::string(kEngineSettingsText, kEngineSettingsLength);
}

const std::string kBuiltinEngine(kEngineSettingsText, kEngineSettingsLength);

// One run of the program in a fresh folder holding a main pak, with its own application-data
// folder; the platform is shut down afterwards.
int RunInFreshFolder(const std::string& engineText, const std::string& gameText, const char16_t* commandLine,
                     CWorld* (*createWorld)(), const std::string& options, bool shutDown)
{
    TempDir dir;
    dir.Write("Data_full_Win32/VadadiDazidev_full_Win32.pak", std::string(8, '\0'));
    if (!options.empty())
        dir.Write("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.options.sav", options);
    setenv("APPDATA", dir.File("appdata").c_str(), 1);
    SetInstanceScope(std::to_string(getpid()).c_str());
    SetFocusAssumed(true);
    std::string previous = std::filesystem::current_path().string();
    if (chdir(dir.Path().c_str()) != 0)
        return 99;
    CProgramSetup setup{GetModuleHandleW(nullptr),
                        commandLine,
                        SW_SHOWNORMAL,
                        engineText.c_str(),
                        static_cast<uint32_t>(engineText.size()),
                        gameText.c_str(),
                        static_cast<uint32_t>(gameText.size()),
                        createWorld};
    int result = RunProgram(setup);
    if (shutDown)
        PlatformShutdown();
    if (chdir(previous.c_str()) != 0)
        return 98;
    return result;
}

int RunDefault(const std::string& engineText, CWorld* (*createWorld)(), const std::string& options)
{
    return RunInFreshFolder(engineText, std::string(kGameSettingsText, kGameSettingsLength), u"test", createWorld,
                            options);
}

// A windowed run on an X server of its own, ended with the run.
int RunOnPrivateDisplay(const std::string& engineText, CWorld* (*createWorld)())
{
    PrivateDisplay display;
    if (display.Name().empty())
        return 90;
    ScopedEnv onDisplay("DISPLAY", display.Name().c_str());
    SetShiftHeldAtStart(true);
    g_running = &display;
    int result = RunDefault(engineText, createWorld);
    g_running = nullptr;
    return result;
}

PrivateDisplay* RunningPrivateDisplay()
{
    return g_running;
}

void StartupTest::TearDown()
{
    PlatformShutdown();
    ResetTestSwitches();
}
