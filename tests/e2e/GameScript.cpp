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
    return Until([page](const StateReport& r) { return r.Int("page") == page && Settled(r); }, kPageFrames,
                 "page " + std::to_string(page));
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
        const auto popups = m_report.All("popup");
        if (AnswersPopup(state) && !popups.empty() && !m_program.Click(StateReport::RectAt(popups.front(), 1)))
            break;
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
        // Beside the close button the pop-up's next is another button.
        const auto next = m_report.Find("button", kMenuNextBesideClose);
        if (!(state == GS_END_TEXT && next ? m_program.Click(StateReport::RectAt(*next, 1)) : m_program.Step()))
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
    return ::testing::AssertionSuccess();
}
