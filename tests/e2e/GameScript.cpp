#include "tests/e2e/GameScript.h"

namespace {

constexpr long kMenuButtonTool = 0;
// The logos and the intro screen at 30 frames a second.
constexpr int kIntroFrames = 3000;
constexpr int kFadeFrames = 60;
constexpr int kPageFrames = 120;
// Frames a control may take to show up.
constexpr int kShowFrames = 30;
constexpr int kSceneFrames = 2000;
// Popup states whose popup the player answers by clicking it: end text, scene intro text, level
// popup.
bool AnswersPopup(long state)
{
    return state == GS_END_TEXT || state == GS_SCENE_INTRO_TEXT || state == GS_INGAME_POPUP;
}

bool Settled(const StateReport& report)
{
    return report.Int("pending") <= 0;
}

} // namespace

GameScript::Step GameScript::Until(const std::function<bool(const StateReport&)>& done, int maxSteps,
                                   const std::string& what)
{
    m_report = m_program.StepUntil(done, maxSteps);
    if (m_report.Valid() && done(m_report))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " not reached; last report: " << m_report.Line();
}

GameScript::Step GameScript::Click(const std::string& key, long id)
{
    m_report = m_program.StepUntil([&](const StateReport& r) { return r.Find(key, id).has_value(); }, kShowFrames);
    const auto fields = m_report.Find(key, id);
    if (!fields)
        return ::testing::AssertionFailure() << "no " << key << " " << id << " in: " << m_report.Line();
    if (!m_program.Click(StateReport::RectAt(*fields, 1)))
        return ::testing::AssertionFailure() << "the click on " << key << " " << id << " failed";
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::ReachMainMenu()
{
    const Step menu = Until([](const StateReport& r) { return r.Int("state") == GS_MAIN_MENU && r.Int("page") == kPageMain && Settled(r); },
                            kIntroFrames, "the main menu");
    for (int frame = 0; menu && frame < kFadeFrames; ++frame)
        m_program.Step();
    return menu;
}

GameScript::Step GameScript::PictureLogos()
{
    constexpr long kLastLogo = 4, kLoadIntroScreen = 6;
    for (long shown = 0; shown < kLastLogo;) {
        const Step next = Until([shown](const StateReport& r) {
            const long state = r.Int("state");
            return state >= kLoadIntroScreen || (state > shown && r.Int("faded") == 1 && r.Int("pending") < 0);
        }, kIntroFrames, "a logo or the intro screen");
        if (!next || m_report.Int("state") >= kLoadIntroScreen)
            return next;
        shown = m_report.Int("state");
        if (const Step pictured = Picture("logo" + std::to_string(shown)); !pictured)
            return pictured;
    }
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::ShowScreen(long id, long state)
{
    const Step clicked = ClickControl(id);
    return clicked ? Until([state](const StateReport& r) {
        return r.Int("state") == state && Settled(r) && r.Int("faded") == 1;
    }, kPageFrames, "state " + std::to_string(state)) : clicked;
}

GameScript::Step GameScript::ShowGameDescription(size_t n)
{
    m_report = m_program.State();
    const auto games = m_report.All("game");
    if (games.size() <= n)
        return ::testing::AssertionFailure() << "no game " << n << " in: " << m_report.Line();
    if (!m_program.Click(StateReport::RectAt(games[n], 1)))
        return ::testing::AssertionFailure() << "the click on game " << n << " failed";
    return Until([](const StateReport& r) { return r.Int("selected") >= 0 && r.Int("faded") == 1; }, kPageFrames,
                 "the game's description");
}

GameScript::Step GameScript::LeaveMoreGames()
{
    Step step = Click("button", kMenuNext);
    step = step ? Until([](const StateReport& r) { return r.Int("selected") < 0; }, kPageFrames, "the grid") : step;
    step = step ? Click("button", kMenuClose) : step;
    return step ? ReachMainMenu() : step;
}

GameScript::Step GameScript::Wait(int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        if (!m_program.Step())
            return ::testing::AssertionFailure() << "the program stopped after " << m_program.Frames() << " frames";
    }
    m_report = m_program.State();
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::ClickControl(long id)
{
    m_report = m_program.StepUntil([id](const StateReport& r) { return r.Find("button", id) || r.Find("edit", id) || r.Find("line", id); },
                                   kShowFrames);
    return Click(m_report.Find("button", id) ? "button" : m_report.Find("edit", id) ? "edit" : "line", id);
}

GameScript::Step GameScript::ShowPage(long id, long page)
{
    const Step clicked = ClickControl(id);
    if (!clicked)
        return clicked;
    return Until([page](const StateReport& r) { return r.Int("page") == page && Settled(r) && r.Int("faded") == 1; },
                 kPageFrames, "page " + std::to_string(page));
}

GameScript::Step GameScript::UseWindow()
{
    Step step = ShowPage(kLineOptions, kPageOptions);
    // The window line shows in full screen, the full-screen line in a window.
    if (step && !m_program.StepUntil([](const StateReport& r) { return r.Find("button", kLineFullScreen) || r.Find("button", kLineWindowed); },
                                     kShowFrames).Find("button", kLineFullScreen))
        step = ClickControl(kLineWindowed);
    step = step ? Until([](const StateReport& r) { return r.Find("button", kLineFullScreen).has_value(); }, kPageFrames,
                        "the full-screen line")
                : step;
    return step ? ShowPage(kMenuClose, kPageMain) : step;
}

GameScript::Step GameScript::Type(const std::string& text)
{
    // As a keyboard sends it: the text, then its key (whose message carries the text on).
    for (char c : text) {
        const int key = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c == '@' ? '2' : c;
        if (m_program.Command(std::string("text ") + c) != "ok" || m_program.Command("key " + std::to_string(key)) != "ok" ||
            !m_program.Step())
            return ::testing::AssertionFailure() << "cannot type '" << c << "'";
    }
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::NameProfile(const std::string& name)
{
    Step step = ShowPage(kLineProfiles, kPageProfiles);
    step = step ? ShowPage(kLineRenameProfile, kPageProfileName) : step;
    step = step ? Type(name) : step;
    // The name page shows the login page's OK line, reported by its line id.
    return step ? ShowPage(kLineLoginOk, kPageProfiles) : step;
}

GameScript::Step GameScript::StartStory()
{
    return EnterStory(kLineNewStory);
}

GameScript::Step GameScript::ContinueStory()
{
    return EnterStory(kLineContinueStory);
}

GameScript::Step GameScript::ResumeStory()
{
    const Step chosen = ChooseStory(kLineContinueStory);
    return chosen ? Until([](const StateReport& r) { return r.Int("state") == GS_IN_GAME; }, kSceneFrames,
                          "the game continued")
                  : chosen;
}

GameScript::Step GameScript::ChooseStory(long line)
{
    const Step step = m_report.Int("page") == kPagePlay ? ::testing::AssertionSuccess() : ShowPage(kLinePlay, kPagePlay);
    return step ? ClickControl(line) : step;
}

GameScript::Step GameScript::EnterStory(long line)
{
    Step step = ChooseStory(line);
    for (int frame = 0; step && frame < kSceneFrames; ++frame) {
        m_report = m_program.State();
        const long state = m_report.Int("state");
        if ((state == GS_IN_GAME || state == GS_SCENE_MODAL) && Settled(m_report))
            return step;
        if (AnswersPopup(state) && m_report.Has("popup")) {
            if (const Step looked = Look(); !looked)
                return looked;
            const auto popups = m_report.All("popup");
            if (!popups.empty() && !m_program.Click(StateReport::RectAt(popups.front(), 1)))
                break;
        }
        if (!m_program.Step())
            break;
    }
    return ::testing::AssertionFailure() << "the scene not reached; last report: " << m_report.Line();
}

GameScript::Step GameScript::ReachOutro()
{
    for (int frame = 0; frame < kSceneFrames; ++frame) {
        m_report = m_program.State();
        const long state = m_report.Int("state");
        if (state == GS_OUTRO_MENU && Settled(m_report) && m_report.Find("button", kMenuClose))
            return Picture("outro");
        if (state == GS_END_TEXT && m_report.Find("button", kMenuNextBesideClose)) {
            if (const Step looked = Look(); !looked)
                return looked;
        }
        // Beside the close button the pop-up's next is button 55.
        const auto next = m_report.Find("button", kMenuNextBesideClose);
        if (!(m_report.Int("state") == GS_END_TEXT && next ? m_program.Click(StateReport::RectAt(*next, 1)) : m_program.Step()))
            break;
    }
    return ::testing::AssertionFailure() << "the outro menu not reached; last report: " << m_report.Line();
}

GameScript::Step GameScript::CreateAccountAndSend(const std::string& login, const std::string& password,
                                                  const std::string& email)
{
    Step step = Click("button", kMenuClose);
    step = step ? Until([](const StateReport& r) { return r.Int("page") == kPageCreateAccount && r.Int("state") == GS_MAIN_MENU && Settled(r); },
                        kSceneFrames, "the account page")
                : step;
    step = step ? ShowPage(kLineWebYes, kPageLogin) : step;
    step = step ? Type(login) : step;
    step = step ? ShowPage(kLineLoginOk, kPagePassword) : step;
    step = step ? Type(password) : step;
    step = step ? ShowPage(kLinePasswordOk, kPageEmail) : step;
    step = step ? Type(email) : step;
    step = step ? ShowPage(kLineEmailOk, kPageAccountCreated) : step;
    step = step ? ShowPage(kMenuClose, kPageSendScores) : step;
    step = step ? ShowPage(kLineWebYes, kPageScoresSent) : step;
    return step ? ShowPage(kMenuClose, kPageMain) : step;
}

GameScript::Step GameScript::AwaitState(long state)
{
    return Until([state](const StateReport& r) { return r.Int("state") == state && Settled(r); }, kSceneFrames,
                 "state " + std::to_string(state));
}

GameScript::Step GameScript::Close(int* exitCode)
{
    if (m_program.Command("close") != "ok")
        return ::testing::AssertionFailure() << "the close request was not taken";
    *exitCode = m_program.AwaitExit();
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::LeaveScene()
{
    const Step step = Click("tool", kMenuButtonTool);
    return step ? ReachMainMenu() : step;
}

GameScript::Step GameScript::Quit(int* exitCode)
{
    const Step step = ShowPage(kLineQuit, kPageQuit);
    const auto yes = m_report.Find("button", kLineYes);
    if (!step || !yes)
        return step ? ::testing::AssertionFailure() << "no yes button in: " << m_report.Line() : step;
    // The program ends within the click's last frame, without answering it.
    m_program.Click(StateReport::RectAt(*yes, 1));
    *exitCode = m_program.AwaitExit();
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::Picture(const std::string& name)
{
    if (!m_program.Shot(m_pictures + "/" + name + ".png"))
        return ::testing::AssertionFailure() << "no picture " << name;
    m_pictureList.push_back({name, m_program.State()});
    return ::testing::AssertionSuccess();
}

GameScript::Step GameScript::Look()
{
    if (!m_watcher)
        return ::testing::AssertionSuccess();
    const Step steady = Until([](const StateReport& r) { return r.Int("faded", 1) == 1 && r.Int("pending") < 0; },
                              kPageFrames, "the end of the fade");
    if (!steady)
        return steady;
    std::string screen = m_report.Value("state") + " " + m_report.Value("popuptext");
    for (const auto& tooltip : m_report.All("tooltip"))
        screen += " tooltip " + tooltip.front();
    if (screen == m_lastLook)
        return steady;
    m_lastLook = screen;
    const Step looked = m_watcher(m_report);
    m_report = m_program.State();
    return looked;
}
