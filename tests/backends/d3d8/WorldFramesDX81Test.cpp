#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>

#include "app/ModuleRegistrations.h"
#include "app/Startup.h"
#include "app/WorldFactory.h"
#include "backends/d3d8/EngineDX81.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "game/VadadiDazidevWorld.h"
#include "tests/support/platform/D3D8TestHooks.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldFramesTests.h"
#include "world/ModuleRegistry.h"
#include "world/World.h"

namespace {

std::string Rgb(const RgbPixel& pixel)
{
    return std::to_string(pixel.r) + " " + std::to_string(pixel.g) + " " + std::to_string(pixel.b);
}

// The window's pixel at (x, y) from the top as presented, read from the window's back buffer,
// which the swap keeps here, through the device's context (current after a present).
RgbPixel WindowPixel(int x, int y, int height)
{
    unsigned char rgba[4] = {};
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return RgbPixel{rgba[0], rgba[1], rgba[2]};
}

// The game world as start-up makes it, reporting on standard error what its third frame finds:
// the renderer in use, the frames presented, the centre of the back buffer and of the window;
// then it asks to stop.
class CSamplingWorld : public CVadadiDazidevWorld {
public:
    Result Update() override
    {
        const Result result = CVadadiDazidevWorld::Update();
        if (++m_frames < 3)
            return result;
        auto* engine = dynamic_cast<C3DEngineDX81*>(Get3DEngine());
        IDirect3DDevice8* device = engine ? engine->GetState().device : nullptr;
        const CWorldData* d = GetData();
        const int x = d->workingWidth / 2;
        const int y = d->workingHeight / 2;
        fprintf(stderr, "renderer %s presents %u\n", engine ? "DX81" : "other",
                device ? D3D8InspectDevice(device).stats.presents : 0u);
        fprintf(stderr, "back buffer %s\n", Rgb(D3D8BackBufferPixel(device, x, y)).c_str());
        fprintf(stderr, "window %s\n", Rgb(WindowPixel(x, y, d->workingHeight)).c_str());
        return RES_FAIL;
    }

private:
    int m_frames = 0;
};

CWorld* MakeSamplingWorld()
{
    auto* world = new CSamplingWorld();
    FillWorldFactories(world);
    return world;
}

CWorld* MakeGameWorld()
{
    return new CVadadiDazidevWorld();
}

// The built-in game settings without the start-up logos, so that the program begins with its
// loading screen.
const std::string& GameSettingsWithoutLogos()
{
    static const std::string text = [] {
        std::string settings(kGameSettingsText, kGameSettingsLength);
        for (const char* key : {"LOGO_TEXTURE_001_WIN32 =", "LOGO_TEXTURE_002_WIN32 ="}) {
            const size_t at = settings.find(key) + strlen(key);
            settings.erase(at, settings.find('\n', at) - at);
        }
        return settings;
    }();
    return text;
}

// Runs the program over the built-in texts, without logos, in folder (when empty, a fresh one
// holding an empty main pak), its application data in a fresh folder. Called in a death test's
// child, which so makes and removes its folders itself.
int RunProgramIn(std::string folder, CWorld* (*createWorld)())
{
    TempDir fresh;
    if (folder.empty()) {
        fresh.Write("Data_full_Win32/VadadiDazidev_full_Win32.pak", std::string(8, '\0'));
        folder = fresh.Path();
    }
    setenv("APPDATA", fresh.File("appdata").c_str(), 1);
    SetInstanceScope(std::to_string(getpid()).c_str());
    SetFocusAssumed(true);
    SetHeadless(true);
    const std::string previous = std::filesystem::current_path().string();
    if (chdir(folder.c_str()) != 0)
        return 99;
    CProgramSetup setup{GetModuleHandleW(nullptr),
                        u"test",
                        SW_SHOWNORMAL,
                        kEngineSettingsText,
                        kEngineSettingsLength,
                        GameSettingsWithoutLogos().c_str(),
                        static_cast<uint32_t>(GameSettingsWithoutLogos().size()),
                        createWorld};
    const int result = RunProgram(setup);
    PlatformShutdown();
    return chdir(previous.c_str()) == 0 ? result : 98;
}

// Standard error holding a text.
class CContainsMatcher : public testing::MatcherInterface<const std::string&> {
public:
    explicit CContainsMatcher(std::string text) : m_text(std::move(text)) {}
    bool MatchAndExplain(const std::string& output, testing::MatchResultListener*) const override
    {
        return output.find(m_text) != std::string::npos;
    }
    void DescribeTo(std::ostream* os) const override { *os << "contains \"" << m_text << "\""; }

private:
    std::string m_text;
};

testing::Matcher<const std::string&> Contains(const std::string& text)
{
    return testing::MakeMatcher(new CContainsMatcher(text));
}

// Standard error telling of two frames presented through Direct3D 8 (the loading screens, before
// the intro starts to fade in) whose back buffer and window hold the same grey, no lighter than
// the clear colour.
class CPresentedGreyMatcher : public testing::MatcherInterface<const std::string&> {
public:
    bool MatchAndExplain(const std::string& output, testing::MatchResultListener*) const override
    {
        const size_t at = output.find(kPresented);
        unsigned c[6] = {};
        if (at == std::string::npos ||
            sscanf(output.c_str() + at + strlen(kPresented), "back buffer %u %u %u\nwindow %u %u %u", &c[0], &c[1],
                   &c[2], &c[3], &c[4], &c[5]) != 6)
            return false;
        const auto [low, high] = std::minmax({c[0], c[1], c[2]});
        return std::equal(c, c + 3, c + 3) && high - low <= kTint && high <= 150;
    }
    void DescribeTo(std::ostream* os) const override { *os << "tells of one grey in the back buffer and window"; }

private:
    static constexpr const char* kPresented = "renderer DX81 presents 2\n";
    static constexpr unsigned kTint = 2;
};

std::string BinaryDir()
{
    const char* dir = getenv("VD_BINARY_DIR");
    return dir ? dir : std::filesystem::current_path().string();
}

class WorldFramesDX81Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!D3D8RendererTestRig::HasDisplay())
            GTEST_SKIP() << "needs an X display";
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

} // namespace

// The renderer start-up chooses by default, registered and validated as start-up does.
struct DX81WorldFrames {
    static void Choose(CWorld& world)
    {
        ASSERT_EQ(RegisterModuleDX81(&world), RES_OK);
        ASSERT_EQ(RegisterModuleOpenGL(&world), RES_OK);
        ASSERT_EQ(ValidateModules(kModuleId3DDX81, 0, 0, 0, world.GetData()), RES_OK);
    }
    static bool IsRenderer(C3DEngine* engine) { return dynamic_cast<C3DEngineDX81*>(engine) != nullptr; }
    static IDirect3DDevice8* Device(CWorld& world)
    {
        return static_cast<C3DEngineDX81*>(world.Get3DEngine())->GetState().device;
    }
    static void ExpectPresented(CWorld& world, UINT frames)
    {
        EXPECT_EQ(D3D8InspectDevice(Device(world)).stats.presents, frames);
    }
    static std::pair<int, int> Viewport(CWorld& world)
    {
        const D3DVIEWPORT8 viewport = D3D8InspectState(Device(world)).viewport;
        return {static_cast<int>(viewport.Width), static_cast<int>(viewport.Height)};
    }
    static RgbPixel CentrePixel(CWorld& world) { return D3D8BackBufferPixel(Device(world), 160, 120); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(DX81, WorldFramesTest, ::testing::Types<DX81WorldFrames>);

// The program on its bundled data with the built-in settings draws through this renderer and the
// window shows what it presents: the clear colour under the loading screen's black background,
// grey; the window is forced (Shift held) so the shared display keeps its mode.
TEST_F(WorldFramesDX81Test, TheProgramPresentsTheClearColourUnderTheLoadingScreen)
{
    const std::string folder = BinaryDir();
    if (!std::filesystem::exists(folder + "/Data_full_Win32/VadadiDazidev_full_Win32.pak"))
        GTEST_SKIP() << "run through ctest, beside the built data";
    EXPECT_EXIT(
        {
            SetShiftHeldAtStart(true);
            exit(RunProgramIn(folder, MakeSamplingWorld));
        },
        testing::ExitedWithCode(0),
        testing::MakeMatcher(new CPresentedGreyMatcher()));
}

// A machine where no device can be made ends the start-up with the loading box and its detail.
TEST_F(WorldFramesDX81Test, NoDeviceEndsTheStartUpWithTheLoadingBox)
{
    EXPECT_EXIT(
        {
            for (D3DDEVTYPE type : {D3DDEVTYPE_HAL, D3DDEVTYPE_REF}) {
                for (DWORD flags : {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_MIXED_VERTEXPROCESSING,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING})
                    D3D8FailCreateDevice(type, flags, D3DERR_NOTAVAILABLE);
            }
            SetShiftHeldAtStart(true);
            exit(RunProgramIn("", MakeGameWorld));
        },
        testing::ExitedWithCode(255),
        Contains("Error (v1,203): An error occurred while loading.\n\nThe application will now exit.\n\n"
                           "(No compatible DirectX 8.1 was found)"));
}
