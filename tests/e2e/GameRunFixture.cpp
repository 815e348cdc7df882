#include "tests/e2e/GameRunFixture.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/WorldFactory.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/PackerFile.h"
#include "tests/e2e/Picture.h"
#include "tests/e2e/PictureDifference.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/WorldTestModules.h"

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

} // namespace

SavedGame::SavedGame(const std::string& dataFolder, const std::string& appData)
    : m_appData("APPDATA", m_copy.File("appdata").c_str()), m_settings(kGameSettingsText, kGameSettingsLength)
{
    std::error_code error;
    fs::copy(appData, m_copy.File("appdata"), fs::copy_options::recursive, error);
    ResetTestModules();
    const std::u16string pak = Utf8ToUtf16(dataFolder + "VadadiDazidev_full_Win32.pak");
    const bool prepared =
        Succeeded(m_world.SetParameters(nullptr, &m_settings, nullptr, pak.c_str(), 0, FindPackerEntry, nullptr)) &&
        Succeeded(m_world.GetDataFolder());
    WStrCopy(m_world.GetData()->dataFolder, kMaxPathUnits, Utf8ToUtf16(dataFolder).c_str());
    FillWorldFactories(&m_world);
    ChooseTestModule(m_world.GetData(), kModule3D, [](CWorldData* d) -> CBaseObject* { return new CMemoryEngine(d); });
    // A folder without options yet is read as the game reads it at its first start.
    m_loaded = prepared && !error &&
               Succeeded(m_world.Load(MemoryRenderer::Window(), 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0));
    const bool options = fs::exists(m_copy.File("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.options.sav"));
    m_loaded = m_loaded && (Succeeded(m_world.LoadOptions(kLanguageCount)) || !options);
}

bool SavedGame::WriteTo(const std::string& appData)
{
    bool saved = Succeeded(m_world.SaveOptions());
    for (uint32_t mode = 0; mode < kProfileModeCount; ++mode)
        for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot) {
            const CProfileProgress& record = Game().Progress(mode, slot);
            if (record.m_bInUse || record.m_bFinished)
                saved = Succeeded(m_world.SaveProfile(slot, mode)) && saved;
        }
    std::error_code error;
    fs::copy(m_copy.File("appdata"), appData, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    return saved && !error;
}

SavedGame::~SavedGame()
{
    EXPECT_EQ(m_world.Release(), RES_OK);
    ResetTestModules();
}

GameRunTest::GameRunTest() : m_folder(m_dir.Path(), Env("VD_BINARY_DIR")) {}

void GameRunTest::SetUp()
{
    REQUIRE_DISPLAY();
    const std::string binary = Env("VD_BINARY_DIR");
    const std::string source = Env("VD_SOURCE_DIR");
    if (binary.empty() || source.empty())
        GTEST_SKIP() << "run through ctest";
    ASSERT_TRUE(m_server.Listening());
    ASSERT_EQ(m_folder.Prepare(source, Utf16ToUtf8(m_server.BaseUrl())), "");
}

void GameRunTest::TearDown()
{
    if (!HasFailure())
        return;
    for (const char* name : {"game/stderr.txt", "game/VadadiDazidev.log"}) {
        const std::string text = TempDir::Read(m_dir.File(name));
        printf("--- %s (end) ---\n%s\n", name, text.substr(text.size() > 3000 ? text.size() - 3000 : 0).c_str());
    }
}

std::unique_ptr<DrivenProgram> GameRunTest::Launch(int renderer, uint32_t seed, const std::vector<std::string>& env)
{
    std::vector<std::string> all = env;
    const bool namesDisplay =
        std::any_of(env.begin(), env.end(), [](const std::string& entry) { return entry.rfind("DISPLAY=", 0) == 0; });
    if (!namesDisplay && PrivateDisplay::ServerInstalled()) {
        if (!m_display)
            m_display = std::make_unique<PrivateDisplay>();
        if (m_display->Name().empty()) {
            ADD_FAILURE() << "no X server of the test's own";
            return nullptr;
        }
        all.push_back("DISPLAY=" + m_display->Name());
    }
    std::string error;
    auto program = m_folder.Launch(renderer, seed, &error, all);
    if (!program)
        ADD_FAILURE() << error;
    return program;
}

::testing::AssertionResult GameRunTest::EndedCleanly(int exitCode) const
{
    const std::string errors = TempDir::Read(m_dir.File("game/stderr.txt"));
    const std::string log = TempDir::Read(m_dir.File("game/VadadiDazidev.log"));
    if (exitCode != 0)
        return ::testing::AssertionFailure() << "exit code " << exitCode << "\n" << errors;
    if (errors.find("Sanitizer") != std::string::npos || errors.find("runtime error") != std::string::npos)
        return ::testing::AssertionFailure() << "sanitizer report:\n" << errors;
    // Start-up's first and last lines are issued with the log switched off; what is written is
    // the renderer's line and any failure, leak or warning.
    for (const char* fault : {"failed", "memory leaks", "warning", "!!!"}) {
        if (log.find(fault) != std::string::npos)
            return ::testing::AssertionFailure() << "the log reports \"" << fault << "\":\n" << log;
    }
    return ::testing::AssertionSuccess();
}

std::vector<uint32_t> PicturePixels(const std::string& path, int* width, int* height)
{
    const Picture picture = Picture::Load(path);
    std::vector<uint32_t> pixels;
    *width = picture.Width();
    *height = picture.Height();
    for (int y = picture.Height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.Width(); ++x)
            pixels.push_back(picture.At(x, y) & 0xFFFFFFu);
    return pixels;
}

::testing::AssertionResult PicturesAgree(const std::string& a, const std::string& b, int tolerance, double share)
{
    Picture first = Picture::Load(a), second = Picture::Load(b);
    if (first.Empty() || second.Empty())
        return ::testing::AssertionFailure() << a << " or " << b << " does not load";
    return PictureMatches(first.MakeOpaque(), second.MakeOpaque(), "", tolerance, share) << " (" << a << ", " << b << ")";
}

size_t ColourCount(const std::string& path)
{
    const Picture picture = Picture::Load(path);
    std::set<uint32_t> colours;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            colours.insert(picture.At(x, y) & 0xFFFFFFu);
    return colours.size();
}

size_t DifferingPixels(const std::string& a, const std::string& b, const ReportRect& rect)
{
    const Picture first = Picture::Load(a), second = Picture::Load(b);
    if (first.Empty() || first.Width() != second.Width() || first.Height() != second.Height())
        return 0;
    size_t differing = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, first.Height()); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, first.Width()); ++x)
            differing += first.At(x, y) != second.At(x, y);
    return differing;
}
