// Seeds of the readers of texts, menus, widgets and score answers: string tables, symbols and
// construction files of the writer library, profiles as the world writes them with the hint and
// the toolbar.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/seeds/Seeds.h"
#include "game/CharsetRemap.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "tools/ByteWriter.h"
#include "tools/RawFileWriter.h"

namespace {

// Files each after its u16 size, then the last file as it is.
std::string Sized(const std::vector<std::string>& files)
{
    CByteWriter out;
    for (size_t i = 0; i + 1 < files.size(); ++i) {
        out.U16(static_cast<uint16_t>(files[i].size()));
        out.Text(files[i]);
    }
    out.Text(files.back());
    return out.Bytes();
}

std::array<uint16_t, kCharsetRemapEntries> DefaultRemap()
{
    std::array<uint16_t, kCharsetRemapEntries> remap{};
    CopyDefaultCharsetRemap(remap.data());
    return remap;
}

// The ProfileSectionsFuzz layout: bits, then a profile with two toolbar items and a used hint.
std::string SectionsProfile()
{
    CFuzzTextGame game;
    FUZZ_CHECK(game.Open(WidgetFiles()) == RES_OK);
    CHint hint(game.World().GetData());
    CToolbar toolbar(game.World().GetData());
    FUZZ_CHECK(hint.Load() == RES_OK);
    FUZZ_CHECK(toolbar.Load() == RES_OK);
    toolbar.AddItem(1, true);
    toolbar.AddItem(2, false);
    toolbar.AddItem(2, false);
    // A click on the charged button uses one hint.
    CWorldData* data = game.World().GetData();
    hint.FillTimer();
    data->pointerX = data->pressX = hint.GetPosition().x;
    data->pointerY = data->pressY = hint.GetPosition().y;
    FUZZ_CHECK(hint.TryUseHint() == RES_OK);
    game.World().SetProfileSection(kProfileSectionHint, &hint);
    game.World().SetProfileSection(kProfileSectionToolbar, &toolbar);
    CProfileProgress record{};
    FUZZ_CHECK(PrepareProgressRecord(record, 0) == RES_OK);
    CFuzzWriteStream out;
    FUZZ_CHECK(game.World().WriteProfile(out, record) == RES_OK);
    game.World().SetProfileSection(kProfileSectionHint, nullptr);
    game.World().SetProfileSection(kProfileSectionToolbar, nullptr);
    return '\x01' + out.Bytes();
}

} // namespace

FUZZ_SEEDS(StringTables)
{
    return {{"tables", Sized({StringFileBytes({u"zero", u"Title"}), StringFileBytes({u"common"}),
                              StringFileBytes({u"Game A", u"Game B"})})},
            {"empty", Sized({StringFileBytes({}), StringFileBytes({}), StringFileBytes({})})}};
}

FUZZ_SEEDS(PopupPages)
{
    return {{"pages", StringFileBytes({u"\\L=1,S=voice.wav\\First page|line two#Second %d of %d#third %%",
                                       u"plain text"})}};
}

FUZZ_SEEDS(CharsetRemap)
{
    std::array<uint16_t, kCharsetRemapEntries> swapped = DefaultRemap();
    std::swap(swapped['#'], swapped['|']);
    return {{"default", SymbolsFileBytes(DefaultRemap())}, {"swapped", SymbolsFileBytes(swapped)}};
}

FUZZ_SEEDS(CreditTexts)
{
    return {{"credits", Sized({StringFileBytes({u"Made by", u"us|and them"}),
                               StringFileBytes({u"Plain|text", u"@http://a.example/|x"})})}};
}

FUZZ_SEEDS(MenuDialog)
{
    CMenuDialogModel dialog;
    for (uint32_t line = 0; line < dialog.stringMap.size(); ++line)
        dialog.stringMap[line] = line % 4;
    dialog.clickSound = 1;
    dialog.dialogBorder = 8.0f;
    return {{"dialog", MenuDialogBody(dialog)}, {"no-sound", MenuDialogBody({})}};
}

FUZZ_SEEDS(ProfileSections)
{
    return {{"sections", SectionsProfile()}};
}

FUZZ_SEEDS(LayeredMenu)
{
    CLayeredMenuModel menu;
    menu.scene.parts.resize(1);
    menu.layers = {{0, 0, 0, 0.2f, 1, 2}, {1, 1, 0, 0.5f, 0, 0}, {2, 0, 1, 0, 0, 0}, {7, 0, 0, 0, 0, 0}};
    menu.baseX = 10.0f;
    menu.baseY = 20.0f;
    return {{"four-layers", LayeredMenuBody(menu)}};
}

FUZZ_SEEDS(SoundIndex)
{
    return {{"one", SoundIndexBody(1)}, {"none", SoundIndexBody(0xFFFF)}};
}

// Every record finished; the account is created, two posts are taken, one refused.
FUZZ_SEEDS(WebScores)
{
    return {{"answers", std::string("\x3F\x01" "1\x01" "1\x01" "2\x02" "-1\x01" "1", 13)}};
}

// Answers of a score server: plain, in pieces of the chunked coding, an error status, a redirect,
// and a body cut off before its length.
FUZZ_SEEDS(HttpAnswer)
{
    return {{"one", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n1"},
            {"unsized", "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n-2"},
            {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\n-\r\n1\r\n1\r\n0\r\n\r\n"},
            {"error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 1\r\n\r\n1"},
            {"redirect", "HTTP/1.1 302 Found\r\nLocation: /score?again\r\nContent-Length: 0\r\n\r\n"},
            {"cut", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n1"},
            {"continue", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n-1"}};
}

// Score URLs as UTF-16 little-endian units: plain, with blanks, non-ASCII letters and a surrogate
// pair, and of another scheme.
FUZZ_SEEDS(InternetUrl)
{
    FuzzSeeds seeds;
    for (const std::u16string& url :
         {std::u16string(u"http://127.0.0.1:8080/score?action=set_user&login=bob&password=&email=b@example.org"),
          std::u16string(u"HTTPS://scores.example.com/a b?login=J\u00f6rg\t&jeu=\U0001F600%41"),
          std::u16string(u"ftp://example.com/")}) {
        std::string bytes;
        for (char16_t unit : url)
            bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        seeds.emplace_back("url" + std::to_string(seeds.size()), bytes);
    }
    return seeds;
}
