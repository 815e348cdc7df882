// What the game does with the files of its external pak: the platform's configuration file and
// the more-games file, read from the external pak (else the main pak) as the world's Load reads
// them, then the more-games page built from them and shown a few frames. The settings lie in their
// ranges and their texts end within their fields; the page shows one of its pages. Input: u8 bits
// (1 the configuration
// file, 2 the more-games file, in the external pak; 4 the external pak is no pak), u16 size of the
// configuration text, its bytes, then the more-games text.

#include <cmath>

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/menus/MoreGamesPage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/MemoryRenderer.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"

namespace {

const char kConfiguration[] = "VadadiDazidev.External.Desktop.ini";
const char kMoreGames[] = "VadadiDazidev.MoreGames.Win32.ini";

template <size_t N>
bool Ends(const char16_t (&text)[N])
{
    return std::find(text, text + N, u'\0') != text + N;
}

std::string PakOf(const std::map<std::string, std::string>& files)
{
    CPakWriter pak;
    for (const auto& [name, bytes] : files)
        FUZZ_CHECK(pak.Add(name, bytes) == RES_OK);
    return pak.Bytes();
}

// The main pak: string tables with six more-games entries and the icon sheet.
std::map<std::string, std::string> MainFiles()
{
    std::map<std::string, std::string> files = StringTables({u"Title", u"Vadadi Dazidev"});
    std::vector<std::u16string> games;
    for (int i = 1; i <= 6; ++i) {
        games.push_back(u"Game " + Utf8ToUtf16(std::to_string(i)));
        games.push_back(u"About game " + Utf8ToUtf16(std::to_string(i)) + u"|on two lines");
    }
    files[StringTableName("en", ".moregames")] = StringFileBytes(games);
    PngFixture sheet;
    sheet.width = 256;
    sheet.height = 256;
    sheet.rows.assign(256 * 256, 90);
    files["more_games.png"] = EncodePng(sheet);
    return files;
}

void CheckSettings(CFuzzGame& game)
{
    const CGameData& g = game.Data();
    FUZZ_CHECK(Ends(g.m_szMainWebSiteUrl) && Ends(g.m_szWebScoringServerUrl) && Ends(g.m_szFacebookUrl) &&
               Ends(g.m_szTwitterUrl));
    for (const auto& logo : g.m_szLogoKey)
        FUZZ_CHECK(Ends(logo));
    FUZZ_CHECK(g.m_nBrightness <= 255);
    FUZZ_CHECK(g.m_fMaxZoomRefRatio >= 1.0f && g.m_nAbuseOverClick >= 2);
    FUZZ_CHECK(game.World().m_fSpeedFactor >= 0.0f);
    FUZZ_CHECK(g.m_pExternalParams);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint8_t bits = input.Take<uint8_t>();
    const std::string configuration = input.TakeBytes(input.Take<uint16_t>());
    const std::string moreGames = input.TakeBytes(input.Left());
    std::map<std::string, std::string> external;
    std::map<std::string, std::string> main = MainFiles();
    (bits & 1 ? external : main)[kConfiguration] = configuration;
    (bits & 2 ? external : main)[kMoreGames] = moreGames;

    CFuzzTextGame game;
    game.Engine().SetDecodeImages(true);
    FUZZ_CHECK(game.Open(main) == RES_OK);
    const std::string folder = FuzzFolder() + "/data/";
    const std::string pak = bits & 4 ? configuration : PakOf(external);
    WriteFuzzFile(folder + "VadadiDazidev_external_Win32.pak", reinterpret_cast<const uint8_t*>(pak.data()), pak.size());
    WStrCopy(game.World().GetData()->dataFolder, kMaxPathUnits, Utf8ToUtf16(folder).c_str());
    WStrCopy(game.Data().m_szAppName, kAppNameUnits, u"VadadiDazidev");
    game.Data().m_nBrightness = kBrightnessUnset;
    if (Failed(game.World().ReadConfiguration())) {
        FUZZ_CHECK(!game.Data().m_pExternalParams);
        return 0;
    }
    CheckSettings(game);
    if (Failed(game.World().ReloadMoreGames(0)))
        return 0;
    CMoreGamesPage& page = *game.World().m_pMoreGames;
    FUZZ_CHECK(page.GetPage() < std::max(page.GetPageCount(), 1u));
    for (int frame = 0; frame < 3; ++frame) {
        IgnoreResult(page.Process());
        IgnoreResult(page.Render());
    }
    game.World().ReleaseMoreGames();
    return 0;
}
