#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "tests/e2e/GameScript.h"

// The levels as a player clears them, from what the reports show.

namespace {

constexpr long kRotateTool = 2007;
// The quiz fades in over the scene.
constexpr int kQuizFadeFrames = 20;
constexpr int kSettleFrames = 600;
// Frames a level may take, each a click or a step.
constexpr int kLevelMoves = 3000;
// Drag steps of a sliding move, so that the first movement already picks the axis.
constexpr int kDragSteps = 4;
// The hint: its button, the timer image of a full charge, 90 seconds of frames and some, and
// the frames its glow takes to fade in.
constexpr long kHintTool = 100;
constexpr long kChargedFrame = 14;
constexpr int kChargeFrames = 3000;
constexpr int kChargeCheckFrames = 50;
constexpr int kGlowFrames = 20;
constexpr int kStarFrames = 120;

// The game finished: from the fade out of the last level to the outro menu.
bool IsEndState(long state)
{
    return state >= GS_GAME_FINISHED && state <= GS_OUTRO_MENU;
}

bool IsPopupState(long state)
{
    return state == GS_END_TEXT || state == GS_SCENE_INTRO_TEXT || state == GS_INGAME_POPUP || state == GS_LEVEL_MESSAGE ||
           state == GS_SCENE_MODAL;
}

// In game with nothing in the way and the fade over, or the game finished.
bool IsSettled(const StateReport& report)
{
    const long state = report.Int("state");
    return (state == GS_IN_GAME && report.Int("pending") <= 0 && report.Int("levelbusy", 0) == 0 &&
            report.Int("faded", 1) == 1 && !report.Has("tooltip")) ||
           IsEndState(state);
}

// A pop-up with its paging buttons, or a tooltip panel over the scene.
bool WaitsForPlayer(const StateReport& report)
{
    const long state = report.Int("state");
    return (state == GS_IN_GAME && report.Has("tooltip")) ||
           (IsPopupState(state) && (report.Find("button", kMenuNext) || report.Find("button", kMenuNextBesideClose) ||
                                    report.Find("button", kMenuClose)));
}

// The board's cells after "kind,columns,rows".
struct Board {
    int columns = 0, rows = 0;
    std::vector<std::string> cells;
};

Board ReadBoard(const StateReport& report)
{
    Board board;
    const auto all = report.All("board");
    if (all.empty() || all.front().size() < 3)
        return board;
    const auto& fields = all.front();
    board.columns = int(StateReport::Number(fields[1], 0));
    board.rows = int(StateReport::Number(fields[2], 0));
    board.cells.assign(fields.begin() + 3, fields.end());
    if (board.cells.size() != size_t(board.columns) * board.rows)
        board = Board{};
    return board;
}

// Board slot n (a value of four more fields: the report's profile slot shares the key).
ReportRect Slot(const StateReport& report, size_t n)
{
    for (const auto& slot : report.All("slot"))
        if (slot.size() == 5 && slot.front() == std::to_string(n))
            return StateReport::RectAt(slot, 1);
    return ReportRect{};
}

} // namespace

GameScript::Step GameScript::Settle()
{
    bool settledBefore = false;
    for (int frame = 0; frame < kSettleFrames; ++frame) {
        m_report = m_program.State();
        if (!m_report.Valid())
            break;
        // Settled on two frames running: a scene's first visit starts its tutorial on the frame
        // after the last pop-up.
        const bool settled = IsSettled(m_report);
        if (settled && settledBefore)
            return ::testing::AssertionSuccess();
        settledBefore = settled;
        if (WaitsForPlayer(m_report)) {
            if (const Step looked = Look(); !looked)
                return looked;
        }
        const long state = m_report.Int("state");
        const auto tooltip = m_report.All("tooltip");
        const auto answer = PopupAnswer(state);
        const bool answered = state == GS_IN_GAME && !tooltip.empty() ? m_program.Click(StateReport::RectAt(tooltip.front(), 1))
                              : IsPopupState(state) && answer ? m_program.Click(StateReport::RectAt(*answer, 1))
                                                              : m_program.Step();
        if (!answered)
            break;
    }
    return ::testing::AssertionFailure() << "the level did not settle; last report: " << m_report.Line();
}

std::optional<StateReport::Fields> GameScript::PopupAnswer(long state) const
{
    // Watched, every page is read; else the tutorial closes and other pop-ups page on.
    const auto next = m_report.Find("button", kMenuNext);
    const auto nextPage = m_report.Find("button", kMenuNextBesideClose);
    const auto close = m_report.Find("button", kMenuClose);
    if (m_watcher)
        return next ? next : nextPage ? nextPage : close;
    if (state == GS_SCENE_MODAL)
        return close ? close : next;
    return next ? next : close;
}

GameScript::Step GameScript::PictureOnSettling(const std::string& name)
{
    const Step step = Settle();
    return step ? Picture(name) : step;
}

bool GameScript::CatchStar()
{
    const auto star = m_report.All("star");
    if (m_starCaught || star.empty())
        return false;
    m_starCaught = m_program.Click(StateReport::RectAt(star.front(), 1, true));
    if (m_starCaught)
        Note("star");
    return true;
}

GameScript::Step GameScript::UseHint()
{
    Step step = Settle();
    if (step && m_report.Int("hints", 0) <= 0) {
        step = Until([](const StateReport& r) { return r.Has("star"); }, kStarFrames, "a star to catch");
        step = step && CatchStar() ? Settle() : step;
        step = step && m_report.Int("hints", 0) <= 0 ? ::testing::AssertionFailure() << "the star gave no hint: "
                                                                                     << m_report.Line()
                                                     : step;
    }
    // The charge takes minutes of frames: the report is read now and then.
    for (int frame = 0; step && frame < kChargeFrames; frame += kChargeCheckFrames) {
        m_report = m_program.State();
        if (m_report.Int("hintframe") == kChargedFrame && m_report.Int("hints", 0) > 0)
            break;
        for (int check = 0; check < kChargeCheckFrames; ++check)
            m_program.Step();
    }
    step = step ? Picture("hint-charged") : step;
    step = step ? Click("tool", kHintTool) : step;
    step = step ? Until([](const StateReport& r) { return r.Int("glow", 0) == 1; }, kGlowFrames, "the hint's glow")
                : step;
    for (int frame = 0; step && frame < kGlowFrames; ++frame)
        m_program.Step();
    return step ? Picture("hint-glow") : step;
}

GameScript::Step GameScript::TakePenalty(const ReportRect& miss)
{
    constexpr long kPenalty = 32;
    constexpr int kMostMisses = 8;
    Step step = Settle();
    for (int click = 0; step && click < kMostMisses && m_program.State().Int("state") != kPenalty; ++click)
        step = m_program.Click(miss) ? step : ::testing::AssertionFailure() << "the miss was not clicked";
    step = step ? Until([](const StateReport& r) {
        return r.Int("state") == kPenalty && r.Int("faded") == 1 && r.Int("pending") < 0;
    }, kSettleFrames, "the click-abuse penalty") : step;
    step = step ? Picture("penalty") : step;
    return step ? AwaitState(GS_IN_GAME) : step;
}

GameScript::Step GameScript::FindObjects(size_t count)
{
    // The star is clicked until it pays a hint: a shown desk note takes the first click.
    constexpr int kStarClicks = 3;
    int starClicks = 0;
    for (size_t found = 0, move = 0; found < count && move < size_t(kLevelMoves); ++move) {
        if (const Step settled = Settle(); !settled)
            return settled;
        const auto star = m_report.All("star");
        if (!star.empty() && m_report.Int("hints") == 0 && starClicks++ < kStarClicks) {
            m_starCaught = m_program.Click(StateReport::RectAt(star.front(), 1, true));
            continue;
        }
        std::set<std::string> wanted;
        for (const auto& item : m_report.All("item"))
            if (item.size() > 6 && item[1] == "0")
                wanted.insert(item.back());
        std::optional<StateReport::Fields> target;
        for (const auto& part : m_report.All("part"))
            if (!target && part.size() >= 4 && (part[3] == "object" || part[3] == "collect") && wanted.count(part[0]))
                target = part;
        if (!target) {
            m_program.Step();
            continue;
        }
        if (!m_program.Click(StateReport::RectAt(*target, 1, true)))
            break;
        ++found;
        if (found == count)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << count << " objects not found; last report: " << m_report.Line();
}

GameScript::Step GameScript::PlayScene(bool useHint)
{
    bool toggled = false, quizShown = false;
    size_t quizRounds = 0;
    Step step = PictureOnSettling("scene");
    step = step && useHint ? UseHint() : step;
    for (int move = 0; step && move < kLevelMoves; ++move) {
        if (const Step settled = Settle(); !settled)
            return settled;
        if (m_report.Value("level") != "hiddenobject" || IsEndState(m_report.Int("state")))
            return ::testing::AssertionSuccess();
        const auto answers = m_report.All("quiz");
        std::set<std::string> wanted;
        for (const auto& item : m_report.All("item"))
            if (item.size() > 6 && item[1] == "0")
                wanted.insert(item.back());
        std::optional<StateReport::Fields> target;
        // The quiz takes clicks once its fade is over: an answer is clicked until the next button
        // shows, which confirms it; a quiz asked again gets the following answer.
        if (!answers.empty()) {
            if (!quizShown) {
                for (int frame = 0; frame < kQuizFadeFrames; ++frame)
                    m_program.Step();
                if (!(step = Picture("quiz")))
                    break;
                quizShown = true;
            }
            const auto confirm = m_report.Find("button", kMenuNext);
            const auto& answer = answers[quizRounds % answers.size()];
            quizRounds += confirm ? 1 : 0;
            m_program.Click(StateReport::RectAt(confirm ? *confirm : answer, 1));
            continue;
        }
        if (CatchStar())
            continue;
        const auto parts = m_report.All("part");
        auto pick = [&](auto&& accept) {
            for (const auto& part : parts)
                if (!target && part.size() >= 4 && accept(part))
                    target = part;
        };
        pick([&](const StateReport::Fields& p) { return p[3] != "toggle" && p[3] != "arrow" && wanted.count(p[0]); });
        pick([&](const StateReport::Fields& p) { return !toggled && p[3] == "toggle"; });
        pick([&](const StateReport::Fields& p) { return p[3] == "quiz"; });
        pick([&](const StateReport::Fields& p) { return wanted.empty() && p[3] == "arrow"; });
        if (!target) {
            m_program.Step();
            continue;
        }
        toggled = toggled || (*target)[3] == "toggle";
        if (!m_program.Click(StateReport::RectAt(*target, 1, true)))
            break;
        if ((*target)[3] == "arrow" || wanted.count((*target)[0]))
            Note((*target)[3] == "arrow" ? "arrow" : "found");
    }
    return step ? ::testing::AssertionFailure() << "the scene was not left; last report: " << m_report.Line() : step;
}

GameScript::Step GameScript::SolveJigsaw(int clicks)
{
    auto piece = [](const std::string& cell) { return StateReport::Number(cell.substr(0, cell.find(':'))); };
    auto turns = [](const std::string& cell) { return StateReport::Number(cell.substr(cell.find(':') + 1), 0); };
    bool rotating = false;
    if (const Step shown = PictureOnSettling("jigsaw"); !shown)
        return shown;
    for (int move = 0; move < kLevelMoves; ++move) {
        if (const Step settled = Settle(); !settled)
            return settled;
        const Board board = ReadBoard(m_report);
        if (m_report.Value("level") != "jigsaw" || board.cells.empty() || IsEndState(m_report.Int("state")) ||
            move == clicks)
            return ::testing::AssertionSuccess();
        if (CatchStar())
            continue;
        // Swaps put every piece home, then turns set each upright.
        size_t home = 0;
        while (home < board.cells.size() && piece(board.cells[home]) == long(home))
            ++home;
        if (home < board.cells.size()) {
            size_t from = home;
            while (from < board.cells.size() && piece(board.cells[from]) != long(home))
                ++from;
            // The first click selects the cell, the second swaps; a click on another selected
            // cell deselects it.
            const long selected = m_report.Int("selected");
            const size_t click = selected == long(home) ? from : selected < 0 ? home : size_t(selected);
            if (from == board.cells.size() || !m_program.Click(Slot(m_report, click)))
                break;
            continue;
        }
        if (!rotating) {
            const auto tool = m_report.Find("button", kRotateTool);
            if (!tool || !m_program.Click(StateReport::RectAt(*tool, 1)))
                break;
            rotating = true;
            continue;
        }
        size_t turned = 0;
        while (turned < board.cells.size() && turns(board.cells[turned]) == 0)
            ++turned;
        if (turned == board.cells.size() ? !m_program.Step() : !m_program.Click(Slot(m_report, turned)))
            break;
    }
    return ::testing::AssertionFailure() << "the jigsaw was not solved; last report: " << m_report.Line();
}

GameScript::Step GameScript::ShootToGoal(int shots)
{
    // What a hit of each target kind did to the score, seen once the score changed after it.
    std::map<std::string, long> gained;
    std::string lastKind;
    long lastScore = 0;
    if (const Step shown = PictureOnSettling("shoot"); !shown)
        return shown;
    for (int move = 0, shot = 0; move < kLevelMoves; ++move) {
        if (const Step settled = Settle(); !settled)
            return settled;
        if (m_report.Value("level") != "shoot" || IsEndState(m_report.Int("state")) || shot == shots)
            return ::testing::AssertionSuccess();
        if (CatchStar())
            continue;
        const long score = m_report.Int("goal", 0);
        if (!lastKind.empty() && score != lastScore) {
            gained[lastKind] = score - lastScore;
            lastKind.clear();
        }
        lastScore = score;
        std::optional<StateReport::Fields> target;
        for (const auto& candidate : m_report.All("target"))
            if (candidate.size() >= 4 && gained[candidate[3]] >= 0 &&
                (!target || gained[candidate[3]] > gained[(*target)[3]]))
                target = candidate;
        if (!target) {
            m_program.Step();
            continue;
        }
        lastKind = (*target)[3];
        ++shot;
        if (!m_program.Click(StateReport::RectAt(*target, 1, true)))
            break;
    }
    return ::testing::AssertionFailure() << "the goal was not reached; last report: " << m_report.Line();
}

namespace {

// A sliding move: a piece, an axis (0 along rows, 1 along columns) and a signed number of cells.
struct SlidingMove {
    long piece = -1;
    int axis = 0, cells = 0;
};

// The cells after the move, or empty when a cell on its way is taken.
std::vector<long> Slide(const std::vector<long>& board, int columns, const SlidingMove& move)
{
    const int rows = int(board.size()) / columns;
    std::vector<long> after = board;
    const int direction = move.cells > 0 ? 1 : -1;
    for (int step = 0; step != move.cells; step += direction) {
        std::vector<long> next(after.size(), -1);
        for (size_t n = 0; n < after.size(); ++n)
            if (after[n] != move.piece)
                next[n] = after[n];
        for (size_t n = 0; n < after.size(); ++n) {
            if (after[n] != move.piece)
                continue;
            const int c = int(n) % columns + (move.axis == 0 ? direction : 0);
            const int r = int(n) / columns + (move.axis == 1 ? direction : 0);
            if (c < 0 || c >= columns || r < 0 || r >= rows || next[size_t(r) * columns + c] != -1)
                return {};
            next[size_t(r) * columns + c] = move.piece;
        }
        after = next;
    }
    return after;
}

// The shortest list of moves that brings the key piece over every target cell; moves of the
// pieces and axes in fixed never count.
std::vector<SlidingMove> PlanSliding(const std::vector<long>& board, int columns, long key,
                                     const std::vector<size_t>& targets, const std::set<std::pair<long, int>>& fixed)
{
    auto solved = [&](const std::vector<long>& cells) {
        return std::all_of(targets.begin(), targets.end(), [&](size_t n) { return cells[n] == key; });
    };
    std::map<std::vector<long>, std::pair<std::vector<long>, SlidingMove>> seen{{board, {{}, {}}}};
    std::deque<std::vector<long>> open{board};
    const std::set<long> pieces(board.begin(), board.end());
    while (!open.empty() && !solved(open.front())) {
        const std::vector<long> cells = open.front();
        open.pop_front();
        for (long piece : pieces)
            for (int axis = 0; piece >= 0 && axis < 2; ++axis)
                for (int cells_ : {-3, -2, -1, 1, 2, 3}) {
                    const SlidingMove move{piece, axis, cells_};
                    std::vector<long> after = fixed.count({piece, axis}) ? std::vector<long>{} : Slide(cells, columns, move);
                    if (!after.empty() && seen.emplace(after, std::make_pair(cells, move)).second)
                        open.push_back(after);
                }
    }
    std::vector<SlidingMove> moves;
    for (std::vector<long> at = open.empty() ? std::vector<long>{} : open.front(); !at.empty() && at != board;) {
        const auto& [before, move] = seen.at(at);
        moves.insert(moves.begin(), move);
        at = before;
    }
    return moves;
}

} // namespace

GameScript::Step GameScript::SolveSliding(int drags)
{
    std::set<std::pair<long, int>> fixed;
    if (const Step shown = PictureOnSettling("sliding"); !shown)
        return shown;
    for (int move = 0, moved = 0; move < kLevelMoves; ++move) {
        if (const Step settled = Settle(); !settled)
            return settled;
        const Board board = ReadBoard(m_report);
        const auto exit = m_report.All("exit");
        if (m_report.Value("level") != "sliding" || board.cells.empty() || exit.empty() ||
            IsEndState(m_report.Int("state")) || moved == drags)
            return ::testing::AssertionSuccess();
        if (CatchStar())
            continue;
        std::vector<long> cells;
        std::vector<size_t> targets;
        const ReportRect area = StateReport::RectAt(exit.front(), 0);
        for (size_t n = 0; n < board.cells.size(); ++n) {
            cells.push_back(StateReport::Number(board.cells[n]));
            const ReportRect slot = Slot(m_report, n);
            if (slot.CentreX() > area.x && slot.CentreX() < area.x + area.w && slot.CentreY() > area.y &&
                slot.CentreY() < area.y + area.h)
                targets.push_back(n);
        }
        const std::vector<SlidingMove> plan = PlanSliding(cells, board.columns, m_report.Int("key"), targets, fixed);
        if (plan.empty()) {
            m_program.Step();
            continue;
        }
        // The first move: a drag from one of the piece's cells by whole cells.
        const SlidingMove& next = plan.front();
        const ReportRect from = Slot(m_report, size_t(std::find(cells.begin(), cells.end(), next.piece) - cells.begin()));
        const int dx = next.axis == 0 ? next.cells * from.w : 0, dy = next.axis == 1 ? next.cells * from.h : 0;
        auto at = [&](int share) {
            return std::to_string(from.CentreX() + dx * share / kDragSteps) + " " +
                   std::to_string(from.CentreY() + dy * share / kDragSteps);
        };
        bool dragged = m_program.Command("move " + at(0)) == "ok" && m_program.Command("down " + at(0)) == "ok" &&
                       m_program.Step();
        for (int share = 1; dragged && share <= kDragSteps; ++share)
            dragged = m_program.Command("move " + at(share)) == "ok" && m_program.Step();
        if (!dragged || m_program.Command("up " + at(kDragSteps)) != "ok" || !m_program.Step())
            break;
        Note("slide");
        ++moved;
        if (ReadBoard(m_program.State()).cells == board.cells)
            fixed.insert({next.piece, next.axis});
    }
    return ::testing::AssertionFailure() << "the key piece did not leave; last report: " << m_report.Line();
}
