#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/e2e/MixCapture.h"

// What the player hears: the mix of a driven run captured frame by frame, each sound looked for
// where the move that causes it was taken.

namespace {

constexpr uint32_t kSeed = 1209;
constexpr long kHintTool = 100;
// 0.2 s of frames: where a sound must start after its cause.
constexpr long kHearingSteps = 6;
constexpr long kHearingLag = kHearingSteps * MixCapture::kFramesPerStep;
// The longest sound of the game fades within 1.5 s.
constexpr int kRingingFrames = 45;
// A bar of the music, over which its level hardly changes.
constexpr long kMusicSteps = 75;
constexpr double kFloorDb = -30.0;
constexpr double kSilenceDb = -90.0;
// The sound's opening must stand out of the mix this clearly where it starts.
constexpr double kMatch = 0.5;
constexpr int kHintChargeFrames = 3000;

// A sound the game should play, its cause's frame (the frame that took the move) and the file.
struct Expected {
    std::string event;
    long frame;
    std::string sound;
};

class SoundSuiteTest : public GameRunTest {
protected:
    std::string CapturePath() const { return m_dir.File("mix.raw"); }

    // Steps so that what rang before has faded.
    static void LetRingOut(DrivenProgram& program)
    {
        for (int frame = 0; frame < kRingingFrames; ++frame)
            program.Step();
    }

    // The slider of id held at x, or from the nearest point of its line moved to x once what that
    // rang faded, and released; the frame that took the pointer to x.
    long DragSlider(DrivenProgram& program, long id, int x)
    {
        const auto slider = program.State().Find("line", id);
        EXPECT_TRUE(slider) << "no slider " << id;
        if (!slider)
            return -1;
        const ReportRect rect = StateReport::RectAt(*slider, 1);
        const std::string y = " " + std::to_string(rect.CentreY());
        const int inside = std::clamp(x, rect.x + 1, rect.x + rect.w - 1);
        EXPECT_EQ(program.Command("move " + std::to_string(inside) + y), "ok");
        EXPECT_EQ(program.Command("down " + std::to_string(inside) + y), "ok");
        program.Step();
        long frame = program.Frames();
        if (inside != x) {
            LetRingOut(program);
            EXPECT_EQ(program.Command("move " + std::to_string(x) + y), "ok");
            program.Step();
            frame = program.Frames();
        }
        EXPECT_EQ(program.Command("up " + std::to_string(x) + y), "ok");
        program.Step();
        return frame;
    }

    // Where on a slider each value (in tenths, reported under key) is first taken, sweeping it once
    // from beyond its left end to beyond its right end with the button held.
    std::map<long, int> MeasureSlider(DrivenProgram& program, long id, const std::string& key)
    {
        std::map<long, int> places;
        const StateReport report = program.State();
        const auto slider = report.Find("line", id);
        EXPECT_TRUE(slider) << "no slider " << id << " in " << report.Line();
        if (!slider)
            return places;
        const ReportRect rect = StateReport::RectAt(*slider, 1);
        const std::string y = " " + std::to_string(rect.CentreY());
        program.Command("move " + std::to_string(rect.CentreX()) + y);
        program.Command("down " + std::to_string(rect.CentreX()) + y);
        program.Step();
        const long centre = program.State().Int(key);
        // The ends of the scale lie beside the slider's line, within its reach; the value stays
        // until the pointer enters it.
        const int reach = rect.w / 4;
        bool reached = false;
        for (int x = rect.x - reach; x <= rect.x + rect.w + reach; ++x) {
            program.Command("move " + std::to_string(x) + y);
            program.Step();
            const long value = program.State().Int(key);
            reached = reached || value != centre;
            if (reached)
                places.emplace(value, x);
        }
        program.Command("up " + std::to_string(rect.x + rect.w + reach) + y);
        program.Step();
        return places;
    }

    // The music's level in dBFS over a bar, once the volume of that many tenths is set.
    double MusicLevel(DrivenProgram& program, const std::map<long, int>& places, long tenths, MixCapture& mix)
    {
        EXPECT_TRUE(places.count(tenths)) << tenths;
        if (!places.count(tenths))
            return 0.0;
        DragSlider(program, kLineMusicSlider, places.at(tenths));
        EXPECT_EQ(program.State().Int("music"), tenths);
        LetRingOut(program);
        const long first = program.Frames() + 1;
        for (long frame = 0; frame < kMusicSteps; ++frame)
            program.Step();
        mix.Read(CapturePath());
        return tenths == 0 ? mix.PeakDb(first, kMusicSteps) : mix.RmsDb(first, kMusicSteps);
    }

    // The frame in which the scene change after frame ends, once the fade is over: the last one
    // reported in the change state.
    static long SceneChangeFrame(const DrivenProgram& program, long after)
    {
        long last = -1;
        for (const std::string& line : program.Reports()) {
            StateReport report;
            if (!report.Parse(line) || report.Int("frame") <= after)
                continue;
            if (report.Int("state") == GS_SCENE_CHANGE)
                last = report.Int("frame");
            else if (last >= 0)
                break;
        }
        return last;
    }

    // A click on the reported node of key and id; the frame that took it, -1 when there is none.
    static long ClickOn(DrivenProgram& program, const std::string& key, long id)
    {
        const StateReport report = program.StepUntil([&](const StateReport& r) { return r.Find(key, id).has_value(); }, 30);
        const auto node = report.Find(key, id);
        return node && program.Click(StateReport::RectAt(*node, 1)) ? program.Frames() : -1;
    }

    // A listed object of the scene clicked; false when none is shown.
    static bool ClickListedObject(DrivenProgram& program, const StateReport& report)
    {
        for (const auto& item : report.All("item")) {
            for (const auto& part : report.All("part")) {
                if (part.size() >= 4 && item.size() > 6 && item[1] == "0" && part[0] == item.back() && part[3] != "toggle")
                    return program.Click(StateReport::RectAt(part, 1, true));
            }
        }
        return false;
    }

    // A point of the virtual screen in window pixels, by the report's screen size.
    static std::string ScreenPoint(const StateReport& report, int x, int y)
    {
        const auto screen = report.All("screen");
        const ReportRect size = screen.empty() ? ReportRect{0, 0, 1024, 768} : StateReport::RectAt(screen.front(), 0);
        return std::to_string(x * size.w / 1024) + " " + std::to_string(y * size.h / 768);
    }

    // Once SHOOT takes clicks, a shot between its targets' places; the frame that took it, -1 when
    // the level never got there.
    static long MissAShot(DrivenProgram& program, GameScript& play)
    {
        StateReport shooting;
        for (int round = 0; round < 10 && shooting.Int("state") != GS_IN_GAME; ++round) {
            if (!play.Settle())
                return -1;
            LetRingOut(program);
            shooting = program.State();
        }
        EXPECT_EQ(shooting.Value("level"), "shoot") << shooting.Line();
        const std::string between = ScreenPoint(shooting, 400, 340);
        if (shooting.Int("state") != GS_IN_GAME || program.Command("move " + between) != "ok" ||
            program.Command("down " + between) != "ok" || !program.Step() || program.Command("up " + between) != "ok" ||
            !program.Step())
            return -1;
        return program.Frames();
    }
};

} // namespace

TEST_F(SoundSuiteTest, EverySoundIsHeardAtItsMomentAndTheVolumesRuleTheMix)
{
    auto program = Launch(kOpenGL, kSeed, {"VD_AUDIO_CAPTURE=" + CapturePath()});
    ASSERT_TRUE(program);
    GameScript play(*program, m_dir.Path());
    MixCapture mix;
    std::vector<Expected> expected;

    // The music follows its slider: 10 dB less at half volume, 16 dB less at a fifth, off at 0.
    ASSERT_TRUE(play.ReachMainMenu());
    ASSERT_TRUE(play.ShowPage(kLineOptions, kPageOptions));
    const std::map<long, int> places = MeasureSlider(*program, kLineMusicSlider, "music");
    const std::map<long, int> soundPlaces = MeasureSlider(*program, kLineSoundSlider, "sound");
    ASSERT_TRUE(places.count(0) && places.count(10) && soundPlaces.count(0) && soundPlaces.count(10));
    const double full = MusicLevel(*program, places, 10, mix);
    const double half = MusicLevel(*program, places, 5, mix);
    const double fifth = MusicLevel(*program, places, 2, mix);
    const double off = MusicLevel(*program, places, 0, mix);
    printf("music level: %.1f dBFS at 1.0, %.1f at 0.5, %.1f at 0.2, %.1f at 0\n", full, half, fifth, off);
    EXPECT_GT(full, kFloorDb);
    EXPECT_NEAR(full - half, 10.0, 2.0);
    EXPECT_NEAR(full - fifth, 16.0, 2.0);
    EXPECT_LT(off, kSilenceDb);

    // Both volumes at 0: a menu click, a new game's scene switch and a found object make no sound.
    DragSlider(*program, kLineSoundSlider, soundPlaces.at(0));
    ASSERT_EQ(program->State().Int("sound"), 0);
    LetRingOut(*program);
    const long silentFrom = program->Frames() + 1;
    ASSERT_TRUE(play.ShowPage(kMenuClose, kPageMain));
    ASSERT_TRUE(play.StartStory());
    bool clicked = false;
    for (int frame = 0; !clicked && frame < kRingingFrames && play.Settle(); ++frame)
        clicked = ClickListedObject(*program, play.Report()) || !program->Step();
    ASSERT_TRUE(clicked) << play.Report().Line();
    LetRingOut(*program);
    const long silentTo = program->Frames();
    ASSERT_TRUE(play.LeaveScene());

    // The sound slider's preview, then a menu click, at full sound volume and no music.
    ASSERT_TRUE(play.ShowPage(kLineOptions, kPageOptions));
    LetRingOut(*program);
    expected.push_back({"slider preview", DragSlider(*program, kLineSoundSlider, soundPlaces.at(10)), "click"});
    ASSERT_EQ(program->State().Int("sound"), 10);
    LetRingOut(*program);
    expected.push_back({"menu click", ClickOn(*program, "button", kMenuClose), "click"});
    LetRingOut(*program);
    ASSERT_EQ(program->State().Int("page"), kPageMain);

    // The story resumed: the scene switch replays the level's start sound.
    const long resumedAt = program->Frames();
    ASSERT_TRUE(play.ContinueStory());
    expected.push_back({"scene switch", SceneChangeFrame(*program, resumedAt), "switch"});
    ASSERT_TRUE(play.PlayScene());

    // In the jigsaw the charged hint button is used.
    auto isCharged = [](const StateReport& r) { return r.Int("hintframe") == 14 && r.Find("tool", kHintTool); };
    for (int frame = 0; frame < kHintChargeFrames && play.Settle() && !isCharged(play.Report()); ++frame)
        program->Step();
    const StateReport charged = play.Report();
    const auto hint = charged.Find("tool", kHintTool);
    ASSERT_TRUE(isCharged(charged)) << charged.Line();
    const long hintsBefore = charged.Int("hints");
    ASSERT_TRUE(program->Click(StateReport::RectAt(*hint, 1)));
    expected.push_back({"hint used", program->Frames(), "hint"});
    ASSERT_EQ(program->State().Int("hints"), hintsBefore - 1);
    ASSERT_TRUE(play.SolveJigsaw());

    // SHOOT: a shot between the targets misses.
    const long missed = MissAShot(*program, play);
    ASSERT_GT(missed, 0);
    expected.push_back({"miss", missed, "miss"});
    ASSERT_TRUE(play.ShootToGoal());
    ASSERT_TRUE(play.SolveSliding());

    // The sound of each kind where it rang alone: the first move of that kind that the player's
    // next move did not follow within the hearing time, and the last arrow (the one the scene
    // took).
    std::map<std::string, long> alone, last;
    const auto& moments = play.Moments();
    for (size_t n = 0; n < moments.size(); ++n) {
        if (moments[n].frame <= resumedAt)
            continue;
        if (n + 1 == moments.size() || moments[n + 1].frame > moments[n].frame + kHearingSteps)
            alone.emplace(moments[n].kind, moments[n].frame);
        last[moments[n].kind] = moments[n].frame;
    }
    ASSERT_TRUE(alone.count("found") && last.count("star") && last.count("arrow") && last.count("slide"));
    expected.push_back({"object found", alone["found"], "found"});
    expected.push_back({"star caught", last["star"], "star"});
    expected.push_back({"scene switch (arrow)", last["arrow"], "switch"});
    expected.push_back({"level solved", last["slide"], "solved"});
    LetRingOut(*program);

    ASSERT_TRUE(mix.Read(CapturePath()));
    ASSERT_GE(mix.Steps(), program->Frames() - 1);
    const double silence = mix.PeakDb(silentFrom, silentTo - silentFrom + 1);
    printf("both volumes at 0, frames %ld to %ld: peak %.1f dBFS\n", silentFrom, silentTo, silence);
    EXPECT_LT(silence, kSilenceDb);
    for (const Expected& e : expected) {
        const std::vector<float> sound = ReadMonoWav(DataFolder() + "sounds/" + e.sound + ".wav");
        ASSERT_FALSE(sound.empty()) << e.sound;
        const SoundMatch match = FindSound(mix.Left(e.frame, kHearingLag + long(sound.size())), sound, kHearingLag);
        const double peak = mix.PeakDb(e.frame, kHearingSteps);
        printf("%-22s frame %6ld: %-7s peak %6.1f dBFS, rms %6.1f dBFS; match %.2f at +%.3f s, gain %.2f\n",
               e.event.c_str(), e.frame, e.sound.c_str(), peak, mix.RmsDb(e.frame, kHearingSteps), match.correlation,
               double(match.lag) / MixCapture::kRate, match.gain);
        EXPECT_GT(peak, kFloorDb) << e.event;
        EXPECT_GT(match.correlation, kMatch) << e.event << ": " << e.sound << " not heard";
    }
}
