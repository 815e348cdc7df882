#include "tests/e2e/GameRunFixture.h"

#include <filesystem>
#include <set>

#include "app/WorldFactory.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/PackerFile.h"
#include "engine3d/TextureRaw.h"
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

// A picture as 32-bit pixels; empty when it does not load.
std::vector<uint32_t> Pixels(const std::string& path, int* width, int* height)
{
    C3DTextureRaw picture(nullptr);
    std::vector<uint32_t> pixels;
    if (Failed(picture.LoadFromFile(Utf8ToUtf16(path).c_str())) || picture.GetBits() < 24) {
        picture.Release();
        return pixels;
    }
    *width = picture.GetWidth();
    *height = picture.GetHeight();
    const uint8_t* bytes = picture.GetPixels();
    const size_t stride = picture.GetBits() / 8;
    for (size_t i = 0; i < size_t(*width) * *height; ++i, bytes += stride)
        pixels.push_back(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16);
    picture.Release();
    return pixels;
}

} // namespace

SavedGame::SavedGame(const std::string& dataFolder, const std::string& appData)
    : m_appData("APPDATA", m_copy.File("appdata").c_str()), m_settings(kGameSettingsText, kGameSettingsLength)
{
    std::error_code error;
    fs::copy(appData, m_copy.File("appdata"), fs::copy_options::recursive, error);
    ResetTestModules();
    const std::u16string pak = Utf8ToUtf16(dataFolder + "VadadiDazidev_full_Win32.pak");
    m_world.SetParameters(nullptr, &m_settings, nullptr, pak.c_str(), 0, FindPackerEntry, nullptr);
    m_world.GetDataFolder();
    WStrCopy(m_world.GetData()->dataFolder, kMaxPathUnits, Utf8ToUtf16(dataFolder).c_str());
    FillWorldFactories(&m_world);
    ChooseTestModule(m_world.GetData(), kModule3D, [](CWorldData* d) -> CBaseObject* { return new CMemoryEngine(d); });
    // A folder without options yet is read as the game reads it at its first start.
    m_loaded = !error && Succeeded(m_world.Load(MemoryRenderer::Window(), 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0));
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
    m_world.Release();
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
    std::string error;
    auto program = m_folder.Launch(renderer, seed, &error, env);
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

::testing::AssertionResult PicturesAgree(const std::string& a, const std::string& b, int tolerance, double share)
{
    int width = 0, height = 0, widthB = 0, heightB = 0;
    const std::vector<uint32_t> first = Pixels(a, &width, &height);
    const std::vector<uint32_t> second = Pixels(b, &widthB, &heightB);
    if (first.empty() || width != widthB || height != heightB)
        return ::testing::AssertionFailure() << a << " and " << b << " do not load at one size";
    // How far a channel of one picture lies outside the range of the other's 3 x 3 neighbourhood
    // (the renderers place edges half a pixel apart).
    auto gap = [&](const std::vector<uint32_t>& from, const std::vector<uint32_t>& to, int x, int y, int shift) {
        int low = 255, high = 0;
        for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, height - 1); ++ny)
            for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx) {
                const int value = to[size_t(ny) * width + nx] >> shift & 0xFF;
                low = std::min(low, value), high = std::max(high, value);
            }
        const int value = from[size_t(y) * width + x] >> shift & 0xFF;
        return std::max({0, low - value, value - high});
    };
    size_t close = 0;
    int largest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int difference = 0;
            for (int shift = 0; shift < 24; shift += 8)
                difference = std::max({difference, gap(first, second, x, y, shift), gap(second, first, x, y, shift)});
            close += difference <= tolerance;
            largest = std::max(largest, difference);
        }
    const double agreeing = double(close) / first.size();
    if (agreeing < share)
        return ::testing::AssertionFailure() << a << " and " << b << ": " << agreeing * 100 << " % within "
                                             << tolerance << ", largest difference " << largest;
    return ::testing::AssertionSuccess() << agreeing * 100 << " % within " << tolerance << ", largest " << largest;
}

size_t ColourCount(const std::string& path)
{
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = Pixels(path, &width, &height);
    return std::set<uint32_t>(pixels.begin(), pixels.end()).size();
}

size_t DifferingPixels(const std::string& a, const std::string& b, const ReportRect& rect)
{
    int width = 0, height = 0, widthB = 0, heightB = 0;
    const std::vector<uint32_t> first = Pixels(a, &width, &height);
    const std::vector<uint32_t> second = Pixels(b, &widthB, &heightB);
    if (first.empty() || width != widthB || height != heightB)
        return 0;
    size_t differing = 0;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, height); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, width); ++x) {
            const size_t at = size_t(height - 1 - y) * width + x;  // the rows are stored bottom-up
            differing += first[at] != second[at];
        }
    return differing;
}
