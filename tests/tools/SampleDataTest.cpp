#include "backends/audio/WavReader.h"
#include "base/WideString.h"
#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "engine3d/TextureRaw.h"
#include "game/SoundNames.h"
#include "game/StringFile.h"
#include "game/widgets/Toolbar.h"
#include "levels/Level.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/TempDir.h"
#include "tools/PakIndex.h"
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
        raw.Release();
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
    EXPECT_EQ(files.size(), 10u);
    std::set<uint32_t> sizes;
    for (const std::u16string& name : files) {
        CWavReader wav(nullptr);
        ASSERT_EQ(wav.Open(Utf8ToUtf16(Env("VD_BINARY_DIR") + "/Data_full_Win32/").append(name).c_str()), RES_OK)
            << Utf16ToUtf8(name);
        ASSERT_NE(wav.GetFormat(), nullptr);
        EXPECT_EQ(wav.GetFormat()->nSamplesPerSec, 44100u);
        EXPECT_EQ(wav.GetFormat()->wBitsPerSample, 16u);
        sizes.insert(wav.GetSize());
        wav.Close();
    }
    EXPECT_EQ(sizes.size(), files.size()) << "every sound is its own";
}

// The sample game as the program plays it: its construction, each level's files, the blank
// profile of a new story and the way into the study.
class SampleGame : public GameLoadTest {
protected:
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

TEST_F(SampleGame, EveryLevelOpensItsFilesAndANewStoryEntersTheStudy)
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
        EXPECT_EQ(level->LoadFiles(), RES_OK) << "level " << i << Utf16ToUtf8(s_log);
        EXPECT_EQ(level->UnloadFiles(), RES_OK);
    }
    ASSERT_EQ(m_world.GetTooltipCount(), 1u);
    CStringStream note;
    ASSERT_EQ(m_world.GetTooltip(0)->SaveObjects(&note), RES_OK);
    EXPECT_EQ(note.m_bytes, FreshTooltipSection(source.tooltips[0].model));
    EXPECT_EQ(Count(u"failed"), 0u) << Utf16ToUtf8(s_log);

    Data()->hasFocus = 1;
    ASSERT_TRUE(RunUntil([&] { return m_world.GetState() == GS_MAIN_MENU; }, 600));
    ASSERT_EQ(m_world.StartNewGame(0), RES_OK) << "the blank profile fits the construction";
    CGameLevel* study = m_world.GetScene(0);
    ASSERT_TRUE(RunUntil([&] { return m_world.m_nCurrentScene == 0 && study->GetSceneState() == 1; }, 600))
        << "the search for the objects of phase 1";
    EXPECT_EQ(m_world.GetToolbar()->GetItemCount(), 6u) << "six of the eight picked";
    EXPECT_EQ(Count(u"failed"), 0u) << Utf16ToUtf8(s_log);
}
