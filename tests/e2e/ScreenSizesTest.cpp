#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/GameScript.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/X11Desktop.h"

namespace {

constexpr uint32_t kSeed = 31;
constexpr int kSwitchFrames = 60;

struct CScreenCase {
    const char* size;
    int renderer;
};

std::string CaseName(const ::testing::TestParamInfo<CScreenCase>& info)
{
    std::string size = info.param.size;
    std::replace(size.begin(), size.end(), 'x', '_');
    return std::string(info.param.renderer == kDirect3D8 ? "Direct3D8_" : "OpenGL_") + size;
}

// A picture (rows from the bottom, 0xAABBGGRR) as the screen shows it: rows from the top, 0xRRGGBB.
ScreenImage AsScreen(const std::vector<uint32_t>& pixels, int width, int height)
{
    ScreenImage image{width, height, std::vector<uint32_t>(pixels.size())};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[static_cast<size_t>(height - 1 - y) * width + x];
            image.pixels[static_cast<size_t>(y) * width + x] = (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
        }
    }
    return image;
}

// The colour most of the rectangle shows: a button's face.
uint32_t FaceColour(const ScreenImage& image, const ReportRect& rect)
{
    std::map<uint32_t, int> counts;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, image.height); ++y)
        for (int x = std::max(rect.x, 0); x < std::min(rect.x + rect.w, image.width); ++x)
            ++counts[image.At(x, y)];
    uint32_t face = 0;
    int most = 0;
    for (const auto& [colour, count] : counts) {
        if (count > most)
            face = colour, most = count;
    }
    return face;
}

bool Near(uint32_t a, uint32_t b)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 12)
            return false;
    }
    return true;
}

// A patch of one colour on the screen: its bounding box and size.
struct CPatch {
    int left = 0, top = 0, right = 0, bottom = 0;
    int pixels = 0;
};

// The patches of the colour, 4-connected, of at least least pixels, in the order of their tops.
std::vector<CPatch> PatchesOf(const ScreenImage& screen, uint32_t colour, int least)
{
    std::vector<char> seen(screen.pixels.size(), 0);
    std::vector<CPatch> patches;
    for (int start = 0; start < static_cast<int>(screen.pixels.size()); ++start) {
        if (seen[start] || !Near(screen.pixels[start], colour))
            continue;
        CPatch patch{start % screen.width, start / screen.width, start % screen.width, start / screen.width, 0};
        std::vector<int> open{start};
        seen[start] = 1;
        while (!open.empty()) {
            const int at = open.back();
            open.pop_back();
            const int x = at % screen.width, y = at / screen.width;
            patch.left = std::min(patch.left, x), patch.right = std::max(patch.right, x);
            patch.top = std::min(patch.top, y), patch.bottom = std::max(patch.bottom, y);
            ++patch.pixels;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& [nx, ny] : next) {
                const int index = ny * screen.width + nx;
                if (nx >= 0 && ny >= 0 && nx < screen.width && ny < screen.height && !seen[index] &&
                    Near(screen.pixels[index], colour)) {
                    seen[index] = 1;
                    open.push_back(index);
                }
            }
        }
        if (patch.pixels >= least)
            patches.push_back(patch);
    }
    std::sort(patches.begin(), patches.end(), [](const CPatch& a, const CPatch& b) { return a.top < b.top; });
    return patches;
}

double Proportions(const CPatch& patch)
{
    return double(patch.right - patch.left + 1) / (patch.bottom - patch.top + 1);
}

// The share of its bounding box the patch fills.
double Fill(const CPatch& patch)
{
    return double(patch.pixels) / ((patch.right - patch.left + 1) * (patch.bottom - patch.top + 1));
}

// The topmost of the patches shaped as the model, nullptr without one.
const CPatch* FirstShapedAs(const std::vector<CPatch>& patches, const CPatch& model)
{
    for (const CPatch& patch : patches) {
        if (std::abs(Proportions(patch) / Proportions(model) - 1.0) <= 0.2 && std::abs(Fill(patch) - Fill(model)) <= 0.15)
            return &patch;
    }
    return nullptr;
}

bool Inside(const CPatch& patch, const ReportRect& rect)
{
    return patch.left >= rect.x && patch.top >= rect.y && patch.right < rect.x + rect.w && patch.bottom < rect.y + rect.h;
}

// The game in a test's own X server of each size: the player clicks the Play button where the
// screen shows it, full screen, then in a window after Alt+Enter, then full screen again after
// another, and each time reaches the play page.
class ScreenSizesTest : public GameRunTest, public ::testing::WithParamInterface<CScreenCase> {
protected:
    void SetUp() override
    {
        if (!PrivateDisplay::ServerInstalled())
            GTEST_SKIP() << "needs Xvfb";
        GameRunTest::SetUp();
        m_display = std::make_unique<PrivateDisplay>(GetParam().size);
        ASSERT_FALSE(m_display->Name().empty());
    }

    void Steps(int count)
    {
        for (int step = 0; step < count; ++step)
            m_program->Step();
    }

    // The program's X window, 0 while it has none.
    unsigned long ProgramWindow() const
    {
        const std::vector<unsigned long> windows = WindowsOfProcess(m_program->Pid(), m_display->Name());
        return windows.empty() ? 0 : windows.front();
    }

    // The Play button found on the screen: the topmost patch of its face colour (the colour most
    // of the button shows in the program's own picture) shaped as the button's face there (its
    // proportions within a fifth, whatever the scale, and as full of the colour). The same choice
    // on the program's own picture must give the face inside the reported button.
    ::testing::AssertionResult FindPlay(int* x, int* y)
    {
        const StateReport report = m_program->State();
        auto play = report.Find("line", kLinePlay);
        play = play ? play : report.Find("button", kLinePlay);
        if (!play)
            return ::testing::AssertionFailure() << "no Play line in: " << report.Line();
        const ReportRect rect = StateReport::RectAt(*play, 1);
        const std::string picture = m_dir.File("menu.png");
        int width = 0, height = 0;
        if (!m_program->Shot(picture))
            return ::testing::AssertionFailure() << "no picture";
        const std::vector<uint32_t> pixels = PicturePixels(picture, &width, &height);
        ScreenImage screen;
        if (pixels.empty() || !GrabScreen(&screen, m_display->Name()))
            return ::testing::AssertionFailure() << "no picture or no screen";
        const ScreenImage own = AsScreen(pixels, width, height);
        const uint32_t face = FaceColour(own, rect);
        const std::vector<CPatch> drawn = PatchesOf(own, face, rect.w * rect.h / 8);
        const CPatch* inside = nullptr;
        for (const CPatch& patch : drawn) {
            if (Inside(patch, rect) && (!inside || patch.pixels > inside->pixels))
                inside = &patch;
        }
        if (!inside)
            return ::testing::AssertionFailure() << "no patch of " << std::hex << face << " inside the Play button";
        const CPatch* first = FirstShapedAs(drawn, *inside);
        if (first != inside)
            return ::testing::AssertionFailure() << "a patch shaped as the Play button lies above it";
        const std::vector<CPatch> onScreen = PatchesOf(screen, face, inside->pixels / 4);
        const CPatch* shown = FirstShapedAs(onScreen, *inside);
        if (!shown)
            return ::testing::AssertionFailure() << "no patch shaped as the Play button on the screen";
        *x = (shown->left + shown->right) / 2;
        *y = (shown->top + shown->bottom) / 2;
        return ::testing::AssertionSuccess();
    }

    // The player's click on the drawn Play button; then frames until the play page shows, and back
    // to the main menu.
    ::testing::AssertionResult ClickPlay(const char* mode)
    {
        int x = 0, y = 0;
        ::testing::AssertionResult found = FindPlay(&x, &y);
        if (!found)
            return found << " (" << mode << ")";
        MovePointer(x, y, m_display->Name());
        Steps(2);
        SetLeftButton(true, m_display->Name());
        Steps(2);
        SetLeftButton(false, m_display->Name());
        const StateReport report =
            m_program->StepUntil([](const StateReport& r) { return r.Int("page") == kPagePlay; }, kSwitchFrames);
        if (report.Int("page") != kPagePlay)
            return ::testing::AssertionFailure() << "the click at " << x << "," << y << " " << mode
                                                 << " reached no play page: " << report.Line();
        return m_play->ShowPage(kMenuClose, 0);
    }

    // Alt+Enter as a hand types it, each key held over frames; then frames until the program's
    // only window is a new one and shown. The program runs ahead of the server under load: a
    // window it has just made may not yet carry what the program set on it.
    ::testing::AssertionResult SwitchMode()
    {
        const unsigned long before = ProgramWindow();
        SetKey("Alt_L", true, m_display->Name());
        Steps(3);
        SetKey("Return", true, m_display->Name());
        Steps(3);
        SetKey("Return", false, m_display->Name());
        Steps(3);
        SetKey("Alt_L", false, m_display->Name());
        for (int frame = 0; frame < kSwitchFrames; ++frame) {
            m_program->Step();
            // The old window may outlive the new one's arrival for a while.
            const std::vector<unsigned long> windows = WindowsOfProcess(m_program->Pid(), m_display->Name());
            if (windows.size() == 1 && windows.front() != before &&
                WindowViewable(windows.front(), m_display->Name())) {
                Steps(10);
                return ::testing::AssertionSuccess();
            }
        }
        return ::testing::AssertionFailure() << "Alt+Enter made no new window";
    }

    std::unique_ptr<PrivateDisplay> m_display;
    std::unique_ptr<DrivenProgram> m_program;
    std::unique_ptr<GameScript> m_play;
};

} // namespace

TEST_P(ScreenSizesTest, ClicksOnTheDrawnPlayButtonReachThePlayPage)
{
    m_program = Launch(GetParam().renderer, kSeed, {"DISPLAY=" + m_display->Name()});
    ASSERT_TRUE(m_program);
    m_play = std::make_unique<GameScript>(*m_program, m_dir.Path());
    ASSERT_TRUE(m_play->ReachMainMenu());
    EXPECT_TRUE(ClickPlay("in full screen"));
    ASSERT_TRUE(SwitchMode());
    std::vector<unsigned long> hints;
    EXPECT_TRUE(WindowProperty(ProgramWindow(), "_MOTIF_WM_HINTS", &hints, m_display->Name()) && hints.size() >= 3 &&
                hints[2] != 0)
        << "a window with a title bar";
    EXPECT_TRUE(ClickPlay("in a window"));
    ASSERT_TRUE(SwitchMode());
    EXPECT_TRUE(ClickPlay("in full screen again"));
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenSizesTest,
                         ::testing::Values(CScreenCase{"1024x768", kDirect3D8}, CScreenCase{"1280x1024", kDirect3D8},
                                           CScreenCase{"1920x1080", kDirect3D8}, CScreenCase{"800x600", kDirect3D8},
                                           CScreenCase{"1920x1080", kOpenGL}),
                         CaseName);
