// The hint's and the toolbar's sections of a profile with its game state: a profile that loads
// saves to bytes that load back and save the same; the hint's charge and count stay within their
// bounds; the toolbar's items are laid out and drawn without harm. Input: u8 bits (1 forced),
// then the file.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "tests/support/MemoryRenderer.h"

namespace {

std::string Saved(CFuzzGame& game)
{
    CProfileProgress record{};
    FUZZ_CHECK(PrepareProgressRecord(record, 0) == RES_OK);
    CFuzzWriteStream out;
    FUZZ_CHECK(game.World().WriteProfile(out, record) == RES_OK);
    return out.Bytes();
}

Result Load(CFuzzGame& game, const void* bytes, size_t size, bool forced)
{
    CProfileProgress record{};
    CStreamMemory stream(kStreamRead, bytes, static_cast<uint32_t>(size));
    return game.World().LoadProfile(stream, record, true, forced);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const bool forced = input.Take<uint8_t>() & 1;
    CFuzzTextGame game;
    FUZZ_CHECK(game.Open(WidgetFiles()) == RES_OK);
    CHint hint(game.World().GetData());
    CToolbar toolbar(game.World().GetData());
    FUZZ_CHECK(hint.Load() == RES_OK && toolbar.Load() == RES_OK);
    game.World().SetProfileSection(kProfileSectionHint, &hint);
    game.World().SetProfileSection(kProfileSectionToolbar, &toolbar);
    if (Succeeded(Load(game, input.Data(), input.Left(), forced))) {
        FUZZ_CHECK(hint.GetCharge() >= 0.0f && hint.GetCharge() <= hint.GetFullCharge());
        FUZZ_CHECK(hint.GetCount() <= hint.GetMaxCount());
        const std::string saved = Saved(game);
        FUZZ_CHECK(Succeeded(Load(game, saved.data(), saved.size(), true)) && Saved(game) == saved);
        for (int frame = 0; frame < 3; ++frame) {
            toolbar.Layout();
            FUZZ_CHECK(toolbar.GetActiveShown() <= toolbar.GetItemCount());
            toolbar.RenderItems();
            hint.Recharge();
            hint.RenderAt(0.0f);
        }
    }
    game.World().SetProfileSection(kProfileSectionHint, nullptr);
    game.World().SetProfileSection(kProfileSectionToolbar, nullptr);
    FUZZ_CHECK(toolbar.Release() == RES_OK);
    FUZZ_CHECK(hint.Release() == RES_OK);
    FUZZ_CHECK(game.Engine().Misuses().empty());
    return 0;
}
