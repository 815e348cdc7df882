// Frames per second of the in-game state at 1024 x 768 with a full hidden-object scene, through
// the Direct3D 8 module and the OpenGL module (needs an X display): the game world's own frame
// (update, draw pass, present) with a textured background and 60 textured parts, a toolbar of
// 12 items, the hint with its glow and a star fading in. Prints the frames per second of each.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ModuleRegistrations.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "game/GameStates.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/RendererTestRig.h"
#include "tests/support/TempDir.h"
#include "tools/LevelFileWriter.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"
#include "world/ModuleRegistry.h"

namespace {

constexpr uint16_t kWidth = 1024;
constexpr uint16_t kHeight = 768;
constexpr uint32_t kParts = 60;
constexpr uint32_t kItems = 12;
constexpr int kWarmUp = 30;
constexpr int kFrames = 300;

class CBenchWorld : public CVadadiDazidevWorld {
public:
    using CVadadiDazidevWorld::m_nCurrentScene;
    using CVadadiDazidevWorld::m_nSceneCount;
    using CVadadiDazidevWorld::m_pHint;
    using CVadadiDazidevWorld::m_pMainFont;
    using CVadadiDazidevWorld::m_pScenes;
    using CVadadiDazidevWorld::m_pStars;
    using CVadadiDazidevWorld::m_pToolbar;
};

// The scene with a star of its own fading in.
class CBenchLevel : public CLevelVadadiDazidev {
public:
    using CLevelVadadiDazidev::CLevelVadadiDazidev;
    void ShowStar()
    {
        m_pStars.reset(new CLevelStar[2]());
        m_nStarCount = 2;
        m_pStars[1] = {512.0f, 300.0f, 0.0f, 0, 0.0f};
        PickStarSlot();
    }
};

std::string Picture(uint32_t width, uint32_t height, uint8_t shade)
{
    PngFixture png;
    png.width = width, png.height = height, png.colorType = 6;
    png.rows.assign(size_t{width} * height * 4, shade);
    return EncodePng(png);
}

// Part 0 the background over the whole screen, then the parts on a 10 x 6 grid, each a
// textured square of two triangles; false when the object refuses them.
bool BuildScene(C3DObject* object)
{
    const uint32_t parts = kParts + 1;
    if (Failed(object->Create(parts, 4 * parts, 6 * parts)) || Failed(object->Lock()))
        return false;
    for (uint32_t p = 0; p < parts; ++p) {
        const float x0 = p ? 60.0f + 90.0f * ((p - 1) % 10) : 0.0f, y0 = p ? 40.0f + 100.0f * ((p - 1) / 10) : 0.0f;
        const float x1 = p ? x0 + 64.0f : kWidth, y1 = p ? y0 + 64.0f : kHeight;
        const float corners[4][4] = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
        for (uint32_t c = 0; c < 4; ++c)
            object->SetVertex(4 * p + c, corners[c][0], corners[c][1], 0, 0xFFFFFFFFu, corners[c][2], corners[c][3],
                              0, 0, 1, 0);
        const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
        for (uint32_t i = 0; i < 6; ++i)
            object->SetIndex(6 * p + i, indices[i]);
        if (Failed(object->SetPrimitiveGroup(p, 4 * p, 4, 6 * p, 6, 2, kPrimitiveTriangleList, kCullNone,
                                             kPartNumberId)))
            return false;
    }
    return Succeeded(object->Unlock(1));
}

std::string SceneBytes()
{
    CHiddenObjectLevelModel model;
    CScenePartModel background;
    background.phase = 11, background.flags = kPartDrawn;
    model.level.scene.parts.push_back(background);
    for (uint32_t p = 0; p < kParts; ++p) {
        CScenePartModel part;
        part.phase = 1, part.flags = kPartDrawn | kPartClickable, part.itemId = p % kItems;
        model.level.scene.parts.push_back(part);
    }
    model.level.records.resize(1);
    return HiddenObjectLevelBody(model);
}

HWND OpenWindow(const std::u16string& className)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className.c_str(), u"Scene", 0x06CA0000, 0, 0, kWidth, kHeight,
                                  GetDesktopWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    return window;
}

// The frames per second of the in-game state on the module; 0.0 when the world does not load or
// a frame fails.
double Measure(uint16_t module, const std::u16string& pak)
{
    const std::u16string className = u"BenchScene-" + Utf8ToUtf16(std::to_string(getpid()) + "-" +
                                                                  std::to_string(module));
    HWND window = OpenWindow(className);
    CParamsText engineSettings(kEngineSettingsText, kEngineSettingsLength);
    CParamsText gameSettings(kGameSettingsText, kGameSettingsLength);
    double fps = 0.0;
    {
        CBenchWorld world;
        if (Failed(world.SetParameters(&engineSettings, &gameSettings, nullptr, pak.c_str(), 0, FindPackerEntry,
                                       nullptr)) ||
            Failed(world.GetDataFolder()))
            return 0.0;
        CWorldData* data = world.GetData();
        if (Failed(RegisterModuleDX81(&world)) || Failed(RegisterModuleOpenGL(&world)) ||
            Failed(ValidateModules(module, 0, 0, 0, data)) ||
            Failed(world.CWorld::Load(window, kWidth, kHeight, 32, 0, 0, 0, 1, u"Data_full_Win32\\", 0, 0)))
            return 0.0;
        C3DEngine* engine = world.Get3DEngine();
        CVarnFont font(data, engine);
        const bool fontMade = Succeeded(font.Create(kFontScreenText, 64));
        LoadFixtureGlyphs(&font);
        world.m_pMainFont = world.GetGameData()->m_pMainFont = &font;
        CTextStyles& styles = world.GetGameData()->m_TextStyles;
        styles.m_ToolbarSize[0] = styles.m_ToolbarSize[1] = styles.m_GameSize[0] = styles.m_GameSize[1] = 1.0f;
        world.m_pToolbar = std::make_unique<CToolbar>(data);
        world.m_pHint = std::make_unique<CHint>(data);
        world.m_pStars = std::make_unique<CStars>(data, engine);
        auto* level = new CBenchLevel(data, engine, 0);
        world.m_pScenes.reset(new std::unique_ptr<CGameLevel>[1]);
        world.m_pScenes[0].reset(level);
        world.m_nSceneCount = 1;
        world.m_nCurrentScene = 0;
        const std::string bytes = SceneBytes();
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        C3DTexture* texture = nullptr;
        if (!fontMade || Failed(stream.Open()) || Failed(world.LoadLanguage(0)) || Failed(world.m_pToolbar->Load()) ||
            Failed(world.m_pHint->Load()) || Failed(world.m_pStars->Load()) || Failed(level->LoadDescription(&stream)) ||
            Failed(level->Init()) ||
            !(texture = AutoLoadTextureFromParamEx(kSourcePacker, 0, 0, u"BENCH", u"SCENE", u"scene.png",
                                                   &gameSettings, engine))) {
            IgnoreResult(font.Release());
            IgnoreResult(world.Release());
            return 0.0;
        }
        const bool built = BuildScene(level->GetDisplayObject()) && BuildScene(level->GetCollisionObject()) &&
                           Succeeded(level->GetDisplayObject()->SetTextureAll(texture, 0));
        world.GetGameData()->Progress(0, 0).m_FirstVisit[0] = 1;
        world.GetGameData()->m_nMode = 0;
        data->hasFocus = 1;
        world.SetState(GS_IN_GAME, 0);
        if (built && Succeeded(level->Start(kSceneStateFresh))) {
            level->ShowStar();
            world.m_pHint->StartHint({512.0f, 384.0f, 40.0f});
            bool framed = true;
            for (int frame = 0; frame < kWarmUp; ++frame)
                framed = Succeeded(world.OnFrame()) && framed;
            const auto start = std::chrono::steady_clock::now();
            for (int frame = 0; frame < kFrames; ++frame)
                framed = Succeeded(world.OnFrame()) && framed;
            const auto end = std::chrono::steady_clock::now();
            if (framed)
                fps = kFrames / std::chrono::duration<double>(end - start).count();
        }
        IgnoreResult(texture->Release());
        IgnoreResult(font.Release());
        IgnoreResult(world.Release());
    }
    DestroyWindow(window);
    UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr));
    return fps;
}

} // namespace

int main()
{
    if (!RendererTestRig::HasDisplay()) {
        fprintf(stderr, "needs an X display\n");
        return 1;
    }
    TempDir dir;
    CPakWriter pak;
    std::vector<std::u16string> names;
    for (uint32_t i = 0; i < kItems; ++i)
        names.push_back(u"Object " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    bool written = Succeeded(pak.Add("strings/_strings.en.utf8.ucs2.raw", StringFileBytes(names))) &&
                   Succeeded(pak.Add("strings/_strings.en.commons.utf8.ucs2.raw", StringFileBytes({}))) &&
                   Succeeded(pak.Add("textures.Desktop/toolbar.1024x45.png", Picture(1024, 45, 0x60))) &&
                   Succeeded(pak.Add("textures.Desktop/menubar.60x768.png", Picture(60, 768, 0x70)));
    for (const char* name : {"textures/buttons.ingame.png", "textures/timer.png", "textures/hint.png", "stars.png"})
        written = written && Succeeded(pak.Add(name, Picture(256, 256, 0xA0)));
    written = written && Succeeded(pak.Add("scene.png", Picture(1024, 1024, 0xC0)));
    if (!written || Failed(pak.Write(dir.File("main.pak")))) {
        fprintf(stderr, "cannot write the scene's pak\n");
        return 1;
    }
    const std::u16string path = dir.WideFile("main.pak");
    const double direct3D = Measure(kModuleId3DDX81, path);
    const double openGL = Measure(kModuleId3DOpenGL, path);
    PlatformShutdown();
    if (direct3D == 0.0 || openGL == 0.0) {
        fprintf(stderr, "cannot run the scene (Direct3D 8 %.1f, OpenGL %.1f)\n", direct3D, openGL);
        return 1;
    }
    printf("in-game frames at %ux%u, background, %u parts, %u toolbar items, hint and star, %d frames: "
           "Direct3D 8 %.1f fps, OpenGL %.1f fps\n",
           kWidth, kHeight, kParts, kItems, kFrames, direct3D, openGL);
    return 0;
}
