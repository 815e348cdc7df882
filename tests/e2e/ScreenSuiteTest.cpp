#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <fstream>
#include <set>
#include <sstream>

#include "game/GameLevel.h"
#include "tests/e2e/ContactSheet.h"
#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/e2e/PictureDifference.h"
#include "tests/e2e/ScreenChecks.h"
#include "tests/support/PrivateDisplay.h"

// The screens of the sample game as a player meets them, on both renderers with one seed. Every
// picture is compared with its reference in tests/e2e/screens (OpenGL's picture, and Direct3D 8's
// own in screens/Direct3D8 where the two do not agree), and what the player must see is checked
// on it. With VD_SCREENS_UPDATE=1 the runs make the references instead.

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSeed = 1209;
constexpr int kSheetColumns = 4;
const int kRenderers[] = {kDirect3D8, kOpenGL};

// The route, in order: what takes the player on, then, when named, the picture of where it led.
// The steps write pictures of their own too (GameScript), and every pop-up page, tutorial step
// and tooltip on the way is pictured as it waits for the player. A new screen is a stop here.
struct Stop {
    std::function<GameScript::Step(GameScript&)> go;
    const char* picture;
};
constexpr int kCreditsScrollFrames = 240;
// A bare spot of the study's wall.
constexpr ReportRect kWall{380, 120, 1, 1};

const Stop kRoute[] = {
    {&GameScript::PictureLogos, nullptr},
    {&GameScript::ReachMainMenu, "menu"},
    {[](GameScript& play) { return play.ShowPage(kLineQuit, kPageQuit); }, "quit"},
    {[](GameScript& play) { return play.ShowPage(kLineNo, 0); }, nullptr},
    {[](GameScript& play) { return play.ShowPage(kLineOptions, kPageOptions); }, "options"},
    {[](GameScript& play) {
         const GameScript::Step shown = play.ShowScreen(kLineShowCredits, GS_CREDITS);
         return shown ? play.Wait(kCreditsScrollFrames) : shown;
     },
     "credits"},
    {[](GameScript& play) { return play.ShowPage(kMenuClose, kPageOptions); }, nullptr},
    {[](GameScript& play) { return play.ShowPage(kMenuClose, 0); }, nullptr},
    {[](GameScript& play) { return play.ShowPage(kLineProfiles, kPageProfiles); }, "profiles"},
    {[](GameScript& play) { return play.ShowPage(kMenuClose, 0); }, nullptr},
    {[](GameScript& play) { return play.ShowScreen(kLineMoreGames, GS_MORE_GAMES); }, "moregames"},
    {[](GameScript& play) { return play.ShowGameDescription(0); }, "moregames-game"},
    {&GameScript::LeaveMoreGames, nullptr},
    {&GameScript::StartStory, nullptr},
    {[](GameScript& play) { return play.TakePenalty(kWall); }, nullptr},
    {[](GameScript& play) { return play.PlayScene(true); }, nullptr},
    {[](GameScript& play) { return play.SolveJigsaw(); }, nullptr},
    {[](GameScript& play) { return play.ShootToGoal(); }, nullptr},
    {[](GameScript& play) { return play.SolveSliding(); }, nullptr},
    {&GameScript::ReachOutro, nullptr},
};

std::string Env(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

// The references are made from the runs instead of compared with them.
bool Updating()
{
    return Env("VD_SCREENS_UPDATE") == "1";
}

std::string ShotFolder(int renderer)
{
    return Env("VD_BINARY_DIR") + "/screens/" + RendererName(renderer);
}

std::string ReferenceFolder()
{
    return Env("VD_SOURCE_DIR") + "/tests/e2e/screens";
}

// A renderer's own reference where its picture does not agree with the shared one.
std::string OwnReference(int renderer, const std::string& name)
{
    return ReferenceFolder() + "/" + RendererName(renderer) + "/" + name + ".png";
}

std::string SharedReference(const std::string& name)
{
    return ReferenceFolder() + "/" + name + ".png";
}

std::string ShotPath(int renderer, const std::string& name)
{
    return ShotFolder(renderer) + "/" + name + ".png";
}

// The names of a run's pictures in route order, one a line.
std::string ScreenListPath(int renderer)
{
    return ShotFolder(renderer) + "/screens.txt";
}

std::vector<std::string> ScreenList(int renderer)
{
    std::vector<std::string> names;
    std::istringstream lines(TempDir::Read(ScreenListPath(renderer)));
    for (std::string name; std::getline(lines, name);)
        names.push_back(name);
    return names;
}

std::string ContactSheetPath()
{
    return Env("VD_BINARY_DIR") + "/screens/contact-sheet.png";
}

// A waiting screen's picture name: the place, what waits and its number there, as
// "scene-tutorial3".
class WaitingScreenNames {
public:
    std::string Next(const StateReport& report)
    {
        static const std::map<std::string, std::string> kPlaces = {{"hiddenobject", "scene"}, {"none", "story"},
                                                                   {"base", "story"}};
        static const std::map<std::string, std::string> kKinds = {{"ingame", "popup"}, {"endtext", "ending"}};
        const std::string level = report.Value("level");
        const auto place = kPlaces.find(level);
        const auto popup = report.All("popup");
        const std::string kind = popup.empty() ? "tooltip" : popup.front().front();
        const auto named = kKinds.find(kind);
        // The end text closes the story, whatever level was last.
        const std::string where = kind == "endtext" ? "story" : place == kPlaces.end() ? level : place->second;
        const std::string prefix = where + "-" + (named == kKinds.end() ? kind : named->second);
        return prefix + std::to_string(++m_counts[prefix]);
    }

private:
    std::map<std::string, int> m_counts;
};

// What the player must see on a picture, by what its report shows.
void ExpectWhatThePlayerSees(const Picture& shot, const StateReport& report, const BarPictures& bars)
{
    if (report.Has("popup")) {
        EXPECT_TRUE(PopupOnScreen(shot, report));
    }
    // The quiz's backdrop lies over the bars.
    const bool quiz = report.Value("level") == "hiddenobject" && report.Int("scenestate") == kSceneStateQuiz;
    const auto bands = report.All("bars");
    if (report.Int("state") != GS_IN_GAME || quiz || bands.empty() || bands.front().size() < 2)
        return;
    if (bands.front()[0] == "1") {
        EXPECT_TRUE(ToolbarStripShown(shot, report, bars));
        EXPECT_TRUE(ItemNamesShown(shot, report, bars));
    }
    if (bands.front()[1] == "1") {
        EXPECT_TRUE(ToolButtonsShown(shot, report, bars));
    }
    EXPECT_TRUE(HintGlowShown(shot, report, bars));
}

// The pictures of both renderers' latest runs, in the order of this run, as one sheet.
void WriteSheet(const std::vector<ScriptPicture>& pictures, const std::string& font)
{
    std::vector<SheetPicture> sheet;
    for (const ScriptPicture& picture : pictures)
        for (int renderer : kRenderers)
            sheet.push_back({picture.name + "  (" + RendererName(renderer) + ")",
                             Picture::Load(ShotFolder(renderer) + "/" + picture.name + ".png").MakeOpaque()});
    if (!WriteContactSheet(sheet, kSheetColumns, font, ContactSheetPath()))
        ADD_FAILURE() << "no contact sheet written to " << ContactSheetPath();
    else
        printf("contact sheet: %s\n", ContactSheetPath().c_str());
}

// The picture against its reference (the renderer's own where there is one, else the shared one).
void CompareWithReference(int renderer, const std::string& name)
{
    const std::string own = OwnReference(renderer, name);
    const std::string reference = fs::exists(own) ? own : SharedReference(name);
    Picture expected = Picture::Load(reference);
    if (expected.Empty()) {
        ADD_FAILURE() << "no reference " << reference << " (see the README: the screen suite)";
        return;
    }
    EXPECT_TRUE(PictureMatches(Picture::Load(ShotPath(renderer, name)).MakeOpaque(), expected.MakeOpaque(),
                               ShotFolder(renderer) + "/" + name + ".difference.png"))
        << reference;
}

// The references from both renderers' pictures, opaque: OpenGL's shared, Direct3D 8's own where
// the two do not agree; references of screens no longer on the route go.
void UpdateReferences(const std::vector<std::string>& names)
{
    std::error_code error;
    fs::create_directories(ReferenceFolder() + "/" + RendererName(kDirect3D8), error);
    for (const std::string& name : names) {
        Picture direct3D = Picture::Load(ShotPath(kDirect3D8, name)), openGL = Picture::Load(ShotPath(kOpenGL, name));
        EXPECT_TRUE(openGL.MakeOpaque().Save(SharedReference(name))) << name;
        if (PictureMatches(direct3D.MakeOpaque(), openGL, ""))
            fs::remove(OwnReference(kDirect3D8, name), error);
        else
            EXPECT_TRUE(direct3D.Save(OwnReference(kDirect3D8, name))) << name;
    }
}

// References whose screen is not on the route; removed when updating.
void ExpectNoStaleReferences(const std::vector<std::string>& names, bool remove)
{
    const std::set<std::string> files = [&] {
        std::set<std::string> set;
        for (const std::string& name : names)
            set.insert(name + ".png");
        return set;
    }();
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(ReferenceFolder(), error)) {
        if (!entry.is_regular_file() || files.count(entry.path().filename().string()))
            continue;
        if (remove)
            fs::remove(entry.path(), error);
        else
            ADD_FAILURE() << "the reference " << entry.path().string() << " has no screen on the route";
    }
}

class ScreenSuite : public GameRunTest, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(ScreenSuite, EveryScreenLooksAsItsReferenceAndShowsWhatThePlayerNeeds)
{
    const int renderer = GetParam();
    if (!PrivateDisplay::ServerInstalled())
        GTEST_SKIP() << "needs Xvfb";
    std::error_code error;
    fs::remove_all(ShotFolder(renderer), error);
    fs::create_directories(ShotFolder(renderer), error);
    const BarPictures bars(m_folder.MainPak());
    ASSERT_EQ(bars.Error(), "");
    // Full screen on a screen of the game's size, which no other test's window takes.
    PrivateDisplay display("1024x768");
    ASSERT_FALSE(display.Name().empty());
    auto program = Launch(renderer, kSeed, {"DISPLAY=" + display.Name()});
    ASSERT_TRUE(program);
    GameScript play(*program, ShotFolder(renderer));
    WaitingScreenNames names;
    play.Watch([&](const StateReport& report) { return play.Picture(names.Next(report)); });
    for (const Stop& stop : kRoute) {
        ASSERT_TRUE(stop.go(play));
        if (stop.picture) {
            ASSERT_TRUE(play.Picture(stop.picture));
        }
    }
    std::string list;
    for (const ScriptPicture& picture : play.Pictures()) {
        SCOPED_TRACE(picture.name);
        list += picture.name + "\n";
        if (!Updating())
            CompareWithReference(renderer, picture.name);
        ExpectWhatThePlayerSees(Picture::Load(ShotPath(renderer, picture.name)).MakeOpaque(), picture.report, bars);
    }
    // A run that makes references lists its screens only when it saw what the player must see.
    if (!Updating() || !HasFailure())
        std::ofstream(ScreenListPath(renderer)) << list;
    WriteSheet(play.Pictures(), ReadPakEntry(m_folder.MainPak(), GameSetting(u"MAIN_FONT", u"MAIN_FONT_TTF_FILE_PATH")));
}

INSTANTIATE_TEST_SUITE_P(Renderers, ScreenSuite, ::testing::ValuesIn(kRenderers),
                         [](const ::testing::TestParamInfo<int>& info) { return RendererName(info.param); });

// After both renderers' runs: the largest difference between their pictures of each screen, the
// references rewritten from them when updating, and no reference left without its screen.
TEST(ScreenReferences, FollowBothRenderersRuns)
{
    if (Env("VD_BINARY_DIR").empty() || Env("VD_SOURCE_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    const std::vector<std::string> names = ScreenList(kOpenGL);
    ASSERT_FALSE(names.empty()) << "no complete run of the screens on OpenGL";
    ASSERT_EQ(ScreenList(kDirect3D8), names) << "the Direct3D 8 run is not complete or met other screens";
    for (const std::string& name : names) {
        Picture direct3D = Picture::Load(ShotPath(kDirect3D8, name)), openGL = Picture::Load(ShotPath(kOpenGL, name));
        direct3D.MakeOpaque(), openGL.MakeOpaque();
        const std::string agreement = PictureMatches(direct3D, openGL, "").message();
        printf("%-22s Direct3D 8 against OpenGL: %s\n", name.c_str(), agreement.substr(0, agreement.find(';')).c_str());
    }
    if (Updating())
        UpdateReferences(names);
    ExpectNoStaleReferences(names, Updating());
}
