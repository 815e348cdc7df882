// The menu dialog's construction file (the body after its header): the text of every line on
// every page ends inside its buffer, a failed read leaves every line without its string, and the
// click sound asked of the world is one of its bank.

#include <algorithm>

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/PopupText.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuWorld.h"

namespace {

constexpr uint16_t kBankSounds = 3;

class CSoundOnlyMenuWorld : public CMenuWorld {
public:
    void Quit() override {}
    void ChangeLanguage(uint32_t) override {}
    void ApplyMusicVolume() override {}
    void ApplySoundVolume() override {}
    void AddAudio(uint16_t sound, uint8_t) override { FUZZ_CHECK(sound < kBankSounds); }
    void OpenWebLink(const char16_t*) override {}
    Result ToggleFullscreen(uint8_t) override { return RES_OK; }
    bool IsFadeOver() const override { return true; }
    Result SaveOptions() override { return RES_OK; }
    Result ResetProfileSlot(uint32_t, uint32_t, bool) override { return RES_OK; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzTextGame game;
    game.UseSoundBank(kBankSounds);
    FUZZ_CHECK(game.Open(StringTables({u"zero"}, {u"Play", u"Options", u"Time"})) == RES_OK);
    CSoundOnlyMenuWorld menuWorld;
    CMenuDialog dialog(game.World().GetData(), &menuWorld, nullptr);
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    const bool read = Succeeded(dialog.ReadConstruction(stream));
    for (uint32_t page = 0; page <= kMenuPageCount; ++page) {
        for (uint32_t line = 0; line <= kMenuLineCount; ++line) {
            char16_t text[kMenuEntryUnits];
            dialog.GetLineText(line, page, text, false);
            FUZZ_CHECK(std::find(text, text + kMenuEntryUnits, 0) != text + kMenuEntryUnits);
            FUZZ_CHECK(read || line == kLineEntryField || std::u16string(text).rfind(kMissingString, 0) == 0);
        }
    }
    dialog.PlaySound();
    dialog.PlayClickSound();
    return 0;
}
