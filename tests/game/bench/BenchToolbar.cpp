// One in-game frame of the toolbar and the hint button on the memory renderer with 20 items
// listed: the item layout and labels, both strips, the menubar and the hint (glow, charge,
// button). Prints the median and quartiles of the frame time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/BuiltinSettings.h"
#include "engine3d/Font.h"
#include "game/VadadiDazidevWorld.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldDataDefaults.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"

namespace {

constexpr uint32_t kItems = 20;
constexpr int kFrames = 5000;

class CBenchWorld : public CVadadiDazidevWorld {
public:
    using CVadadiDazidevWorld::m_p3DEngine;
    using CVadadiDazidevWorld::m_pMainFont;
};

} // namespace

int main()
{
    TempDir dir;
    CPakWriter pak;
    std::vector<std::u16string> names;
    for (uint32_t i = 0; i < kItems; ++i)
        names.push_back(u"Object " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    bool packed = Succeeded(pak.Add("strings/_strings.en.utf8.ucs2.raw", StringFileBytes(names))) &&
                  Succeeded(pak.Add("strings/_strings.en.commons.utf8.ucs2.raw", StringFileBytes({})));
    for (const char* picture : {"textures.Desktop/toolbar.1024x45.png", "textures.Desktop/menubar.60x768.png",
                                "textures/buttons.ingame.png", "textures/timer.png", "textures/hint.png"})
        packed = packed && Succeeded(pak.Add(picture, "picture"));
    if (!packed || Failed(pak.Write(dir.File("main.pak")))) {
        fprintf(stderr, "cannot write the pak: %s\n", pak.LastError().c_str());
        return 1;
    }

    CParamsText game(kGameSettingsText, kGameSettingsLength);
    CBenchWorld world;
    if (Failed(world.SetParameters(nullptr, &game, nullptr, dir.WideFile("main.pak").c_str(), 0, FindPackerEntry,
                                   nullptr))) {
        fprintf(stderr, "cannot set up the world\n");
        return 1;
    }
    CWorldData* data = world.GetData();
    CMath3D math;
    SetDefaultWorld(data, &math, 1024, 768);
    auto* engine = new CMemoryEngine(data);
    world.m_p3DEngine.reset(engine);
    if (Failed(engine->Load(MemoryRenderer::Window()))) {
        fprintf(stderr, "cannot load the engine\n");
        return 1;
    }
    CVarnFont font(data, engine);
    if (Failed(font.Create(kFontScreenText, 64))) {
        fprintf(stderr, "cannot make the font\n");
        return 1;
    }
    LoadFixtureGlyphs(&font);
    world.m_pMainFont = world.GetGameData()->m_pMainFont = &font;
    CTextStyles& styles = world.GetGameData()->m_TextStyles;
    styles.m_ToolbarSize[0] = styles.m_ToolbarSize[1] = styles.m_GameSize[0] = styles.m_GameSize[1] = kFixtureScale;
    data->frameFactor = 1.0;
    if (Failed(world.LoadLanguage(0))) {
        fprintf(stderr, "cannot load the strings\n");
        return 1;
    }
    CToolbar toolbar(data);
    CHint hint(data);
    if (Failed(toolbar.Load()) || Failed(hint.Load())) {
        fprintf(stderr, "cannot load the widgets\n");
        return 1;
    }
    toolbar.SetMaxShown(kItems);
    for (uint32_t i = 0; i < kItems; ++i)
        toolbar.AddItem(i, true);
    hint.StartHint({500.0f, 400.0f, 0.0f});

    std::vector<double> times;
    for (int frame = 0; frame < kFrames; ++frame) {
        engine->ClearDraws();
        const auto start = std::chrono::steady_clock::now();
        toolbar.Layout();
        hint.ProcessGlow();
        hint.Recharge();
        toolbar.RenderToolbarStrip();
        toolbar.RenderItems();
        toolbar.RenderMenubar();
        hint.RenderAt(0.0f);
        hint.RenderGlow();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    printf("toolbar and hint frame, %u items: median %.2f us (quartiles %.2f - %.2f us) over %d frames\n", kItems,
           times[times.size() / 2], times[times.size() / 4], times[times.size() * 3 / 4], kFrames);
    // Measured: what the releases answer changes nothing.
    IgnoreResult(toolbar.Release());
    IgnoreResult(hint.Release());
    IgnoreResult(font.Release());
    return 0;
}
