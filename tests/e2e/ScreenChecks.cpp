#include "tests/e2e/ScreenChecks.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "game/SizeFromName.h"
#include "tests/e2e/GameRunFolder.h"
#include "tests/e2e/PictureDifference.h"

namespace {

constexpr long kHintTool = 100;
constexpr long kNavButtonBase = 1000;
constexpr int kMenubarButtons = 4;
constexpr int kTimerImages = 16;
// Pixels around a slot that its name may reach (the renderers' edges and the glyphs' overhang).
constexpr int kSlotMargin = 4;
// The box around the active star's centre that the strip check leaves out.
constexpr int kStarHalfSide = 40;
// A channel this far from the bare strip is drawn over it.
constexpr uint32_t kInkDistance = 48;
// A name spans at least these shares of its slot (the slot is the measured line).
constexpr double kNameWidthShare = 0.6;
constexpr double kNameHeightShare = 0.4;
// At least this share of a slot shows the bare strip around the letters.
constexpr double kStripBehindName = 0.3;
// A button's picture: this tolerance per channel (scaled pictures round apart), on this share of
// the pixels where it differs from the bare band (the hint's count covers some).
constexpr int kButtonTolerance = 8;
constexpr double kButtonShare = 0.85;
constexpr double kButtonMinimumShare = 0.25;
// A pop-up's text spans this share of its box; a button differs from its surroundings on this
// share of its rectangle, the ring this many pixels wide around it.
constexpr double kTextSpan = 0.5;
constexpr double kButtonDrawn = 0.3;
constexpr int kRing = 6;
// Letters cut by the edge: steps of this much light within a row; this many steps in the last
// pixels of a row, on this many rows within a line's height.
constexpr int kLetterStep = 64;
constexpr int kEdgeBand = 16;
constexpr int kStepsAtEdge = 3;
constexpr int kCutRows = 5;
constexpr int kLineHeight = 40;
// How near the glow's centre its colour must show, and how closely.
constexpr int kGlowReach = 3;
constexpr uint32_t kGlowTolerance = 24;

ReportRect Expanded(const ReportRect& r, int by)
{
    return {r.x - by, r.y - by, r.w + 2 * by, r.h + 2 * by};
}

bool Inside(const ReportRect& r, int x, int y)
{
    return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

ReportRect OnScreen(const ReportRect& r)
{
    const int left = std::max(r.x, 0), top = std::max(r.y, 0);
    return {left, top, std::max(0, std::min(r.x + r.w, kScreenWidth) - left),
            std::max(0, std::min(r.y + r.h, kScreenHeight) - top)};
}

std::string Describe(const ReportRect& r)
{
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) + " x " +
           std::to_string(r.h) + ")";
}

bool OnScreenWholly(const ReportRect& r)
{
    return r.w > 0 && r.h > 0 && r.x >= 0 && r.y >= 0 && r.x + r.w <= kScreenWidth && r.y + r.h <= kScreenHeight;
}

// The median of each colour channel over the ring around the rectangle, inside the screen.
uint32_t RingColour(const Picture& shot, const ReportRect& r)
{
    std::vector<uint32_t> channels[3];
    const ReportRect outer = Expanded(r, kRing);
    for (int y = outer.y; y < outer.y + outer.h; ++y)
        for (int x = outer.x; x < outer.x + outer.w; ++x)
            if (shot.Contains(x, y) && !Inside(r, x, y))
                for (int c = 0; c < 3; ++c)
                    channels[c].push_back(Channel(shot.At(x, y), c));
    uint32_t median[3] = {};
    for (int c = 0; c < 3; ++c) {
        if (channels[c].empty())
            continue;
        std::nth_element(channels[c].begin(), channels[c].begin() + channels[c].size() / 2, channels[c].end());
        median[c] = channels[c][channels[c].size() / 2];
    }
    return Rgba(median[0], median[1], median[2]);
}

int Light(uint32_t pixel)
{
    return int(Channel(pixel, 0) * 3 + Channel(pixel, 1) * 6 + Channel(pixel, 2)) / 10;
}

bool LeftOut(const std::vector<ReportRect>& rects, int x, int y)
{
    return std::any_of(rects.begin(), rects.end(), [&](const ReportRect& r) { return Inside(r, x, y); });
}

struct ButtonMatch {
    double share = 0.0;   // of the button's own pixels where the frame shows the picture
    double covers = 0.0;  // share of the rectangle where the picture differs from the bare band
};

// How far the frame shows the picture drawn over the bare bands at the rectangle.
ButtonMatch MatchButton(const Picture& shot, const Picture& bands, const Picture& button, const ReportRect& rect)
{
    Picture expected = bands;
    expected.Draw(button, rect.x, rect.y);
    const ReportRect seen = OnScreen(rect);
    const Picture bare = bands.Cropped(seen), drawn = expected.Cropped(seen);
    const std::vector<uint8_t> gaps = NeighbourhoodGaps(shot.Cropped(seen), drawn);
    size_t own = 0, shown = 0;
    for (int y = 0; y < seen.h; ++y)
        for (int x = 0; x < seen.w; ++x) {
            if (ColourDistance(bare.At(x, y), drawn.At(x, y)) <= kInkDistance)
                continue;
            ++own;
            shown += gaps[size_t(y) * seen.w + x] <= kButtonTolerance;
        }
    const size_t area = size_t(seen.w) * seen.h;
    return {own ? double(shown) / own : 0.0, area ? double(own) / area : 0.0};
}

} // namespace

std::string GameSetting(const char16_t* section, const char16_t* key)
{
    const CParamsText settings(kGameSettingsText, kGameSettingsLength);
    char16_t value[256] = {};
    EXPECT_EQ(settings.GetString(section, key, u"", value, 256), RES_OK)
        << Utf16ToUtf8(section) << " " << Utf16ToUtf8(key);
    return Utf16ToUtf8(value);
}

BarPictures::BarPictures(const std::string& pak) : m_pak(pak)
{
    ReportRect menubarPlace;
    const Picture toolbar = Load(u"TOOLBAR", u"TOOLBAR_TEXTURE_FILE_NAME", &m_toolbarPlace);
    const Picture menubar = Load(u"MENUBAR", u"MENUBAR_TEXTURE_FILE_NAME", &menubarPlace);
    m_buttons = Load(u"MENUBAR", u"BUTTONS_MENU_TEXTURE_FILE_NAME", nullptr);
    m_timer = Load(u"HINT", u"TIMER_TEXTURE_FILE_NAME", nullptr);
    m_glow = Load(u"HINT", u"HINT_TEXTURE_FILE_NAME", nullptr);
    if (!m_error.empty())
        return;
    // The menubar lies over the toolbar where they meet, as the draw pass orders them.
    m_toolbarPlace.y = kScreenHeight - m_toolbarPlace.h;
    m_bands.Draw(toolbar.Scaled(m_toolbarPlace.w, m_toolbarPlace.h), m_toolbarPlace.x, m_toolbarPlace.y);
    m_bands.Draw(menubar.Scaled(menubarPlace.w, menubarPlace.h), 0, 0);
    m_buttonSide = std::atoi(GameSetting(u"MENUBAR", u"BUTTON_WIDTH").c_str());
    m_timerSide = std::atoi(GameSetting(u"HINT", u"TIMER_WIDTH").c_str());
    const int hintX = int(std::atof(GameSetting(u"HINT", u"TIMER_POS_X").c_str()));
    const int hintY = int(std::atof(GameSetting(u"HINT", u"TIMER_POS_Y").c_str()));
    m_hintPlace = {hintX - m_timerSide / 2, hintY - m_timerSide / 2, m_timerSide, m_timerSide};
}

Picture BarPictures::Load(const char16_t* section, const char16_t* key, ReportRect* place)
{
    const std::string name = GameSetting(section, key);
    const Picture picture = Picture::Decode(ReadPakEntry(m_pak, name));
    int32_t width = 0, height = 0;
    if (picture.Empty())
        m_error += "no picture " + name + "; ";
    else if (place && !ParseSizeFromName(Utf8ToUtf16(name).c_str(), &width, &height))
        m_error += "no size in the name " + name + "; ";
    if (place)
        *place = {0, 0, width, height};
    return picture;
}

Picture BarPictures::Button(int id) const
{
    const int cell = m_buttons.Width() / 2;
    return m_buttons.Cropped({(id & 1) * cell, (id >> 1) * cell, cell, cell}).Scaled(m_buttonSide, m_buttonSide);
}

Picture BarPictures::TimerImage(int frame) const
{
    const int cell = m_timer.Width() / 4;
    return m_timer.Cropped({frame % 4 * cell, frame / 4 * cell, cell, cell}).Scaled(m_timerSide, m_timerSide);
}

uint32_t BarPictures::GlowCentre() const
{
    return m_glow.Empty() ? 0 : m_glow.At(m_glow.Width() / 2, m_glow.Height() / 2);
}

::testing::AssertionResult ToolbarStripShown(const Picture& shot, const StateReport& report, const BarPictures& bars)
{
    // Left out: what is drawn over the strip.
    std::vector<ReportRect> over;
    for (const auto& item : report.All("item"))
        over.push_back(Expanded(StateReport::RectAt(item, 2), kSlotMargin));
    over.push_back(bars.HintPlace());
    for (const auto& button : report.All("button"))
        over.push_back(StateReport::RectAt(button, 1));
    for (const auto& star : report.All("star")) {
        const ReportRect at = StateReport::RectAt(star, 1, true);
        over.push_back({at.x - kStarHalfSide, at.y - kStarHalfSide, 2 * kStarHalfSide, 2 * kStarHalfSide});
    }
    const ReportRect place = OnScreen(bars.ToolbarPlace());
    const Picture strip = bars.Bands().Cropped(place);
    const std::vector<uint8_t> gaps = NeighbourhoodGaps(shot.Cropped(place), strip);
    size_t compared = 0, agreeing = 0;
    int firstX = place.w, lastX = -1;
    for (int y = 0; y < place.h; ++y)
        for (int x = 0; x < place.w; ++x) {
            const bool covered = std::any_of(over.begin(), over.end(), [&](const ReportRect& r) {
                return Inside(r, place.x + x, place.y + y);
            });
            if (covered || Channel(strip.At(x, y), 3) != 255)
                continue;
            ++compared;
            if (gaps[size_t(y) * place.w + x] <= kPixelTolerance) {
                ++agreeing;
            } else {
                firstX = std::min(firstX, x);
                lastX = std::max(lastX, x);
            }
        }
    const double share = compared ? double(agreeing) / compared : 0.0;
    if (!gaps.empty() && share >= kAgreeingShare)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the toolbar strip at " << Describe(place) << " is not its picture: "
                                         << share * 100 << " % of " << compared << " pixels agree, others in x "
                                         << place.x + firstX << "-" << place.x + lastX + 1;
}

::testing::AssertionResult ItemNamesShown(const Picture& shot, const StateReport& report, const BarPictures& bars)
{
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    bool failed = false;
    for (const auto& item : report.All("item")) {
        if (item.size() < 7 || item[1] != "0")
            continue;
        // The name's pixels differ from the bare strip, which shows between its letters.
        const ReportRect slot = StateReport::RectAt(item, 2);
        const ReportRect area = OnScreen(Expanded(slot, kSlotMargin));
        int box[4] = {area.x + area.w, area.y + area.h, -1, -1};
        size_t strip = 0;
        for (int y = area.y; y < area.y + area.h; ++y)
            for (int x = area.x; x < area.x + area.w; ++x) {
                if (ColourDistance(shot.At(x, y), bars.Bands().At(x, y)) <= kPixelTolerance) {
                    ++strip;
                    continue;
                }
                if (ColourDistance(shot.At(x, y), bars.Bands().At(x, y)) <= kInkDistance)
                    continue;
                box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
                box[2] = std::max(box[2], x + 1), box[3] = std::max(box[3], y + 1);
            }
        const int width = box[2] - box[0], height = box[3] - box[1];
        const double stripShare = double(strip) / std::max<size_t>(1, size_t(area.w) * area.h);
        if (width >= kNameWidthShare * slot.w && height >= kNameHeightShare * slot.h && stripShare >= kStripBehindName)
            continue;
        if (!failed)
            result = ::testing::AssertionFailure();
        failed = true;
        result << "\"" << item.back() << "\" is not drawn in its slot " << Describe(slot) << ": what is drawn there spans "
               << std::max(width, 0) << " x " << std::max(height, 0) << ", over the strip on " << stripShare * 100
               << " % of it; ";
    }
    return result;
}

::testing::AssertionResult ToolButtonsShown(const Picture& shot, const StateReport& report, const BarPictures& bars)
{
    // The menubar's shown buttons where they are clicked, and the hint button at its place.
    std::vector<std::pair<std::string, ReportRect>> buttons;
    for (const auto& tool : report.All("tool"))
        if (StateReport::Number(tool.front()) < kMenubarButtons)
            buttons.push_back({tool.front(), StateReport::RectAt(tool, 1)});
    buttons.push_back({std::to_string(kHintTool), bars.HintPlace()});
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    bool failed = false;
    for (const auto& [id, rect] : buttons) {
        std::vector<Picture> pictures;
        if (id == std::to_string(kHintTool))
            for (int frame = 0; frame < kTimerImages; ++frame)
                pictures.push_back(bars.TimerImage(frame));
        else
            pictures.push_back(bars.Button(std::atoi(id.c_str())));
        ButtonMatch best{-1.0, 0.0};
        for (const Picture& picture : pictures) {
            const ButtonMatch match = MatchButton(shot, bars.Bands(), picture, rect);
            best = match.share > best.share ? match : best;
        }
        if (best.share >= kButtonShare && best.covers >= kButtonMinimumShare)
            continue;
        if (!failed)
            result = ::testing::AssertionFailure();
        failed = true;
        static const char* const kNames[] = {"menu", "zoom", "zoom unavailable", "tutorial"};
        const int n = std::atoi(id.c_str());
        result << "the " << (n >= 0 && n < kMenubarButtons ? kNames[n] : "hint") << " button's picture is not in "
               << Describe(rect) << ": " << std::max(best.share, 0.0) * 100 << " % of its pixels shown; ";
    }
    return result;
}

::testing::AssertionResult HintGlowShown(const Picture& shot, const StateReport& report, const BarPictures& bars)
{
    const auto glow = report.All("glow");
    if (glow.empty() || glow.front().front() != "1")
        return ::testing::AssertionSuccess();
    const ReportRect at = StateReport::RectAt(glow.front(), 1, true);
    for (int y = at.y - kGlowReach; y <= at.y + kGlowReach; ++y)
        for (int x = at.x - kGlowReach; x <= at.x + kGlowReach; ++x)
            if (shot.Contains(x, y) && ColourDistance(shot.At(x, y), bars.GlowCentre()) <= kGlowTolerance)
                return ::testing::AssertionSuccess();
    const uint32_t seen = shot.Contains(at.x, at.y) ? shot.At(at.x, at.y) : 0;
    return ::testing::AssertionFailure() << "no glow at (" << at.x << ", " << at.y << "): the picture shows "
                                         << Channel(seen, 0) << ", " << Channel(seen, 1) << ", " << Channel(seen, 2);
}

::testing::AssertionResult TextCutAtTheRightEdge(const Picture& shot, const std::vector<ReportRect>& leftOut)
{
    const int width = shot.Width();
    std::vector<int> cutRows;
    for (int y = 0; y < shot.Height(); ++y) {
        int steps = 0;
        for (int x = width - kEdgeBand + 1; x < width; ++x)
            steps += !LeftOut(leftOut, x - 1, y) && !LeftOut(leftOut, x, y) &&
                     std::abs(Light(shot.At(x - 1, y)) - Light(shot.At(x, y))) > kLetterStep;
        if (steps >= kStepsAtEdge)
            cutRows.push_back(y);
    }
    for (size_t n = 0; n + kCutRows <= cutRows.size(); ++n)
        if (cutRows[n + kCutRows - 1] - cutRows[n] < kLineHeight)
            return ::testing::AssertionFailure() << "a line of text runs past the right edge at y " << cutRows[n] << "-"
                                                 << cutRows[n + kCutRows - 1];
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PopupOnScreen(const Picture& shot, const StateReport& report)
{
    std::vector<ReportRect> buttons;
    for (const auto& button : report.All("button")) {
        const ReportRect rect = StateReport::RectAt(button, 1);
        if (StateReport::Number(button.front()) < kNavButtonBase)
            continue;
        if (!OnScreenWholly(rect))
            return ::testing::AssertionFailure() << "the pop-up's button " << button.front() << " at " << Describe(rect)
                                                 << " is not wholly on the screen";
        const uint32_t ring = RingColour(shot, rect);
        size_t drawn = 0;
        for (int y = rect.y; y < rect.y + rect.h; ++y)
            for (int x = rect.x; x < rect.x + rect.w; ++x)
                drawn += ColourDistance(shot.At(x, y), ring) > kInkDistance;
        if (drawn < kButtonDrawn * rect.w * rect.h)
            return ::testing::AssertionFailure() << "the pop-up's button " << button.front() << " is not drawn in "
                                                 << Describe(rect);
        buttons.push_back(rect);
    }
    const auto box = report.All("popupbox");
    if (!box.empty()) {
        const ReportRect text = StateReport::RectAt(box.front(), 0);
        if (!OnScreenWholly(text))
            return ::testing::AssertionFailure() << "the pop-up's text box " << Describe(text)
                                                 << " is not wholly on the screen";
        // The text: pixels unlike the box's surroundings from side to side and top to bottom.
        const auto popup = report.All("popup");
        const uint32_t around = RingColour(shot, text);
        int span[4] = {text.x + text.w, text.y + text.h, -1, -1};
        for (int y = text.y; y < text.y + text.h; ++y)
            for (int x = text.x; x < text.x + text.w; ++x)
                if (ColourDistance(shot.At(x, y), around) > kInkDistance) {
                    span[0] = std::min(span[0], x), span[1] = std::min(span[1], y);
                    span[2] = std::max(span[2], x + 1), span[3] = std::max(span[3], y + 1);
                }
        const bool drawsItsPage = !popup.empty() && popup.front().front() != "tutorial";
        if (drawsItsPage && (span[2] - span[0] < kTextSpan * text.w || span[3] - span[1] < kTextSpan * text.h))
            return ::testing::AssertionFailure() << "the pop-up's text is not drawn across its box " << Describe(text)
                                                 << ": it spans " << std::max(span[2] - span[0], 0) << " x "
                                                 << std::max(span[3] - span[1], 0);
    }
    return TextCutAtTheRightEdge(shot, buttons);
}
