#include "tests/e2e/ProfileSections.h"

#include <cstring>

namespace {

constexpr uint32_t kHeaderBytes = 18;        // version, level, tooltip, element and parameter counts
constexpr uint32_t kRecordBytes = 27;        // the progress record before its level times
constexpr uint32_t kLevelTimeBytes = 6;
constexpr uint32_t kWorldBytes = 37;         // levels, abuse timer and counter, camera, pop-ups
constexpr uint32_t kHintBytes = 6;
constexpr uint32_t kToolbarBytes = 13;
constexpr uint32_t kToolbarItemBytes = 24;
constexpr uint32_t kPartBytes = 8;           // flags, alpha
constexpr uint32_t kTimerBytes = 12;
constexpr uint32_t kTooltipBytes = 14;
constexpr uint32_t kPopupGroupBytes = 10;
constexpr uint32_t kHiddenObjectStateBlocks = 4;
constexpr uint32_t kEffectBytes = 9;         // clock, period, fired; two effects
constexpr uint32_t kStarBytes = 20;
constexpr uint32_t kNoLevel = 0xFFFFFFFFu;

// Walks the file, cutting sections off its front.
class CCutter {
public:
    explicit CCutter(const std::string& file) : m_file(file) {}

    bool Failed() const { return m_failed; }
    size_t Left() const { return m_file.size() - m_at; }

    // The u32 at offset bytes from the cursor; 0 (and failed) past the end.
    uint32_t Peek(size_t offset)
    {
        uint32_t value = 0;
        if (m_at + offset + 4 > m_file.size())
            return m_failed = true, 0;
        memcpy(&value, m_file.data() + m_at + offset, 4);
        return value;
    }
    // Moves on by bytes; failed past the end.
    void Skip(uint64_t bytes)
    {
        if (bytes > Left())
            m_failed = true;
        else
            m_at += bytes;
    }
    // A count field, then count elements of a size.
    void SkipCounted(uint64_t elementBytes)
    {
        const uint32_t count = Peek(0);
        Skip(4);
        Skip(uint64_t{count} * elementBytes);
    }
    void Begin() { m_start = m_at; }
    void Take(const std::string& name, std::vector<SavedSection>& out)
    {
        if (!m_failed)
            out.push_back({name, m_file.substr(m_start, m_at - m_start)});
    }

private:
    const std::string& m_file;
    size_t m_at = 0;
    size_t m_start = 0;
    bool m_failed = false;
};

// A level's state: its parts, the base's fields with the pop-up queue and the records' pop-ups,
// and for a hidden-object scene its own fields and each record's pop-ups.
void SkipLevelState(CCutter& c, SavedLevelKind kind)
{
    c.SkipCounted(kPartBytes);
    c.Skip(12);  // scene state, record, pop-up
    c.SkipCounted(4);
    c.Skip(2);   // done, timer shown
    c.SkipCounted(3 * kPopupGroupBytes);
    if (kind != SavedLevelKind::HiddenObject)
        return;
    c.Skip(6);  // selected part, busy, toggle drawn
    c.SkipCounted((1 + 2 * kHiddenObjectStateBlocks) * kPopupGroupBytes);
}

// The current level's progress: the part snapshot and the effects, then the stars, then its board.
void SkipLevelProgress(CCutter& c)
{
    c.SkipCounted(4);
    c.Skip(2 * kEffectBytes);
}

void SkipStars(CCutter& c)
{
    const uint32_t stars = c.Peek(0) & 0xFFFF;
    c.Skip(4 + uint64_t{stars} * kStarBytes);
}

void SkipBoard(CCutter& c, SavedLevelKind kind, uint32_t cells)
{
    switch (kind) {
    case SavedLevelKind::Jigsaw: c.Skip(uint64_t{cells} * 6 + 3 + 21); break;             // cells, solved, selection, buttons
    case SavedLevelKind::Shoot: c.Skip(uint64_t{cells} * 16 + 5 + kPopupGroupBytes); break;  // slots, score, won, lose pop-up
    case SavedLevelKind::Sliding: c.Skip(uint64_t{cells} * 12 + 2 + 9); break;           // cells, easy, exit, buttons
    case SavedLevelKind::HiddenObject: break;
    }
}

} // namespace

std::vector<SavedSection> SplitProfile(const std::string& file, const CProfileShape& shape, std::string* error)
{
    std::vector<SavedSection> sections;
    CCutter c(file);
    const uint32_t levels = c.Peek(2), tooltips = c.Peek(6);
    if (levels != shape.levels.size()) {
        *error = "the file holds " + std::to_string(levels) + " levels";
        return {};
    }
    auto cut = [&](const std::string& name, auto&& skip) {
        c.Begin();
        skip();
        c.Take(name, sections);
    };
    cut("header", [&] { c.Skip(kHeaderBytes); });
    cut("record", [&] { c.Skip(kRecordBytes + uint64_t{levels} * kLevelTimeBytes); });
    const uint32_t current = c.Peek(0);
    cut("world", [&] { c.Skip(kWorldBytes); });
    cut("hint", [&] { c.Skip(kHintBytes); });
    cut("toolbar", [&] {
        const uint32_t items = c.Peek(0);
        c.Skip(kToolbarBytes + uint64_t{items} * kToolbarItemBytes);
    });
    cut("timer", [&] {
        c.SkipCounted(kPartBytes);
        c.Skip(kTimerBytes);
    });
    for (uint32_t t = 0; t < tooltips; ++t)
        cut("tooltip " + std::to_string(t), [&] {
            c.SkipCounted(kPartBytes);
            c.Skip(kTooltipBytes);
        });
    for (uint32_t l = 0; l < levels; ++l)
        cut("level " + std::to_string(l), [&] { SkipLevelState(c, shape.levels[l]); });
    if (current != kNoLevel && current < levels) {
        cut("scene", [&] { SkipLevelProgress(c); });
        cut("scene stars", [&] { SkipStars(c); });
        cut("scene board", [&] { SkipBoard(c, shape.levels[current], shape.boardCells); });
        for (uint32_t t = 0; t < tooltips; ++t)
            cut("scene tooltip " + std::to_string(t), [&] { c.SkipCounted(4); });
    }
    if (c.Failed() || c.Left() != 0) {
        *error = c.Failed() ? "the file ends inside section " + std::to_string(sections.size())
                            : std::to_string(c.Left()) + " bytes follow the last section";
        return {};
    }
    return sections;
}

int64_t SavedCurrentLevel(const std::string& file)
{
    CCutter c(file);
    const uint32_t levels = c.Peek(2);
    const uint32_t level = c.Peek(kHeaderBytes + kRecordBytes + uint64_t{levels} * kLevelTimeBytes);
    return c.Failed() || level == kNoLevel ? -1 : int64_t{level};
}

size_t SavedHintChargeOffset(const std::string& file)
{
    CCutter c(file);
    const uint64_t at = kHeaderBytes + kRecordBytes + uint64_t{c.Peek(2)} * kLevelTimeBytes + kWorldBytes;
    return c.Failed() || at + kHintBytes > file.size() ? 0 : static_cast<size_t>(at);
}
