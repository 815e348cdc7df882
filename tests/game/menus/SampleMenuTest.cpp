#include <cmath>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine3d/Container.h"
#include "engine3d/Frame.h"
#include "engine3d/Object.h"
#include "game/CharsetRemap.h"
#include "platform/win32/Win32Window.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/support/MemoryTexture.h"

// The menu dialog of the sample game as its construction file, texts and pictures build it,
// walked with the mouse and the keyboard from the main page: every page it leads to, a way back
// from each, no blank page, and every line readable on its frame.

namespace {

constexpr int kToGame = -1;
constexpr int kQuits = -2;

// What the walk sets before each click: the settings switches and the records of profile 1.
struct CWalkSetting {
    const char* name;
    bool everythingOn;  // web scores, time attack, legals, a second language
    bool account;
};

// Test names and failures show the setting by its name.
void PrintTo(const CWalkSetting& setting, std::ostream* out)
{
    *out << setting.name;
}

// The WCAG 2 relative luminance of an sRGB colour.
double Luminance(double r, double g, double b)
{
    auto linear = [](double c) {
        c /= 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

struct CRgb {
    double r, g, b;
};

CRgb MeanColour(C3DTexture* texture)
{
    CRgb sum{0, 0, 0};
    const uint32_t width = texture->GetWidth(), height = texture->GetHeight();
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t argb = texture->GetPixel((x + 0.5f) / width, (y + 0.5f) / height);
            sum = {sum.r + (argb >> 16 & 0xFF), sum.g + (argb >> 8 & 0xFF), sum.b + (argb & 0xFF)};
        }
    }
    const double count = double(width) * height;
    return {sum.r / count, sum.g / count, sum.b / count};
}

// The contrast ratio of a text colour (its alpha blended over the ground) on the ground.
double ContrastRatio(uint32_t text, const CRgb& ground)
{
    const double alpha = (text >> 24 & 0xFF) / 255.0;
    auto over = [alpha](double channel, double below) { return channel * alpha + below * (1.0 - alpha); };
    const double lit = Luminance(over(text >> 16 & 0xFF, ground.r), over(text >> 8 & 0xFF, ground.g),
                                 over(text & 0xFF, ground.b));
    const double dark = Luminance(ground.r, ground.g, ground.b);
    return (std::max(lit, dark) + 0.05) / (std::min(lit, dark) + 0.05);
}

class SampleMenuTest : public DecodedSampleTest, public ::testing::WithParamInterface<CWalkSetting> {
protected:
    void SetUp() override
    {
        DecodedSampleTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Data()->hasFocus = 1;
        const CGameData& game = Game();
        m_shipped = {game.m_bWebScoringEnabled, game.m_bEnableTimeAttack, game.m_bEnableLegals,
                     game.m_bLanguageAvailable[3], game.m_nMode};
    }

    CGameData& Game() { return *m_world.GetGameData(); }
    CMenuDialog& Dialog() { return *m_world.m_pMenuDialog; }

    // The game as the walk finds it before each click: profile 1 with a finished story (and a
    // finished time attack when it is on).
    void Prepare(uint32_t page)
    {
        CGameData& game = Game();
        for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot) {
            for (uint32_t mode = 0; mode < kProfileModeCount; ++mode) {
                CProfileProgress& record = game.Progress(mode, slot);
                const uint8_t finished = slot == 0 && (mode == 0 || GetParam().everythingOn);
                record.m_bInUse = record.m_bFinished = record.m_bDateSet = finished;
                record.m_bSent = 0;
            }
        }
        game.m_nSlot = 0;
        const bool on = GetParam().everythingOn;
        game.m_nMode = m_shipped.mode;
        game.m_bWebScoringEnabled = on || m_shipped.webScores;
        game.m_bEnableTimeAttack = on || m_shipped.timeAttack;
        game.m_bEnableLegals = on || m_shipped.legals;
        game.m_bLanguageAvailable[3] = on || m_shipped.german;
        game.m_bAccount = GetParam().account;
        WStrCopy(game.m_szLogin, kLoginUnits, GetParam().account ? u"ada" : u"");
        game.m_szPendingUrl[0] = 0;
        game.m_nLanguage = 0;
        m_world.m_nNextScene = kNoIndex;
        Dialog().SetWebSubState(kWebIdle);
        m_world.SetState(GS_MAIN_MENU, 0);
        m_world.m_pScreenshot->StopFade();
        Dialog().SetPage(page);
        Frame();
    }

    bool QuitPosted()
    {
        MSG message{};
        bool quit = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            quit = quit || message.message == WM_QUIT;
        return quit;
    }

    // Frames until the click settles: a page of the main menu, the game, or the program's end.
    // A side screen (more games, credits, legals) is closed by its own button.
    int Settle()
    {
        m_world.m_pScreenshot->StopFade();
        Frame();  // a web exchange takes its first step
        for (int frame = 0; frame < 300; ++frame) {
            if (QuitPosted())
                return kQuits;
            const uint32_t state = m_world.GetState();
            if (m_world.m_nNextScene != kNoIndex || state >= GS_GAME_FINISHED)
                return kToGame;
            if (state == GS_MAIN_MENU && m_world.GetPendingState() == GS_NONE)
                return int(Dialog().GetPage());
            m_world.m_pScreenshot->StopFade();
            if (state == GS_MORE_GAMES || state == GS_CREDITS || state == GS_LEGALS) {
                ClickFrame(Dialog().GetNavLayer()->FindById(kNavClose));
                continue;
            }
            Frame();
        }
        ADD_FAILURE() << "the click does not settle in state " << m_world.GetState();
        return kToGame;
    }

    // The clickable nodes the shown page offers: its lines (not the disabled ones), its side
    // buttons and the navigation buttons shown with it; each as (in the layer, id).
    std::vector<std::pair<bool, uint32_t>> Targets()
    {
        std::vector<std::pair<bool, uint32_t>> targets;
        C3DContainer* page = Dialog().GetPageContainer();
        for (CLinkedList::Node* n = page->GetChildren().Head(); n; n = n->next) {
            C3DContainer* node = ListObject<C3DContainer>(n->value);
            ContainerRect hit{};
            node->GetHitRect(&hit);
            if (node->IsVisible() && hit.left + hit.right > 0.0f && LineState(node) != kLineDisabled)
                targets.push_back({false, node->GetId()});
        }
        for (CLinkedList::Node* n = Dialog().GetNavLayer()->GetChildren().Head(); n; n = n->next) {
            C3DContainer* node = ListObject<C3DContainer>(n->value);
            if (node->IsVisible())
                targets.push_back({true, node->GetId()});
        }
        return targets;
    }

    uint32_t LineState(C3DContainer* node)
    {
        CMenuLine line{};
        for (uint32_t n = 0; C3DContainerText* placed = Dialog().GetPlacedLine(n, &line); ++n) {
            if (placed == node)
                return line.state;
        }
        return kLineNormal;
    }

    // Where a click on the target of the page leads.
    int Follow(uint32_t page, std::pair<bool, uint32_t> target)
    {
        Prepare(page);
        C3DContainer* layer = target.first ? Dialog().GetNavLayer() : Dialog().GetPageContainer();
        ClickFrame(layer->FindById(target.second));
        return Settle();
    }

    // Where a field filled as a player fills it, then Enter, leads.
    int Type(uint32_t page)
    {
        static const std::map<uint32_t, std::u16string> kTexts = {
            {kPageProfileName, u"Bea"}, {kPageLogin, u"bea"}, {kPagePassword, u"secret"}, {kPageEmail, u"bea@example.org"}};
        Prepare(page);
        for (char16_t unit : kTexts.at(page) + u"\r") {
            Data()->lastChar = unit;
            Frame();
        }
        Data()->lastChar = 0;
        return Settle();
    }

    // Every shown line holds a text, and on the frame behind it reads at least at the ratio.
    void CheckLines(uint32_t page)
    {
        Prepare(page);
        CMenuLine line{};
        uint32_t count = 0;
        for (uint32_t n = 0; C3DContainerText* node = Dialog().GetPlacedLine(n, &line); ++n, ++count) {
            const std::u16string text = node->GetText();
            EXPECT_FALSE(text.empty() && line.id != kLineEntryField) << "page " << page << " line " << line.id;
            EXPECT_EQ(text.find(u"MISSING"), std::u16string::npos) << "page " << page << " line " << line.id;
            C3DTexture* ground = Dialog().GetLineFrame(line.kind)->GetObject()->GetTexture(kFrameCentre, 0);
            ASSERT_NE(ground, nullptr);
            const double ratio = ContrastRatio(node->GetColor(), MeanColour(ground));
            EXPECT_GE(ratio, 4.5) << "page " << page << " line " << line.id;
            if (ratio < s_leastRatio)
                s_leastRatio = ratio, s_leastLine = "page " + std::to_string(page) + " line " + std::to_string(line.id);
        }
        EXPECT_GT(count, 0u) << "page " << page << " is blank";
    }

    // The switches as the sample's settings give them.
    struct {
        uint8_t webScores, timeAttack, legals, german;
        uint32_t mode;
    } m_shipped{};
    static inline double s_leastRatio = 100.0;
    static inline std::string s_leastLine;
};

class SampleMenuLinesTest : public DecodedSampleTest {};

} // namespace

TEST_P(SampleMenuTest, EveryPageLeadsBackAndEveryLineReads)
{
    std::map<uint32_t, std::set<int>> edges;
    std::set<uint32_t> seen{kPageMain};
    std::vector<uint32_t> queue{kPageMain};
    while (!queue.empty()) {
        const uint32_t page = queue.back();
        queue.pop_back();
        CheckLines(page);
        Prepare(page);
        std::vector<int> leads;
        for (const auto& target : Targets())
            leads.push_back(Follow(page, target));
        if (IsEntryPage(page))
            leads.push_back(Type(page));
        for (int next : leads) {
            edges[page].insert(next);
            if (next >= 0 && seen.insert(uint32_t(next)).second)
                queue.push_back(uint32_t(next));
        }
    }
    // The pages only the end of a game and the score server's answers show: each read and left
    // like the others.
    std::set<uint32_t> answers;
    for (uint32_t page = kPageCreateAccount; GetParam().everythingOn && page <= kPageBadEmail; ++page) {
        if (seen.count(page) || page == kPageForgetAccount || page == kPageWebMenu)
            continue;
        answers.insert(page);
        CheckLines(page);
        Prepare(page);
        for (const auto& target : Targets())
            edges[page].insert(Follow(page, target));
    }
    // Back to the main page or into the game from every page, through the pages walked.
    std::set<int> home{kPageMain, kToGame};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [page, leads] : edges) {
            for (int next : leads)
                if (home.count(next) && home.insert(int(page)).second)
                    grew = true;
        }
    }
    std::string walked;
    for (uint32_t page : seen)
        walked += std::to_string(page) + " ";
    for (const auto& [page, leads] : edges)
        EXPECT_TRUE(home.count(int(page))) << "no way back from page " << page;
    const std::string expected = GetParam().everythingOn
                                     ? (GetParam().account ? "0 1 2 3 4 5 6 7 8 9 11 17 18 32 "
                                                           : "0 1 2 3 4 5 6 7 8 9 11 12 13 14 15 27 32 ")
                                     : "0 1 2 3 4 5 6 8 11 ";
    EXPECT_EQ(walked, expected);
    printf("%s: pages walked %s(and %zu shown by the end of a game or the server); least contrast ratio %.2f (%s)\n",
           GetParam().name, walked.c_str(), answers.size(), s_leastRatio, s_leastLine.c_str());
}

// Each named line shows the sample's text for it: the names keep the ids the construction's
// string map is indexed by.
TEST_F(SampleMenuLinesTest, NamedLinesShowTheSampleTexts)
{
    CMenuDialog& dialog = *m_world.m_pMenuDialog;
    for (auto [line, text] : std::vector<std::pair<uint32_t, std::u16string>>{
             {kLinePlay, u"Play"},
             {kLineWebScores, u"Web scores"},
             {kLineProfiles, u"Profiles"},
             {kLineOptions, u"Options"},
             {kLineMoreGames, u"More games"},
             {kLineQuit, u"Quit"},
             {kLineNewStory, u"New story game"},
             {kLineContinueStory, u"Continue the story"},
             {kLineNewTimed, u"New time attack"},
             {kLineContinueTimed, u"Continue the time attack"},
             {kLineEndOfStory, u"End of the story"},
             {kLineAccount, u"Account:"},
             {kLineMainWebSite, u"Web site"},
             {kLineSendScores, u"Send my scores"},
             {kLineSending, u"Sending the scores..."},
             {kLineScoresSent, u"Your scores were sent."},
             {kLineAccountCreated, u"Your account was created."},
             {kLineAccountKnown, u"Welcome back!"},
             {kLineLoginTaken, u"This login is taken."},
             {kLineBadEmail, u"This e-mail address is not valid."},
             {kLineScoreRefused, u"The server refused the score."},
             {kLineNoAnswer, u"The server does not answer."},
             {kLineEmailOk, u"OK"},
             {kLineMusicSlider, u"Music"},
             {kLineSoundSlider, u"Sounds"},
             {kLineLanguages, u"Language"},
             {kLineShowCredits, u"Credits"},
             {kLineShowLegals, u"Legal notices"},
             {kLineWindowed, u"Window"},
             {kLineFullScreen, u"Full screen"},
             {ProfileLine(2), u"Profile 3"},
             {kLineRenameProfile, u"New profile"},
             {kLineQuitQuestion, u"Quit the game?"},
             {kLineEraseProfileQuestion, u"Erase this profile?"},
             {kLineForgetStory, u"Forget the story game?"},
             {kLineRestartTimed, u"Replay the time attack from the start?"},
             {kLineCreateAccountQuestion, u"Create a web score account?"},
             {kLineSendScoresQuestion, u"Send your finished times?"},
             {kLineForgetAccountQuestion, u"Forget this account?"},
             {kLineQuitForLinkQuestion, u"Quit and open the web site in your browser?"},
             {kLineGameUnreadable, u"The saved game could not be read."},
             {kLineNotSaved, u"Your progress could not be saved."},
             {kLineYes, u"Yes"},
             {kLineNo, u"No"},
             {kLineWebYes, u"Yes"},
             {kLineBack, u"Back"},
             {LanguageLine(0), u"English"}}) {
        char16_t shown[kMenuEntryUnits];
        dialog.GetLineText(line, kPageMain, shown, false);
        if (IsCharsetMode(*m_world.GetGameData()))
            UnmapCharsetText(shown, Data());
        EXPECT_EQ(std::u16string(shown).substr(0, text.size()), text) << "line " << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, SampleMenuTest,
                         ::testing::Values(CWalkSetting{"AsShipped", false, false},
                                           CWalkSetting{"EverythingOn", true, false},
                                           CWalkSetting{"WithAnAccount", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });
