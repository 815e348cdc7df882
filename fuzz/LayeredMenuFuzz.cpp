// The layered menu's description over a mesh of three parts: whatever layers it names, entering,
// leaving and idle draws name only parts of the mesh and the renderer sees no misuse.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "tests/support/MemoryRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzTextGame game;
    FUZZ_CHECK(game.Open(LayeredMenuFiles()) == RES_OK);
    game.World().GetData()->frameFactor = 30.0;
    CScreenLayeredMenu menu(game.World().GetData(), &game.Engine(), 0);
    FUZZ_CHECK(menu.Init() == RES_OK);
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    if (Succeeded(menu.LoadDescription(&stream)) && Succeeded(menu.LoadMesh())) {
        menu.SetExitDirection({4.0f, 8.0f, 0.0f});
        for (int frame = 0; frame < 3; ++frame) {
            IgnoreResult(menu.DrawEnter());
            IgnoreResult(menu.DrawEnterReverse());
            menu.StepEnter();
            IgnoreResult(menu.DrawLeave());
            menu.StepLeave();
            IgnoreResult(menu.DrawIdle(frame == 1, frame == 2));
        }
        for (const MemoryDraw& draw : game.Engine().Draws())
            FUZZ_CHECK(draw.part < kLayeredMenuParts);
    }
    FUZZ_CHECK(menu.Release() == RES_OK);
    FUZZ_CHECK(game.Engine().Misuses().empty());
    return 0;
}
