// "options.sav": whatever the file holds, the options read lie in their ranges and their texts
// end within their fields; what is read saves to a file that reads back whole to the same bytes.

#include <algorithm>
#include <cmath>

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

namespace {

template <size_t N>
bool Ends(const char16_t (&text)[N])
{
    return std::find(text, text + N, u'\0') != text + N;
}

void CheckOptions(const CGameData& g)
{
    FUZZ_CHECK(g.m_nLanguage < kLanguageCount || g.m_nLanguage == kLanguageNone);
    FUZZ_CHECK(g.m_nSlot < kProfileSlotCount);
    FUZZ_CHECK(g.m_fMusicVolume >= 0.0f && g.m_fMusicVolume <= 1.0f);
    FUZZ_CHECK(g.m_fSoundVolume >= 0.0f && g.m_fSoundVolume <= 1.0f);
    for (const auto& name : g.m_szProfileNames)
        FUZZ_CHECK(Ends(name));
    FUZZ_CHECK(Ends(g.m_szLogin) && Ends(g.m_szPassword) && Ends(g.m_szEmail));
}

// Writes the file, reads it into a fresh world and answers what that world saves.
std::string ReadAndSave(const uint8_t* data, size_t size, Result* read)
{
    CFuzzGame game;
    char16_t path[kMaxPathUnits];
    FUZZ_CHECK(game.World().SavePath(u"options.sav", true, path, kMaxPathUnits) == RES_OK);
    WriteFuzzFile(Utf16ToUtf8(path), data, size);
    *read = game.World().LoadOptions(kLanguageNone);
    CheckOptions(game.Data());
    CFuzzWriteStream saved;
    FUZZ_CHECK(game.World().WriteOptions(saved));
    return saved.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Result read = RES_OK;
    const std::string saved = ReadAndSave(data, size, &read);
    const std::string again =
        ReadAndSave(reinterpret_cast<const uint8_t*>(saved.data()), saved.size(), &read);
    FUZZ_CHECK(read == RES_OK && again == saved);
    return 0;
}
