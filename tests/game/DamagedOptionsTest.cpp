#include <sys/stat.h>

#include <array>
#include <chrono>
#include <filesystem>

#include "base/WideString.h"
#include "tests/game/GameWorldFixture.h"

// A damaged options file read at start: every variant of damage (cut, zeroed, flipped, huge, a
// folder or a pipe in its place) keeps the profile names that read soundly, leaves the damaged
// bytes beside as the one ".damaged" copy with a log line, and touches nothing else.

namespace {

using Names = std::array<const char16_t*, 3>;
const Names kNames = {u"Ann", u"Cy", u"Bob"};
constexpr size_t kNameEnds[] = {83, 148, 213};

enum class Stands { File, Folder, Pipe };

struct Damage {
    std::string name;
    std::string bytes;  // what the file holds
    Names kept;         // null: the slot's name is lost
    bool damaged;
    Stands stands = Stands::File;
};

class DamagedOptionsTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot)
            WStrCopy(Data().m_szProfileNames[slot], kProfileNameUnits, kNames[slot]);
        Data().m_nLanguage = 3;
        CStringStream out;
        ASSERT_TRUE(m_world.WriteOptions(out));
        m_known = out.m_bytes;
        m_profile = m_dir.Write(kSaveFolder + "VadadiDazidev.v1.profile_normal_full_1.sav", "a profile's bytes");
    }

    // The file as damage left it, read by a fresh world as start-up reads it.
    void Check(const Damage& damage)
    {
        const std::string path = SaveFile("options.sav"), copy = path + ".damaged";
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(copy);
        if (damage.stands == Stands::Folder)
            m_dir.Write(kSaveFolder + "VadadiDazidev.v1.options.sav/inside", "x");
        else if (damage.stands == Stands::Pipe)
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else
            m_dir.Write(kSaveFolder + "VadadiDazidev.v1.options.sav", damage.bytes);
        s_log.clear();
        CTestWorld fresh;
        ASSERT_EQ(fresh.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
        const auto started = std::chrono::steady_clock::now();
        // Start-up goes on whatever the read answers; what it kept is checked below.
        IgnoreResult(fresh.LoadOptions(kLanguageNone));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "a pipe is never opened";
        for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot)
            EXPECT_EQ(std::u16string(fresh.GetGameData()->m_szProfileNames[slot]),
                      damage.kept[slot] ? damage.kept[slot] : u"")
                << damage.name << ", slot " << slot;
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(copy)), damage.damaged) << damage.name;
        if (damage.damaged && damage.stands == Stands::File) {
            EXPECT_EQ(TempDir::Read(copy), damage.bytes) << damage.name;
        }
        EXPECT_EQ(s_log.find(u"is damaged: kept as \"" + Utf8ToUtf16(copy) + u"\"") != std::u16string::npos, damage.damaged)
            << damage.name;

        // The next save writes a whole file in the damaged one's place, which reads back whole.
        ASSERT_EQ(fresh.SaveOptions(), RES_OK) << damage.name;
        CTestWorld again;
        ASSERT_EQ(again.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
        EXPECT_EQ(again.LoadOptions(kLanguageNone), RES_OK) << damage.name;
        EXPECT_FALSE(std::filesystem::exists(copy + ".damaged"));
        EXPECT_EQ(TempDir::Read(m_profile), "a profile's bytes") << "nothing else touched";
    }

    std::string Changed(size_t at, const std::string& bytes) const
    {
        std::string changed = m_known;
        changed.replace(at, bytes.size(), bytes);
        return changed;
    }
    std::string Flipped(size_t at, uint8_t bits) const
    {
        std::string flipped = m_known;
        flipped[at] = static_cast<char>(flipped[at] ^ bits);
        return flipped;
    }

    std::string m_known;
    std::string m_profile;
};

} // namespace

TEST_F(DamagedOptionsTest, EveryDamageKeepsTheNamesThatReadSoundlyAndACopy)
{
    const Names none = {nullptr, nullptr, nullptr};
    std::vector<Damage> damages = {
        {"whole", m_known, kNames, false},
        {"zeroed header", Changed(0, std::string(4, '\0')), kNames, true},
        {"zeroed marker of the second name", Changed(kNameEnds[0], std::string(1, '\0')), {u"Ann", nullptr, u"Bob"}, true},
        {"zeroed names", Changed(18, std::string(195, '\0')), none, true},
        {"flipped version", Flipped(0, 0x01), kNames, true},
        {"flipped language", Flipped(4, 0x80), kNames, true},
        {"flipped first name into a control unit", Flipped(19, 0x40), {nullptr, u"Cy", u"Bob"}, true},
        {"huge", m_known + std::string(4 << 20, '\x5A'), kNames, true},
        {"a folder", "", none, true, Stands::Folder},
        {"a pipe", "", none, true, Stands::Pipe},
    };
    for (size_t cut : {size_t(0), size_t(3), size_t(17), size_t(18), size_t(100), kNameEnds[1], size_t(250), size_t(321)}) {
        Names kept = none;
        for (size_t slot = 0; slot < kProfileSlotCount; ++slot)
            kept[slot] = kNameEnds[slot] <= cut ? kNames[slot] : nullptr;
        damages.push_back({"cut at " + std::to_string(cut), m_known.substr(0, cut), kept, true});
    }
    for (const Damage& damage : damages)
        Check(damage);
}
