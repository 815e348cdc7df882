#include "backends/audio/WavReader.h"
#include "base/WideString.h"
#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "engine3d/Container.h"
#include "engine3d/TextureRaw.h"
#include "game/PopupText.h"
#include "game/SoundNames.h"
#include "game/StringFile.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "levels/Level.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/TempDir.h"
#include "tools/PakIndex.h"
#include "tools/RawFileWriter.h"
#include "tools/vddata/LevelTypeSources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string SamplePakPath()
{
    return Env("VD_BINARY_DIR") + "/Data_full_Win32/VadadiDazidev_full_Win32.pak";
}

TEST(SampleData, BuildPacksEveryPlainDataFileUnchangedBesideTheRawFiles)
{
    if (Env("VD_BINARY_DIR").empty() || Env("VD_SOURCE_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    std::vector<PakIndexEntry> entries;
    std::string error;
    ASSERT_EQ(ReadPakIndex(SamplePakPath(), 0, &entries, &error), RES_OK) << error;
    auto find = [&](const std::string& name) {
        return std::find_if(entries.begin(), entries.end(), [&](const PakIndexEntry& e) { return e.name == name; });
    };

    std::filesystem::path data = Env("VD_SOURCE_DIR") + "/data";
    for (const auto& file : std::filesystem::recursive_directory_iterator(data)) {
        std::string name = file.path().lexically_relative(data).generic_string();
        // Sources, string texts, meshes (packed under their raw names) and the files beside the
        // pak are not packed as they are.
        if (!file.is_regular_file() || file.path().extension() == ".yaml" || name.rfind("strings/", 0) == 0 ||
            name.rfind("disk/", 0) == 0 || name.rfind("meshes/", 0) == 0)
            continue;
        auto entry = find(name);
        ASSERT_NE(entry, entries.end()) << name;
        std::ifstream pak(SamplePakPath(), std::ios::binary);
        std::string bytes(entry->size, '\0');
        pak.seekg(static_cast<std::streamoff>(entry->dataOffset));
        pak.read(bytes.data(), entry->size);
        EXPECT_EQ(bytes, TempDir::Read(file.path().string())) << name;
    }
    for (const char* raw : {"_construct.raw", "_menu_tuto.raw", "_menu_dialog.raw", "_menu_0.raw", "_menu_1.raw",
                            "_menu_stars.raw", "_menu_hint.raw", "_labels_0.raw", "_timer_0.raw", "_profile.full.raw"})
        EXPECT_NE(find(std::string("_raw.full.Win32/") + raw), entries.end()) << raw;
    EXPECT_NE(find("strings/_sounds.ascii.ucs2.raw"), entries.end());
}

TEST(SampleData, ExternalSettingsAreReadableFromTheMainPak)
{
    if (Env("VD_BINARY_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    CPackerFile pak{};
    ASSERT_EQ(OpenPackerFile(&pak, Utf8ToUtf16(SamplePakPath()).c_str(), 0), RES_OK);
    CPackedParams external(u"VadadiDazidev.External.Desktop.ini", FindPackerEntry, &pak);
    EXPECT_GT(external.Length(), 0u);
    EXPECT_EQ(external.GetU32(u"BRIGHTNESS", u"DEFAULT_BRIGHTNESS", 0), 127u);
    EXPECT_EQ(external.GetBool(u"TIME_ATTACK", u"ENABLE_TIME_ATTACK", 1), 0);
    ClosePackerFile(&pak);
}

// The main pak's entries, read once.
class SampleDataFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Env("VD_BINARY_DIR").empty())
            GTEST_SKIP() << "run through ctest";
        std::string error;
        ASSERT_EQ(ReadPakIndex(SamplePakPath(), 0, &m_entries, &error), RES_OK) << error;
        m_pak = TempDir::Read(SamplePakPath());
    }
    // The entry's bytes; empty when the pak lacks it.
    std::string Entry(const std::string& name) const
    {
        for (const PakIndexEntry& e : m_entries) {
            if (e.name == name)
                return m_pak.substr(e.dataOffset, e.size);
        }
        return {};
    }

    std::vector<PakIndexEntry> m_entries;
    std::string m_pak;
};

} // namespace

// The pictures that loading, the widgets and the menu dialog open, the fonts of every type with
// the charset pages, and the string tables in both encodings.
TEST_F(SampleDataFiles, EveryPictureFontAndStringTableThatLoadOpensReadsBack)
{
    const char* pictures[] = {
        "textures.Desktop/toolbar.1024x45.png", "textures.Desktop/menubar.60x768.png", "textures/buttons.ingame.png",
        "textures/timer.png", "textures/hint.png", "stars.png", "dlg_background.png", "loading_centered.png",
        "loading_lower_right.png", "screenshot.png", "blank.png", "touch.png", "dlg_up_left.png", "dlg_up.png",
        "dlg_up_right.png", "dlg_left.png", "dlg_body.png", "dlg_right.png", "dlg_bottom_left.png", "dlg_bottom.png",
        "dlg_bottom_right.png", "logo_platform.png", "buttons.2.png", "buttons.slider.png", "buttons.kvo.png",
        "buttons.profiles.png", "buttons.modes.png", "buttons.langs.png", "buttons.social.png", "logo_editor.png",
        "logo_graph.png", "logo_dev.png", "more_games.png", "fonts/BOOTERFZ.desktop.0.png",
        "fonts/BOOTERFZ.desktop.1.png", "fonts/BOOTERFZ.TTF.1024x256.30.3.png"};
    for (const char* name : pictures) {
        const std::string bytes = Entry(name);
        C3DTextureRaw raw(nullptr);
        ASSERT_EQ(raw.LoadFromAddress(reinterpret_cast<const uint8_t*>(bytes.data()), uint32_t(bytes.size()),
                                      Utf8ToUtf16(name).c_str()), RES_OK) << name;
        EXPECT_GT(raw.GetWidth() * raw.GetHeight(), 0) << name;
        EXPECT_EQ(raw.Release(), RES_OK);
    }
    for (const char* name : {"fonts/BOOTERFZ.desktop.charset", "fonts/BOOTERFZ.TTF.1024x256.30.3.glyph",
                             "fonts/BOOTERFZ.TTF", "strings/_symbols.utf8.indexed.ucs2.raw"})
        EXPECT_FALSE(Entry(name).empty()) << name;
    for (const char* table : {"strings/_strings.en", "strings/_strings.en.commons"}) {
        for (const char* encoding : {".utf8.ucs2.raw", ".utf8.indexed.ucs2.raw"}) {
            const std::string bytes = Entry(std::string(table) + encoding);
            CStreamMemory stream(0, bytes.data(), uint32_t(bytes.size()));
            CStringFile file;
            EXPECT_EQ(ReadStringFile(stream, file), RES_OK) << table << encoding;
        }
    }
}

// The sound bank's files and the music: 44.1 kHz 16-bit WAV files beside the pak.
TEST_F(SampleDataFiles, EverySoundOfTheBankAndTheMusicIsAWavFileOfTheDataFolder)
{
    const std::string table = Entry("strings/_sounds.ascii.ucs2.raw");
    CStreamMemory stream(0, table.data(), uint32_t(table.size()));
    CSoundNames names;
    ASSERT_EQ(ReadSoundNames(stream, names), RES_OK);
    std::vector<std::u16string> files = {u"sounds/music.wav"};
    for (uint16_t i = 0; i < names.count; ++i)
        files.push_back(names.units.get() + names.offsets[i]);
    EXPECT_EQ(files.size(), 11u);
    std::set<uint32_t> sizes;
    for (const std::u16string& name : files) {
        CWavReader wav(nullptr);
        ASSERT_EQ(wav.Open(Utf8ToUtf16(Env("VD_BINARY_DIR") + "/Data_full_Win32/").append(name).c_str()), RES_OK)
            << Utf16ToUtf8(name);
        ASSERT_NE(wav.GetFormat(), nullptr);
        EXPECT_EQ(wav.GetFormat()->nSamplesPerSec, 44100u);
        EXPECT_EQ(wav.GetFormat()->wBitsPerSample, 16u);
        sizes.insert(wav.GetSize());
        EXPECT_EQ(wav.Close(), RES_OK);
    }
    EXPECT_EQ(sizes.size(), files.size()) << "every sound is its own";
}

// The sample game as the program loads and plays it.
class SampleGame : public GameLoadTest {
protected:
    CGameData& Game() { return *m_world.GetGameData(); }
    // The hint as a profile leaves it.
    static void SetHint(CHint& hint, uint16_t count, float charge)
    {
        const std::string section = FreshHintSection(count);
        std::string bytes(reinterpret_cast<const char*>(&charge), 4);
        bytes += section.substr(4);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_EQ(stream.Open(), RES_OK);
        ASSERT_EQ(hint.LoadFromProfile(stream, 63), RES_OK);
    }

    // Runs frames until done() holds; false after max frames.
    template <typename Done>
    bool RunUntil(Done done, int max)
    {
        for (int frame = 0; frame < max; ++frame) {
            if (done())
                return true;
            Data()->frameFactor = 1.0;
            Frame();
        }
        return done();
    }
};

TEST_F(SampleGame, EveryLevelAndTheNoteSaveTheirBlankProfileSections)
{
    ASSERT_EQ(Load(), RES_OK) << Utf16ToUtf8(s_log);
    CGameSource source;
    CSourceErrors errors;
    ASSERT_TRUE(ReadGameSource(Env("VD_BINARY_DIR") + "/sample_source", &source, errors)) << errors.Text();
    ASSERT_EQ(m_world.GetSceneCount(), 4u);
    const uint32_t types[] = {kLevelTypeHiddenObject, kLevelTypeJigsaw, kLevelTypeShoot, kLevelTypeSliding};
    for (uint32_t i = 0; i < 4; ++i) {
        CGameLevel* level = m_world.GetScene(i);
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->GetType(), types[i]);
        CStringStream saved;
        ASSERT_EQ(level->SaveObjects(&saved), RES_OK);
        EXPECT_EQ(saved.m_bytes, FreshLevelSection(source.levels[i])) << "level " << i;
    }
    ASSERT_EQ(m_world.GetTooltipCount(), 2u) << "the note and the farewell";
    for (uint32_t i = 0; i < 2; ++i) {
        CStringStream tooltip;
        ASSERT_EQ(m_world.GetTooltip(i)->SaveObjects(&tooltip), RES_OK);
        EXPECT_EQ(tooltip.m_bytes, FreshTooltipSection(source.tooltips[i].model)) << "tooltip " << i;
    }
    EXPECT_EQ(Count(u"failed"), 0u) << Utf16ToUtf8(s_log);
}

// A new game, after a game that charged the hint and listed an object: every section the world
// writes before the first scene is the blank profile's, which holds the settings' hints.
TEST_F(SampleGame, ANewGameTakesEverySectionOfTheBlankProfile)
{
    ASSERT_EQ(Load(), RES_OK);
    CGameSource source;
    CSourceErrors errors;
    ASSERT_TRUE(ReadGameSource(Env("VD_BINARY_DIR") + "/sample_source", &source, errors)) << errors.Text();
    CHint& hint = *m_world.GetHint();
    SetHint(hint, 3, 0.0f);
    hint.FillTimer();
    m_world.GetToolbar()->AddItem(2, false);
    ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
    EXPECT_EQ(hint.GetCount(), ReadHintCounts(nullptr).start);
    EXPECT_EQ(hint.GetCharge(), 0.0f);
    EXPECT_EQ(hint.GetFrame(), 0u) << "the charged image of the last game";
    EXPECT_EQ(m_world.GetToolbar()->GetItemCount(), 0u);
    CStringStream written;
    ASSERT_EQ(m_world.WriteProfile(written, Game().Progress(0, 0)), RES_OK);
    const std::string blank = BlankProfileBody(BlankProfileOf(source));
    // The sections follow the header, the record with its four level times and the world's fields.
    const size_t sections = 18 + 27 + 4 * 6 + 37;
    ASSERT_GT(blank.size(), sections);
    EXPECT_EQ(written.m_bytes.substr(sections), blank.substr(sections));
    EXPECT_EQ(blank.substr(sections, 6 + 13), FreshHintSection(ReadHintCounts(nullptr).start) + FreshToolbarSection());
}

// The pop-up shown when the game was saved comes back with it; loading a profile clears the
// others. The waiting pop-up's string goes before the in-game one's.
TEST_F(SampleGame, APopupShownAtTheSaveIsShownAgainAndTheOthersAreCleared)
{
    ASSERT_EQ(Load(), RES_OK);
    ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
    CProfileProgress& record = Game().Progress(0, 0);
    record.m_bInUse = 1;
    CPopupText& waiting = *m_world.GetWaitingPopup();
    CPopupText& ingame = *m_world.GetIngamePopup();
    CPopupText& tutorial = *m_world.GetTutorialPopup();
    ingame.SetText(15, kGameTable);
    CStringStream written;
    ASSERT_EQ(m_world.WriteProfile(written, record), RES_OK);
    std::string saved = written.m_bytes;
    const size_t popups = 18 + 27 + 4 * 6 + 12 + 4 + 1 + 12;
    EXPECT_EQ(saved.substr(popups, 8), std::string("\xFF\xFF\xFF\xFF\x0F\x00\x00\x00", 8));
    auto load = [&](const std::string& bytes) {
        ingame.Clear();
        waiting.SetText(3, kGameTable);
        tutorial.SetText(4, kGameTable);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(stream.Open(), RES_OK);
        EXPECT_EQ(m_world.LoadProfile(stream, record, true, false), RES_OK);
        EXPECT_FALSE(tutorial.HoldsText());
        return std::pair{waiting.HoldsText() ? waiting.GetStringIndex() : -1,
                         ingame.HoldsText() ? ingame.GetStringIndex() : -1};
    };
    EXPECT_EQ(load(saved), std::pair(-1, 15));
    EXPECT_EQ(load(saved.replace(popups, 4, std::string("\x10\x00\x00\x00", 4))), std::pair(16, -1));
    EXPECT_EQ(load(saved.replace(popups, 4, std::string("\x00\xFF\x00\x00", 4))), std::pair(-1, -1)) << "past the strings";
}

// The story from the study to the outro as a player plays it: the listed objects, the note's
// two, the quiz, the arrow, the jigsaw's solve button, SHOOT's red targets and the key's slide.
TEST_F(SampleGame, TheStoryLeadsFromTheStudyThroughEveryLevelToTheOutro)
{
    ASSERT_EQ(Load(), RES_OK);
    Data()->hasFocus = 1;
    ASSERT_TRUE(RunUntil([&] { return m_world.GetState() == GS_MAIN_MENU; }, 600));
    ASSERT_EQ(m_world.StartNewGame(0), RES_OK);
    // Frames until done(); the Return key (engine code 26) takes pop-ups, tutorials, level
    // messages and the end text on, every other frame.
    constexpr uint32_t kReturnKey = 26;
    int frame = 0;
    auto play = [&](auto done) {
        return RunUntil([&] {
            const uint32_t state = m_world.GetState();
            Data()->keyPressed[kReturnKey] = (state == GS_INGAME_POPUP || state == GS_SCENE_MODAL ||
                                              state == GS_LEVEL_MESSAGE || state == GS_END_TEXT) && ++frame % 2;
            return done();
        }, 2000);
    };
    auto in = [&](uint32_t scene, uint32_t sceneState) {
        return m_world.m_nCurrentScene == scene && m_world.GetState() == GS_IN_GAME &&
               m_world.GetScene(scene)->GetSceneState() == sceneState;
    };
    auto level = [&](uint32_t scene) { return static_cast<CLevel*>(m_world.GetScene(scene)); };
    // A click on a point of the current scene, where the camera shows it; RES_OK when it hit.
    auto click = [&](float x, float y) {
        const float* m = m_world.GetGameData()->m_matView[0].m;
        return m_world.GetCurrentLevel()->OnClick(m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]);
    };
    auto frames = [&](int count) {
        int ran = 0;
        play([&] { return ran++ == count; });
    };
    // Rounds of clicks on every part of the state whose item the toolbar shows, and the ghost.
    auto collect = [&](uint32_t state) {
        for (int round = 0; round < 20 && in(0, state); ++round) {
            for (uint32_t n = 0; n < level(0)->GetPartCount(); ++n) {
                const ScenePart& part = *level(0)->GetPart(n);
                if ((part.phase == state && m_world.GetToolbar()->IsItemShown(part.itemId)) || part.phase == 8)
                    IgnoreResult(click(part.x, part.y));  // the rounds go on until the state moves on
                frames(1);
            }
            frames(60);
        }
    };
    // The menubar's zoom button follows the scene from the switch on, at its place: the study
    // zooms, the mini-games do not.
    auto zooms = [&] {
        C3DContainer* menubar = m_world.GetToolbar()->GetMenubar();
        Vector3 at{};
        menubar->FindById(1)->GetPosition(&at);
        return menubar->FindById(1)->IsVisible() == 1 && menubar->FindById(2)->IsVisible() == 0 && at.y == 575.0f;
    };
    ASSERT_TRUE(play([&] { return in(0, 1); }));
    EXPECT_TRUE(zooms());
    collect(1);
    ASSERT_TRUE(play([&] { return in(0, 2); })) << "the listed objects found";
    collect(2);
    ASSERT_TRUE(play([&] { return in(0, 7); })) << "the note's objects found";
    EXPECT_TRUE(m_world.GetTooltip(0)->IsDone());
    // Once the quiz page is up, a release over the upper answer of the one column, then Return
    // for the next button.
    Data()->pointerX = 512.0f, Data()->pointerY = 320.0f;
    frames(30);
    Data()->mouseReleased[0] = 1;
    Frame();
    Data()->mouseReleased[0] = 0;
    Data()->keyPressed[kReturnKey] = 1;
    Frame();
    ASSERT_TRUE(play([&] { return in(0, 6); })) << "the quiz answered";
    EXPECT_EQ(click(970.0f, 325.0f), RES_OK);
    auto current = [&](uint32_t scene) {
        return play([&] { return m_world.m_nCurrentScene == scene && m_world.GetState() == GS_IN_GAME; });
    };
    ASSERT_TRUE(current(1)) << "the arrow leads to the jigsaw";
    EXPECT_FALSE(zooms());
    EXPECT_TRUE(m_world.GetTooltip(0)->IsHidden()) << "the study's leave actions put the note away";
    level(1)->UseHint();  // the preview
    level(1)->UseHint();  // the solve button
    EXPECT_EQ(click(870.0f, 590.0f), RES_OK);
    ASSERT_TRUE(current(2)) << "the solve button solves the jigsaw, which leads to SHOOT";
    auto* shoot = static_cast<CLevelShoot*>(level(2));
    // SHOOT's star is drawn once a frame, by the world's pass.
    auto* engine = static_cast<CMemoryEngine*>(m_world.Get3DEngine());
    shoot->PickStarSlot();
    engine->ClearDraws();
    Frame();
    EXPECT_EQ(engine->DrawsOf(m_world.GetStars()->GetSprite()).size(), 1u);
    for (int round = 0; round < 3000 && m_world.m_nCurrentScene == 2; ++round) {
        for (uint32_t n = 0; n < shoot->GetField().SlotCount(); ++n) {
            const uint8_t target = shoot->GetField().Slot(n)->target;
            if (target < 4)
                IgnoreResult(click(shoot->GetTargets().points[target].x, shoot->GetTargets().points[target].y));
        }
        frames(5);
    }
    ASSERT_TRUE(current(3)) << "eight points won lead to SLIDING";
    SetHint(*m_world.GetHint(), 3, 0.0f);
    // The yellow piece left, the blue one up, the key right out of the board: {column, row,
    // cells right, cells down}.
    auto* sliding = static_cast<CLevelSliding*>(level(3));
    const int moves[][4] = {{1, 0, -1, 0}, {2, 1, 0, -1}, {0, 1, 2, 0}};
    for (const auto& move : moves) {
        const float* m = m_world.GetGameData()->m_matView[0].m;
        const CBoardGeometry& board = sliding->GetBoard();
        const float x = board.CentreX(move[0], m[12]), y = board.CentreY(move[1], m[13]);
        const float dx = move[2] * board.cellWidth, dy = move[3] * board.cellHeight;
        // The board's reactions answer RES_FAIL whatever they did.
        EXPECT_EQ(sliding->OnPress(x, y), RES_FAIL);
        EXPECT_EQ(sliding->OnDrag(x + dx / 2, y + dy / 2, 0), RES_FAIL);
        EXPECT_EQ(sliding->OnDrag(x + dx, y + dy, 0), RES_FAIL);
        EXPECT_EQ(sliding->OnRelease(x + dx, y + dy), RES_FAIL);
        frames(30);
    }
    EXPECT_TRUE(play([&] { return m_world.GetState() == GS_OUTRO_MENU; })) << "the key out ends the story";
    // The finish saved the finished record with the sliding's reward at once.
    const std::string saved = TempDir::Read(m_dir.File("appdata/Kvo Adventure/VadadiDazidev/"
                                                       "VadadiDazidev.v1.profile_normal_full_0.sav"));
    const size_t hintCount = 18 + 27 + 4 * 6 + 37 + 4;
    ASSERT_GT(saved.size(), hintCount + 2);
    EXPECT_EQ(saved[18 + 1], 1) << "finished";
    EXPECT_EQ(uint8_t(saved[hintCount]) | uint8_t(saved[hintCount + 1]) << 8, m_world.GetHint()->GetCount());
}
